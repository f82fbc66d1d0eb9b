// Tab and Shift+Tab walk the controls that can take the focus, in order, wrapping at either end.
#include "ui/tab_order.h"

#include <gtest/gtest.h>

namespace mirravel {
namespace {

TEST(TabOrder, ForwardAndBackwardSkipControlsThatCannotTakeTheFocus) {
  // As in the main window outside plugin mode: box, copy field, "?" (disabled), copy button (disabled),
  // tab control, label (no tab stop), find field, find button, "Only value", list, hidden Options page.
  const std::vector<bool> eligible = {true, true, false, false, true, false, true, true, true, true, false, false};
  const struct { int current; bool backward; int expected; } cases[] = {
      {6, false, 7},   {7, false, 8},  {9, false, 0},  // past the list, around to the first
      {1, false, 4},                                   // over the two disabled buttons
      {0, true, 9},                                    // before the first, around to the last
      {4, true, 1},    {6, true, 4},   {-1, false, 0}, {-1, true, 9},
      {12, false, 0},  {99, true, 9},  {2, false, 4},  // from a control that cannot take the focus
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextTabStop(eligible, c.current, c.backward), c.expected)
        << "from " << c.current << (c.backward ? " backward" : " forward");
  }
}

TEST(TabOrder, SingleAndNoCandidate) {
  EXPECT_EQ(NextTabStop({false, true, false}, 1, false), 1);  // the only one keeps the focus
  EXPECT_EQ(NextTabStop({false, true, false}, 1, true), 1);
  EXPECT_EQ(NextTabStop({false, false}, 0, false), -1);
  EXPECT_EQ(NextTabStop({}, -1, true), -1);
}

}  // namespace
}  // namespace mirravel
