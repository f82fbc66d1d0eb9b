// The main window's input plumbing: the event queue hands events out oldest first, never loses one below
// its bound and stays bounded; Tab and Shift+Tab walk the controls that can take the focus, in order,
// wrapping at either end.
#include <gtest/gtest.h>

#include "ui/event_queue.h"
#include "ui/tab_order.h"

namespace mirravel {
namespace {

using Kind = WindowEvent::Kind;

TEST(EventQueue, OldestFirstAcrossKindsAndNothingWhenEmpty) {
  EventQueue queue;
  EXPECT_FALSE(queue.Push({}));  // "nothing happened" is not an event
  // As a modal message box would leave them: the find field losing and regaining the focus, then a click.
  const WindowEvent events[] = {{Kind::Gadget, 6}, {Kind::Menu, 4}, {Kind::Gadget, 6}, {Kind::Close, 0}};
  for (const WindowEvent& event : events) EXPECT_TRUE(queue.Push(event));
  for (const WindowEvent& event : events) {
    const WindowEvent got = queue.Pop();
    EXPECT_EQ(std::pair(got.kind, got.id), std::pair(event.kind, event.id));
  }
  EXPECT_EQ(queue.Pop().kind, Kind::None);
  EXPECT_EQ(queue.Size(), 0u);
}

TEST(EventQueue, FullQueueKeepsTheEarliestEvents) {
  EventQueue queue;
  for (int i = 0; i < static_cast<int>(EventQueue::kCapacity); ++i) EXPECT_TRUE(queue.Push({Kind::Gadget, i}));
  EXPECT_FALSE(queue.Push({Kind::Close, 0}));
  EXPECT_EQ(queue.Size(), EventQueue::kCapacity);
  EXPECT_EQ(queue.Pop().id, 0);
  EXPECT_TRUE(queue.Push({Kind::Close, 0}));  // room again after one was taken
  for (int i = 1; i < static_cast<int>(EventQueue::kCapacity); ++i) EXPECT_EQ(queue.Pop().id, i);
  EXPECT_EQ(queue.Pop().kind, Kind::Close);
}

TEST(TabOrder, ForwardAndBackwardSkipControlsThatCannotTakeTheFocusAndWrap) {
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
  EXPECT_EQ(NextTabStop({false, true, false}, 1, false), 1);  // the only one keeps the focus
  EXPECT_EQ(NextTabStop({false, true, false}, 1, true), 1);
  EXPECT_EQ(NextTabStop({false, false}, 0, false), -1);
  EXPECT_EQ(NextTabStop({}, -1, true), -1);
}

}  // namespace
}  // namespace mirravel
