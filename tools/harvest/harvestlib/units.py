"""The translation units the catalogue is harvested from, and the target they are compiled for.

The main unit includes windows.h in full with the API families a Win32 desktop programmer uses.
Headers that cannot share a unit with it (NTSTATUS codes against winnt.h, the native API headers)
get units of their own; a name found in several units keeps the value of the first unit listing it.
"""

COMPILER = "i686-w64-mingw32-gcc"
INCLUDE_DIR = "/usr/share/mingw-w64/include"
# Microsoft's Direct3D 12 and DXGI headers (MIT, package directx-headers-dev), compiled like the rest.
DIRECTX_DIR = "/usr/include/directx"

# Newest Windows version the headers know (sdkddkver.h): Windows 10, NTDDI_WIN10_CO.
TARGET_DEFINES = [
    ("_WIN32_WINNT", "0x0A00"),
    ("WINVER", "0x0A00"),
    ("NTDDI_VERSION", "0x0A00000B"),
    ("_WIN32_IE", "0x0A00"),
]
UNICODE_DEFINES = [("UNICODE", "1"), ("_UNICODE", "1")]
COMPILER_OPTIONS = ["-std=gnu11", "-w", "-fmax-errors=0",
                    "-fno-diagnostics-show-caret"]

# Winsock 2 must come before windows.h, which would otherwise pull in the old winsock.h. The order
# matters: several headers need an earlier one (msacm.h needs mmreg.h, lmsvc.h needs lm.h, ...).
MAIN_HEADERS = [
    "winsock2.h", "ws2tcpip.h", "windows.h",
    # Winsock helpers
    "mswsock.h", "ws2def.h", "ws2ipdef.h", "mstcpip.h", "wsipx.h", "wsnwlink.h", "nspapi.h",
    "ws2atm.h", "ws2bth.h", "wsrm.h", "wsvns.h", "wshisotp.h", "wsnetbs.h", "atalkwsh.h",
    "af_irda.h",
    # common controls, rich edit, common dialogs
    "windowsx.h", "commctrl.h", "richedit.h", "richole.h", "commdlg.h", "cderr.h", "dlgs.h",
    "prsht.h",
    # shell
    "shellapi.h", "shlobj.h", "shlwapi.h", "shldisp.h", "shtypes.h", "shobjidl.h", "intshcut.h",
    "shellscalingapi.h", "cpl.h", "sherrors.h", "shfolder.h",
    # multimedia
    "mmsystem.h", "mmreg.h", "msacm.h", "vfw.h", "mciavi.h", "digitalv.h", "mmddk.h", "ks.h",
    # WinINet, printing, setup, devices and I/O control codes
    "wininet.h", "urlmon.h", "winspool.h", "setupapi.h", "cfgmgr32.h", "cfg.h", "devguid.h",
    "newdev.h", "dbt.h", "winioctl.h", "devioctl.h", "ntddscsi.h", "ntdddisk.h", "ntddstor.h",
    "ntddpar.h", "ntddkbd.h", "ntddmou.h", "ntddbeep.h", "ntddcdrm.h", "ntddcdvd.h",
    "ntddmodm.h", "ntddvdeo.h", "hidusage.h", "hidpi.h", "hidsdi.h", "usbiodef.h", "usb100.h",
    "usbioctl.h",
    # LAN Manager
    "lm.h", "lmerr.h", "lmcons.h", "lmaccess.h", "lmalert.h", "lmapibuf.h", "lmat.h",
    "lmaudit.h", "lmconfig.h", "lmdfs.h", "lmerrlog.h", "lmjoin.h", "lmmsg.h", "lmremutl.h",
    "lmrepl.h", "lmserver.h", "lmshare.h", "lmsname.h", "lmstats.h", "lmsvc.h", "lmuse.h",
    "lmuseflg.h", "lmwksta.h", "neterr.h", "netevent.h",
    # themes, DWM, tool help, processes, services, performance, events
    "uxtheme.h", "dwmapi.h", "tlhelp32.h", "psapi.h", "pdh.h", "pdhmsg.h", "winperf.h",
    "powrprof.h", "winsvc.h", "wtsapi32.h", "userenv.h", "avrt.h", "winevt.h", "evntrace.h",
    "tdh.h", "errorrep.h", "sfc.h", "srrestoreptapi.h", "restartmanager.h",
    # IP helper and other networking
    "iphlpapi.h", "iptypes.h", "ipexport.h", "iprtrmib.h", "ipifcons.h", "ipmib.h", "ifdef.h",
    "tcpmib.h", "udpmib.h", "icmpapi.h", "netioapi.h", "ipinfoid.h", "nldef.h", "windns.h",
    "winnetwk.h", "nb30.h", "ras.h", "raserror.h", "rasdlg.h", "mprapi.h", "mprerror.h",
    "dhcpcsdk.h", "dsgetdc.h", "dsrole.h", "ntdsapi.h", "winldap.h", "winber.h", "lmon.h",
    "snmp.h", "mgmtapi.h", "winsnmp.h", "wlanapi.h", "wlantypes.h", "windot11.h",
    "bluetoothapis.h", "bthsdpdef.h", "bthdef.h", "traffic.h", "qos.h", "ntddndis.h",
    # security and crypto
    "wincrypt.h", "wintrust.h", "softpub.h", "mssip.h", "cryptuiapi.h", "ncrypt.h", "bcrypt.h",
    "wincred.h", "sspi.h", "security.h", "schannel.h", "ntsecapi.h", "ntsecpkg.h", "sddl.h",
    "aclapi.h", "accctrl.h", "authz.h", "winsafer.h", "dpapi.h", "winscard.h", "winsmcrd.h",
    "secext.h", "credssp.h",
    # debugging and executable images
    "dbghelp.h", "imagehlp.h",
    # COM and OLE
    "ole2.h", "objbase.h", "oleauto.h", "oleidl.h", "objidl.h", "ocidl.h", "olectl.h",
    "oledlg.h", "olectlid.h", "docobj.h", "servprov.h", "comcat.h", "objsafe.h", "mshtmcid.h",
    "idispids.h", "dispex.h", "activscp.h", "exdisp.h", "oaidl.h",
    # other user and system APIs
    "dde.h", "ddeml.h", "winver.h", "wincon.h", "lzexpand.h", "imm.h", "ime.h", "usp10.h",
    "winnls32.h", "regstr.h", "mapi.h", "mapicode.h", "msi.h", "msiquery.h", "msidefs.h",
    "winefs.h", "winwlx.h", "ktmw32.h", "txfw32.h", "virtdisk.h", "sensapi.h", "netcon.h",
    "mstask.h", "winable.h", "zmouse.h", "tapi.h", "tspi.h", "scrnsave.h", "fci.h", "fdi.h",
    "winsxs.h", "versionhelpers.h", "vss.h", "vsserror.h", "winternl.h", "htmlhelp.h",
    "wpapi.h", "aclui.h", "objsel.h", "ntquery.h", "filter.h", "filterr.h", "wabdefs.h",
    "wmistr.h", "winsplp.h", "odbcinst.h", "sql.h", "sqlext.h", "sqltypes.h", "sqlucode.h",
]

