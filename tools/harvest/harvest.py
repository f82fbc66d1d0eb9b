#!/usr/bin/env python3
"""Regenerates the constant catalogue from the mingw-w64 Windows headers and Microsoft's DirectX
headers, with every value computed by the i686 cross compiler, and adds the integer constants of the
winapi crate that no compiled header gives (checked by the compiler where a mingw-w64 header that
is not harvested defines them).

  harvest.py catalogue --output data/catalogue.txt --report WORK/report.json [--work WORK]
  harvest.py readme --catalogue data/catalogue.txt --block data/catalogue.jc
                    --report WORK/report.json --output data/README.md
"""

import argparse
import collections
import json
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from harvestlib import catalogue, evaluate, filters, licences, notation, preprocess, units  # noqa: E402
from harvestlib import readme, winapi  # noqa: E402

COMPILED_SOURCES = {"directx": "DirectX headers", "winapi": "winapi"}   # others: mingw-w64


class Entry:
    __slots__ = ("name", "value", "header", "definition", "unit", "unicodeValue")

    def __init__(self, name, value, header, definition, unit):
        self.name, self.value, self.header = name, value, header
        self.definition, self.unit = definition, unit
        self.unicodeValue = None


def Log(message):
    print("[%s] %s" % (time.strftime("%H:%M:%S"), message), file=sys.stderr, flush=True)


class DirectXJudge:
    """Every header of the DirectX headers package is MIT licensed."""

    def Judge(self, header):
        return licences.Verdict(True, "Expat", "MIT", "MIT")


def HarvestUnit(unitName, lines, entries, judge, source, report, workDir, valueNames,
                includeDir=units.INCLUDE_DIR):
    """Adds the constants of one translation unit that earlier units did not define."""
    arguments = units.CompilerArguments(False, unitName)
    parsed = preprocess.ParseUnit(
        preprocess.Preprocess(units.COMPILER, arguments, "\n".join(lines) + "\n"), includeDir,
        ownOnly=includeDir != units.INCLUDE_DIR)
    candidates = set()
    for macro in parsed.macros.values():
        if macro.params is None and macro.header is not None:
            candidates.add(macro.name)
    candidates.update(name for name, e in parsed.enumerators.items() if e.header is not None)
    fresh = sorted(name for name in candidates if name not in entries)
    Log("unit %s: %d macros, %d enumerators, %d new candidates" % (
        unitName, len(parsed.macros), len(parsed.enumerators), len(fresh)))

    evaluator = evaluate.Evaluator(units.COMPILER, arguments, lines, workDir, unitName)
    results = evaluator.Evaluate(fresh)
    Log("unit %s: %d compiled in %d compilations" % (unitName, len(results),
                                                     evaluator.compilations))
    reasons = report["excluded"]
    added = []
    for name in fresh:
        result = results.get(name)
        if result is None:
            reasons["not a constant"] += 1
            continue
        value = result.Value32()
        if value is None:
            reasons["floating point" if result.kind in (8, 9) else
                    "more than 32 bits" if result.kind in evaluate.INTEGER_CLASSES else
                    "not an integer"] += 1
            continue
        macro = parsed.macros.get(name)
        enumerator = None if macro is not None else parsed.enumerators.get(name)
        header = macro.header if macro is not None else enumerator.header
        reason = filters.ExclusionReason(name, header, macro.body if macro else None)
        if reason is None:
            verdict = judge.Judge(header)
            if not verdict.accepted:
                reason = "licence"
                report["licenceExcluded"][header] = verdict.reason
        if reason is not None:
            reasons[reason] += 1
            continue
        if macro is not None:
            definition = macro.body
        else:
            definition = source.EnumeratorDefinition(enumerator)
            if definition is None and enumerator.expression:
                definition = " ".join(text for _, text, _ in enumerator.expression)
        entries[name] = Entry(name, value, header, definition, unitName)
        added.append(name)

    unicodeEvaluator = evaluate.Evaluator(units.COMPILER, units.CompilerArguments(True, unitName),
                                          lines, workDir, unitName + "-unicode")
    unicodeResults = unicodeEvaluator.Evaluate(added)
    for name in added:
        result = unicodeResults.get(name)
        if result is not None:
            entries[name].unicodeValue = result.Value32()
    Log("unit %s: %d constants added" % (unitName, len(added)))
    valueNames.update(name for name, result in results.items() if result.Value32() is not None)
    return parsed.macros


