// Command-line tokens and the decimal rule used for the host window handle.
#include <gtest/gtest.h>

#include "support/command_line.h"

namespace mirravel {
namespace {

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
