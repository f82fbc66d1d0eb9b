"""Which harvested names belong in the catalogue: Windows API constants, not the C runtime's macros,
not the headers' own configuration switches and include guards, not reserved names."""

import re

# The C runtime's headers (mingw-w64-headers/crt), whose macros are not Windows API constants.
CRT_HEADERS = {
    "_bsd_types.h", "_cygwin.h", "_timeval.h", "assert.h", "complex.h", "conio.h", "crtdbg.h",
    "crtdefs.h", "ctype.h", "dir.h", "direct.h", "dirent.h", "dos.h", "dvec.h", "eh.h", "errno.h",
    "excpt.h", "fcntl.h", "fenv.h", "float.h", "fpieee.h", "ftw.h", "fvec.h", "getopt.h",
    "ieeefp.h", "intrin.h", "inttypes.h", "io.h", "ivec.h", "libgen.h", "limits.h", "locale.h",
    "malloc.h", "math.h", "mbctype.h", "mbstring.h", "mem.h", "memory.h", "new.h", "process.h",
    "profile.h", "pthread.h", "pthread_compat.h", "pthread_signal.h", "pthread_time.h",
    "pthread_unistd.h", "sched.h", "search.h", "semaphore.h", "setjmp.h", "setjmpex.h",
    "share.h", "signal.h", "stdarg.h", "stddef.h", "stdexcpt.h", "stdint.h", "stdio.h",
    "stdlib.h", "string.h", "strings.h", "tchar.h", "time.h", "uchar.h", "unistd.h", "utime.h",
    "vadefs.h", "varargs.h", "wchar.h", "wctype.h", "xlocinfo.h", "xmath.h", "ymath.h",
    "yvals.h", "stdalign.h", "stdnoreturn.h", "threads.h", "iso646.h", "tgmath.h",
}
CRT_PREFIXES = ("_mingw", "corecrt", "sec_api/", "sys/", "sdks/")

# Headers that only configure the others (API partitions and the like).
CONFIGURATION_HEADERS = {"winapifamily.h"}

# Switches the headers read or set to choose what they declare; not constants of the API.
CONFIGURATION_NAMES = {
    "WINVER", "NTDDI_VERSION", "WDK_NTDDI_VERSION", "WINAPI_FAMILY", "STRICT", "UNICODE",
    "SECURITY_WIN32", "WIN32_NO_STATUS", "WIN32_LEAN_AND_MEAN", "NOMINMAX", "OEMRESOURCE",
    "fMapiUnicode",
}
_CONFIGURATION_PATTERN = re.compile(r"^TARGET_IS_NT\w*_OR_LATER$")
_GUARD_SUFFIX = re.compile(r"(_DEFINED|_INCLUDED|_H|_H_|_INC)$")
NAME = re.compile(r"^[A-Za-z][A-Za-z0-9_]*$")


def IsCrtHeader(header):
    return header in CRT_HEADERS or header.startswith(CRT_PREFIXES)


def ExclusionReason(name, header, macroBody):
    """Why a compiled integer constant stays out of the catalogue, or None to keep it."""
    if not NAME.match(name):
        return "reserved or malformed name"
    if header is None:
        return "defined outside the headers"
    if IsCrtHeader(header):
        return "C runtime"
    if header in CONFIGURATION_HEADERS or name in CONFIGURATION_NAMES or \
            _CONFIGURATION_PATTERN.match(name):
        return "configuration"
    if macroBody is not None and macroBody.strip() in ("1", "") and _GUARD_SUFFIX.search(name):
        return "include guard"
    return None
