// Case folding, trimming and directory parts as the rest of the program relies on them.
#include <gtest/gtest.h>

#include "support/text.h"

namespace mirravel {
namespace {

TEST(UpperCase, FoldsAsciiAndWesternSmallLettersOnly) {
  EXPECT_EQ(UpperCase("wm_Paint#1"), "WM_PAINT#1");
  EXPECT_EQ(UpperCase("\xE0\xE9\xFF"), "\xC0\xC9\xDF");
  // 0xDF (sharp s) and 0xB5 (micro) are not in the folded range; '{' is not a letter.
  EXPECT_EQ(UpperCase("\xDF\xB5{`"), "\xDF\xB5{`");
  EXPECT_EQ(UpperCase(""), "");
}

TEST(EqualIgnoringCase, ComparesFoldedBytes) {
  EXPECT_TRUE(EqualIgnoringCase("Plugin\\MIRRAVEL.exe", "PLUGIN\\mirravel.EXE"));
  EXPECT_TRUE(EqualIgnoringCase("\xE9t\xE9", "\xC9T\xC9"));
  EXPECT_FALSE(EqualIgnoringCase("abc", "abcd"));
  EXPECT_FALSE(EqualIgnoringCase("[", "{"));  // 0x5B and 0x7B differ by 0x20 but are not letters
}

TEST(EqualIgnoringAsciiCase, LeavesWesternLettersApart) {
  EXPECT_TRUE(EqualIgnoringAsciiCase("toolsinfo", "ToolsInfo"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("\xE9", "\xC9"));
}

TEST(Trim, RemovesBlanksOnly) {
  EXPECT_EQ(Trim("  #WM_PAINT  "), "#WM_PAINT");
  EXPECT_EQ(Trim("\t a \t"), "\t a \t");
  EXPECT_EQ(Trim("    "), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("x"), "x");
}

TEST(DirectoryPart, KeepsTextUpToLastBackslash) {
  EXPECT_EQ(DirectoryPart("C:\\PureBasic\\PureBasic.exe"), "C:\\PureBasic\\");
  EXPECT_EQ(DirectoryPart("PureBasic.exe"), "");
  EXPECT_EQ(DirectoryPart(""), "");
  EXPECT_EQ(DirectoryPart("C:/forward/slashes.exe"), "");
  EXPECT_EQ(DirectoryPart("\\"), "\\");
}

TEST(DirectoryPart, HandlesQuotedCommandLines) {
  EXPECT_EQ(DirectoryPart("\"C:\\Program Files\\jaPBe\\jaPBe.exe\" \"%1\""), "C:\\Program Files\\jaPBe\\");
  // The last backslash is inside the argument: the cut at the quote recovers the executable's directory.
  EXPECT_EQ(DirectoryPart("\"C:\\jaPBe\\jaPBe.exe\" \"D:\\src\\file.pb\""), "C:\\jaPBe\\");
  EXPECT_EQ(DirectoryPart("\"C:\\a b\\c.exe"), "C:\\a b\\");
}

}  // namespace
}  // namespace mirravel
