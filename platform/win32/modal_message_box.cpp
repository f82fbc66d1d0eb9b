// Modal message boxes. The box itself disables only its owner; the program's other top-level windows
// are disabled here, and enabled again once the box has gone.
#include "platform/win32/modal_message_box.h"

#include <windows.h>

#include <string>
#include <vector>

namespace mirravel::platform {

namespace {

struct ThreadWindows {
  HWND owner;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM context) {
  auto* windows = reinterpret_cast<ThreadWindows*>(context);
  if (window != windows->owner && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
    windows->found.push_back(window);
  }
  return TRUE;
}

HWND OwnForegroundWindow() {
  HWND foreground = ::GetForegroundWindow();
  if (foreground == nullptr) return nullptr;
  DWORD process = 0;
  ::GetWindowThreadProcessId(foreground, &process);
  return process == ::GetCurrentProcessId() ? foreground : nullptr;
}

}  // namespace

int ShowModalMessageBox(std::string_view title, std::string_view text, unsigned type) {
  ThreadWindows windows{OwnForegroundWindow(), {}};
  ::EnumThreadWindows(::GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows.found) ::EnableWindow(window, FALSE);
  const std::string boxTitle(title);
  const std::string boxText(text);
  const int answer = ::MessageBoxA(windows.owner, boxText.c_str(), boxTitle.c_str(), type);
  for (HWND window : windows.found) ::EnableWindow(window, TRUE);
  return answer;
}

}  // namespace mirravel::platform
