// The "Register jaPBe plugin" button: adds Mirravel to jaPBe's Tools menu with a copy of its executable
// in jaPBe's plug-in directory, or takes both out again, asking and telling the user by message boxes.
#pragma once

#include <functional>
#include <string>

namespace mirravel {

class PlatformPort;
class WindowPort;

// Ends the program as the self-removal needs it: CloseDown, then beforeEnd, then the end of the process.
using ShutdownStarting = std::function<void(const std::function<void()>& beforeEnd)>;

void RegisterOrUnregisterPlugin(PlatformPort& platform, WindowPort& window, const ShutdownStarting& shutdown);

// Deletes the plug-in copy, or, when the running program is that copy, writes the removal batch and ends
// the program starting it. True when the program was ended (on a real platform the call does not return then).
bool RemovePluginCopy(const std::string& pluginCopy, PlatformPort& platform, const ShutdownStarting& shutdown);

}  // namespace mirravel
