// One running program as the suites see it: its main window and controls by id, the tab panel, the find
// field, copy field and list, and its message boxes; and the stand-in peer it talks to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ports/control_ids.h"
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

// What a suite of the suites program gets: the program under test and the peer its section needs (the
// catalogue text or the stand-in peer).
struct SuitePaths {
  std::string program;
  std::string peer;
};

// The stand-in peer in one role (the jaPBe stand-in's options, or "--help-engine" and its own), with a fresh
// log file that it writes line by line; ended and its log deleted as the object goes.
class Peer {
 public:
  ~Peer();
  // Starts it and waits for its window of that class, shown or not; false after a failed check.
  bool Start(const std::string& program, const std::string& options, const char* windowClass);
  Process& Program() { return process_; }
  HWND Window() const { return window_; }
  std::vector<std::string> Log() const;  // the lines of its log file

 private:
  Process process_;
  std::string log_;
  HWND window_ = nullptr;
};

class Session {
 public:
  // Starts the program and waits for its visible window titled "Mirravel" and its idle loop; false (after a
  // failed check) when it did not come up.
  bool Start(const std::string& program);
  // A program that another one started (jaPBe starts it as a tool): its main window, whatever its title.
  bool Attach(DWORD processId);
  Process& Program() { return program_; }
  HWND Main() const { return main_; }
  HWND Control(int id) const { return FindControl(main_, id); }
  HWND TabControl() const;
  bool ClickTab(int index);         // posted mouse clicks at the tab's centre

  // Puts the text into the find field (WM_SETTEXT, as if typed) and waits for the label to read `label`.
  bool TypeFindText(const std::string& text, const std::string& label);
  // A marker in the copy field, so that the next pick-up is seen even when it brings the same text.
  void MarkCopyField(const std::string& marker = "<unchanged>");
  bool WaitForCopyField(const std::string& expected);
  bool WaitForFocusIn(int id);
  // EM_EXGETSEL in the program's memory; (-1, -1) when it cannot be read.
  std::pair<std::int32_t, std::int32_t> ListSelection();
  // Round trips through the program's loop, so that what was posted before has been taken.
  void Settle();

  // Waits for a message box, checks its title and, unless null, its text, answers with `button` and waits
  // for it to go; returns its text ("" when none came).
  std::string AnswerBox(const std::string& title, const char* text = nullptr, int button = IDOK);
  void CloseAndExpectExitCode0();  // SC_CLOSE

 private:
  Process program_;
  HWND main_ = nullptr;
};

}  // namespace mirravel::e2e
