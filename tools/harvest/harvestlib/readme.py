"""Writes data/README.md: where the catalogue comes from, how it was made, and its figures."""

import subprocess

FAMILIES_ASKED = ["WM", "VK", "ERROR", "MCI", "MM", "NERR", "IMAGE", "INTERNET", "STATUS", "E",
                  "WSA", "LVM", "TVM", "SQL", "CERT", "CRYPT"]


def PackageVersion(package):
    completed = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                               capture_output=True, text=True)
    return completed.stdout.strip() or "unknown"


def _Table(rows, headings):
    lines = ["| " + " | ".join(headings) + " |", "|" + "|".join("---" for _ in headings) + "|"]
    lines.extend("| " + " | ".join(str(cell) for cell in row) + " |" for row in rows)
    return "\n".join(lines)


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
    return TEMPLATE.format(
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


TEMPLATE = """# The constant catalogue

`catalogue.txt` is the program's data: one line per Windows API constant, name, value and a short
comment. `catalogue.jc` is the same text packed in the program's "JC" block format; the build embeds
it in the executable (`catalogue_block.h`, `catalogue_block.cpp`), and a unit test checks that the
embedded block unpacks to `catalogue.txt` byte for byte. Both files are generated; do not edit them.

Regenerate both with one command (needs the `mingw-w64-i686-dev` headers, the i686 cross compiler,
Python 3, CMake and Ninja):

    tools/harvest/regenerate.sh

It runs the harvester's own tests first (`python3 -m unittest discover -s tools/harvest/tests`).

## Line format

    #NAME = $VALUE ' header.h[: definition][; Unicode: $VALUE]

- every line ends with CR LF; single-byte ASCII text, no tabs, no blank lines, no zero byte;
- VALUE is the 32-bit two's complement of the value in upper-case hexadecimal without leading
  zeros (`$FFFFFFFF` for -1, `$0` for zero);
- the comment names the header that defines the constant; when the header defines it through other
  constants or an expression, the definition follows in PureBasic notation ("#" before constant
  names, "$" before hexadecimal numbers, casts and integer suffixes dropped, calls of macros that
  only cast or paste names replaced by what they wrap, `^` written `!`); a definition that is a plain
  number is not repeated, and one that would make the line longer than 300 characters is left out;
- a character-set dependent name (neutral name with A and W forms) carries its ANSI value; when the
  Unicode build gives it another value the comment ends with "; Unicode: $VALUE";
- lines are sorted by name without regard to case, "_" before digits, digits before letters
  (ties between names that differ only in case are broken by byte order); names are unique.

## Where the values come from

Every value is what the compiler computes, never a value parsed by the harvester:
`tools/harvest/harvest.py` lists the candidates (object-like macros from `gcc -E -dD`, enumeration
constants from the preprocessed C text) and compiles them, thousands per translation unit, as
constant initialisers of 64-bit objects in a section of their own, together with each one's type
class, size and signedness; the object file is read back. Candidates that do not compile as
constants (types, strings, functions, addresses that only the linker knows) are dropped; floating
point values and values outside the 32-bit range (signed or unsigned) are dropped; integers cast to
pointers or handles (`HWND_TOPMOST`, `IDC_ARROW`, `HKEY_CLASSES_ROOT`) are kept.
`tools/harvest/verify.py` then confirms every value of the written text a second way, in static
assertions compiled by the same compiler (and the Unicode values in a Unicode compilation);
`regenerate.sh` stops before packing when one is not confirmed.

- Package: `mingw-w64-i686-dev` {package} (`/usr/share/mingw-w64/include`)
- Compiler: `i686-w64-mingw32-gcc` ({compiler}), 32-bit target, `-std=gnu11`
- Defines: {defines} (the newest version the headers know); ANSI, no `UNICODE`
  (a second compilation with `UNICODE` and `_UNICODE` gives the Unicode values); `SECURITY_WIN32`
  for `sspi.h`
- Translation units (a name found in several keeps the first unit's value; the NTSTATUS unit reads
  `windows.h` with `WIN32_NO_STATUS` before `ntstatus.h`):
{units}

Left out: names beginning with "_" and other reserved spellings, macros of the C runtime's own
headers, the headers' configuration switches (`WINVER`, `NTDDI_VERSION`, `WINAPI_FAMILY`,
`STRICT`, API partitions, `TARGET_IS_NT*_OR_LATER`), include guards, and everything from a header
whose licence is not public domain.

{excluded}

## Licences

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
and DirectShow headers (LGPL), `vssym32.h` and `vsstyle.h` (Zope Public License).

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
