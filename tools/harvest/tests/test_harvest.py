"""Tests of the harvester's parts; run with: python3 -m unittest discover -s tools/harvest/tests"""

import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

from harvestlib import catalogue, evaluate, filters, licences, notation, preprocess, units  # noqa: E402
from harvestlib import rusteval, rustsource  # noqa: E402


class Cases(unittest.TestCase):
    def assertCases(self, function, cases):
        """Each case is (arguments, expected); a single argument need not be a tuple."""
        for arguments, expected in cases:
            arguments = arguments if isinstance(arguments, tuple) else (arguments,)
            with self.subTest(arguments=arguments):
                self.assertEqual(function(*arguments), expected)


class CatalogueOrderAndFormat(Cases):
    def test_underscore_sorts_before_digits_before_letters_values_are_32_bit_and_check_finds_faults(self):
        names = ["ACL_REVISION1", "ACL_REVISION_DS", "ACCCTRL_INC", "AC_SRC_OVER", "abc", "ABD"]
        self.assertEqual(sorted(names, key=catalogue.SortKey),
                         ["abc", "ABD", "AC_SRC_OVER", "ACCCTRL_INC", "ACL_REVISION_DS", "ACL_REVISION1"])
        self.assertCases(catalogue.FormatLine, [(("X", -1, "a.h"), "#X = $FFFFFFFF ' a.h"),
                                                (("X", 0, "a.h"), "#X = $0 ' a.h")])
        good = ["#A = $1 ' a.h", "#B = $2 ' a.h"]
        self.assertCases(lambda lines: bool(catalogue.Check(lines)), [(good, False)] + [(bad, True) for bad in (
            list(reversed(good)), good + ["#B = $2 ' a.h"], ["#A = $01 ' a.h"], ["#A = $1 ' it's"],
            ["#A = $1 ' " + "x" * 300])])


class Spelling(Cases):
    def test_definitions_in_basic_notation_or_none(self):
        macros = {name: preprocess.Macro(name, params, body, "x.h") for name, params, body in [
            ("_HRESULT_TYPEDEF_", ["_sc"], "((HRESULT)_sc)"), ("__MINGW_NAME_AW", ["func"], "func##A"),
            ("MAKEINTRESOURCEA", ["i"], "((LPSTR)((ULONG_PTR)((WORD)(i))))"),
            ("MAKEINTRESOURCE", None, "__MINGW_NAME_AW(MAKEINTRESOURCE)"),
            ("CTL_CODE", ["d", "f", "m", "a"], "(((d) << 16) | ((a) << 14) | ((f) << 2) | (m))")]}
        values = {"WM_USER", "LVM_GETITEMA", "FILE_DEVICE_DISK", "METHOD_BUFFERED", "FILE_ANY_ACCESS", "A", "B"}
        self.assertCases(notation.Speller(macros, values, values).Spell, [
            ("(WM_USER + 0x64L)", "(#WM_USER + $64)"), ("(1 << 010)", "(1 << $8)"),
            # Plain numbers behind casts and wrappers are not repeated.
            ("0x10", None), ("((HWND)-1)", None), ("_HRESULT_TYPEDEF_(0x80004005L)", None),
            ("MAKEINTRESOURCE(32512)", None), ("'a'", None), ("__MINGW_NAME_AW(LVM_GETITEM)", "#LVM_GETITEMA"),
            ("CTL_CODE(FILE_DEVICE_DISK, 0x800, METHOD_BUFFERED, FILE_ANY_ACCESS)",
             "CTL_CODE(#FILE_DEVICE_DISK, $800, #METHOD_BUFFERED, #FILE_ANY_ACCESS)"),
            ("(A ^ B)", "(#A ! #B)"), ("sizeof(RECT)", "SizeOf(RECT)"),
            ("(A ? 1 : 2)", None), ('L"text"', None), ("1.5f", None)])


