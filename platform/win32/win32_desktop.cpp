// Sends use the wide SendMessageTimeoutW: under Wine the ANSI form ignores its time-out when the receiver
// of another process hangs. The messages sent here carry no text that the A/W forms would convert.
#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include <string>

namespace mirravel::platform {
namespace {

HWND AsWindow(WindowHandle window) { return reinterpret_cast<HWND>(window); }

struct ProcessHandle {
  explicit ProcessHandle(DWORD id) : handle(id == 0 ? nullptr : ::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id)) {}
  ~ProcessHandle() {
    if (handle != nullptr) ::CloseHandle(handle);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE handle;
};

BOOL CALLBACK CollectTopLevelWindow(HWND window, LPARAM context) {
  auto& windows = *reinterpret_cast<std::vector<TopLevelWindow>*>(context);
  if (!::IsWindow(window)) return TRUE;
  char title[kLongestWindowTitle + 1] = {};
  const int length = ::GetWindowTextA(window, title, static_cast<int>(sizeof title));
  windows.push_back({reinterpret_cast<WindowHandle>(window), std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0)});
  return TRUE;
}

std::optional<std::intptr_t> SendBounded(HWND target, UINT message, WPARAM wParam, LPARAM lParam, std::uint32_t timeoutMs) {
  DWORD_PTR result = 0;
  if (::SendMessageTimeoutW(target, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, timeoutMs, &result) == 0) {
    return std::nullopt;
  }
  return static_cast<std::intptr_t>(result);
}

}  // namespace

bool Win32Desktop::IsWindowProcessAlive(WindowHandle window) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(AsWindow(window), &processId);
  const ProcessHandle process(processId);
  DWORD exitCode = 0;
  return process.handle != nullptr && ::GetExitCodeProcess(process.handle, &exitCode) && exitCode == STILL_ACTIVE;
}

void Win32Desktop::PostMessageTo(WindowHandle target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  ::PostMessageA(AsWindow(target), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

std::optional<std::intptr_t> Win32Desktop::SendMessageWithin(WindowHandle target, std::uint32_t message, std::uintptr_t wParam,
                                                             std::intptr_t lParam, std::uint32_t timeoutMs) {
  return SendBounded(AsWindow(target), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam), timeoutMs);
}

std::optional<std::intptr_t> Win32Desktop::SendCopyDataWithin(WindowHandle target, WindowHandle sender, std::uint32_t code,
                                                              std::string_view bytes, std::uint32_t timeoutMs) {
  COPYDATASTRUCT record{};
  record.dwData = code;
  record.cbData = static_cast<DWORD>(bytes.size());
  record.lpData = const_cast<char*>(bytes.data());  // the receiver only reads it, during the call
  return SendBounded(AsWindow(target), WM_COPYDATA, static_cast<WPARAM>(sender), reinterpret_cast<LPARAM>(&record), timeoutMs);
}

void Win32Desktop::SetFocusTo(WindowHandle window) { ::SetFocus(AsWindow(window)); }

void Win32Desktop::BringToForeground(WindowHandle window) { ::SetForegroundWindow(AsWindow(window)); }

std::vector<TopLevelWindow> Win32Desktop::TopLevelWindows() {
  std::vector<TopLevelWindow> windows;
  ::EnumWindows(CollectTopLevelWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool Win32Desktop::HasTopLevelWindowTitled(std::string_view title) {
  const std::string text(title);
  return ::FindWindowA(nullptr, text.c_str()) != nullptr;
}

ScreenRect Win32Desktop::WindowRect(WindowHandle window) {
  RECT rect{};
  ::GetWindowRect(AsWindow(window), &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

std::int32_t Win32Desktop::ClientWidth(WindowHandle window) {
  RECT rect{};
  ::GetClientRect(AsWindow(window), &rect);
  return rect.right - rect.left;
}

void Win32Desktop::MoveWindowTo(WindowHandle window, std::int32_t x, std::int32_t y) {
  ::SetWindowPos(AsWindow(window), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void Win32Desktop::PlaceWindow(WindowHandle window, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
  ::SetWindowPos(AsWindow(window), HWND_NOTOPMOST, x, y, width, height, 0);
}

ScreenRect Win32Desktop::WorkArea() {
  RECT rect{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rect, 0);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

std::int32_t Win32Desktop::FixedFrameWidth() { return ::GetSystemMetrics(SM_CXFIXEDFRAME); }

}  // namespace mirravel::platform
