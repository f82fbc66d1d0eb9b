// The jaPBe link as the user meets it: the start-up handshake and search, the context menu and the three
// copy commands.
#pragma once

#include <string_view>

#include "app/app_state.h"
#include "host/host_link.h"
#include "ports/platform_port.h"
#include "ports/window_port.h"

namespace mirravel {

inline constexpr std::string_view kHostNotFoundMessage = "jaPBe process not found!";

HostLink MakeHostLink(AppState& state, PlatformPort& platform, WindowPort& window);

// Start-up after the host window was read: the liveness test and start notice, then in plugin mode the
// search for the first constant name written with "#" in jaPBe's replies.
void StartHostLink(AppState& state, PlatformPort& platform, WindowPort& window);

// Sets the items' availability by a fresh liveness test and the copy field, then shows the menu.
void ShowCopyMenu(AppState& state, PlatformPort& platform, WindowPort& window);

// Menu items 1 to 3: the text, or its value part, to jaPBe, or the text to the clipboard.
void RunCopyCommand(std::string_view text, int id, AppState& state, PlatformPort& platform, WindowPort& window);

}  // namespace mirravel
