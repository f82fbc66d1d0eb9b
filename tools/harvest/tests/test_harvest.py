"""Tests of the harvester's parts; run with: python3 -m unittest discover -s tools/harvest/tests"""

import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from harvestlib import catalogue, evaluate, filters, licences, notation, preprocess, units  # noqa: E402


class CatalogueOrderAndFormat(unittest.TestCase):
    def test_underscore_sorts_before_digits_and_digits_before_letters_ignoring_case(self):
        names = ["ACL_REVISION1", "ACL_REVISION_DS", "ACCCTRL_INC", "AC_SRC_OVER", "abc", "ABD"]
        self.assertEqual(sorted(names, key=catalogue.SortKey),
                         ["abc", "ABD", "AC_SRC_OVER", "ACCCTRL_INC", "ACL_REVISION_DS",
                          "ACL_REVISION1"])

    def test_values_are_32_bit_twos_complement_without_leading_zeros(self):
        self.assertEqual(catalogue.FormatLine("X", -1, "a.h"), "#X = $FFFFFFFF ' a.h")
        self.assertEqual(catalogue.FormatLine("X", 0, "a.h"), "#X = $0 ' a.h")
        self.assertEqual(catalogue.FormatLine("X", 0x0F, "a.h"), "#X = $F ' a.h")

    def test_check_reports_format_order_duplicates_and_length(self):
        good = ["#A = $1 ' a.h", "#B = $2 ' a.h"]
        self.assertEqual(catalogue.Check(good), [])
        self.assertTrue(catalogue.Check(list(reversed(good))))
        self.assertTrue(catalogue.Check(good + ["#B = $2 ' a.h"]))
        self.assertTrue(catalogue.Check(["#A = $01 ' a.h"]))
        self.assertTrue(catalogue.Check(["#A = $1 ' it's"]))
        self.assertTrue(catalogue.Check(["#A = $1 ' " + "x" * 300]))

    def test_figures_count_lines_bytes_and_families(self):
        data = catalogue.Render(["#WM_A = $1 ' a.h", "#WM_B = $2 ' a.h: #WM_A", "#X = $3 ' b.h"])
        figures = catalogue.Figures(data)
        self.assertEqual((figures["lines"], figures["bytes"]), (3, len(data)))
        self.assertEqual(figures["families"]["WM"], 2)
        self.assertEqual(figures["withoutUnderscore"], 1)
        self.assertEqual(figures["withDefinition"], 1)


def _Macro(name, body, params=None):
    return preprocess.Macro(name, params, body, "x.h")


class Spelling(unittest.TestCase):
    def setUp(self):
        macros = {
            "_HRESULT_TYPEDEF_": _Macro("_HRESULT_TYPEDEF_", "((HRESULT)_sc)", ["_sc"]),
            "__MINGW_NAME_AW": _Macro("__MINGW_NAME_AW", "func##A", ["func"]),
            "MAKEINTRESOURCEA": _Macro("MAKEINTRESOURCEA", "((LPSTR)((ULONG_PTR)((WORD)(i))))",
                                       ["i"]),
            "MAKEINTRESOURCE": _Macro("MAKEINTRESOURCE", "__MINGW_NAME_AW(MAKEINTRESOURCE)"),
            "CTL_CODE": _Macro("CTL_CODE", "(((d) << 16) | ((a) << 14) | ((f) << 2) | (m))",
                               ["d", "f", "m", "a"]),
        }
        values = {"WM_USER", "LVM_GETITEMA", "FILE_DEVICE_DISK", "METHOD_BUFFERED",
                  "FILE_ANY_ACCESS", "A", "B"}
        self.speller = notation.Speller(macros, values, values)

    def test_references_get_a_hash_and_hexadecimal_numbers_a_dollar(self):
        self.assertEqual(self.speller.Spell("(WM_USER+100)"), "(#WM_USER+100)")
        self.assertEqual(self.speller.Spell("(WM_USER + 0x64L)"), "(#WM_USER + $64)")
        self.assertEqual(self.speller.Spell("(1 << 010)"), "(1 << $8)")

    def test_plain_numbers_behind_casts_and_wrappers_are_not_repeated(self):
        for definition in ("0x10", "((HWND)-1)", "_HRESULT_TYPEDEF_(0x80004005L)",
                           "MAKEINTRESOURCE(32512)", "(DWORD)0x80000000UL", "'a'"):
            self.assertIsNone(self.speller.Spell(definition), definition)

    def test_name_pasting_macros_give_the_pasted_name(self):
        self.assertEqual(self.speller.Spell("__MINGW_NAME_AW(LVM_GETITEM)"), "#LVM_GETITEMA")

    def test_other_macro_calls_stay_calls_with_spelled_arguments(self):
        self.assertEqual(
            self.speller.Spell("CTL_CODE(FILE_DEVICE_DISK, 0x800, METHOD_BUFFERED, FILE_ANY_ACCESS)"),
            "CTL_CODE(#FILE_DEVICE_DISK, $800, #METHOD_BUFFERED, #FILE_ANY_ACCESS)")

    def test_operators_without_a_basic_twin_are_translated_or_refused(self):
        self.assertEqual(self.speller.Spell("(A ^ B)"), "(#A ! #B)")
        self.assertEqual(self.speller.Spell("sizeof(RECT)"), "SizeOf(RECT)")
        self.assertIsNone(self.speller.Spell("(A ? 1 : 2)"))
        self.assertIsNone(self.speller.Spell('L"text"'))
        self.assertIsNone(self.speller.Spell("1.5f"))


