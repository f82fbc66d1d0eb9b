// The window layer suite's fixture: the real main window, built by the platform layer in the suite's own
// process and run by its loop.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/win32_platform.h"
#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

struct Fixture {
  platform::Win32Platform platform{::GetModuleHandleA(nullptr)};
  WindowPort* window = nullptr;
  HWND main = nullptr;
  HWND Control(int id) const { return FindControl(main, id); }
};

// Runs the window's loop until the condition holds or the time is up; returns the condition's last value.
template <typename Condition>
bool PumpUntil(Fixture& f, Condition condition, DWORD timeoutMs = 3000) {
  return WaitUntil(
      [&] {
        for (int i = 0; i < 8; ++i) f.window->FetchEvent();
        return condition();
      },
      timeoutMs);
}

// The list, the program's own catalogue view, over a sample text.
void CheckList(Fixture& f);

}  // namespace mirravel::e2e
