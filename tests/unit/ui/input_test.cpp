// The main window's input plumbing: the event queue hands events out oldest first, never loses one below
// its bound and stays bounded; Tab and Shift+Tab walk the controls that can take the focus, in order,
// wrapping at either end.
#include <gtest/gtest.h>

#include "ui/event_queue.h"
#include "ui/tab_order.h"

namespace mirravel {
namespace {

using Kind = WindowEvent::Kind;

TEST(EventQueue, OldestFirstAndAFullQueueKeepsTheEarliestEvents) {
  EventQueue queue;
  EXPECT_FALSE(queue.Push({}));  // "nothing happened" is not an event
  const auto kindOf = [](int i) { return i % 2 ? Kind::Menu : Kind::Gadget; };
  for (int i = 0; i < static_cast<int>(EventQueue::kCapacity); ++i) EXPECT_TRUE(queue.Push({kindOf(i), i}));
  EXPECT_FALSE(queue.Push({Kind::Close, 0}));
  EXPECT_EQ(queue.Size(), EventQueue::kCapacity);
  EXPECT_EQ(queue.Pop().id, 0);
  EXPECT_TRUE(queue.Push({Kind::Close, 0}));  // room again after one was taken
  for (int i = 1; i < static_cast<int>(EventQueue::kCapacity); ++i) {
    const WindowEvent got = queue.Pop();
    EXPECT_EQ(std::pair(got.kind, got.id), std::pair(kindOf(i), i));
  }
  EXPECT_EQ(queue.Pop().kind, Kind::Close);
  EXPECT_EQ(queue.Pop().kind, Kind::None);
}

TEST(TabOrder, ForwardAndBackwardSkipControlsThatCannotTakeTheFocusAndWrap) {
  // As in the main window outside plugin mode: box, copy field, "?" (disabled), copy button (disabled),
  // tab control, label (no tab stop), find field, find button, "Only value", list, hidden Options page.
  const std::vector<bool> eligible = {true, true, false, false, true, false, true, true, true, true, false, false};
  const struct { int current; bool backward; int expected; } cases[] = {
      {6, false, 7}, {9, false, 0}, {1, false, 4}, {0, true, 9}, {4, true, 1}, {-1, false, 0}, {-1, true, 9},
      {12, false, 0}, {99, true, 9}, {2, false, 4},  // from a control that cannot take the focus
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NextTabStop(eligible, c.current, c.backward), c.expected) << c.current << (c.backward ? " backward" : "");
  }
  EXPECT_EQ(NextTabStop({false, true, false}, 1, true), 1);  // the only one keeps the focus
  EXPECT_EQ(NextTabStop({false, false}, 0, false), -1);
  EXPECT_EQ(NextTabStop({}, -1, true), -1);
}

}  // namespace
}  // namespace mirravel
