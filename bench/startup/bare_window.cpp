// The smallest Win32 window program, the start-up benchmark's baseline: one visible top-level window of
// the main window's size with a polling loop like the program's.
#include <windows.h>

namespace {

LRESULT CALLBACK BareProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ::DestroyWindow(window);
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BareProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = "BareWindow";
  if (!::RegisterClassA(&windowClass)) return 0;
  RECT outer{0, 0, 425, 303};
  ::AdjustWindowRect(&outer, WS_CAPTION | WS_SYSMENU, FALSE);
  if (!::CreateWindowExA(0, "BareWindow", "Bare window", WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CW_USEDEFAULT,
                         CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance,
                         nullptr)) {
    return 0;
  }
  for (;;) {
    MSG message{};
    if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::Sleep(1);
      continue;
    }
    if (message.message == WM_QUIT) return 0;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}
