"""Writes data/README.md: where the catalogue comes from, how it was made, and its figures."""

import subprocess

from . import units

WINAPI_LICENCE = "/usr/share/cargo/registry/winapi-0.3.9/LICENSE-MIT"
DIRECTX_COPYRIGHT = "/usr/share/doc/directx-headers-dev/copyright"

FAMILIES_ASKED = ["WM", "VK", "ERROR", "MCI", "MM", "NERR", "IMAGE", "INTERNET", "STATUS", "E",
                  "WSA", "LVM", "TVM", "SQL", "CERT", "CRYPT"]


def PackageVersion(package):
    completed = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                               capture_output=True, text=True)
    return completed.stdout.strip() or "unknown"


def _Table(rows, headings):
    if not rows:
        return "- none"
    lines = ["| " + " | ".join(headings) + " |", "|" + "|".join("---" for _ in headings) + "|"]
    lines.extend("| " + " | ".join(str(cell) for cell in row) + " |" for row in rows)
    return "\n".join(lines)


def _Hex(value):
    return "none" if value is None else "`$%X`" % value


def DebianLicenceText(path, licence):
    """The text of a stand-alone "License:" stanza of a Debian copyright file."""
    lines, inside = [], False
    with open(path, encoding="utf-8") as handle:
        for raw in handle:
            line = raw.rstrip("\n")
            if line == "License: " + licence:
                inside, lines = True, []
            elif inside and line.startswith(" "):
                lines.append("" if line.strip() == "." else line[1:])
            elif inside:
                break
    return "\n".join(lines)


def Notices():
    """The copyright and permission notices the MIT licence asks to keep with the constants."""
    with open(WINAPI_LICENCE, encoding="utf-8") as handle:
        winapiNotice = handle.read().strip()
    directxNotice = "Copyright (c) Microsoft Corporation\n\n" + \
        DebianLicenceText(DIRECTX_COPYRIGHT, "Expat").strip()
    return winapiNotice, directxNotice


def WinapiSections(report):
    """The README's parts about the winapi crate: counts and the names the sources disagree on."""
    second = report["winapi"]
    counts = second["counts"]
    disagreements = _Table([("`%s`" % name, header, _Hex(kept), _Hex(other), source)
                            for name, header, source, kept, other in second["disagreements"]],
                           ["Name", "Header", "Compiled value", "winapi value", "Kept"])
    leftOut = _Table([("`%s`" % name, header, _Hex(compiled), _Hex(value))
                      for name, header, compiled, value in second["leftOut"]],
                     ["Name", "winapi module's header", "mingw-w64 compiler", "winapi"])
    failures = _Table([("`%s`" % name, reason) for name, reason in
                       sorted(second["failures"].items())], ["Name", "Why"])
    conflicting = _Table([("`%s`" % name, ", ".join("%s %s" % (header, _Hex(value)) for
                                                    header, value in sorted(byHeader.items())))
                          for name, byHeader in sorted(second["conflicting"].items())],
                         ["Name", "Values"])
    checkUnits = "\n".join("  - `%s`: %s" % (name, ", ".join(
        line[len("#include <"):-1] for line in lines if line.startswith("#include")))
        for name, lines in units.CheckUnits())
    return WINAPI_TEMPLATE.format(
        checkUnits=checkUnits,
        version=second["package"], read="{:,}".format(counts["integer constants"]),
        names="{:,}".format(second["names"]), agreeing="{:,}".format(second["agreeing"]),
        disagreeing="{:,}".format(len(second["disagreements"])),
        added="{:,}".format(second["added"]), confirmed="{:,}".format(second["confirmed"]),
        alone="{:,}".format(second["added"] - second["confirmed"]),
        leftOutCount=len(second["leftOut"]), failureCount=len(second["failures"]),
        conflictingCount=len(second["conflicting"]),
        notInteger="{:,}".format(counts.get("not an integer", 0)),
        wide="{:,}".format(counts.get("more than 32 bits", 0)),
        otherLeftOut=", ".join("%s %s" % (reason, "{:,}".format(count)) for reason, count in
                               sorted(counts.items()) if reason not in (
                                   "integer constants", "not an integer", "more than 32 bits",
                                   "evaluation failed")) or "none",
        disagreements=disagreements, leftOut=leftOut, failures=failures,
        conflicting=conflicting)


