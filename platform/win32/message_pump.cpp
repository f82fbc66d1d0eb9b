// The two ways the event loop takes a message. Each loop turn first pumps one message without the
// shortcuts and then fetches one with them. A shortcut key that the pump happened to take would be
// lost to the shortcut (typically when the key arrives while the loop is busy), so the pump keeps such
// key presses back, undispatched, and the next fetch takes them first and applies the shortcuts. Inside
// the program's own waits, which only pump, held keys wait for the loop.
#include "platform/win32/message_pump.h"

#include <vector>

#include "ui/tab_order.h"

namespace mirravel::platform {

namespace {

constexpr std::size_t kMostHeldKeys = 16;

bool IsWithin(HWND window, HWND ancestor) {
  return window != nullptr && ancestor != nullptr && (window == ancestor || ::IsChild(ancestor, window));
}

bool IsKeyDown(const MSG& message, WPARAM virtualKey) {
  return message.message == WM_KEYDOWN && message.wParam == virtualKey;
}

}  // namespace

bool MoveFocusOnTab(const MainWindow& main, const MSG& message) {
  if (!IsKeyDown(message, VK_TAB) || !IsWithin(message.hwnd, main.Window())) return false;
  if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
  const auto order = main.TabOrder();
  std::vector<bool> canTakeFocus(order.size());
  int current = -1;
  HWND focus = ::GetFocus();
  for (std::size_t i = 0; i < order.size(); ++i) {
    HWND control = order[i];
    canTakeFocus[i] = control != nullptr && (::GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0 &&
                      ::IsWindowVisible(control) && ::IsWindowEnabled(control);
    if (control != nullptr && IsWithin(focus, control)) current = static_cast<int>(i);
  }
  const int next = NextTabStop(canTakeFocus, current, ::GetKeyState(VK_SHIFT) < 0);
  if (next < 0) return true;
  FocusAsDialogsDo(order[static_cast<std::size_t>(next)]);
  return true;
}

bool MessagePump::IsShortcutKey(const MSG& message) const {
  if (message.message != WM_KEYDOWN || !IsWithin(message.hwnd, main_.Window())) return false;
  for (const KeyboardShortcut& shortcut : kKeyboardShortcuts) {
    if (message.wParam == shortcut.virtualKey) return true;
  }
  return false;
}

void MessagePump::PumpOne() {
  MSG message{};
  if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::Sleep(1);
    return;
  }
  if (IsShortcutKey(message) && heldShortcutKeys_.size() < kMostHeldKeys) {
    heldShortcutKeys_.push_back(message);
    return;
  }
  Dispatch(message);
}

bool MessagePump::TakeMessage(MSG& message) {
  if (!heldShortcutKeys_.empty()) {
    message = heldShortcutKeys_.front();
    heldShortcutKeys_.pop_front();
    return true;
  }
  return ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
}

WindowEvent MessagePump::FetchOne() {
  MSG message{};
  if (TakeMessage(message)) {
    const bool shortcut = main_.Shortcuts() != nullptr && IsWithin(message.hwnd, main_.Window()) &&
                          ::TranslateAcceleratorA(main_.Window(), main_.Shortcuts(), &message) != 0;
    if (!shortcut) Dispatch(message);
  }
  return main_.Events().Pop();
}

void MessagePump::Dispatch(MSG& message) {
  if (MoveFocusOnTab(main_, message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageA(&message);
}

}  // namespace mirravel::platform
