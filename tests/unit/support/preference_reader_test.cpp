// Matching rules of the preference reader on real files: groups, keys, numbers, strings, line ends.
#include <gtest/gtest.h>

#include "helpers/files.h"
#include "support/preference_reader.h"

namespace mirravel {
namespace {

TEST(PreferenceReader, FindsGroupsKeysNumbersAndStringsByItsMatchingRules) {
  const std::string longValue(200000, 'v');
  const char* const headers = "  [ToolsInfo]\nToolCount=1\n[toolsinfo] trailing words\nToolCount=2\n";
  const char* const groups = "Top=1\n[Tool_1]\nCommand=a\n[Tool_2]\nMenuItemName=b\n";
  const char* const lfCr = "[G]\n\rA=1\n\rB=2\n\rS=x\n\r[H]\n\rC=3\n\r";
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
      {groups, "", false, {{"Top", 1}, {"", -1}}, {}},
      {groups, "Tool_1", true, {{"Top", -1}}, {{"MenuItemName", "d"}, {"Command", "a"}}},
      {"[G]\nK=1\nK=2\n[G]\nK=3\n", "g", true, {{"k", 1}}, {}},  // the first occurrence wins
      {"[G]\n  ; K=1\nKK=2\nK\nK x=3\nK = 4\n", "G", true, {{"K", 4}, {"K x", 3}}, {}},  // inner blanks belong to the key
      // LF CR files: numbers and groups step over the CR; later lines start with it and match no string key.
      {lfCr, "H", true, {{"C", 3}}, {}},
      {lfCr, "G", true, {{"B", 2}}, {{"A", "1"}, {"S", "d"}}},
      {"[G]\nK=" + longValue + "\nN=9\n", "G", true, {{"N", 9}}, {{"K", longValue}}},
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
}

TEST(PreferenceReader, ListsGroupNamesAndAMissingFileLeavesTheReaderClosedAndAnotherFileClosesTheFirst) {
  testing::TempDirectory dir;
  PreferenceReader reader;
  ASSERT_TRUE(reader.Open(dir.WriteFile("t", "  [A]\n[Tool_1]\nK=1\n[b] x\n\r[C]\n")));
  EXPECT_EQ(reader.GroupNames(), (std::vector<std::string>{"Tool_1", "b", "C"}));  // by the same rules
  EXPECT_FALSE(reader.Open(dir.Path().string()));  // a directory is not a preference file
  reader.Close();                                   // harmless when nothing is open
  ASSERT_TRUE(reader.Open(dir.WriteFile("one", "[G]\nK=1\n")));
  ASSERT_TRUE(reader.Open(dir.WriteFile("two", "K=2\n[G]\n")));  // closes the first
  EXPECT_EQ(reader.ReadLong("K", -1), 2);
  EXPECT_FALSE(reader.Open((dir.Path() / "absent").string()));
  EXPECT_FALSE(reader.IsOpen());
  EXPECT_FALSE(reader.SelectGroup("G"));
  EXPECT_EQ(reader.ReadLong("K", 42), 42);
  EXPECT_EQ(reader.ReadString("K", "d"), "d");
}

}  // namespace
}  // namespace mirravel
