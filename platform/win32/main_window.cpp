// The main window's class, placement and dispatching window procedure.
#include "platform/win32/main_window.h"

namespace mirravel::platform {

namespace {

MainWindowHook installedHook = nullptr;

LRESULT OnClose(HWND window) {
  ::DestroyWindow(window);
  return 0;
}

LRESULT OnDestroy() {
  ::PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (installedHook != nullptr) {
    LRESULT result = 0;
    if (installedHook(window, message, wParam, lParam, &result)) return result;
  }
  switch (message) {
    case WM_CLOSE:
      return OnClose(window);
    case WM_DESTROY:
      return OnDestroy();
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int CenteredStart(int screen, int outer) {
  const int shown = outer < screen ? outer : screen;
  // Floor division on both halves, so an odd size rounds the same way as the screen's.
  const auto floorHalf = [](int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); };
  return floorHalf(screen) - floorHalf(shown);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kMainWindowClassName;
  return ::RegisterClassExA(&windowClass) != 0;
}

HWND OpenMainWindow(HINSTANCE instance) {
  RECT outer{0, 0, kMainClientWidth, kMainClientHeight};
  ::AdjustWindowRect(&outer, kMainWindowStyle, FALSE);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int x = CenteredStart(::GetSystemMetrics(SM_CXSCREEN), width);
  const int y = CenteredStart(::GetSystemMetrics(SM_CYSCREEN), height);
  HWND window = ::CreateWindowExA(0, kMainWindowClassName, kMainWindowTitle, kMainWindowStyle, x, y, width, height,
                                  nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  return window;
}

void SetMainWindowHook(MainWindowHook hook) { installedHook = hook; }

}  // namespace mirravel::platform
