// Other programs' windows and processes as the program sees them: liveness of a window's process, posted
// and sent messages, focus, the list of top-level windows and their placement on the screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirravel {

using WindowHandle = std::uintptr_t;  // 0 names no window

struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

struct TopLevelWindow {
  WindowHandle handle = 0;
  std::string title;  // at most kLongestWindowTitle characters
};

inline constexpr std::size_t kLongestWindowTitle = 249;

class DesktopPort {
 public:
  virtual ~DesktopPort() = default;

  // True while the process that created the window runs: opened for querying only, its exit code still
  // the platform's "still active". A window that no longer exists belongs to no process.
  virtual bool IsWindowProcessAlive(WindowHandle window) = 0;

  virtual void PostMessageTo(WindowHandle target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Sends and waits for the target's window procedure, at most timeoutMs (giving up at once on a target
  // the system sees as hung); messages sent to this thread meanwhile are still delivered. The target's
  // result, or nothing when the send failed or timed out.
  virtual std::optional<std::intptr_t> SendMessageWithin(WindowHandle target, std::uint32_t message, std::uintptr_t wParam,
                                                         std::intptr_t lParam, std::uint32_t timeoutMs) = 0;
  // Sends a copy-data record {code, bytes.size(), bytes} with sender as wParam, bounded like SendMessageWithin.
  virtual std::optional<std::intptr_t> SendCopyDataWithin(WindowHandle target, WindowHandle sender, std::uint32_t code,
                                                          std::string_view bytes, std::uint32_t timeoutMs) = 0;

  virtual void SetFocusTo(WindowHandle window) = 0;
  virtual void BringToForeground(WindowHandle window) = 0;

  // Every top-level window that still exists, in the system's enumeration order, with its title.
  virtual std::vector<TopLevelWindow> TopLevelWindows() = 0;
  // True when a top-level window has exactly this title (any class).
  virtual bool HasTopLevelWindowTitled(std::string_view title) = 0;

  // Outer rectangle in screen coordinates, and the width of the client area.
  virtual ScreenRect WindowRect(WindowHandle window) = 0;
  virtual std::int32_t ClientWidth(WindowHandle window) = 0;
  // Moves a window, keeping its size and its place in the Z order.
  virtual void MoveWindowTo(WindowHandle window, std::int32_t x, std::int32_t y) = 0;
  // Places and sizes a window below the top-most ones, activating it.
  virtual void PlaceWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) = 0;
  // The screen's work area, and the horizontal thickness of a fixed (dialog-style) window frame.
  virtual ScreenRect WorkArea() = 0;
  virtual std::int32_t FixedFrameWidth() = 0;
};

}  // namespace mirravel
