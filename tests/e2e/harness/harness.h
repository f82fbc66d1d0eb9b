// Driving a Win32 program from another process: start it, find its windows and controls, read and
// change them, answer its message boxes, wait for its end. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace mirravel::e2e {

inline constexpr DWORD kDefaultTimeoutMs = 10000;

// A started program; terminated when still running as the object goes, so a failed suite leaves nothing.
class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  // commandLine is passed as is (quote the program's path yourself when it may hold blanks).
  bool Start(const std::string& commandLine);
  // Takes over a process that another program started (terminated in the same way when still running).
  bool Attach(DWORD processId);
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool IsRunning() const;
  // The exit code, or -1 when the process has not ended before the deadline.
  long long WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);
  void Terminate();

 private:
  PROCESS_INFORMATION info_{};
};

// Quotes an argument for a command line.
std::string Quoted(const std::string& argument);

// Calls condition every few milliseconds until it is true or the time is up; returns its last value.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs = kDefaultTimeoutMs) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeoutMs) return condition();
    ::Sleep(10);
  }
}

// Top-level windows of a process; className and title may be nullptr for "any". Visible ones only when
// visibleOnly.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title, bool visibleOnly);
HWND WaitForTopLevelWindow(DWORD processId, const char* className, const char* title,
                           DWORD timeoutMs = kDefaultTimeoutMs);

// A descendant (at any depth) with that control id; nullptr when none. GetDlgItem alone misses controls
// nested in tab pages.
HWND FindControl(HWND parent, int id);
std::string ClassName(HWND window);

// Window text through WM_GETTEXT/WM_SETTEXT, which cross process boundaries.
std::string GetText(HWND window);
bool SetText(HWND window, const std::string& text);

// Posted, so a click that opens a modal box does not block the driver.
void Click(HWND button);
int CheckState(HWND button);  // BST_CHECKED, BST_UNCHECKED, ...; -1 when the window does not answer
bool IsEnabled(HWND window);
RECT WindowRect(HWND window);
RECT ClientRect(HWND window);
LONG_PTR Style(HWND window);
LONG_PTR ExStyle(HWND window);

// Key strokes posted to a window (reach the target's message loop, accelerators included).
void PostKeyDown(HWND window, UINT virtualKey);
void PostKeyUp(HWND window, UINT virtualKey);
void PostKeyPress(HWND window, UINT virtualKey);
// Keyboard focus inside another process (attaches to its input for the call).
bool SetFocusTo(HWND window);
// The window holding the keyboard focus in the thread that owns `window`.
HWND FocusOf(HWND window);

void PostClose(HWND window);
void PostSysCommand(HWND window, WPARAM command);

// Sends a message with a deadline; false when the target did not answer in time.
bool SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result,
                     DWORD timeoutMs = kDefaultTimeoutMs);

// A message box of the process (top-level dialog of class "#32770").
struct MessageBoxInfo {
  HWND window = nullptr;
  std::string title;
  std::string text;  // the static control with id 0xFFFF
};
MessageBoxInfo WaitForMessageBox(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);
// Clicks the box's button with that id (IDOK, IDYES, IDNO, ...); false when it has none.
bool AnswerMessageBox(HWND box, int buttonId);

// Memory in another process of the same bitness, for messages whose records are not marshalled.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  bool IsValid() const { return address_ != nullptr; }
  void* Address() const { return address_; }
  LPARAM AsLParam() const { return reinterpret_cast<LPARAM>(address_); }
  bool Write(const void* data, SIZE_T size, SIZE_T offset = 0);
  bool Read(void* data, SIZE_T size, SIZE_T offset = 0) const;

 private:
  HANDLE process_;
  void* address_;
};

}  // namespace mirravel::e2e
