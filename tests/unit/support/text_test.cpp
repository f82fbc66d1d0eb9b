// Case folding, trimming and directory parts as the rest of the program relies on them; command-line
// tokens and the decimal rule used for the host window handle.
#include <gtest/gtest.h>

#include "support/command_line.h"
#include "support/text.h"

namespace mirravel {
namespace {

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

TEST(Text, FoldsAsciiAndWesternSmallLettersOnly) {
  // 0xDF (sharp s) and 0xB5 (micro) are not in the folded range; '{' and '`' are not letters.
  for (const auto& [text, upper] :
       Cases{{"wm_Paint#1", "WM_PAINT#1"}, {"\xE0\xE9\xFF", "\xC0\xC9\xDF"}, {"\xDF\xB5{`", "\xDF\xB5{`"}, {"", ""}}) {
    EXPECT_EQ(UpperCase(text), upper);
  }
  // "[" and "{" differ by 0x20 but are not letters.
  for (const auto& [a, b, equal, asciiEqual] : {std::tuple{"Plugin\\MIRRAVEL.exe", "PLUGIN\\mirravel.EXE", true, true},
                                                {"\xE9t\xE9", "\xC9T\xC9", true, false}, {"abc", "abcd", false, false},
                                                {"[", "{", false, false}}) {
    EXPECT_EQ(EqualIgnoringCase(a, b), equal) << a;
    EXPECT_EQ(EqualIgnoringAsciiCase(a, b), asciiEqual) << a;
  }
}

TEST(Text, TrimRemovesBlanksOnly) {
  for (const auto& [text, trimmed] :
       Cases{{"  #WM_PAINT  ", "#WM_PAINT"}, {"\t a \t", "\t a \t"}, {"    ", ""}, {"", ""}, {"x", "x"}}) {
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

TEST(CommandLine, SplitsOnBlankRunsAndQuotesAndReadsMissingParametersAsEmpty) {
  using V = std::vector<std::string>;
  const std::pair<const char*, V> cases[] = {
      {"prog.exe  a   b", {"prog.exe", "a", "b"}}, {"\"C:\\My Tools\\m.exe\" \"x y\" 123", {"C:\\My Tools\\m.exe", "x y", "123"}},
      {"  ", {}}, {"\"unterminated token", {"unterminated token"}}, {"\"\" 5", {"", "5"}},
      {"a\tb", {"a\tb"}} /* only 0x20 separates */, {"\"a\"b c", {"a", "b", "c"}},
  };
  for (const auto& [line, tokens] : cases) EXPECT_EQ(TokeniseCommandLine(line), tokens) << line;
  CommandLine line("\"C:\\jaPBe\\Plugin\\Mirravel.exe\" ignored 1234");
  EXPECT_EQ(line.ProgramPath(), "C:\\jaPBe\\Plugin\\Mirravel.exe");
  for (const char* parameter : {"ignored", "1234", "", ""}) EXPECT_EQ(line.NextParameter(), parameter);
  CommandLine empty("");
  EXPECT_EQ(empty.ProgramPath(), "");
  EXPECT_EQ(empty.NextParameter(), "");
}

TEST(ParseSignedDecimal, FollowsTheAtoiShapeWithWrapAround) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"1234", 1234}, {"   -42abc", -42}, {"+7", 7}, {"abc", 0}, {"", 0}, {"-", 0}, {"+-5", 0}, {"0x1F", 0},
      {"4294967295", -1}, {"4294967296", 0}, {"2147483648", INT32_MIN}, {"-2147483649", INT32_MAX},
      {"99999999999999999999999", -159383553},  // 10^23 - 1 modulo 2^32
      {"\t5", 0},                               // only blanks lead, unless the caller asks for white space
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ParseSignedDecimal(text), value) << text;
  EXPECT_EQ(ParseSignedDecimal(" \t\r\n5", LeadingSpace::WhiteSpace), 5);
}

}  // namespace
}  // namespace mirravel
