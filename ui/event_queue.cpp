// The bounded first-in first-out queue of window events.
#include "ui/event_queue.h"

namespace mirravel {

bool EventQueue::Push(const WindowEvent& event) {
  if (event.kind == WindowEvent::Kind::None || events_.size() >= kCapacity) return false;
  events_.push_back(event);
  return true;
}

WindowEvent EventQueue::Pop() {
  if (events_.empty()) return {};
  const WindowEvent event = events_.front();
  events_.pop_front();
  return event;
}

}  // namespace mirravel
