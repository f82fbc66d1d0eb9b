// The program's main window with every control, built by the platform layer and run by the program's
// loop, but with an empty list: the start-up benchmark tells the catalogue's own share by it.
#include <windows.h>

#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  mirravel::platform::Win32Platform platform(instance);
  mirravel::WindowPort* window = platform.BuildMainWindow();
  if (window == nullptr) return 0;
  for (;;) {
    window->PumpOneMessage();
    if (window->FetchEvent().kind == mirravel::WindowEvent::Kind::Close) return 0;
  }
}
