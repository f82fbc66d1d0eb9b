// A small simulated desktop around the program: other programs' windows with their processes, a
// registry in memory, a clock that moves only when the program sleeps or pumps, a help engine that
// records each request (as the stand-in program logs them end to end) and a clipboard in memory.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ports/clipboard_port.h"
#include "ports/clock_port.h"
#include "ports/desktop_port.h"
#include "ports/help_engine_port.h"
#include "ports/registry_port.h"

namespace mirravel::testing {

class FakeClock : public ClockPort {
 public:
  std::uint32_t TickCount() override { return now; }
  void Sleep(std::uint32_t milliseconds) override { now += milliseconds; }
  std::uint32_t now = 1000;
};

struct FakeOtherWindow {
  std::string title;
  bool processAlive = true;
  ScreenRect rect;
  std::int32_t clientWidth = 0;
};

// One message that reached another program's window, as that program would log it.
struct DeliveredMessage {
  WindowHandle target = 0;
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::uint32_t code = 0;  // copy data only
  std::string bytes;       // copy data only
};

class FakeDesktop : public DesktopPort {
 public:
  bool IsWindowProcessAlive(WindowHandle window) override {
    const auto found = windows.find(window);
    return found != windows.end() && found->second.processAlive;
  }
  void PostMessageTo(WindowHandle target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    Record({target, message, wParam, lParam, 0, {}}, true);
  }
  std::optional<std::intptr_t> SendMessageWithin(WindowHandle target, std::uint32_t message, std::uintptr_t wParam,
                                                 std::intptr_t lParam, std::uint32_t) override {
    return Record({target, message, wParam, lParam, 0, {}});
  }
  std::optional<std::intptr_t> SendCopyDataWithin(WindowHandle target, WindowHandle sender, std::uint32_t code,
                                                  std::string_view bytes, std::uint32_t) override {
    return Record({target, 0x4A, sender, 0, code, std::string(bytes)});
  }
  void SetFocusTo(WindowHandle window) override { calls.push_back("focus " + std::to_string(window)); }
  void BringToForeground(WindowHandle window) override { calls.push_back("foreground " + std::to_string(window)); }
  std::vector<TopLevelWindow> TopLevelWindows() override {
    std::vector<TopLevelWindow> list;
    for (const auto& [handle, window] : windows) list.push_back({handle, window.title.substr(0, kLongestWindowTitle)});
    return list;
  }
  bool HasTopLevelWindowTitled(std::string_view title) override {
    return std::any_of(windows.begin(), windows.end(), [title](const auto& entry) { return entry.second.title == title; });
  }
  ScreenRect WindowRect(WindowHandle window) override { return windows[window].rect; }
  std::int32_t ClientWidth(WindowHandle window) override { return windows[window].clientWidth; }
  void MoveWindowTo(WindowHandle window, std::int32_t x, std::int32_t y) override {
    ScreenRect& rect = windows[window].rect;
    rect = {x, y, x + rect.right - rect.left, y + rect.bottom - rect.top};
    calls.push_back("move " + std::to_string(window));
  }
  void PlaceWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override {
    windows[window].rect = {x, y, x + width, y + height};
    calls.push_back("place " + std::to_string(window));
  }
  ScreenRect WorkArea() override { return workArea; }
  std::int32_t FixedFrameWidth() override { return 3; }

  std::map<WindowHandle, FakeOtherWindow> windows;
  ScreenRect workArea{0, 0, 1024, 768};
  std::vector<DeliveredMessage> delivered;
  std::vector<std::string> calls;
  // Answers sent messages (the result, or nothing for a timed-out send); 1 when not set.
  std::function<std::optional<std::intptr_t>(const DeliveredMessage&)> onSend;

 private:
  std::optional<std::intptr_t> Record(const DeliveredMessage& message, bool posted = false) {
    delivered.push_back(message);
    calls.push_back(posted ? "post" : "send");
    return !posted && onSend ? onSend(message) : std::optional<std::intptr_t>(1);
  }
};

class FakeRegistry : public RegistryPort {
 public:
  std::uint32_t SystemVersion() override { return version; }
  std::optional<std::string> ReadDefaultValue(RegistryRoot root, std::string_view keyPath, std::size_t capacity) override {
    reads.emplace_back(root, std::string(keyPath));
    const auto found = values.find({root, std::string(keyPath)});
    if (found == values.end() || found->second.size() > capacity) return std::nullopt;
    return found->second;
  }

  std::uint32_t version = 0x23F00206;  // an NT-family value: bits 16 to 23 set
  std::map<std::pair<RegistryRoot, std::string>, std::string> values;  // stored bytes, NUL included if wanted
  std::vector<std::pair<RegistryRoot, std::string>> reads;
};

struct HelpRequest {
  std::uintptr_t owner = 0;
  std::string helpFilePath;
  std::uint32_t command = 0;
  std::string keyword;
};

class FakeHelpEngine : public HelpEnginePort {
 public:
  void Request(std::uintptr_t owner, std::string_view helpFilePath, std::uint32_t command,
               std::string_view keyword) override {
    requests.push_back({owner, std::string(helpFilePath), command, command == HELP_KEY ? std::string(keyword) : ""});
    if (onRequest) onRequest(requests.back());
  }

  std::vector<HelpRequest> requests;
  std::function<void(const HelpRequest&)> onRequest;
};

class FakeClipboard : public ClipboardPort {
 public:
  bool PutText(std::string_view text) override { return content = std::string(text), true; }
  std::optional<std::string> content;
};

}  // namespace mirravel::testing