class Evaluation(unittest.TestCase):
    def test_value32_keeps_32_bit_integers_and_pointers(self):
        Result = evaluate.Result
        self.assertEqual(Result(-1, 1, 4, True).Value32(), 0xFFFFFFFF)
        self.assertEqual(Result(0xFFFFFFFF, 1, 4, False).Value32(), 0xFFFFFFFF)
        self.assertEqual(Result(-2147483648, 1, 4, True).Value32(), 0x80000000)
        self.assertEqual(Result(-1, evaluate.POINTER_CLASS, 4, False).Value32(), 0xFFFFFFFF)
        self.assertIsNone(Result(-1, 1, 8, False).Value32())           # 2**64 - 1
        self.assertIsNone(Result(0x100000000, 1, 8, True).Value32())
        self.assertIsNone(Result(-2147483649, 1, 8, True).Value32())
        self.assertIsNone(Result(1, 8, 8, True).Value32())             # floating point

    def test_self_contained_expansions(self):
        self.assertTrue(evaluate.IsSelfContained("((HWND)-1)"))
        for expansion in ("", "(", ")", "}", "do { } while (0)", "a; b", "(]"):
            self.assertFalse(evaluate.IsSelfContained(expansion), expansion)

    @unittest.skipUnless(shutil.which(units.COMPILER), "needs the i686 cross compiler")
    def test_the_compiler_computes_what_constants_are_and_drops_the_rest(self):
        prelude = [
            "#define SMALL 5", "#define NEGATIVE (-2)", "#define HANDLE_LIKE ((void *)-1)",
            "#define WIDE 0x100000000ULL", "#define FLOATING 1.5", '#define TEXT "x"',
            "#define BROKEN )", "#define TYPE unsigned long", "int function(void);",
            "#define ADDRESS ((long)&function)", "enum colour { RED = 3, GREEN };",
            "#define SHIFTED (GREEN << 4)",
        ]
        with tempfile.TemporaryDirectory() as work:
            evaluator = evaluate.Evaluator(units.COMPILER, ["-std=gnu11", "-w"], prelude, work, "t")
            results = evaluator.Evaluate(["SMALL", "NEGATIVE", "HANDLE_LIKE", "WIDE", "FLOATING",
                                          "TEXT", "BROKEN", "TYPE", "ADDRESS", "RED", "GREEN",
                                          "SHIFTED", "UNDECLARED"])
        values = {name: result.Value32() for name, result in results.items()}
        self.assertEqual(values["SMALL"], 5)
        self.assertEqual(values["NEGATIVE"], 0xFFFFFFFE)
        self.assertEqual(values["HANDLE_LIKE"], 0xFFFFFFFF)
        self.assertEqual(values["GREEN"], 4)
        self.assertEqual(values["SHIFTED"], 64)
        self.assertIsNone(values["WIDE"])
        self.assertIsNone(values["FLOATING"])
        for name in ("TEXT", "BROKEN", "TYPE", "ADDRESS", "UNDECLARED"):
            self.assertNotIn(name, results)