class Evaluation(Cases):
    def test_value32_keeps_32_bit_integers_and_pointers_of_self_contained_expansions(self):
        self.assertCases(lambda *fields: evaluate.Result(*fields).Value32(), [
            ((-1, 1, 4, True), 0xFFFFFFFF), ((0xFFFFFFFF, 1, 4, False), 0xFFFFFFFF),
            ((-2147483648, 1, 4, True), 0x80000000), ((-1, evaluate.POINTER_CLASS, 4, False), 0xFFFFFFFF),
            ((-1, 1, 8, False), None), ((0x100000000, 1, 8, True), None), ((-2147483649, 1, 8, True), None),
            ((1, 8, 8, True), None)])  # the last: floating point
        self.assertCases(evaluate.IsSelfContained, [("((HWND)-1)", True)] + [
            (expansion, False) for expansion in ("", "(", "}", "do { } while (0)", "a; b", "(]")])

    @unittest.skipUnless(shutil.which(units.COMPILER), "needs the i686 cross compiler")
    def test_the_compiler_computes_what_constants_are_and_drops_the_rest(self):
        prelude = [
            "#define SMALL 5", "#define NEGATIVE (-2)", "#define HANDLE_LIKE ((void *)-1)",
            "#define WIDE 0x100000000ULL", "#define FLOATING 1.5", '#define TEXT "x"',
            "#define BROKEN )", "#define TYPE unsigned long", "int function(void);",
            "#define ADDRESS ((long)&function)", "enum colour { RED = 3, GREEN };", "#define SHIFTED (GREEN << 4)",
        ]
        with tempfile.TemporaryDirectory() as work:
            evaluator = evaluate.Evaluator(units.COMPILER, ["-std=gnu11", "-w"], prelude, work, "t")
            results = evaluator.Evaluate(["SMALL", "NEGATIVE", "HANDLE_LIKE", "WIDE", "FLOATING", "TEXT", "BROKEN",
                                          "TYPE", "ADDRESS", "RED", "GREEN", "SHIFTED", "UNDECLARED"])
        self.assertEqual({name: result.Value32() for name, result in results.items()},
                         {"SMALL": 5, "NEGATIVE": 0xFFFFFFFE, "HANDLE_LIKE": 0xFFFFFFFF, "RED": 3, "GREEN": 4,
                          "SHIFTED": 64, "WIDE": None, "FLOATING": None})


class RustEvaluation(Cases):
    """The winapi crate's constants computed as Rust does for 32-bit x86; None: no value."""
    MACROS = "macro_rules! CTL_CODE { ($d:expr, $f:expr, $m:expr, $a:expr) => " \
             "{ ($d << 16) | ($a << 14) | ($f << 2) | $m } }\n"
    SHARED = """use ctypes::c_long;
pub type DWORD = u32; pub type SHORT = i16; pub type HRESULT = c_long; pub type HANDLE = *mut u8;
pub const BASE: DWORD = 0x1_000; // comment
pub const IN_ANOTHER: u8 = 0xFF;
"""
    MODULE = """use shared::a::{BASE, DWORD, SHORT, HRESULT, HANDLE};
macro_rules! SHIFTED { ($x:expr) => { 1 << $x }; }
pub const SUFFIXED: DWORD = 0b1010u32;
pub const REFERENCED: DWORD = BASE | 0o17 & 3 + 1;
pub const PATHED: DWORD = ::shared::a::IN_ANOTHER as DWORD + 1;
pub const SIGN_EXTENDED: DWORD = -1i16 as DWORD;
pub const WRAPPED: SHORT = 0x8000u16 as SHORT;
pub const NEGATIVE: HRESULT = -2147024891;
pub const NOT_IN_TYPE: DWORD = !0 >> 4;
pub const SIGNED_SHIFT: i32 = (-16) >> 2;
pub const NARROW_NOT: DWORD = (!0u8 as DWORD) << 1 + 1;
pub const MACRO: DWORD = CTL_CODE!(0x22, 0x800, 0, 1 + 2);
pub const LOCAL_MACRO: DWORD = SHIFTED!(3 + 1);
pub const HANDLE_VALUE: HANDLE = -1isize as HANDLE;
pub const BYTE_LITERAL: DWORD = b'A' as DWORD;
pub const WIDE: u64 = 1 << 40;
pub const TEXT: &'static str = "text; (";
pub const UNKNOWN: DWORD = NOWHERE + 1;
pub const SHIFT_TOO_FAR: DWORD = 1 << 32;
#[cfg(target_pointer_width = "64")] pub const SIZED: DWORD = 8;
#[cfg(target_pointer_width = "32")] pub const SIZED: DWORD = 4;
#[cfg(target_arch = "x86_64")] IFDEF!{ pub const ARCH: DWORD = 64; }
#[cfg(target_arch = "x86")] IFDEF!{ pub const ARCH: DWORD = 32; }
pub const AFTER_GROUP: DWORD = ARCH + 1;
ENUM!{enum COLOUR { RED = 3, GREEN, BLUE = RED + 10, }}
"""

    def test_values_of_the_crate_s_expressions(self):
        with tempfile.TemporaryDirectory() as root:
            for path, text in (("lib.rs", "pub mod ctypes { pub type c_long = i32; }\n"), ("macros.rs", self.MACROS),
                               ("shared/a.rs", self.SHARED), ("um/b.rs", self.MODULE)):
                os.makedirs(os.path.dirname(os.path.join(root, "src", path)), exist_ok=True)
                with open(os.path.join(root, "src", path), "w", encoding="utf-8") as handle:
                    handle.write(text)
            modules = rustsource.ReadCrate(root)
            results = rusteval.Evaluate(modules)
        self.assertEqual(modules["um::b"].header, "b.h")
        value = lambda name: None if isinstance(results[("um::b", name)], rusteval.EvaluationError) \
            else rusteval.Value32(*results[("um::b", name)])
        self.assertCases(value, [
            ("SUFFIXED", 10), ("REFERENCED", 0x1000 | (0o17 & 4)), ("PATHED", 0x100),
            ("SIGN_EXTENDED", 0xFFFFFFFF), ("WRAPPED", 0xFFFF8000), ("NEGATIVE", 0x80070005),
            ("NOT_IN_TYPE", 0x0FFFFFFF), ("SIGNED_SHIFT", 0xFFFFFFFC), ("NARROW_NOT", 0x3FC), ("LOCAL_MACRO", 16),
            ("MACRO", 0x22C000 | (0x800 << 2)), ("HANDLE_VALUE", 0xFFFFFFFF), ("BYTE_LITERAL", 65), ("SIZED", 4),
            ("AFTER_GROUP", 33), ("RED", 3), ("GREEN", 4), ("BLUE", 13), ("WIDE", None), ("TEXT", None),
            ("UNKNOWN", None), ("SHIFT_TOO_FAR", None)])


