// Recognising and placing the help window; pure arithmetic and lookups through the desktop port.
#include "help/help_window.h"

#include <limits>

#include "support/text.h"

namespace mirravel {

std::string HelpKeyword(std::string_view copyFieldText) {
  std::string_view keyword = copyFieldText;
  const auto hash = keyword.find('#');
  if (hash != std::string_view::npos) keyword.remove_prefix(hash + 1);
  keyword = keyword.substr(0, keyword.find('='));
  return Trim(keyword);
}

WindowHandle FindHelpWindow(DesktopPort& desktop) {
  for (const TopLevelWindow& window : desktop.TopLevelWindows()) {
    if (window.title.find(kHelpWindowTitle) != std::string::npos) return window.handle;
  }
  return 0;
}

bool IsHelpProcessAlive(DesktopPort& desktop, WindowHandle helpWindow) {
  return helpWindow != 0 && desktop.IsWindowProcessAlive(helpWindow);
}

WindowPlacement HelpWindowPlacement(const ScreenRect& workArea, std::int32_t mainClientWidth, std::int32_t frameWidth) {
  // Widths are computed in 64 bits so that absurd metrics cannot overflow; the results are clamped back.
  const std::int64_t mainOuterWidth = std::int64_t{mainClientWidth} + 2 * std::int64_t{frameWidth};
  const std::int64_t workWidth = std::int64_t{workArea.right} - workArea.left;
  const std::int64_t workHeight = std::int64_t{workArea.bottom} - workArea.top;
  const auto clamp = [](std::int64_t v) {
    using Limits = std::numeric_limits<std::int32_t>;
    return static_cast<std::int32_t>(v < Limits::min() ? Limits::min() : v > Limits::max() ? Limits::max() : v);
  };
  return {clamp(mainOuterWidth), 0, clamp(workWidth - mainOuterWidth), clamp(workHeight)};
}

}  // namespace mirravel
