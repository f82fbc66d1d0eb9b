// The event queue hands events out oldest first, never loses one below its bound, and stays bounded.
#include "ui/event_queue.h"

#include <gtest/gtest.h>

namespace mirravel {
namespace {

using Kind = WindowEvent::Kind;

TEST(EventQueue, EmptyQueueGivesNoEvent) {
  EventQueue queue;
  EXPECT_EQ(queue.Pop().kind, Kind::None);
  EXPECT_FALSE(queue.Push({}));  // "nothing happened" is not an event
  EXPECT_EQ(queue.Size(), 0u);
}

TEST(EventQueue, OldestFirstAcrossKinds) {
  EventQueue queue;
  // As a modal message box would leave them: the find field losing and regaining the focus, then a click.
  EXPECT_TRUE(queue.Push({Kind::Gadget, 6}));
  EXPECT_TRUE(queue.Push({Kind::Menu, 4}));
  EXPECT_TRUE(queue.Push({Kind::Gadget, 6}));
  EXPECT_TRUE(queue.Push({Kind::Close, 0}));
  const WindowEvent expected[] = {{Kind::Gadget, 6}, {Kind::Menu, 4}, {Kind::Gadget, 6}, {Kind::Close, 0}};
  for (const WindowEvent& want : expected) {
    const WindowEvent got = queue.Pop();
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.id, want.id);
  }
  EXPECT_EQ(queue.Pop().kind, Kind::None);
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
