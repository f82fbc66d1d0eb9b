// ShellExecuteExA with the "open" verb and SW_HIDE; the process handle is asked for and let go at once,
// because nobody waits for the started program.
#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/late_bound.h"

namespace mirravel::platform {

bool Win32Shell::StartHidden(const std::string& file, const std::string& workingDirectory) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = "open";
  info.lpFile = file.c_str();
  info.lpDirectory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();
  info.nShow = SW_HIDE;
  static const auto shellExecuteEx = LateBound<decltype(&::ShellExecuteExA)>("shell32.dll", "ShellExecuteExA");
  const bool started = shellExecuteEx != nullptr && shellExecuteEx(&info) != 0;
  if (info.hProcess != nullptr) ::CloseHandle(info.hProcess);
  return started;
}

}  // namespace mirravel::platform
