#!/usr/bin/env python3
"""Checks every value of a catalogue text against the cross compiler a second, independent way.

The harvest reads values back from an object file; this asks the compiler to confirm each one in a
static assertion instead: (unsigned int)(NAME) == VALUE, and that a wider type's value fits in 32
bits. The Unicode values noted in comments are confirmed in a Unicode compilation. Each name is tried
in the harvest's translation units in order, then in the DirectX unit and in the units of mingw-w64
headers that are only used as a check. Exit status 0 only when every value is confirmed, except
those of names that only the winapi crate defines, which the report lists.

  verify.py data/catalogue.txt --report WORK/report.json [--work DIR]
"""

import argparse
import json
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harvestlib import catalogue, preprocess, units  # noqa: E402

_LINE = re.compile(r"^#(\w+) = \$([0-9A-F]+) ' (.*)$")
_UNICODE = re.compile(r"; Unicode: \$([0-9A-F]+)$")
_ERROR = re.compile(r":(\d+):(?:\d+:)? error: (.*)$")


def Assertion(name, value):
    fits = ("(sizeof(%s) <= 4 || (((__typeof__(%s))-1 < 0) ? "
            "((long long)(%s) >= -2147483648LL && (long long)(%s) <= 4294967295LL) : "
            "((unsigned long long)(%s) <= 4294967295ULL)))") % ((name,) * 5)
    return '_Static_assert((unsigned int)(%s) == 0x%Xu && %s, "%s");' % (name, value, fits, name)


def Check(lines, names, values, arguments, path):
    """({name: "confirmed"|"wrong"} for names this unit can compile)."""
    outcome = {}
    pending = list(names)
    while pending:
        source = lines + [Assertion(name, values[name]) for name in pending]
        first = len(lines) + 1
        with open(path, "w", encoding="latin-1") as handle:
            handle.write("\n".join(source) + "\n")
        completed = subprocess.run([units.COMPILER, "-fsyntax-only", *arguments, path],
                                   capture_output=True, text=True, encoding="latin-1")
        failing = {}
        for text in completed.stderr.split("\n"):
            match = _ERROR.search(text)
            if match and text.startswith(path):
                index = int(match.group(1)) - first
                if 0 <= index < len(pending):
                    wrong = "static assertion failed" in match.group(2)
                    failing[pending[index]] = failing.get(pending[index], False) or wrong
        if completed.returncode == 0 or not failing:
            outcome.update((name, "confirmed") for name in pending if name not in outcome)
            if completed.returncode != 0:
                raise RuntimeError("errors outside the assertions:\n" + completed.stderr[:3000])
            return outcome
        for name, wrong in failing.items():
            if wrong:
                outcome[name] = "wrong"
        pending = [name for name in pending if name not in failing]
    return outcome


def Verify(entries, unicode, work):
    confirmed, wrong = set(), set()
    remaining = sorted(entries)
    for unitName, lines in units.Units() + [units.DirectXUnit()] + units.CheckUnits():
        if not remaining:
            break
        arguments = units.CompilerArguments(unicode, unitName)
        # Only names the unit declares: the compiler is slow to report undeclared ones.
        declared = preprocess.ParseUnit(preprocess.Preprocess(
            units.COMPILER, arguments, "\n".join(lines) + "\n"), units.INCLUDE_DIR)
        here = [name for name in remaining
                if name in declared.macros or name in declared.enumerators]
        path = os.path.join(work, "verify-%s%s.c" % (unitName, "-unicode" if unicode else ""))
        outcome = Check(lines, here, entries, arguments, path)
        confirmed.update(name for name, state in outcome.items() if state == "confirmed")
        wrong.update(name for name, state in outcome.items() if state == "wrong")
        remaining = [name for name in remaining if name not in outcome]
    return confirmed, wrong, remaining


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("catalogue")
    parser.add_argument("--report", required=True)
    parser.add_argument("--work", default="build/harvester-work")
    options = parser.parse_args()
    with open(options.report, encoding="utf-8") as handle:
        onlyWinapi = set(json.load(handle)["winapi"]["unchecked"])
    os.makedirs(options.work, exist_ok=True)
    values, unicodeValues = {}, {}
    with open(options.catalogue, "rb") as handle:
        for line in catalogue.Lines(handle.read()):
            match = _LINE.match(line)
            values[match.group(1)] = int(match.group(2), 16)
            note = _UNICODE.search(match.group(3))
            if note:
                unicodeValues[match.group(1)] = int(note.group(1), 16)
    failures = 0
    for label, entries, unicode in (("values", values, False),
                                    ("Unicode values", unicodeValues, True)):
        confirmed, wrong, missing = Verify(entries, unicode, options.work)
        unchecked = [name for name in missing if name in onlyWinapi]
        missing = [name for name in missing if name not in onlyWinapi]
        print("%s: %d confirmed, %d wrong, %d not compilable, %d from winapi alone" % (
            label, len(confirmed), len(wrong), len(missing), len(unchecked)))
        for name in sorted(wrong)[:20] + missing[:20]:
            print("  " + name)
        failures += len(wrong) + len(missing)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
