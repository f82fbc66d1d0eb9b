// Entry point of the Win32 program: instance, command line and show mode in; the main window and its
// message loop until the window closes.
#include <windows.h>

#include "platform/win32/main_window.h"

namespace {

// jaPBe recognises its plug-ins by this text in the executable's data; the volatile pointer keeps the
// linker from dropping it although nothing reads it.
const char kPluginMarker[] = "! This is a JaPBe Plugin !";
const char* volatile pluginMarker = nullptr;

int RunProgram(HINSTANCE instance, const char* commandLine, int showMode) {
  static_cast<void>(commandLine);
  pluginMarker = kPluginMarker;
  if (!mirravel::platform::RegisterMainWindowClass(instance)) return 0;
  HWND window = mirravel::platform::OpenMainWindow(instance);
  if (window == nullptr) return 0;
  ::ShowWindow(window, showMode);
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return RunProgram(::GetModuleHandleA(nullptr), ::GetCommandLineA(), SW_SHOWDEFAULT);
}
