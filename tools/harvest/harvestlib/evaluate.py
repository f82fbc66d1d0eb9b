"""Lets the cross compiler compute the value of each candidate constant for the 32-bit target.

Thousands of candidates share one translation unit: after the unit's headers, one array in a section
of its own holds, per candidate and on a line of its own, the value converted to a 64-bit integer, the
type class (__builtin_classify_type), the size and the signedness of the candidate's type. The object
file is read back; nothing is computed here. A candidate that does not compile as a constant (a type,
a string, a function, an address) makes the compiler report its line: such lines are dropped and the
rest compiled again. When an error cannot be tied to a line, the batch is halved. Dropped candidates
get one more try in a batch of their own, in case another candidate's error misled the compiler.
"""

import os
import re
import struct
import subprocess
import time

from .preprocess import Tokens

SECTION = b".mvvals"
FIELDS = 4
INTEGER_CLASSES = {1, 2, 3, 4}   # integer, char, enumeral, boolean
POINTER_CLASS = 5


_CANDIDATE_LINE = re.compile(r"^mv_candidate_(\d+) (.*)$")
_BRACKETS = {")": "(", "]": "["}


def IsSelfContained(expansion):
    """Whether an expansion can stand inside one initialiser without disturbing its neighbours:
    not empty, brackets balanced, no braces or semicolons. Says nothing about its value."""
    if not expansion.strip():
        return False
    stack = []
    for kind, text, _ in Tokens(expansion):
        if kind != "op":
            continue
        if text in ("{", "}", ";"):
            return False
        if text in ("(", "["):
            stack.append(text)
        elif text in _BRACKETS:
            if not stack or stack.pop() != _BRACKETS[text]:
                return False
    return not stack


def _ErrorLines(diagnostics, source):
    """Lines of the source that errors point at, directly or through "in expansion of" notes:
    an error inside a macro is reported where the macro was defined, then traced to its use."""
    mention = re.compile(re.escape(source) + r":(\d+):")
    lines, inError = set(), False
    for text in diagnostics.split("\n"):
        if ": error:" in text:
            inError = True
        elif ": warning:" in text or text.startswith("In file included from"):
            inError = False
        if inError:
            lines.update(int(match.group(1)) for match in mention.finditer(text))
    return lines


class Result:
    __slots__ = ("value", "kind", "size", "signed")

    def __init__(self, value, kind, size, signed):
        self.value, self.kind, self.size, self.signed = value, kind, size, signed

    def Value32(self):
        """The 32-bit two's complement, or None when the value is no integer or needs more bits."""
        if self.kind == POINTER_CLASS:
            return self.value & 0xFFFFFFFF
        if self.kind not in INTEGER_CLASSES:
            return None
        value = self.value if self.signed else self.value & 0xFFFFFFFFFFFFFFFF
        if value < -0x80000000 or value > 0xFFFFFFFF:
            return None
        return value & 0xFFFFFFFF


def _Line(index, name):
    # One declaration per candidate, so that the compiler recovers from an error at the next one.
    return ('__attribute__((section(".mvvals"), used)) const long long mv_%d[%d] = { '
            "(long long)(%s), (long long)__builtin_classify_type(%s), (long long)sizeof(%s), "
            "(long long)((__typeof__(%s))-1 < 0) };") % (index, FIELDS, name, name, name, name)


def ReadSection(objectBytes, wanted):
    """Raw bytes of one section of a COFF object file, and the offsets its relocations patch."""
    _, count, _, _, _, optional, _ = struct.unpack_from("<HHIIIHH", objectBytes, 0)
    offset = 20 + optional
    for _ in range(count):
        name = objectBytes[offset:offset + 8].rstrip(b"\0")
        size, pointer, relocationPointer = struct.unpack_from("<III", objectBytes, offset + 16)
        relocationCount = struct.unpack_from("<H", objectBytes, offset + 32)[0]
        if name == wanted:
            patched = [struct.unpack_from("<I", objectBytes, relocationPointer + 10 * index)[0]
                       for index in range(relocationCount)]
            return objectBytes[pointer:pointer + size], patched
        offset += 40
    return None, []


