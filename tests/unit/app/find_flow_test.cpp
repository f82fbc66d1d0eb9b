// The find flow over a fake window: selections, find-next walk and the messages of each outcome.
#include <gtest/gtest.h>

#include "app/find_flow.h"
#include "fakes/fake_window.h"
#include "ports/message_box.h"

namespace mirravel {
namespace {

constexpr const char* kCatalogue =
    "#ABE_BOTTOM = $3 ' Bottom edge.\r\n"
    "#ACM_OPEN = $464 ' commctrl.h: (#WM_USER+$64)\r\n"
    "#ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED= $78D\r\n"
    "#IMAGE_SYM_TYPE_BYTE = $C '\r\n"
    "#WM_PAINT = $F\r\n"
    "#WM_PAINTICON = $26\r\n"
    "#WM_USER = $400\r\n"
    "#YELLOW = $FFFF\r\n";

class FindConstantTest : public ::testing::Test {
 protected:
  void SetUp() override { window.list.Assign(kCatalogue); }
  std::string Selected() const { return std::string(window.list.SelectedText()); }
  std::int32_t Find(std::string_view text) { return FindConstant(text, state, window); }
  testing::FakeWindow window;
  AppState state;
};

TEST_F(FindConstantTest, SelectsTheDefinitionOfTheHitsLine) {
  EXPECT_EQ(Find("wm_paint"), 1);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
  EXPECT_EQ(state.findNextPosition, window.list.SelectionStart() + 1);
  state.findNextPosition = 0;
  EXPECT_EQ(Find("3"), 1);
  EXPECT_EQ(Selected(), "#ABE_BOTTOM = $3 ");
  state.findNextPosition = 0;
  EXPECT_EQ(Find("$C"), 1);
  EXPECT_EQ(Selected(), "#IMAGE_SYM_TYPE_BYTE = $C ");  // up to, not including, an empty comment's apostrophe
  state.findNextPosition = 0;
  EXPECT_EQ(Find("65535"), 1);
  EXPECT_EQ(Selected(), "#YELLOW = $FFFF");  // no comment: the whole line without its break
  EXPECT_TRUE(window.boxes.empty());
}

TEST_F(FindConstantTest, OnlyValueDecidesWholeWordsAndSeparators) {
  EXPECT_EQ(Find("$F"), 1);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");  // "= $F" as a whole word, not the start of "= $FFFF"
  state.findNextPosition = 0;
  EXPECT_EQ(Find("ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED"), 0);  // its line has no blank before "="
  window.states[kOnlyValueBox] = 0;
  state.findNextPosition = 0;
  EXPECT_EQ(Find("ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED"), 1);
  EXPECT_EQ(Selected(), "#ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED= $78D");
  state.findNextPosition = 0;
  EXPECT_EQ(Find("WM_USER"), 1);  // unchecked: also uses inside other lines' comments
  EXPECT_EQ(Selected(), "#ACM_OPEN = $464 ");
}

TEST_F(FindConstantTest, WalksTheHitsThenSaysNoMoreThenStartsAgain) {
  window.states[kOnlyValueBox] = 0;
  EXPECT_EQ(Find("#WM_PAINT"), 1);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
  EXPECT_EQ(Find("#WM_PAINT"), 1);
  EXPECT_EQ(Selected(), "#WM_PAINTICON = $26");
  EXPECT_EQ(Find("#WM_PAINT"), 0);
  ASSERT_EQ(window.boxes.size(), 1u);
  EXPECT_EQ(window.boxes[0].title, "Find text");
  EXPECT_EQ(window.boxes[0].text, "No more entry found");
  EXPECT_EQ(window.boxes[0].type, kBoxInformation);
  EXPECT_EQ(state.findNextPosition, 0);
  EXPECT_EQ(window.focus, kFindField);
  EXPECT_EQ(Find("#WM_PAINT"), 1);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
}

TEST_F(FindConstantTest, NotFoundMessagesNameTheKind) {
  EXPECT_EQ(Find("NO_SUCH_CONSTANT"), 0);
  EXPECT_EQ(Find("$0FF"), 0);  // the catalogue writes $FF without leading zeros
  ASSERT_EQ(window.boxes.size(), 2u);
  EXPECT_EQ(window.boxes[0].text, "Constant not found!");
  EXPECT_EQ(window.boxes[0].type, kBoxExclamation);
  EXPECT_EQ(window.boxes[1].text, "Value not found!");
  EXPECT_TRUE(window.selections.empty());
}

TEST_F(FindConstantTest, NeitherTextLeavesThePositionAlone) {
  state.findNextPosition = 42;
  for (const char* text : {"12AB", "0x10", "$12 ", "$FG"}) {
    EXPECT_EQ(Find(text), 1) << text;
  }
  ASSERT_EQ(window.boxes.size(), 4u);
  EXPECT_EQ(window.boxes[0].title, "ERROR");
  EXPECT_EQ(window.boxes[0].text, "Text is not a constant nor a value");
  EXPECT_EQ(window.boxes[0].type, kBoxStop);
  EXPECT_EQ(state.findNextPosition, 42);
  EXPECT_EQ(window.focus, kFindField);
}

TEST_F(FindConstantTest, ChangingOnlyValueMidWalkGoesOnAfterTheLastHit) {
  window.states[kOnlyValueBox] = 0;
  EXPECT_EQ(Find("$F"), 1);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
  window.states[kOnlyValueBox] = 1;
  EXPECT_EQ(Find("$F"), 0);  // "= $F" after WM_PAINT's line only occurs inside "= $FFFF"
  EXPECT_EQ(window.boxes.back().text, "No more entry found");
}

}  // namespace
}  // namespace mirravel