def Readme(figures, blockSize, report):
    families = figures["families"]
    asked = [(name + "_", "{:,}".format(families.get(name, 0))) for name in FAMILIES_ASKED]
    largest = [(name + "_", "{:,}".format(count)) for name, count in
               sorted(((n, c) for n, c in families.items() if n), key=lambda item: (-item[1],
                                                                                   item[0]))[:25]]
    headers = [(name, "{:,}".format(count)) for name, count in
               sorted(figures["headers"].items(), key=lambda item: (-item[1], item[0]))[:30]]
    excluded = [(reason, "{:,}".format(count)) for reason, count in
                sorted(report["excluded"].items(), key=lambda item: (-item[1], item[0]))]
    licenceExcluded = sorted(report["licenceExcluded"].items())
    packed = "{:,} bytes".format(blockSize) if blockSize is not None else "not packed yet"
    unitLines = []
    for unit, includes in report["units"]:
        names = [line[len("#include <"):-1] for line in includes]
        unitLines.append("  - `%s` (%d headers): %s" % (unit, len(names), ", ".join(names)))
    defines = ", ".join("`%s=%s`" % (name, value) for name, value in report["defines"])
    notices = ", ".join("%s %d" % (notice, count) for notice, count in
                        sorted(report["notices"].items()))
    winapiNotice, directxNotice = Notices()
    sources = report["sources"]
    return TEMPLATE.format(
        mingwCount="{:,}".format(sources.get("mingw-w64", 0)),
        directxCount="{:,}".format(sources.get("DirectX headers", 0)),
        winapiCount="{:,}".format(report["winapi"]["added"]),
        directxVersion=report["directxPackage"], winapi=WinapiSections(report),
        winapiNotice=winapiNotice, directxNotice=directxNotice,
        lines="{:,}".format(figures["lines"]), bytes="{:,}".format(figures["bytes"]),
        packed=packed, longest=figures["longest"],
        withoutUnderscore="{:,}".format(figures["withoutUnderscore"]),
        withDefinition="{:,}".format(figures["withDefinition"]),
        withUnicode="{:,}".format(figures["withUnicode"]),
        first=figures["first"], last=figures["last"],
        package=report["package"], compiler=report["compiler"], defines=defines,
        units="\n".join(unitLines), headerCount=len(report["headers"]), notices=notices,
        asked=_Table(asked, ["Family", "Lines"]), largest=_Table(largest, ["Family", "Lines"]),
        headers=_Table(headers, ["Header", "Lines"]),
        excluded=_Table(excluded, ["Reason", "Names"]),
        licenceExcluded="\n".join("- `%s`: %s" % item for item in licenceExcluded) or "- none")