def Comment(entry, speller):
    unicodeNote = ""
    if entry.unicodeValue is not None and entry.unicodeValue != entry.value:
        unicodeNote = "; Unicode: $%X" % entry.unicodeValue
    spelled = speller.Spell(entry.definition) if entry.definition and speller else None
    if spelled is not None:
        comment = "%s: %s%s" % (entry.header, spelled, unicodeNote)
        if len(catalogue.FormatLine(entry.name, entry.value, comment)) <= catalogue.MAX_LINE:
            return comment
    return entry.header + unicodeNote


def CheckAgainstCompiler(constants, workDir):
    """Compiles the names the mingw-w64 headers outside the harvest define: ({name: compiler
    value or None} for those, in the check units' order); names no such header defines are absent."""
    computed, remaining = {}, set(constants)
    for unitName, lines in units.CheckUnits():
        arguments = units.CompilerArguments(False, unitName)
        parsed = preprocess.ParseUnit(preprocess.Preprocess(
            units.COMPILER, arguments, "\n".join(lines) + "\n"), units.INCLUDE_DIR)
        declared = sorted(name for name in remaining if name in parsed.enumerators or
                          (name in parsed.macros and parsed.macros[name].params is None))
        results = evaluate.Evaluator(units.COMPILER, arguments, lines, workDir,
                                     unitName).Evaluate(declared)
        for name in declared:
            computed[name] = results[name].Value32() if name in results else None
        remaining.difference_update(declared)
        Log("unit %s: %d of the added names declared, %d compiled" % (
            unitName, len(declared), len(results)))
    return computed


def AddWinapi(entries, workDir):
    """Adds the winapi constants no compiled header gave; returns what the report says of them."""
    constants, counts, failures, conflicting = winapi.Collect()
    Log("winapi: %d integer constants under %d names" % (counts["integer constants"],
                                                         len(constants)))
    disagreements, fresh, agreeing = [], {}, 0
    for name, constant in sorted(constants.items(), key=lambda item: catalogue.SortKey(item[0])):
        entry = entries.get(name)
        if entry is None:
            fresh[name] = constant
        elif entry.value == constant.value:
            agreeing += 1
        else:
            disagreements.append([name, entry.header, COMPILED_SOURCES.get(entry.unit, "mingw-w64"),
                                  entry.value, constant.value])
    computed = CheckAgainstCompiler(fresh, workDir)
    leftOut, unchecked, added = [], [], []
    for name, constant in sorted(fresh.items(), key=lambda item: catalogue.SortKey(item[0])):
        if name in computed and computed[name] != constant.value:
            leftOut.append([name, constant.header, computed[name], constant.value])
            continue
        if name not in computed:
            unchecked.append(name)
        entries[name] = Entry(name, constant.value, constant.header, None, "winapi")
        added.append(name)
    for name in added:   # a neutral name with A and W forms: the ANSI value, the Unicode one noted
        if name + "A" in entries and name + "W" in entries:
            entries[name].value = entries[name + "A"].value
            entries[name].unicodeValue = entries[name + "W"].value
    Log("winapi: %d added (%d confirmed by the compiler), %d left out, %d disagree" % (
        len(added), len(added) - len(unchecked), len(leftOut), len(disagreements)))
    return {"package": readme.PackageVersion(winapi.PACKAGE), "counts": counts,
            "names": len(constants), "agreeing": agreeing, "added": len(added),
            "confirmed": len(added) - len(unchecked), "unchecked": unchecked,
            "disagreements": disagreements, "leftOut": leftOut, "failures": failures,
            "conflicting": conflicting}