class Preprocessing(unittest.TestCase):
    TEXT = "\n".join([
        '# 1 "/usr/share/mingw-w64/include/a.h" 1', "#define ONE 1", "#define CALL(x) (x)",
        "enum e {", "  FIRST = ONE,", "  SECOND", "};",
        '# 1 "/usr/share/mingw-w64/include/b.h" 1', "#define ONE 1", "#define GONE 2", "#undef GONE",
        '# 10 "/usr/lib/gcc/i686-w64-mingw32/12-win32/include/c.h" 1', "#define OUTSIDE 3", "",
    ])

    def test_macros_enumerators_and_where_they_come_from(self):
        unit = preprocess.ParseUnit(self.TEXT, "/usr/share/mingw-w64/include")
        self.assertEqual(unit.macros["ONE"].header, "a.h")  # an identical repeat keeps the first
        self.assertEqual(unit.macros["CALL"].params, ["x"])
        self.assertNotIn("GONE", unit.macros)
        self.assertIsNone(unit.macros["OUTSIDE"].header)
        self.assertEqual([(e.name, e.header, e.line) for e in unit.enumerators.values()],
                         [("FIRST", "a.h", 4), ("SECOND", "a.h", 5)])
        self.assertEqual([t for _, t, _ in unit.enumerators["FIRST"].expression], ["ONE"])
        self.assertIsNone(unit.enumerators["SECOND"].expression)


class LicencesAndExclusions(Cases):
    def test_last_matching_debian_stanza_own_notice_and_exclusion_reasons(self):
        stanzas = [(["*"], "ZPL-2.1"), (["mingw-w64-headers/include/*"], "public-domain"),
                   (["mingw-w64-headers/include/winhttp.h", "mingw-w64-headers/include/d3d*.h"], "LGPL-2.1+")]
        self.assertCases(lambda path: licences.DebianLicence(stanzas, path), [
            ("mingw-w64-headers/include/winuser.h", "public-domain"), ("mingw-w64-headers/include/d3d9.h", "LGPL-2.1+"),
            ("mingw-w64-crt/x.c", "ZPL-2.1")])
        self.assertCases(licences.OwnNotice, [
            ("/**\n * This file has no copyright assigned and is placed in the Public Domain.\n */\n", "public domain"),
            ("/**\n * This file is part of the mingw-w64 runtime package.\n * No warranty is given;"
             " refer to the file DISCLAIMER within this package.\n */\n", "mingw-w64 disclaimer"),
            ("/*\n * Copyright 2004 Someone\n * GNU Lesser General Public License\n */\n", "foreign"),
            ("#ifndef X\n/* Copyright later */\n", "none"),
            ("/*** Autogenerated by WIDL 7.0 from include/a.idl ***/", "widl")])
        self.assertCases(filters.ExclusionReason, [
            (("WM_PAINT", "winuser.h", "0x000F"), None), (("SidTypeUser", "winnt.h", None), None),
            (("_WIN32_WINNT", "sdkddkver.h", "0x0A00"), "reserved or malformed name"),
            (("EINVAL", "errno.h", "22"), "C runtime"), (("WINVER", "sdkddkver.h", "_WIN32_WINNT"), "configuration"),
            (("IP_EXPORT_INCLUDED", "ipexport.h", "1"), "include guard"),
            (("XSTATE_AVX512_ZMM_H", "winnt.h", "(6)"), None)])


if __name__ == "__main__":
    unittest.main()