WINAPI_TEMPLATE = """## The winapi crate

- Package: `librust-winapi-dev` {version} (`/usr/share/cargo/registry/winapi-0.3.9`), the winapi
  crate 0.3.9, MIT or Apache-2.0 at the user's choice; used under MIT
- Read: `pub const NAME: TYPE = EXPRESSION;` and the variants of `ENUM!` blocks in `src/**/*.rs`
  (items `#[cfg]` keeps for 32-bit x86), one module per SDK header; integer and pointer types only
  (strings, GUIDs, floats and structures are skipped: {notInteger}); the C runtime's modules
  (`ucrt`, `vc`) are left out
- Values computed exactly as Rust does for 32-bit x86 (`tools/harvest/harvestlib/rusteval.py`):
  literals with `0x`/`0o`/`0b`, `_` separators and type suffixes, byte literals, `as` casts with
  wrapping and sign extension, references across modules, `! - * / % + - << >> & ^ |` in the
  operands' type, and the crate's expression macros (`CTL_CODE!`, `MAKE_HRESULT!`, `MAKELANGID!`,
  `MAKEFOURCC!`, `HIDP_ERROR_CODES!`, `NWF_DEFINE_OID!`, ...) expanded by substitution; a value
  that cannot be computed is dropped and listed below, never guessed; values that need more than 32
  bits are dropped ({wide}); other names left out by the same filters as above: {otherLeftOut}
- {read} integer constants under {names} names; the compiled headers hold {agreeing} of these names
  with the same value and {disagreeing} with another (the compiled value is kept, listed below)
- Added: {added} names no compiled header gives, each with the header of its module; {confirmed} of
  them were checked against the compiler on the mingw-w64 headers that are not harvested (for their
  licence or because no unit includes them), in these units, compiled for nothing else:
{checkUnits}
- {alone} of the added names are defined by no mingw-w64 header
- Left out because that compiler check disagrees: {leftOutCount}; because modules of the crate give
  different values: {conflictingCount}; because the value could not be computed: {failureCount}

Where the compiled headers and winapi disagree (the compiled value is kept):

{disagreements}

Left out: the mingw-w64 compiler computes another value (or none) from a header that is not
harvested:

{leftOut}

Left out: modules of the crate give the name different values:

{conflicting}

Left out: the value could not be computed:

{failures}

"""


