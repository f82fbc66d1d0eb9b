// The help lookup as the user meets it: the "?" button's state, opening win32.hlp at the copy field's
// constant, the two windows side by side, and Mirravel's window back in place once the help has ended.
#pragma once

#include <string_view>

#include "app/app_state.h"

namespace mirravel {

class PlatformPort;
class WindowPort;

inline constexpr std::string_view kHelpTimeOutTitle = "Time Out !";

// Start-up: finds the help file and enables the "?" button when it is there.
void LocateHelpFile(AppState& state, WindowPort& window, PlatformPort& platform);
// The "?" button: asks the help engine for the keyword (or the contents), waits for the help window and
// places it, or tells the user it did not come.
void OpenHelp(AppState& state, WindowPort& window, PlatformPort& platform);
// Moves Mirravel to the top-left corner and the help window beside it, once per showing of the help.
void PlaceHelpWindow(AppState& state, WindowPort& window, PlatformPort& platform);
// Every loop turn: once the help process has ended and no help window is left, Mirravel goes back.
void CheckHelpClosed(AppState& state, WindowPort& window, PlatformPort& platform);
// Shutdown: tells a running help engine that the help is no longer needed.
void QuitHelp(AppState& state, WindowPort& window, PlatformPort& platform);

}  // namespace mirravel
