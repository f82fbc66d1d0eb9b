// Another process's windows, controls, message boxes and memory; key strokes, files, the clipboard and pixels.
#include "tests/e2e/harness/harness.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace mirravel::e2e {

namespace {

void PostKey(HWND window, UINT message, UINT virtualKey) {
  LPARAM lParam = 1 | static_cast<LPARAM>(::MapVirtualKeyA(virtualKey, 0) << 16);
  if (message == WM_KEYUP) lParam |= static_cast<LPARAM>(0xC0000000u);
  ::PostMessageA(window, message, virtualKey, lParam);
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title, bool visibleOnly) {
  std::vector<HWND> found;
  for (HWND window = nullptr; (window = ::FindWindowExA(nullptr, window, className, title)) != nullptr;) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == processId && (!visibleOnly || ::IsWindowVisible(window))) found.push_back(window);
  }
  return found;
}

HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title, bool visibleOnly,
                           DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = TopLevelWindows(processId, className, title, visibleOnly);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND FindControl(HWND parent, int id) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::GetDlgCtrlID(child) == id) return child;
    if (HWND found = FindControl(child, id)) return found;
  }
  return nullptr;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  const int length = ::GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  // The W form: the A form ignores its deadline when the target hangs (measured under Wine).
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return -1;
  return static_cast<LRESULT>(answer);
}

std::string GetText(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH);
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             kDefaultTimeoutMs, &copied)) {
    return {};
  }
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

bool SetText(HWND window, const std::string& text) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kDefaultTimeoutMs, &result) && result != 0;
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { ::PostMessageA(window, message, wParam, lParam); }
void Click(HWND button) { Post(button, BM_CLICK); }

void ClickAt(HWND window, POINT client, bool right) {
  const LPARAM at = MAKELPARAM(client.x, client.y);
  Post(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
  Post(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}

int CheckState(HWND button) { return static_cast<int>(Send(button, BM_GETCHECK)); }
bool IsTopMost(HWND window) { return (ExStyle(window) & WS_EX_TOPMOST) != 0; }

RECT WindowRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

RECT PlaceInParent(HWND window) {
  RECT rect = WindowRect(window);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ClientRect(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return rect;
}

DWORD Style(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_STYLE)); }
DWORD ExStyle(HWND window) { return static_cast<DWORD>(::GetWindowLongPtrA(window, GWL_EXSTYLE)); }

void PostKeyDown(HWND window, UINT virtualKey) { PostKey(window, WM_KEYDOWN, virtualKey); }
void PostKeyPress(HWND window, UINT virtualKey) {
  PostKey(window, WM_KEYDOWN, virtualKey);
  PostKey(window, WM_KEYUP, virtualKey);
}

void SendKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs(2 * keys.size(), INPUT{INPUT_KEYBOARD, {}});
  size_t down = 0;
  for (const WORD key : keys) {
    INPUT& up = inputs[inputs.size() - 1 - down];
    inputs[down++].ki.wVk = key;
    up.ki.wVk = key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool SetFocusTo(HWND window) {
  const DWORD target = ::GetWindowThreadProcessId(window, nullptr);
  const DWORD self = ::GetCurrentThreadId();
  const bool attached = ::AttachThreadInput(self, target, TRUE) != 0;
  ::SetFocus(window);
  const bool focused = ::GetFocus() == window;
  if (attached) ::AttachThreadInput(self, target, FALSE);
  return focused;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  MessageBoxInfo info;
  info.window = WaitForTopLevelWindow(processId, "#32770", nullptr, true, timeoutMs);
  if (info.window == nullptr) return info;
  info.title = GetText(info.window);
  info.text = GetText(FindControl(info.window, 0xFFFF));
  return info;
}

bool AnswerMessageBox(HWND box, int buttonId) {
  HWND button = ::GetDlgItem(box, buttonId);
  if (button != nullptr) Click(button);
  return button != nullptr;
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FileLines(const std::string& path) {
  std::vector<std::string> lines;
  std::istringstream in(FileBytes(path));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string ClipboardText() {
  if (!WaitUntil([] { return ::OpenClipboard(nullptr) != 0; }, 2000)) return "<clipboard busy>";
  std::string text = "<no text>";
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text.assign(bytes, strnlen(bytes, ::GlobalSize(data)));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void ClearClipboard() {
  if (!WaitUntil([] { return ::OpenClipboard(nullptr) != 0; }, 2000)) return;
  ::EmptyClipboard();
  ::CloseClipboard();
}

COLORREF ScreenPixel(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  HDC screen = ::GetDC(nullptr);
  const COLORREF pixel = ::GetPixel(screen, client.x, client.y);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

}  // namespace mirravel::e2e
