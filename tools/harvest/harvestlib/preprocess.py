"""Runs the cross compiler's preprocessor over a translation unit and lists what it defines.

The output of `gcc -E -dD` keeps every #define and #undef in place, with line markers naming the file
each came from. From it we learn the macros in effect at the end of the unit (with the header that
last defined each), and the enumeration constants declared in the unit's C text (with the header and
line of each, and the expression the source gives it, if any).
"""

import os
import re
import subprocess

_LINE_MARKER = re.compile(r'^# (\d+) "((?:[^"\\]|\\.)*)"')
_DEFINE = re.compile(r"^#define ([A-Za-z_][A-Za-z0-9_]*)(\(([^)]*)\))?(?:\s(.*))?$")
_UNDEF = re.compile(r"^#undef ([A-Za-z_][A-Za-z0-9_]*)")
TOKEN = re.compile(
    r"\s*(?:(?P<id>[A-Za-z_][A-Za-z0-9_]*)"
    r"|(?P<num>\.?[0-9](?:[eEpP][+-]|[A-Za-z0-9_.])*)"
    r"|(?P<chr>L?'(?:[^'\\\n]|\\.)*')"
    r"|(?P<str>L?\"(?:[^\"\\\n]|\\.)*\")"
    r"|(?P<op><<=|>>=|\.\.\.|->|\+\+|--|<<|>>|<=|>=|==|!=|&&|\|\||##|[-+*/%&|^~!<>=?:;,.(){}\[\]#]))")


class Macro:
    __slots__ = ("name", "params", "body", "header")

    def __init__(self, name, params, body, header):
        self.name = name
        self.params = params     # None for an object-like macro, else the parameter names
        self.body = body
        self.header = header     # path relative to the include directory, or None


class Enumerator:
    __slots__ = ("name", "header", "line", "expression")

    def __init__(self, name, header, line, expression):
        self.name = name
        self.header = header
        self.line = line
        self.expression = expression  # preprocessed tokens after "=", or None


class Unit:
    """What one translation unit defines: final macros and enumeration constants."""

    def __init__(self):
        self.macros = {}
        self.enumerators = {}


def Tokens(text):
    """Splits C text into (kind, text, spaceBefore) triples; unknown bytes are skipped."""
    result = []
    position = 0
    while position < len(text):
        match = TOKEN.match(text, position)
        if not match or match.end() == position:
            if text[position:].strip() == "":
                break
            position += 1
            continue
        kind = match.lastgroup
        result.append((kind, match.group(kind), match.start(kind) > position))
        position = match.end()
    return result


def HeaderOf(path, includeDir, ownOnly=False):
    """The path of a header relative to the include directory, or None for other files (with
    ownOnly, also for the toolchain's headers outside that directory)."""
    normal = os.path.normpath(path)
    roots = [os.path.normpath(includeDir)]
    roots.append(os.path.realpath(includeDir))
    for root in roots:
        if normal.startswith(root + os.sep):
            return normal[len(root) + 1:]
    if ownOnly:
        return None
    marker = os.sep + "i686-w64-mingw32" + os.sep + "include" + os.sep
    at = normal.find(marker)
    if at >= 0:
        return normal[at + len(marker):]
    return None


def Preprocess(compiler, arguments, source):
    """Returns the -dD preprocessed text of the given source text."""
    completed = subprocess.run(
        [compiler, "-E", "-dD", "-x", "c", *arguments, "-"], input=source, capture_output=True,
        text=True, encoding="latin-1", check=False)
    if completed.returncode != 0:
        raise RuntimeError("preprocessing failed:\n" + completed.stderr[-4000:])
    return completed.stdout