class Evaluator:
    def __init__(self, compiler, arguments, prelude, workDir, tag):
        self.compiler = compiler
        self.arguments = arguments
        self.prelude = prelude
        self.workDir = workDir
        self.tag = tag
        self.compilations = 0
        self.log = None

    def _Compile(self, names):
        """Returns ({name: Result}, None) or (None, set of failing names or empty set)."""
        source = os.path.join(self.workDir, self.tag + ".c")
        target = os.path.join(self.workDir, self.tag + ".o")
        lines = list(self.prelude)
        first = len(lines) + 1
        lines.extend(_Line(index, name) for index, name in enumerate(names))
        with open(source, "w", encoding="latin-1") as handle:
            handle.write("\n".join(lines) + "\n")
        if os.path.exists(target):
            os.remove(target)
        self.compilations += 1
        started = time.time()
        completed = subprocess.run([self.compiler, "-c", "-O0", "-fno-toplevel-reorder",
                                    *self.arguments, "-o", target,
                                    source], capture_output=True, text=True, encoding="latin-1")
        if self.log:
            self.log("compiled %d candidates in %.1f s: %s" % (
                len(names), time.time() - started, "ok" if completed.returncode == 0 else "errors"))
        if completed.returncode == 0:
            with open(target, "rb") as handle:
                data, patched = ReadSection(handle.read(), SECTION)
            if data is None:
                os.replace(source, source + ".failed")
                raise RuntimeError("no value section for " + source + ".failed")
            if patched:  # an address, known only to the linker: not a constant
                return None, {names[offset // (FIELDS * 8)] for offset in patched
                              if offset // (FIELDS * 8) < len(names)}
            expected = len(names) * FIELDS * 8
            if len(data) != expected:
                raise RuntimeError("short value section in " + source)
            values = struct.unpack_from("<%dq" % (len(names) * FIELDS), data, 0)
            results = {}
            for index, name in enumerate(names):
                value, kind, size, signed = values[index * FIELDS:(index + 1) * FIELDS]
                results[name] = Result(value, kind, size, bool(signed))
            return results, None
        failing = set()
        for line in _ErrorLines(completed.stderr, source):
            index = line - first
            if 0 <= index < len(names):
                failing.add(names[index])
        if not failing and self.log:
            self.log("unattributed errors:\n" + completed.stderr[:1500])
        return None, failing

    def _Evaluate(self, names, failed):
        results = {}
        pending = list(names)
        while pending:
            found, failing = self._Compile(pending)
            if found is not None:
                results.update(found)
                return results
            if failing:
                failed.update(failing)
                pending = [name for name in pending if name not in failing]
                continue
            if len(pending) == 1:
                failed.add(pending[0])
                return results
            half = len(pending) // 2
            results.update(self._Evaluate(pending[:half], failed))
            results.update(self._Evaluate(pending[half:], failed))
            return results
        return results

    def Expansions(self, names):
        """{name: its full macro expansion} as the preprocessor produces it in this unit."""
        lines = list(self.prelude)
        lines.extend("mv_candidate_%d %s" % (index, name) for index, name in enumerate(names))
        completed = subprocess.run([self.compiler, "-E", "-P", *self.arguments, "-"],
                                   input="\n".join(lines) + "\n", capture_output=True, text=True,
                                   encoding="latin-1")
        # A candidate that breaks preprocessing (pasting "/" and "/") only loses its own line.
        expansions = {}
        for line in completed.stdout.split("\n"):
            match = _CANDIDATE_LINE.match(line)
            if match and int(match.group(1)) < len(names):
                expansions[names[int(match.group(1))]] = match.group(2)
        return expansions

    def Evaluate(self, names):
        """{name: Result} for every candidate that compiles as a constant."""
        expansions = self.Expansions(list(names))
        failed = set()
        results = self._Evaluate([name for name in names
                                  if IsSelfContained(expansions.get(name, ""))], failed)
        for _ in range(3):
            retry = sorted(failed)
            if not retry:
                break
            failed = set()
            recovered = self._Evaluate(retry, failed)
            results.update(recovered)
            if not recovered:
                break
        return results
