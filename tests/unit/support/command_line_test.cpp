// Command-line tokens and the decimal rule used for the host window handle.
#include <gtest/gtest.h>

#include "support/command_line.h"

namespace mirravel {
namespace {

TEST(TokeniseCommandLine, SplitsOnBlankRunsAndQuotes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(TokeniseCommandLine("prog.exe  a   b"), (V{"prog.exe", "a", "b"}));
  EXPECT_EQ(TokeniseCommandLine("\"C:\\My Tools\\m.exe\" \"x y\" 123"), (V{"C:\\My Tools\\m.exe", "x y", "123"}));
  EXPECT_EQ(TokeniseCommandLine("  "), V{});
  EXPECT_EQ(TokeniseCommandLine("\"unterminated token"), V{"unterminated token"});
  EXPECT_EQ(TokeniseCommandLine("\"\" 5"), (V{"", "5"}));
  EXPECT_EQ(TokeniseCommandLine("a\tb"), V{"a\tb"});  // only 0x20 separates
  EXPECT_EQ(TokeniseCommandLine("\"a\"b c"), (V{"a", "b", "c"}));
}

TEST(CommandLine, ReadsParametersInTurnAndMissingOnesAsEmpty) {
  CommandLine line("\"C:\\jaPBe\\Plugin\\Mirravel.exe\" ignored 1234");
  EXPECT_EQ(line.ProgramPath(), "C:\\jaPBe\\Plugin\\Mirravel.exe");
  EXPECT_EQ(line.NextParameter(), "ignored");
  EXPECT_EQ(line.NextParameter(), "1234");
  EXPECT_EQ(line.NextParameter(), "");
  EXPECT_EQ(line.NextParameter(), "");

  CommandLine empty("");
  EXPECT_EQ(empty.ProgramPath(), "");
  EXPECT_EQ(empty.NextParameter(), "");
}

TEST(ParseSignedDecimal, FollowsTheAtoiShapeWithWrapAround) {
  EXPECT_EQ(ParseSignedDecimal("1234"), 1234);
  EXPECT_EQ(ParseSignedDecimal("   -42abc"), -42);
  EXPECT_EQ(ParseSignedDecimal("+7"), 7);
  EXPECT_EQ(ParseSignedDecimal("abc"), 0);
  EXPECT_EQ(ParseSignedDecimal(""), 0);
  EXPECT_EQ(ParseSignedDecimal("-"), 0);
  EXPECT_EQ(ParseSignedDecimal("+-5"), 0);
  EXPECT_EQ(ParseSignedDecimal("0x1F"), 0);
  EXPECT_EQ(ParseSignedDecimal("4294967295"), -1);
  EXPECT_EQ(ParseSignedDecimal("4294967296"), 0);
  EXPECT_EQ(ParseSignedDecimal("2147483648"), INT32_MIN);
  EXPECT_EQ(ParseSignedDecimal("-2147483649"), INT32_MAX);
  EXPECT_EQ(ParseSignedDecimal("99999999999999999999999"), -159383553);  // 10^23 - 1 modulo 2^32
}

TEST(ParseSignedDecimal, LeadingSpaceRuleDependsOnTheCaller) {
  EXPECT_EQ(ParseSignedDecimal("\t5", LeadingSpace::Blanks), 0);
  EXPECT_EQ(ParseSignedDecimal(" \t\r\n5", LeadingSpace::WhiteSpace), 5);
}

}  // namespace
}  // namespace mirravel