class Preprocessing(unittest.TestCase):
    TEXT = "\n".join([
        '# 1 "/usr/share/mingw-w64/include/a.h" 1',
        "#define ONE 1",
        "#define CALL(x) (x)",
        "enum e {",
        "  FIRST = ONE,",
        "  SECOND",
        "};",
        '# 1 "/usr/share/mingw-w64/include/b.h" 1',
        "#define ONE 1",
        "#define GONE 2",
        "#undef GONE",
        '# 10 "/usr/lib/gcc/i686-w64-mingw32/12-win32/include/c.h" 1',
        "#define OUTSIDE 3",
        "",
    ])

    def test_macros_enumerators_and_where_they_come_from(self):
        unit = preprocess.ParseUnit(self.TEXT, "/usr/share/mingw-w64/include")
        self.assertEqual(unit.macros["ONE"].header, "a.h")   # an identical repeat keeps the first
        self.assertEqual(unit.macros["CALL"].params, ["x"])
        self.assertNotIn("GONE", unit.macros)
        self.assertIsNone(unit.macros["OUTSIDE"].header)
        self.assertEqual([(e.name, e.header, e.line) for e in unit.enumerators.values()],
                         [("FIRST", "a.h", 4), ("SECOND", "a.h", 5)])
        self.assertEqual([t for _, t, _ in unit.enumerators["FIRST"].expression], ["ONE"])
        self.assertIsNone(unit.enumerators["SECOND"].expression)


class Licences(unittest.TestCase):
    STANZAS = [(["*"], "ZPL-2.1"), (["mingw-w64-headers/include/*"], "public-domain"),
               (["mingw-w64-headers/include/winhttp.h", "mingw-w64-headers/include/d3d*.h"],
                "LGPL-2.1+")]

    def test_last_matching_stanza_decides(self):
        self.assertEqual(licences.DebianLicence(self.STANZAS, "mingw-w64-headers/include/winuser.h"),
                         "public-domain")
        self.assertEqual(licences.DebianLicence(self.STANZAS, "mingw-w64-headers/include/d3d9.h"),
                         "LGPL-2.1+")
        self.assertEqual(licences.DebianLicence(self.STANZAS, "mingw-w64-crt/x.c"), "ZPL-2.1")

    def test_own_notice(self):
        self.assertEqual(licences.OwnNotice(
            "/**\n * This file has no copyright assigned and is placed in the Public Domain.\n */\n"),
            "public domain")
        self.assertEqual(licences.OwnNotice(
            "/**\n * This file is part of the mingw-w64 runtime package.\n * No warranty is given;"
            " refer to the file DISCLAIMER within this package.\n */\n"), "mingw-w64 disclaimer")
        self.assertEqual(licences.OwnNotice(
            "/*\n * Copyright 2004 Someone\n * GNU Lesser General Public License\n */\n"), "foreign")
        self.assertEqual(licences.OwnNotice("#ifndef X\n/* Copyright later */\n"), "none")
        self.assertEqual(licences.OwnNotice("/*** Autogenerated by WIDL 7.0 from include/a.idl ***/"),
                         "widl")


class Exclusions(unittest.TestCase):
    def test_reasons(self):
        self.assertIsNone(filters.ExclusionReason("WM_PAINT", "winuser.h", "0x000F"))
        self.assertIsNone(filters.ExclusionReason("SidTypeUser", "winnt.h", None))
        self.assertEqual(filters.ExclusionReason("_WIN32_WINNT", "sdkddkver.h", "0x0A00"),
                         "reserved or malformed name")
        self.assertEqual(filters.ExclusionReason("INT_MAX", "limits.h", "2147483647"),
                         "C runtime")
        self.assertEqual(filters.ExclusionReason("EINVAL", "errno.h", "22"), "C runtime")
        self.assertEqual(filters.ExclusionReason("WINVER", "sdkddkver.h", "_WIN32_WINNT"),
                         "configuration")
        self.assertEqual(filters.ExclusionReason("IP_EXPORT_INCLUDED", "ipexport.h", "1"),
                         "include guard")
        self.assertIsNone(filters.ExclusionReason("XSTATE_AVX512_ZMM_H", "winnt.h", "(6)"))


if __name__ == "__main__":
    unittest.main()
