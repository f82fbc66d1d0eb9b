// One running program as the suites see it: its main window and controls by id, the tab panel, the find
// field, copy field and list, and its message boxes; and the stand-in peer it talks to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

// The program under test and the catalogue text or the stand-in peer its section needs.
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

  // Puts the text into the find field (WM_SETTEXT, as if typed) and waits for the label to read `label`.
  bool TypeFindText(const std::string& text, const std::string& label);
  // So that the next pick-up is seen even when it brings the same text.
  void MarkCopyField(const std::string& marker = "<unchanged>");
  bool WaitForCopyField(const std::string& expected) {
    return WaitUntil([&] { return GetText(Control(kCopyField)) == expected; });
  }
  bool WaitForFocusIn(int id) { return WaitUntil([&] { return FocusOf(main_) == Control(id); }); }
  // EM_EXGETSEL in the program's memory; (-1, -1) when it cannot be read.
  std::pair<std::int32_t, std::int32_t> ListSelection();
  // Round trips through the program's loop, so that what was posted before has been taken.
  void Settle();

  // Checks the next message box's title and, unless null, text, answers it and waits for it to go; returns
  // its text ("" when none came).
  std::string AnswerBox(const std::string& title, const char* text = nullptr, int button = IDOK);
  void CloseAndExpectExitCode0();  // SC_CLOSE

 private:
  bool FindMain(const char* className, const char* title);
  Process program_;
  HWND main_ = nullptr;
};

}  // namespace mirravel::e2e
