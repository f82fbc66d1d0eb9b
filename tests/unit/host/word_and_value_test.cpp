// The texts the host link takes apart: the word the start-up search picks out of a reply, and the value
// part that "Copy value only to jaPBe" sends.
#include <gtest/gtest.h>

#include "host/copy_menu.h"
#include "host/search_word.h"

namespace mirravel {
namespace {

TEST(PickSearchWord, RunsFromTheFirstHashOverNameCharacters) {
  struct Case { std::string text; std::string word; };
  const Case cases[] = {
      {"SendMessage(h, #WM_SETTEXT, 0, t)", "#WM_SETTEXT"},
      {"#WM_PAINT(", "#WM_PAINT"},
      {"x = #Abc_09+#Other", "#Abc_09"},
      {"a #", "#"},
      {"##A", "#"},
      {"no hash at all", ""},
      {"", ""},
      {"#A\x10\x19\x7F\x5F!", "#A\x10\x19\x7F\x5F"},  // the OR-0x20 rule also keeps these control codes
      {"#A\x0F", "#A"},
      {"#A@[`{", "#A"},
      {"#caf\xE9", "#caf"},
  };
  for (const Case& c : cases) EXPECT_EQ(PickSearchWord(c.text), c.word) << c.text;
}

TEST(ValueOnlyPart, AfterTheFirstEqualsWithBlanksTrimmed) {
  struct Case { std::string text; std::string value; };
  const Case cases[] = {
      {"#WM_PAINT = $F ", "$F"},
      {"WM_PAINT", "WM_PAINT"},    // no "=": the whole text
      {"  W P  ", "  W P  "},      // not trimmed either
      {"#A =", ""},
      {"#A = B = C ", "B = C"},
      {"#A = $1\t ", "$1\t"},     // only blanks are trimmed
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ValueOnlyPart(c.text), c.value) << c.text;
}

TEST(CopyMenuAvailability, HostItemsNeedPluginModeAndEveryItemAText) {
  struct Case { bool pluginMode; bool empty; std::array<bool, 3> available; };
  const Case cases[] = {
      {true, false, {true, true, true}},
      {false, false, {false, false, true}},
      {true, true, {false, false, false}},
      {false, true, {false, false, false}},
  };
  for (const Case& c : cases) EXPECT_EQ(CopyMenuAvailability(c.pluginMode, c.empty), c.available);
}

}  // namespace
}  // namespace mirravel