def ParseUnit(preprocessed, includeDir, ownOnly=False):
    unit = Unit()
    codeParts, lineStarts = [], []   # code text and, per code line, (offset, header, line)
    offset = 0
    header, lineNumber = None, 1
    for line in preprocessed.split("\n"):
        if line.startswith("#"):
            marker = _LINE_MARKER.match(line)
            if marker:
                lineNumber = int(marker.group(1))
                header = HeaderOf(marker.group(2), includeDir, ownOnly)
                continue
            define = _DEFINE.match(line)
            if define:
                params = None
                if define.group(2) is not None:
                    params = [p.strip() for p in define.group(3).split(",") if p.strip()]
                body = (define.group(4) or "").strip()
                earlier = unit.macros.get(define.group(1))
                # A repeated identical definition keeps the header that introduced the name.
                if earlier is None or earlier.body != body or earlier.params != params:
                    unit.macros[define.group(1)] = Macro(define.group(1), params, body, header)
            else:
                undef = _UNDEF.match(line)
                if undef:
                    unit.macros.pop(undef.group(1), None)
            lineNumber += 1
            continue
        if line.strip():
            lineStarts.append((offset, header, lineNumber))
            codeParts.append(line)
            offset += len(line) + 1
        lineNumber += 1
    code = "\n".join(codeParts)
    for enumerator in ScanEnumerators(code, lineStarts):
        unit.enumerators[enumerator.name] = enumerator
    return unit


def _Locate(lineStarts, offset):
    low, high = 0, len(lineStarts) - 1
    while low < high:
        middle = (low + high + 1) // 2
        if lineStarts[middle][0] <= offset:
            low = middle
        else:
            high = middle - 1
    return lineStarts[low][1], lineStarts[low][2]


_ENUM = re.compile(r"\benum\b")


def ScanEnumerators(code, lineStarts):
    """Finds `enum [tag] { ... }` bodies and yields their enumerators."""
    for match in _ENUM.finditer(code):
        position = match.end()
        head = TOKEN.match(code, position)
        if head and head.lastgroup == "id":
            position = head.end()
            head = TOKEN.match(code, position)
        if not head or head.group("op") != "{":
            continue
        position = head.end()
        depth, item, items = 0, [], []
        while True:
            token = TOKEN.match(code, position)
            if not token:
                break
            kind = token.lastgroup
            text = token.group(kind)
            start = token.start(kind)
            position = token.end()
            if kind == "op" and text in "([{":
                depth += 1
            elif kind == "op" and text in ")]}":
                if depth == 0:
                    if item:
                        items.append(item)
                    break
                depth -= 1
            elif kind == "op" and text == "," and depth == 0:
                items.append(item)
                item = []
                continue
            item.append((kind, text, start, token.start(kind) > token.start()))
        for item in items:
            if not item or item[0][0] != "id":
                continue
            name = item[0][1]
            header, line = _Locate(lineStarts, item[0][2])
            expression = None
            for index, token in enumerate(item):
                if token[0] == "op" and token[1] == "=" :
                    expression = [(t[0], t[1], t[3]) for t in item[index + 1:]]
                    break
            yield Enumerator(name, header, line, expression)


class HeaderSource:
    """Reads the text headers give an enumerator's value, as written (before macro expansion)."""

    def __init__(self, includeDir):
        self.includeDir = includeDir
        self.files = {}

    def _Lines(self, header):
        if header not in self.files:
            with open(os.path.join(self.includeDir, header), encoding="latin-1") as handle:
                self.files[header] = handle.read().split("\n")
        return self.files[header]

    def EnumeratorDefinition(self, enumerator):
        """The expression after "NAME =" in the header, comments removed; None if not found."""
        if enumerator.header is None or enumerator.expression is None:
            return None
        lines = self._Lines(enumerator.header)
        if not 0 < enumerator.line <= len(lines):
            return None
        match = re.search(r"\b" + re.escape(enumerator.name) + r"\s*=", lines[enumerator.line - 1])
        if not match:
            return None
        text = lines[enumerator.line - 1][match.end():]
        following = enumerator.line
        while following < len(lines) and following < enumerator.line + 8:
            text += "\n" + lines[following]
            following += 1
        text = re.sub(r"/\*.*?\*/", " ", text, flags=re.DOTALL)
        text = re.sub(r"//[^\n]*", " ", text)
        depth = 0
        for index, character in enumerate(text):
            if character == "(":
                depth += 1
            elif character == ")":
                depth -= 1
            if depth < 0 or (depth == 0 and character in ",}") or character in ";#":
                return " ".join(text[:index].split()) or None
        return None
