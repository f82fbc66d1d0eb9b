// Window events waiting for the event loop, oldest first.
#pragma once

#include <cstddef>
#include <deque>

#include "ports/window_port.h"

namespace mirravel {

// Events arise while messages are dispatched, which also happens inside modal loops (message boxes,
// menus) and the program's own waits, where nobody fetches events. Queuing them keeps every one for
// the loop. The bound keeps a flood from growing without end: when full, new events are dropped, so
// the user's earliest actions are the ones kept.
class EventQueue {
 public:
  static constexpr std::size_t kCapacity = 64;

  // False when the queue was full and the event was dropped.
  bool Push(const WindowEvent& event);
  // The oldest event, or Kind::None when there is none.
  WindowEvent Pop();
  std::size_t Size() const { return events_.size(); }

 private:
  std::deque<WindowEvent> events_;
};

}  // namespace mirravel
