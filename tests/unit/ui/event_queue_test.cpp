// The event queue hands events out oldest first, never loses one below its bound, and stays bounded.
#include "ui/event_queue.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace mirravel