def CommandCatalogue(options):
    os.makedirs(options.work, exist_ok=True)
    judge = licences.LicenceJudge(units.INCLUDE_DIR)
    source = preprocess.HeaderSource(units.INCLUDE_DIR)
    report = {"excluded": collections.Counter(), "licenceExcluded": {}}
    entries, macros, valueNames = {}, {}, set()
    for unitName, lines in units.Units():
        macros[unitName] = HarvestUnit(unitName, lines, entries, judge, source, report,
                                       options.work, valueNames)
    mingwHeaders = sorted({entry.header for entry in entries.values()})
    unitName, lines = units.DirectXUnit()
    macros[unitName] = HarvestUnit(unitName, lines, entries, DirectXJudge(),
                                   preprocess.HeaderSource(units.DIRECTX_DIR), report,
                                   options.work, valueNames, units.DIRECTX_DIR)
    report["sources"] = collections.Counter(COMPILED_SOURCES.get(e.unit, "mingw-w64")
                                            for e in entries.values())
    report["winapi"] = AddWinapi(entries, options.work)
    names = set(entries)
    spellers = {unitName: notation.Speller(unitMacros, valueNames, names)
                for unitName, unitMacros in macros.items()}
    lines = [catalogue.FormatLine(entry.name, entry.value, Comment(entry, spellers.get(entry.unit)))
             for entry in sorted(entries.values(), key=lambda e: catalogue.SortKey(e.name))]
    problems = catalogue.Check(lines)
    if problems:
        for problem in problems[:20]:
            Log("problem: " + problem)
        return 1
    with open(options.output, "wb") as handle:
        handle.write(catalogue.Render(lines))
    report["units"] = [(name, [line for line in unitLines if line.startswith("#include")])
                       for name, unitLines in units.Units()]
    report["defines"] = units.TARGET_DEFINES
    report["compiler"] = subprocess.run([units.COMPILER, "--version"], capture_output=True,
                                        text=True).stdout.split("\n")[0]
    report["package"] = readme.PackageVersion("mingw-w64-i686-dev")
    report["headers"] = mingwHeaders
    report["notices"] = collections.Counter(judge.Judge(h).notice for h in mingwHeaders)
    report["directxPackage"] = readme.PackageVersion("directx-headers-dev")
    with open(options.report, "w", encoding="utf-8") as handle:
        json.dump(report, handle, indent=1, sort_keys=True)
    Log("%d lines written to %s" % (len(lines), options.output))
    return 0


def CommandReadme(options):
    with open(options.catalogue, "rb") as handle:
        data = handle.read()
    blockSize = os.path.getsize(options.block) if os.path.exists(options.block) else None
    with open(options.report, encoding="utf-8") as handle:
        report = json.load(handle)
    with open(options.output, "w", encoding="utf-8", newline="\n") as handle:
        handle.write(readme.Readme(catalogue.Figures(data), blockSize, report))
    return 0


def CommandCheck(options):
    with open(options.catalogue, "rb") as handle:
        data = handle.read()
    try:
        problems = catalogue.Check(catalogue.Lines(data))
    except ValueError as error:  # not ASCII, or the last line unended
        problems = [str(error)]
    for problem in problems:
        print(options.catalogue + ": " + problem)
    return 1 if problems else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    make = commands.add_parser("catalogue")
    make.add_argument("--output", required=True)
    make.add_argument("--report", required=True)
    make.add_argument("--work", default="build/harvest-work")
    make.set_defaults(run=CommandCatalogue)
    notes = commands.add_parser("readme")
    notes.add_argument("--catalogue", required=True)
    notes.add_argument("--block", required=True)
    notes.add_argument("--report", required=True)
    notes.add_argument("--output", required=True)
    notes.set_defaults(run=CommandReadme)
    check = commands.add_parser("check", help="checks a catalogue text's line format, length, names and order")
    check.add_argument("catalogue")
    check.set_defaults(run=CommandCheck)
    options = parser.parse_args()
    return options.run(options)


if __name__ == "__main__":
    sys.exit(main())
