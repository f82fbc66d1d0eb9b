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

enum class CopyRemoval { Gone, StillThere, Ending };

// Deletes the plug-in copy, or, when the running program is that copy, writes the removal batch, calls
// beforeEnding and ends the program starting the batch: Ending then (on a real platform the call does not
// return). StillThere when the copy could not be deleted or no batch could be written.
CopyRemoval RemovePluginCopy(const std::string& pluginCopy, PlatformPort& platform, const ShutdownStarting& shutdown,
                             const std::function<void()>& beforeEnding = {});

}  // namespace mirravel
