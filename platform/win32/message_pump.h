// Taking the thread's window messages one at a time for the event loop: with or without the keyboard
// shortcuts, with Tab moving the focus between the main window's controls.
#pragma once

#include <windows.h>

#include <deque>

#include "platform/win32/main_window.h"
#include "ports/window_port.h"

namespace mirravel::platform {

class MessagePump {
 public:
  explicit MessagePump(MainWindow& main) : main_(main) {}

  // Dispatches one waiting message without the keyboard shortcuts, or sleeps 1 ms when none waits.
  void PumpOne();
  // Dispatches at most one waiting message with the shortcuts applied, then hands out the oldest event.
  WindowEvent FetchOne();

 private:
  bool IsShortcutKey(const MSG& message) const;
  bool TakeMessage(MSG& message);
  void Dispatch(MSG& message);

  MainWindow& main_;
  // Shortcut key presses that PumpOne took from the queue, kept for FetchOne (see message_pump.cpp).
  std::deque<MSG> heldShortcutKeys_;
};

// Tab and Shift+Tab on the main window or any of its controls: the focus moves to the next (previous)
// visible, enabled tab stop in creation order. Returns true when the message was such a key press.
bool MoveFocusOnTab(const MainWindow& main, const MSG& message);

}  // namespace mirravel::platform
