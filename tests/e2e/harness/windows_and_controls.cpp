// Finding another process's windows and controls, and reading and changing them by messages.
#include <cstring>

#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

namespace {

struct TopLevelSearch {
  DWORD processId;
  const char* className;
  const char* title;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<TopLevelSearch*>(context);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId) return TRUE;
  if (search->visibleOnly && !::IsWindowVisible(window)) return TRUE;
  if (search->className && ClassName(window) != search->className) return TRUE;
  if (search->title) {
    char title[512] = {};
    ::GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, search->title) != 0) return TRUE;
  }
  search->found.push_back(window);
  return TRUE;
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK MatchControl(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ControlSearch*>(context);
  if (::GetDlgCtrlID(window) != search->id) return TRUE;
  search->found = window;
  return FALSE;
}

void PostKey(HWND window, UINT message, UINT virtualKey, bool released) {
  const UINT scanCode = ::MapVirtualKeyA(virtualKey, 0);
  LPARAM lParam = 1 | static_cast<LPARAM>(scanCode << 16);
  if (released) lParam |= static_cast<LPARAM>(0xC0000000u);
  ::PostMessageA(window, message, virtualKey, lParam);
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title, bool visibleOnly) {
  TopLevelSearch search{processId, className, title, visibleOnly, {}};
  ::EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = TopLevelWindows(processId, className, title, true);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND FindControl(HWND parent, int id) {
  if (parent == nullptr) return nullptr;
  ControlSearch search{id, nullptr};
  ::EnumChildWindows(parent, MatchControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string ClassName(HWND window) {
  char name[256] = {};
  const int length = ::GetClassNameA(window, name, sizeof name);
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result, DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  // The W form: the A form ignores its deadline when the target hangs (measured under Wine).
  const bool answered =
      ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer) != 0;
  if (result) *result = static_cast<LRESULT>(answer);
  return answered;
}

std::string GetText(HWND window) {
  LRESULT length = 0;
  if (!SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0, &length) || length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &copied)) {
    return {};
  }
  text.resize(copied < text.size() ? copied : text.size() - 1);
  return text;
}

bool SetText(HWND window, const std::string& text) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                               kDefaultTimeoutMs, &result) != 0 &&
         result != 0;
}

void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

int CheckState(HWND button) {
  LRESULT state = 0;
  return SendWithTimeout(button, BM_GETCHECK, 0, 0, &state) ? static_cast<int>(state) : -1;
}

bool IsEnabled(HWND window) { return ::IsWindowEnabled(window) != 0; }

RECT WindowRect(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

RECT ClientRect(HWND window) {
  RECT rect{};
  ::GetClientRect(window, &rect);
  return rect;
}

LONG_PTR Style(HWND window) { return ::GetWindowLongPtrA(window, GWL_STYLE); }
LONG_PTR ExStyle(HWND window) { return ::GetWindowLongPtrA(window, GWL_EXSTYLE); }

void PostKeyDown(HWND window, UINT virtualKey) { PostKey(window, WM_KEYDOWN, virtualKey, false); }
void PostKeyUp(HWND window, UINT virtualKey) { PostKey(window, WM_KEYUP, virtualKey, true); }
void PostKeyPress(HWND window, UINT virtualKey) {
  PostKeyDown(window, virtualKey);
  PostKeyUp(window, virtualKey);
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
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PostClose(HWND window) { ::PostMessageA(window, WM_CLOSE, 0, 0); }
void PostSysCommand(HWND window, WPARAM command) { ::PostMessageA(window, WM_SYSCOMMAND, command, 0); }

}  // namespace mirravel::e2e
