// WinHelpA hands the request to the engine's window and waits until the engine has taken it.
#include "platform/win32/win32_help_engine.h"

#include <windows.h>

#include <string>

namespace mirravel::platform {

static_assert(HELP_QUIT == 0x0002 && HELP_CONTENTS == 0x0003 && HELP_KEY == 0x0101, "the port's help commands");

void Win32HelpEngine::Request(std::uintptr_t owner, std::string_view helpFilePath, std::uint32_t command,
                              std::string_view keyword) {
  const std::string file(helpFilePath);
  const std::string key(keyword);  // NUL-terminated for the engine
  const ULONG_PTR data = command == HELP_KEY ? reinterpret_cast<ULONG_PTR>(key.c_str()) : 0;
  ::WinHelpA(reinterpret_cast<HWND>(owner), file.c_str(), command, data);
}

}  // namespace mirravel::platform
