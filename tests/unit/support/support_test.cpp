// The shared helpers as the rest of the program relies on them: case folding, trimming and directory
// parts; command-line tokens and the decimal rule used for the host window handle; file sizes on real
// files; the preference reader's matching rules for groups, keys, numbers, strings and line ends.
#include <gtest/gtest.h>

#include "helpers/files.h"
#include "support/command_line.h"
#include "support/file_size.h"
#include "support/preference_reader.h"
#include "support/text.h"

namespace mirravel {
namespace {

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

TEST(Text, FoldsAsciiAndWesternSmallLettersOnlyTrimsBlanksAndCutsTheDirectoryPart) {
  // 0xDF (sharp s) and 0xB5 (micro) are not in the folded range; '{' and '`' are not letters.
  for (const auto& [text, upper] : Cases{{"wm_Paint#1", "WM_PAINT#1"}, {"\xE0\xE9\xFF", "\xC0\xC9\xDF"}, {"\xDF\xB5{`", "\xDF\xB5{`"}}) {
    EXPECT_EQ(UpperCase(text), upper);
  }
  // "[" and "{" differ by 0x20 but are not letters.
  for (const auto& [a, b, equal, asciiEqual] : {std::tuple{"Plugin\\MIRRAVEL.exe", "PLUGIN\\mirravel.EXE", true, true},
                                                {"\xE9t\xE9", "\xC9T\xC9", true, false}, {"abc", "abcd", false, false},
                                                {"[", "{", false, false}}) {
    EXPECT_EQ(EqualIgnoringCase(a, b), equal) << a;
    EXPECT_EQ(EqualIgnoringAsciiCase(a, b), asciiEqual) << a;
  }
  // Trim takes blanks only; the directory part keeps the text up to the executable's last backslash.
  for (const auto& [text, trimmed] : Cases{{"  #WM_PAINT  ", "#WM_PAINT"}, {"\t a \t", "\t a \t"}, {"    ", ""}}) {
    EXPECT_EQ(Trim(text), trimmed) << '"' << text << '"';
  }
  const Cases cases = {
      {"C:\\PureBasic\\PureBasic.exe", "C:\\PureBasic\\"}, {"PureBasic.exe", ""}, {"C:/forward/slashes.exe", ""},
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

TEST(QueryFileSize, ReportsSizeMissingAndDirectory) {
  testing::TempDirectory dir;
  const std::string file = dir.WriteFile("tools.txt", std::string(1234, 'x'));
  const std::string directory = dir.Path().string();
  const std::pair<std::string, std::int64_t> cases[] = {
      {file, 1234}, {dir.WriteFile("empty.txt", ""), 0}, {directory, kPathIsDirectory},
      {directory + "/absent", kPathMissing}, {"", kPathMissing},
      {file + "\\", 1234}, {file + "\\\\", kPathMissing},  // one trailing backslash is ignored
      {dir.WriteFile("wild*?", "x"), kPathMissing},  // a wildcard matches nothing, not even its own name
      {std::string(kMaxPathLength + 1, 'a'), kPathMissing},
  };
  for (const auto& [path, size] : cases) EXPECT_EQ(QueryFileSize(path), size) << path;
}

TEST(PreferenceReader, FindsGroupsKeysNumbersAndStringsByItsMatchingRules) {
  const char* const headers = "  [ToolsInfo]\nToolCount=1\n[toolsinfo] trailing words\nToolCount=2\n";
  const char* const groups = "Top=1\n[Tool_1]\nCommand=a\n[Tool_2]\nMenuItemName=b\n";
  const struct {
    std::string text;
    const char* group;  // nullptr: none selected
    bool found;
    std::vector<std::pair<const char*, std::int32_t>> numbers;  // ReadLong(key, -1)
    std::vector<std::pair<const char*, std::string>> strings;   // ReadString(key, "d")
  } cases[] = {
      // Every usual spelling of a number; group names and keys ignore ASCII case.
      {"[toolsinfo]\r\nA=5\r\nB =     5\r\n   bb   =5\r\nC = 5 tools in all", "ToolsInfo", true,
       {{"A", 5}, {"B", 5}, {"BB", 5}, {"C", 5}}, {}},
      // Numbers as ParseSignedDecimal reads them, white space first (its own test pins the rest); a key
      // found with no value is 0, never a number from the next line.
      {"[G]\nA=12ab\nE=\t+8\nF=\n7\n", "G", true, {{"A", 12}, {"E", 8}, {"F", 0}, {"H", -1}}, {}},
      // Strings keep trailing blanks and everything after the first blanks.
      {"[Tool_1]\r\nMenuItemName=Mirravel  \r\nCommand=\r\nArguments= \"%1\" ; not a comment\r\n", "Tool_1", true, {},
       {{"MenuItemName", "Mirravel  "}, {"Command", ""}, {"Arguments", "\"%1\" ; not a comment"}, {"Missing", "d"}}},
      // Headers start the line and match the whole name; a missing group leaves no key readable.
      {headers, "ToolsInfo", true, {{"ToolCount", 2}}, {}},
      {headers, "ToolsInf", false, {{"ToolCount", -1}}, {}},
      {headers, "ToolsInfoX", false, {{"ToolCount", -1}}, {{"ToolCount", "d"}}},
      // Before any group is selected the start of the text is current; keys never leak across groups.
      {groups, nullptr, true, {{"Top", 1}}, {}},
      {groups, "Tool_1", true, {{"Top", -1}}, {{"MenuItemName", "d"}, {"Command", "a"}}},
      {"[G]\nK=1\nK=2\n[G]\nK=3\n", "g", true, {{"k", 1}}, {}},  // the first occurrence wins
      {"[G]\n  ; K=1\nKK=2\nK\nK x=3\nK = 4\n", "G", true, {{"K", 4}, {"K x", 3}}, {}},  // inner blanks belong to the key
      // LF CR files: numbers and groups step over the CR; later lines start with it and match no string key.
      {"[G]\n\rA=1\n\rB=2\n\rS=x\n\r[H]\n\rC=3\n\r", "G", true, {{"B", 2}}, {{"A", "1"}, {"S", "d"}}},
  };
  testing::TempDirectory dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60) + " / " + (c.group ? c.group : "no group"));
    PreferenceReader reader;
    ASSERT_TRUE(reader.Open(dir.WriteFile("jaPBe-Tools", c.text)));
    EXPECT_TRUE(c.group == nullptr || reader.SelectGroup(c.group) == c.found);
    for (const auto& [key, number] : c.numbers) EXPECT_EQ(reader.ReadLong(key, -1), number) << key;
    for (const auto& [key, text] : c.strings) EXPECT_EQ(reader.ReadString(key, "d"), text) << key;
  }
  PreferenceReader reader;
  ASSERT_TRUE(reader.Open(dir.WriteFile("t", "  [A]\n[Tool_1]\nK=1\n[b] x\n\r[C]\n")));
  EXPECT_EQ(reader.GroupNames(), (std::vector<std::string>{"Tool_1", "b", "C"}));  // by the same rules
  // A file that cannot be opened leaves the reader closed, even after another was open.
  EXPECT_FALSE(reader.Open((dir.Path() / "absent").string()));
  EXPECT_FALSE(reader.SelectGroup("Tool_1"));
  EXPECT_EQ(reader.ReadString("K", "d"), "d");
}

}  // namespace
}  // namespace mirravel
