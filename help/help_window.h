// The help engine's window as Mirravel sees it: the keyword it is opened at, how it is recognised,
// whether its process still runs, and where the two windows stand side by side.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/desktop_port.h"

namespace mirravel {

inline constexpr std::string_view kHelpWindowTitle = "Win32 Programmer's Reference";
inline constexpr std::uint32_t kHelpWindowWaitMs = 5000;

// The keyword for a copy field text: what follows its first "#", up to the first "=" after that,
// without blanks at either end. Empty when there is none.
std::string HelpKeyword(std::string_view copyFieldText);

// The first top-level window, in the system's order, whose title contains kHelpWindowTitle; 0 when none.
WindowHandle FindHelpWindow(DesktopPort& desktop);

// True while the process that owns the help window runs; never for the handle 0.
bool IsHelpProcessAlive(DesktopPort& desktop, WindowHandle helpWindow);

struct WindowPlacement {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The help window's place once Mirravel stands at (0, 0): right of Mirravel's outer width (its client
// width and two fixed frames), filling the work area's width and height. The work area's own left and
// top are not added.
WindowPlacement HelpWindowPlacement(const ScreenRect& workArea, std::int32_t mainClientWidth, std::int32_t frameWidth);

}  // namespace mirravel
