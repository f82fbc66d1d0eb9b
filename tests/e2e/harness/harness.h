// Driving Win32 programs from another process: checks that count and report, started processes, windows
// and controls read and changed by messages, message boxes, key strokes, files, the clipboard, screen pixels and
// memory in another process for records that messages do not carry across. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace mirravel::e2e {

inline constexpr DWORD kDefaultTimeoutMs = 10000;

// A failure prints the file and line, the context (say, the table row) and what differed.
void SetContext(const std::string& context);
bool Report(bool passed, const char* file, int line, const std::string& what);
// Prints the totals; the exit code is 0 when checks ran and none failed.
int Summary(const char* suite);

template <typename T>
std::string Describe(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
inline std::string Describe(const std::string& value) { return "\"" + value + "\""; }
std::string Describe(const RECT& rect);  // "left,top WIDTHxHEIGHT"
template <typename A, typename B>
std::string Describe(const std::pair<A, B>& pair) {
  return "(" + Describe(pair.first) + ", " + Describe(pair.second) + ")";
}

template <typename E, typename A>
bool CheckEqual(const char* file, int line, const char* expression, const E& expected, const A& actual) {
  return Report(expected == actual, file, line,
                std::string(expression) + ": expected " + Describe(expected) + ", actual " + Describe(actual));
}

// A started program; terminated when still running as the object goes, so a failed suite leaves nothing.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  bool Start(const std::string& commandLine);  // quote the program's path yourself
  bool Attach(DWORD processId);
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool IsRunning() const;
  long long WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);  // the exit code; -1 when still running
  void Terminate();

 private:
  PROCESS_INFORMATION info_{};
};

inline std::string Quoted(const std::string& argument) { return "\"" + argument + "\""; }

// Polls every 10 ms; returns the condition's last value.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDefaultTimeoutMs) {
  for (const DWORD start = ::GetTickCount();; ::Sleep(10)) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return condition();
  }
}

// Top-level windows of a process; className and title nullptr for any (titles compared without case).
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title, bool visibleOnly);
HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title, bool visibleOnly = true,
                           DWORD timeoutMs = kDefaultTimeoutMs);
// A descendant at any depth with that control id (GetDlgItem misses controls inside tab pages).
HWND FindControl(HWND parent, int id);
std::string ClassName(HWND window);
std::string GetText(HWND window);
bool SetText(HWND window, const std::string& text);
// -1 when the window did not answer in time.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = kDefaultTimeoutMs);
inline void Post(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  ::PostMessageA(window, message, wParam, lParam);
}
inline void Click(HWND button) { Post(button, BM_CLICK); }  // posted: a modal box it opens does not block us
void ClickAt(HWND window, POINT client);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
inline DWORD Style(HWND window, int which = GWL_STYLE) {
  return static_cast<DWORD>(::GetWindowLongPtrA(window, which));
}
inline bool IsTopMost(HWND window) { return (Style(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// Posted key strokes reach the target's message loop, accelerators included, but carry no Shift or Ctrl.
void PostKey(HWND window, UINT virtualKey, bool release = true);
// Real input to the foreground window: the keys pressed in order, then released in reverse.
void SendKeys(std::initializer_list<WORD> keys);
// The focus and the active window of the thread that owns `window` (null when they cannot be read).
GUITHREADINFO ThreadFocus(HWND window);

inline std::string MessageBoxText(HWND box) { return GetText(FindControl(box, 0xFFFF)); }

// A whole file's bytes ("" when it cannot be read), and its lines without their CR LF or LF.
std::string FileBytes(const std::string& path);
std::vector<std::string> FileLines(const std::string& path);
std::string ClipboardText();
void ClearClipboard();
COLORREF ScreenPixel(HWND window, POINT client);

// For a message whose answer goes to a record at lParam that is not marshalled between processes: the record
// is placed, zeroed, in the target's memory (both of the same bitness) and read back.
template <typename Record>
bool SendForRecord(HANDLE process, HWND window, UINT message, WPARAM wParam, Record& record) {
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof record, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  const bool answered = remote && Send(window, message, wParam, reinterpret_cast<LPARAM>(remote)) >= 0 &&
                        ::ReadProcessMemory(process, remote, &record, sizeof record, nullptr);
  if (remote) ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return answered;
}

}  // namespace mirravel::e2e

// Each yields true on success, so a suite can stop where later checks would only repeat a failure.
#define CHECK(condition) ::mirravel::e2e::Report((condition), __FILE__, __LINE__, #condition)
#define CHECK_NOTE(condition, note) \
  ::mirravel::e2e::Report((condition), __FILE__, __LINE__, std::string(#condition) + " (" + (note) + ")")
#define CHECK_EQ(expected, actual) ::mirravel::e2e::CheckEqual(__FILE__, __LINE__, #actual, (expected), (actual))
