// Counting and reporting checks; processes, windows, key strokes, files, the clipboard and pixels.
#include "tests/e2e/harness/harness.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace mirravel::e2e {

namespace {
int passed = 0;
int failed = 0;
std::string currentContext;
}  // namespace

void SetContext(const std::string& context) { currentContext = context; }

bool Report(bool ok, const char* file, int line, const std::string& what) {
  ++(ok ? passed : failed);
  if (!ok) std::printf("FAIL %s:%d: [%s] %s\n", file, line, currentContext.c_str(), what.c_str());
  std::fflush(stdout);
  return ok;
}

int Summary(const char* suite) {
  std::printf("%s: %d checks passed, %d failed\n", suite, passed, failed);
  std::fflush(stdout);
  return failed == 0 && passed > 0 ? 0 : 1;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

Process::~Process() {
  Terminate();
  if (info_.hThread) ::CloseHandle(info_.hThread);
  if (info_.hProcess) ::CloseHandle(info_.hProcess);
}

bool Process::Start(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string writable = commandLine;
  return ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
}

bool Process::Attach(DWORD processId) {
  info_.hProcess = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
  info_.dwProcessId = info_.hProcess != nullptr ? processId : 0;
  return info_.hProcess != nullptr;
}

bool Process::IsRunning() const {
  return info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

long long Process::WaitForExit(DWORD timeoutMs) {
  DWORD code = 0;
  const bool exited = info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
                      ::GetExitCodeProcess(info_.hProcess, &code);
  return exited ? static_cast<long long>(code) : -1;
}

void Process::Terminate() {
  if (!IsRunning()) return;
  ::TerminateProcess(info_.hProcess, 99);
  ::WaitForSingleObject(info_.hProcess, 5000);
}

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
  std::vector<HWND> found;
  WaitUntil([&] { return !(found = TopLevelWindows(processId, className, title, visibleOnly)).empty(); }, timeoutMs);
  return found.empty() ? nullptr : found.front();
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
  ::GetClassNameA(window, name, sizeof name);
  return name;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs) {
  DWORD_PTR answer = 0;
  // The W form: the A form ignores its deadline when the target hangs (measured under Wine).
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return -1;
  return static_cast<LRESULT>(answer);
}

// The A form, so that the system converts the text between the processes.
static DWORD_PTR SendText(HWND window, UINT message, WPARAM wParam, const char* text) {
  DWORD_PTR result = 0;
  const auto lParam = reinterpret_cast<LPARAM>(text);
  return ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kDefaultTimeoutMs, &result) ? result : 0;
}

std::string GetText(HWND window) {
  const LRESULT length = Send(window, WM_GETTEXTLENGTH);
  std::string text(length > 0 ? static_cast<size_t>(length) + 1 : 1, '\0');
  text.resize(std::min<size_t>(length > 0 ? SendText(window, WM_GETTEXT, text.size(), text.data()) : 0, text.size() - 1));
  return text;
}

bool SetText(HWND window, const std::string& text) { return SendText(window, WM_SETTEXT, 0, text.c_str()) != 0; }

void ClickAt(HWND window, POINT client) {
  Post(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  Post(window, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

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

void PostKey(HWND window, UINT virtualKey, bool release) {
  const auto lParam = static_cast<LPARAM>(1 | (::MapVirtualKeyA(virtualKey, 0) << 16));
  Post(window, WM_KEYDOWN, virtualKey, lParam);
  if (release) Post(window, WM_KEYUP, virtualKey, lParam | static_cast<LPARAM>(0xC0000000u));
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

GUITHREADINFO ThreadFocus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info)) info = GUITHREADINFO{};
  return info;
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

static bool OpenClipboardSoon() { return WaitUntil([] { return ::OpenClipboard(nullptr) != 0; }, 2000); }

std::string ClipboardText() {
  if (!OpenClipboardSoon()) return "<clipboard busy>";
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
  if (OpenClipboardSoon()) ::EmptyClipboard(), ::CloseClipboard();
}

COLORREF ScreenPixel(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  HDC screen = ::GetDC(nullptr);
  const COLORREF pixel = ::GetPixel(screen, client.x, client.y);
  ::ReleaseDC(nullptr, screen);
  return pixel;
}

}  // namespace mirravel::e2e
