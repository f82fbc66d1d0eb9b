// The find flow over a fake window: what each search selects or says, and the find-next walk.
#include <gtest/gtest.h>

#include "app/find_flow.h"
#include "fakes/fake_window.h"

namespace mirravel {
namespace {

constexpr const char* kCatalogue =
    "#ABE_BOTTOM = $3 ' Bottom edge.\r\n"
    "#ACM_OPEN = $464 ' commctrl.h: (#WM_USER+$64)\r\n"
    "#ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED= $78D\r\n"
    "#WM_PAINT = $F\r\n"
    "#WM_PAINTICON = $26\r\n"
    "#WM_USER = $400\r\n"
    "#YELLOW = $FFFF\r\n";

// One search: the "Only value" box, the text, and what the window then shows: the selected definition,
// or a message box as "title: text" with its type.
struct Step { bool onlyValue; const char* text; std::int32_t result; std::string shows; unsigned boxType = 0; };

const std::string kNoMore = "Find text: No more entry found";
const std::string kNeither = "ERROR: Text is not a constant nor a value";

TEST(FindConstant, SelectsTheDefinitionOrSaysWhyNot) {
  const std::vector<Step> searches[] = {
      {{true, "wm_paint", 1, "#WM_PAINT = $F"}},
      {{true, "$FFFF", 1, "#YELLOW = $FFFF"}},  // no comment: the whole line without its break
      {{true, "$F", 1, "#WM_PAINT = $F"}},              // "= $F" as a whole word, not the start of "= $FFFF"
      {{true, "ERROR_ALL_USER_TRUST_QUOTA_EXCEEDED", 0, "Find text: Constant not found!", kBoxExclamation}},
      {{false, "WM_USER", 1, "#ACM_OPEN = $464 "}},  // unchecked: also uses inside other lines' comments
      {{true, "$FG", 1, kNeither, kBoxStop}},  // which texts are neither is the catalogue's rule
      // The walk goes on after each hit, says when there is no more, then starts again; a text that is
      // neither leaves its place alone.
      {{false, "#WM_PAINT", 1, "#WM_PAINT = $F"},
       {false, "#WM_PAINT", 1, "#WM_PAINTICON = $26"},
       {false, "#WM_PAINT", 0, kNoMore, kBoxInformation},
       {false, "#WM_PAINT", 1, "#WM_PAINT = $F"},
       {false, "$FG", 1, kNeither, kBoxStop},
       {false, "#WM_PAINT", 1, "#WM_PAINTICON = $26"}},
      // Checking "Only value" mid-walk goes on after the last hit: "= $F" later only occurs inside "= $FFFF".
      {{false, "$F", 1, "#WM_PAINT = $F"}, {true, "$F", 0, kNoMore, kBoxInformation}},
  };
  for (const std::vector<Step>& steps : searches) {
    testing::FakeWindow window;
    window.list.Assign(kCatalogue);
    AppState state;
    for (const Step& step : steps) {
      SCOPED_TRACE(step.text);
      window.states[kOnlyValueBox] = step.onlyValue ? 1 : 0;
      window.focus = kListView;
      const std::size_t boxes = window.boxes.size();
      const std::size_t selections = window.selections.size();
      EXPECT_EQ(FindConstant(step.text, state, window), step.result);
      if (step.boxType == 0) {
        EXPECT_EQ(window.selections.size(), selections + 1);
        EXPECT_EQ(window.list.SelectedText(), step.shows);
        continue;
      }
      ASSERT_EQ(window.boxes.size(), boxes + 1);
      EXPECT_EQ(window.BoxTexts().back(), step.shows);
      EXPECT_EQ(window.boxes.back().type, step.boxType);
      EXPECT_EQ(window.selections.size(), selections);
      EXPECT_EQ(window.focus, kFindField);
    }
  }
}

}  // namespace
}  // namespace mirravel
