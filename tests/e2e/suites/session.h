// One running program as the suites see it: its main window and controls by id, the tab panel, the find
// and copy fields, and its message boxes; and the stand-in peer it talks to.
#pragma once

#include <string>
#include <vector>

#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

// The program under test and the stand-in peer its section needs.
struct SuitePaths {
  std::string program;
  std::string peer;
};

// The stand-in peer in one role with a fresh log file; ended and its log deleted as the object goes.
class Peer {
 public:
  ~Peer();
  // Waits for its window of that class, shown or not; false after a failed check.
  bool Start(const std::string& program, const std::string& options, const char* windowClass);
  Process& Program() { return process_; }
  HWND Window() const { return window_; }
  std::vector<std::string> Log() const { return FileLines(log_); }

 private:
  Process process_;
  std::string log_;
  HWND window_ = nullptr;
};

class Session {
 public:
  // Waits for its visible window titled "Mirravel" (or, attached to a program jaPBe started, its main window
  // whatever its title) and its loop; false after a failed check.
  bool Start(const std::string& program);
  bool Attach(DWORD processId);
  Process& Program() { return program_; }
  HWND Main() const { return main_; }
  HWND Control(int id) const { return FindControl(main_, id); }
  HWND TabControl() const;
  bool ClickTab(int index);  // posted mouse clicks at the tab's centre

  bool WaitForCopyField(const std::string& expected) {
    return WaitUntil([&] { return GetText(Control(kCopyField)) == expected; });
  }
  bool WaitForFocusIn(int id) { return WaitUntil([&] { return ThreadFocus(main_).hwndFocus == Control(id); }); }
  // Round trips through the program's loop, so that what was posted before has been taken.
  void Settle();

  // Checks the next message box's title, answers it and waits for it to go; returns its text ("" if none).
  std::string AnswerBox(const std::string& title, int button = IDOK);
  void CloseAndExpectExitCode0();  // SC_CLOSE

 private:
  bool FindMain(const char* className, const char* title);
  Process program_;
  HWND main_ = nullptr;
};

}  // namespace mirravel::e2e
