// Other programs' windows and processes through USER32 and KERNEL32.
#pragma once

#include "ports/desktop_port.h"

namespace mirravel::platform {

class Win32Desktop : public DesktopPort {
 public:
  bool IsWindowProcessAlive(WindowHandle window) override;
  void PostMessageTo(WindowHandle target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  std::optional<std::intptr_t> SendMessageWithin(WindowHandle target, std::uint32_t message, std::uintptr_t wParam,
                                                 std::intptr_t lParam, std::uint32_t timeoutMs) override;
  std::optional<std::intptr_t> SendCopyDataWithin(WindowHandle target, WindowHandle sender, std::uint32_t code,
                                                  std::string_view bytes, std::uint32_t timeoutMs) override;
  void SetFocusTo(WindowHandle window) override;
  void BringToForeground(WindowHandle window) override;
  std::vector<TopLevelWindow> TopLevelWindows() override;
  bool HasTopLevelWindowTitled(std::string_view title) override;
  ScreenRect WindowRect(WindowHandle window) override;
  std::int32_t ClientWidth(WindowHandle window) override;
  void MoveWindowTo(WindowHandle window, std::int32_t x, std::int32_t y) override;
  void PlaceWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
  ScreenRect WorkArea() override;
  std::int32_t FixedFrameWidth() override;
};

}  // namespace mirravel::platform
