// The window layer suite's fixture: the real main window, built by the platform layer in the suite's own
// process and run by its loop, and a hook that records what the window tells the program.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

// The hook's calls in order: "selection 32 41, right button, close, copydata 4660 1037 ab<NUL>c, inactive".
struct RecordingHook : MessageHook {
  std::string calls;
  void Record(const std::string& call) { calls += (calls.empty() ? "" : ", ") + call; }
  std::string Last() const { return calls.substr(calls.rfind(", ") == std::string::npos ? 0 : calls.rfind(", ") + 2); }
  void OnListSelectionChanged(std::int32_t from, std::int32_t to) override {
    Record("selection " + std::to_string(from) + " " + std::to_string(to));
  }
  void OnListRightButtonDown() override { Record("right button"); }
  void OnCloseRequest() override { Record("close"); }
  bool OnCopyData(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) override {
    std::string shown;
    for (const char c : bytes) shown += c == '\0' ? std::string("<NUL>") : std::string(1, c);
    Record("copydata " + std::to_string(sender) + " " + std::to_string(code) + " " + shown);
    return true;
  }
  void OnActivationChanged(bool active) override { Record(active ? "active" : "inactive"); }
};

struct Fixture {
  platform::Win32Platform platform{::GetModuleHandleA(nullptr)};
  WindowPort* window = nullptr;
  HWND main = nullptr;
  RecordingHook hook;  // installed by the list's checks: until then close requests are events
  HWND Control(int id) const { return FindControl(main, id); }
  // Runs the window's loop until the condition holds or the time is up; returns the condition's last value.
  template <typename Condition>
  bool PumpUntil(Condition condition, DWORD timeoutMs = 3000) {
    return WaitUntil([&] { for (int i = 0; i < 8; ++i) window->FetchEvent(); return condition(); }, timeoutMs);
  }
};

void CheckList(Fixture& f);  // the list, the program's own catalogue view, over a sample text

}  // namespace mirravel::e2e