# Headers that clash with the main unit's choice of the same declarations.
SECOND_HEADERS = ["winsock2.h", "ws2tcpip.h", "windows.h", "rassapi.h", "http.h"]

# NTSTATUS codes: winnt.h defines a few of them, so windows.h is read with WIN32_NO_STATUS first.
NTSTATUS_HEADERS = ["winsock2.h", "windows.h", "#undef WIN32_NO_STATUS", "ntstatus.h",
                    "winternl.h", "ntsecapi.h", "ntdef.h", "ntddser.h"]

DIRECTX_HEADERS = ["winsock2.h", "ws2tcpip.h", "windows.h", "d3d12.h", "d3d12sdklayers.h",
                   "d3d12video.h", "d3d12compatibility.h", "d3d12shader.h", "d3dcommon.h",
                   "dxgicommon.h", "dxgiformat.h"]

# mingw-w64 headers that are not public domain or not harvested, for the SDK headers the winapi
# crate has modules for: compiled only to check the values winapi adds, never harvested. The
# Direct3D 9, shader compiler and DirectSound headers clash with the others and get a unit of their own.
CHECK_HEADERS = [
    "winsock2.h", "ws2tcpip.h", "windows.h",
    "adhoc.h", "appmgmt.h", "audioclient.h", "audiosessiontypes.h", "bits.h", "bits1_5.h",
    "bits2_0.h", "bits2_5.h", "bits3_0.h", "bits5_0.h", "bitsmsg.h", "bugcodes.h",
    "combaseapi.h", "d2d1.h", "d2d1_1.h", "d2d1effectauthor.h", "d2d1effects.h", "d3d11.h",
    "d3d11_1.h", "d3d11_2.h", "d3d11sdklayers.h", "d3d12.h", "d3d12sdklayers.h",
    "d3d12shader.h", "d3d9types.h", "d3dcommon.h", "davclnt.h", "dcommon.h", "dcomptypes.h",
    "devicetopology.h", "devpkey.h", "devpropdef.h", "dwrite.h", "dwrite_1.h", "dwrite_2.h",
    "dwrite_3.h", "dxgi.h", "dxgi1_2.h", "dxgi1_3.h", "dxgi1_4.h", "dxgi1_5.h", "dxgi1_6.h",
    "dxgidebug.h", "dxgiformat.h", "dxgitype.h", "eaptypes.h", "endpointvolume.h",
    "evntcons.h", "evntprov.h", "fileapi.h", "handleapi.h", "hidclass.h",
    "highlevelmonitorconfigurationapi.h", "inspectable.h", "ksmedia.h", "ktmtypes.h",
    "l2cmn.h", "libloaderapi.h", "memoryapi.h", "minwinbase.h", "minwindef.h",
    "mmdeviceapi.h", "namespaceapi.h", "objidlbase.h", "perflib.h",
    "physicalmonitorenumerationapi.h", "processthreadsapi.h", "propidl.h", "propkey.h",
    "propkeydef.h", "propsys.h", "reason.h", "roapi.h", "rpcdce.h", "rpcndr.h", "rtinfo.h",
    "sapi.h", "spellcheck.h", "subauth.h", "synchapi.h", "sysinfoapi.h", "taskschd.h",
    "tcpestats.h", "timezoneapi.h", "tvout.h", "urlhist.h", "usb.h", "usbscan.h", "usbspec.h",
    "vsbackup.h", "vswriter.h", "wbemcli.h", "wbemdisp.h", "wbemprov.h", "wbemtran.h",
    "wct.h", "winbase.h", "wincodec.h", "wincodecsdk.h", "windef.h", "winerror.h",
    "wingdi.h", "winhttp.h", "winnls.h", "winnt.h", "winreg.h", "winusbio.h", "winuser.h",
    "wlanihvtypes.h", "wnnc.h", "ws2spi.h", "wtypes.h", "wtypesbase.h", "xinput.h",
]
CHECK_SECOND_HEADERS = ["winsock2.h", "ws2tcpip.h", "windows.h", "d3d9.h", "d3d11shader.h",
                        "d3dcompiler.h", "dsound.h"]