TEMPLATE = """# The constant catalogue

`catalogue.txt` is the program's data: one line per Windows API constant, name, value and a short
comment. `catalogue.jc` is the same text packed in the program's "JC" block format; the build embeds
it in the executable (`catalogue_block.h`, `catalogue_block.cpp`), and a unit test checks that the
embedded block unpacks to `catalogue.txt` byte for byte. Both files are generated; do not edit them.

The constants come from three sources, each named below with its package:

| Source | Licence | Constants |
|---|---|---|
| mingw-w64 headers, values computed by the compiler | public domain | {mingwCount} |
| Microsoft's DirectX headers, values computed by the compiler | MIT | {directxCount} |
| the winapi crate's Rust declarations, values computed by the harvester | MIT (or Apache-2.0) | {winapiCount} |

Regenerate both files with one command (needs the `mingw-w64-i686-dev` headers, the i686 cross
compiler, Python 3, CMake and Ninja; `directx-headers-dev` and `librust-winapi-dev` are installed
through apt-get when missing):

    tools/harvest/regenerate.sh

It runs the harvester's own tests first (`python3 -m unittest discover -s tools/harvest/tests`).

## Line format

    #NAME = $VALUE ' header.h[: definition][; Unicode: $VALUE]

- every line ends with CR LF; single-byte ASCII text, no tabs, no blank lines, no zero byte;
- VALUE is the 32-bit two's complement of the value in upper-case hexadecimal without leading
  zeros (`$FFFFFFFF` for -1, `$0` for zero);
- the comment names the header that defines the constant (for a winapi constant, the SDK header its
  module stands for, `winhttp.h` for `um/winhttp.rs`, with no definition); when the header defines it through other
  constants or an expression, the definition follows in PureBasic notation ("#" before constant
  names, "$" before hexadecimal numbers, casts and integer suffixes dropped, calls of macros that
  only cast or paste names replaced by what they wrap, `^` written `!`); a definition that is a plain
  number is not repeated, and one that would make the line longer than 300 characters is left out;
- a character-set dependent name (neutral name with A and W forms) carries its ANSI value; when the
  Unicode build gives it another value the comment ends with "; Unicode: $VALUE";
- lines are sorted by name without regard to case, "_" before digits, digits before letters
  (ties between names that differ only in case are broken by byte order); names are unique.

## Where the values come from

Every value of a name a mingw-w64 or DirectX header defines is what the compiler computes, never a
value parsed by the harvester:
`tools/harvest/harvest.py` lists the candidates (object-like macros from `gcc -E -dD`, enumeration
constants from the preprocessed C text) and compiles them, thousands per translation unit, as
constant initialisers of 64-bit objects in a section of their own, together with each one's type
class, size and signedness; the object file is read back. Candidates that do not compile as
constants (types, strings, functions, addresses that only the linker knows) are dropped; floating
point values and values outside the 32-bit range (signed or unsigned) are dropped; integers cast to
pointers or handles (`HWND_TOPMOST`, `IDC_ARROW`, `HKEY_CLASSES_ROOT`) are kept.
`tools/harvest/verify.py` then confirms every value of the written text a second way, in static
assertions compiled by the same compiler (and the Unicode values in a Unicode compilation), the
winapi constants wherever a mingw-w64 header defines them too; `regenerate.sh` stops before
packing when one is not confirmed.

- Package: `mingw-w64-i686-dev` {package} (`/usr/share/mingw-w64/include`)
- Compiler: `i686-w64-mingw32-gcc` ({compiler}), 32-bit target, `-std=gnu11`
- Defines: {defines} (the newest version the headers know); ANSI, no `UNICODE`
  (a second compilation with `UNICODE` and `_UNICODE` gives the Unicode values); `SECURITY_WIN32`
  for `sspi.h`
- Translation units (a name found in several keeps the first unit's value; the NTSTATUS unit reads
  `windows.h` with `WIN32_NO_STATUS` before `ntstatus.h`):
{units}

Left out, from the compiled headers: names beginning with "_" and other reserved spellings, macros
of the C runtime's own headers, the headers' configuration switches (`WINVER`, `NTDDI_VERSION`,
`WINAPI_FAMILY`, `STRICT`, API partitions, `TARGET_IS_NT*_OR_LATER`), include guards, and
everything from a mingw-w64 header whose licence is not public domain.

{excluded}

## The DirectX headers

- Package: `directx-headers-dev` {directxVersion} (`/usr/include/directx`), Microsoft's Direct3D 12
  and DXGI headers (MIT), written to build with gcc
- Unit `directx`: `windows.h` and the mingw-w64 headers as above, then `d3d12.h`,
  `d3d12sdklayers.h`, `d3d12video.h`, `d3d12compatibility.h`, `d3d12shader.h`, `d3dcommon.h`,
  `dxgicommon.h`, `dxgiformat.h` from that directory (first on the include path); only names these
  headers define are taken, each computed and filtered as above, after the mingw-w64 units: a name
  the mingw-w64 units define keeps their value.

{winapi}## Licences

The catalogue ships inside our executable, so only public-domain headers feed it. A header
qualifies when both of these say so:

1. the Debian copyright file of the package (`/usr/share/doc/mingw-w64-i686-dev/copyright`,
   stanzas read as Debian defines them, last match wins) records it as `public-domain`; headers
   generated by WIDL are also judged by the licence recorded for their IDL source;
2. its own opening comment carries no licence notice, the public-domain notice ("placed in the
   Public Domain", "offered for use in the public domain") or the mingw-w64 disclaimer, and names no
   other licence or copyright holder.

{headerCount} headers contribute constants (their own notices: {notices}). Headers the harvest
reached (included by others) whose constants were left out for their licence:

{licenceExcluded}

Not harvested at all for the same reason, although a Win32 programmer might look there:
`winhttp.h`, `propkey.h`, `knownfolders.h`, `wincodec.h`, the Direct3D, DirectSound, DirectInput
and DirectShow headers (LGPL), `vssym32.h` and `vsstyle.h` (Zope Public License). The names of
several of them reach the catalogue from the DirectX headers or the winapi crate instead; nothing of
those mingw-w64 headers' text does.

The DirectX headers and the winapi crate are used under the MIT licence, whose notices follow.

winapi (`LICENSE-MIT` of the crate):

```
{winapiNotice}
```

DirectX headers (as Debian records it for `directx-headers-dev`):

```
{directxNotice}
```

## Figures

- Lines: {lines}
- Text bytes: {bytes}
- Packed block: {packed}
- Longest line: {longest} characters without its line break
- Lines with a definition in the comment: {withDefinition}; with a Unicode value: {withUnicode}
- Names without "_": {withoutUnderscore}
- First line: `{first}`
- Last line: `{last}`

Families (the part of a name before its first "_"):

{asked}

Largest families:

{largest}

Headers with the most lines:

{headers}
"""
