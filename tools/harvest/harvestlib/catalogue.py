"""The catalogue text: line format, order, limits, and the figures reported about it.

Each line is "#NAME = $VALUE ' comment" followed by CR LF; VALUE is the 32-bit two's complement in
upper-case hexadecimal without leading zeros. Lines are sorted by name without regard to case, with
"_" before digits and digits before letters.
"""

import collections
import re

MAX_LINE = 300   # characters per line, without its line break
LINE = re.compile(r"^#([A-Za-z][A-Za-z0-9_]*) = \$(0|[1-9A-F][0-9A-F]{0,7}) ' ([\x20-\x26\x28-\x7E]+)$")

_RANK = {"_": 0}
_RANK.update({chr(ord("0") + digit): 1 + digit for digit in range(10)})
_RANK.update({chr(ord("A") + letter): 11 + letter for letter in range(26)})


def SortKey(name):
    """Order ignoring case, "_" < digits < letters; the exact name breaks ties."""
    return (tuple(_RANK[c] for c in name.upper()), name)


def FormatLine(name, value, comment):
    return "#%s = $%X ' %s" % (name, value & 0xFFFFFFFF, comment)


def Family(name):
    """The part of a name before its first "_", or "" when it has none."""
    return name.split("_", 1)[0] if "_" in name else ""


def Render(lines):
    """The catalogue's bytes: every line with CR LF, single-byte text."""
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def Lines(data):
    """The lines of catalogue bytes, the inverse of Render; ValueError when the bytes are not such lines."""
    lines = data.decode("ascii").split("\r\n")
    if lines[-1] != "":
        raise ValueError("the last line has no CR LF")
    return lines[:-1]


def Check(lines):
    """Problems with a list of catalogue lines (empty when it is sound)."""
    problems = []
    names = []
    for number, line in enumerate(lines, 1):
        match = LINE.match(line)
        if not match:
            problems.append("line %d does not match the line format: %r" % (number, line[:80]))
            continue
        if len(line) > MAX_LINE:
            problems.append("line %d is %d characters long" % (number, len(line)))
        names.append(match.group(1))
    if len(set(names)) != len(names):
        problems.append("names are not unique")
    keys = [SortKey(name) for name in names]
    if keys != sorted(keys):
        problems.append("lines are not in order")
    return problems


def Figures(data):
    """Figures about catalogue bytes: counts, sizes, families."""
    lines = Lines(data)
    names = [LINE.match(line).group(1) for line in lines]
    families = collections.Counter(Family(name) for name in names)
    headers = collections.Counter(LINE.match(line).group(3).split(":")[0].split(";")[0]
                                  for line in lines)
    return {
        "lines": len(lines),
        "bytes": len(data),
        "longest": max(len(line) for line in lines),
        "withoutUnderscore": families.get("", 0),
        "families": families,
        "headers": headers,
        "withDefinition": sum(1 for line in lines if ": " in line.split(" ' ", 1)[1]),
        "withUnicode": sum(1 for line in lines if "Unicode: $" in line),
        "first": lines[0],
        "last": lines[-1],
    }