# Set before any header, in every unit (sspi.h insists on choosing its flavour).
PRELUDE_DEFINES = ["#define SECURITY_WIN32"]


def _Includes(headers):
    seen, lines = set(), []
    for header in headers:
        if header.startswith("#"):
            lines.append(header)
        elif header not in seen:
            seen.add(header)
            lines.append("#include <" + header + ">")
    return lines


def Units():
    """[(name, source lines)] in order of precedence."""
    return [
        ("main", PRELUDE_DEFINES + _Includes(MAIN_HEADERS)),
        ("second", PRELUDE_DEFINES + _Includes(SECOND_HEADERS)),
        ("ntstatus", PRELUDE_DEFINES + ["#define WIN32_NO_STATUS"] + _Includes(NTSTATUS_HEADERS)),
    ]


def DirectXUnit():
    return "directx", PRELUDE_DEFINES + _Includes(DIRECTX_HEADERS)


def CheckUnits():
    """Units compiled only to check values the winapi crate adds."""
    return [("check", PRELUDE_DEFINES + _Includes(CHECK_HEADERS)),
            ("check-second", PRELUDE_DEFINES + _Includes(CHECK_SECOND_HEADERS))]


def IncludeOptions(unitName):
    return ["-I" + DIRECTX_DIR] if unitName == "directx" else []


def CompilerArguments(unicode, unitName=None):
    arguments = IncludeOptions(unitName) + ["-D%s=%s" % pair for pair in TARGET_DEFINES]
    if unicode:
        arguments += ["-D%s=%s" % pair for pair in UNICODE_DEFINES]
    return arguments + COMPILER_OPTIONS
