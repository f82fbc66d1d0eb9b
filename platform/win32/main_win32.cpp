// Entry point of the Win32 program: the application's start-up on the real platform, then its event
// loop, which ends the process itself.
//
// No private heap is made here: the program's own allocations go through C++ containers and the C++
// runtime's heap, which lives exactly as long as the process, and RAII releases every block; a second
// heap would add a lifetime to manage without freeing anything sooner.
#include <windows.h>

#include "app/application.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  mirravel::platform::Win32Platform platform(::GetModuleHandleA(nullptr));
  mirravel::Application app(platform);
  if (app.Start(::GetCommandLineA())) app.RunEventLoop();
  return 0;  // not reached: the program ends through its shutdown, with exit code 0
}
