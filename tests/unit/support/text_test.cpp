// Case folding, trimming and directory parts as the rest of the program relies on them.
#include <gtest/gtest.h>

#include "support/text.h"

namespace mirravel {
namespace {

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

TEST(Text, FoldsAsciiAndWesternSmallLettersOnly) {
  // 0xDF (sharp s) and 0xB5 (micro) are not in the folded range; '{' and '`' are not letters.
  for (const auto& [text, upper] : Cases{{"wm_Paint#1", "WM_PAINT#1"}, {"\xE0\xE9\xFF", "\xC0\xC9\xDF"}, {"\xDF\xB5{`", "\xDF\xB5{`"}, {"", ""}}) {
    EXPECT_EQ(UpperCase(text), upper);
  }
  EXPECT_TRUE(EqualIgnoringCase("Plugin\\MIRRAVEL.exe", "PLUGIN\\mirravel.EXE"));
  EXPECT_TRUE(EqualIgnoringCase("\xE9t\xE9", "\xC9T\xC9"));
  EXPECT_FALSE(EqualIgnoringCase("abc", "abcd"));
  EXPECT_FALSE(EqualIgnoringCase("[", "{"));  // 0x5B and 0x7B differ by 0x20 but are not letters
  EXPECT_TRUE(EqualIgnoringAsciiCase("toolsinfo", "ToolsInfo"));
  EXPECT_FALSE(EqualIgnoringAsciiCase("\xE9", "\xC9"));
}

TEST(Text, TrimRemovesBlanksOnly) {
  for (const auto& [text, trimmed] : Cases{{"  #WM_PAINT  ", "#WM_PAINT"}, {"\t a \t", "\t a \t"}, {"    ", ""}, {"", ""}, {"x", "x"}}) {
    EXPECT_EQ(Trim(text), trimmed) << '"' << text << '"';
  }
}

TEST(Text, DirectoryPartKeepsTextUpToTheLastBackslashOfTheExecutable) {
  const Cases cases = {
      {"C:\\PureBasic\\PureBasic.exe", "C:\\PureBasic\\"}, {"PureBasic.exe", ""}, {"", ""},
      {"C:/forward/slashes.exe", ""}, {"\\", "\\"},
      {"\"C:\\Program Files\\jaPBe\\jaPBe.exe\" \"%1\"", "C:\\Program Files\\jaPBe\\"},
      // The last backslash is inside the argument: the cut at the quote recovers the executable's directory.
      {"\"C:\\jaPBe\\jaPBe.exe\" \"D:\\src\\file.pb\"", "C:\\jaPBe\\"}, {"\"C:\\a b\\c.exe", "C:\\a b\\"},
  };
  for (const auto& [text, directory] : cases) EXPECT_EQ(DirectoryPart(text), directory) << text;
}

}  // namespace
}  // namespace mirravel
