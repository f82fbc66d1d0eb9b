// A running mirravel.exe as the suites see it: its main window, its controls by id, the tab control and
// pages, and the catalogue text it was built with, for the expected results.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

// Control ids of the program.
enum : int {
  kHelpButtonId = 0,
  kTabPanelId = 1,
  kCopyFieldId = 2,
  kAlwaysOnTopId = 3,
  kCopyButtonId = 4,
  kFindLabelId = 5,
  kFindFieldId = 6,
  kFindButtonId = 7,
  kListId = 8,
  kRegisterButtonId = 9,
  kAboutButtonId = 10,
  kOnlyValueId = 11,
};

class MirravelSession {
 public:
  // Starts the program and waits until its window is up and its loop idle; false (after a failed
  // check) when it did not come up.
  bool Start(const std::string& programPath);
  // The same for a program that another one started (jaPBe, as a tool), by its process id. Waits for the
  // main window whatever its title (the start-up search changes it).
  bool Attach(DWORD processId);
  Process& Program() { return program_; }
  HWND Main() const { return main_; }
  HWND Control(int id) const { return FindControl(main_, id); }
  HWND TabControl() const;
  // The page windows, children of the tab control, in tab order.
  std::vector<HWND> Pages() const;

  // The find field gets the text (WM_SETTEXT, as if typed); waits until the label shows `label`.
  bool TypeFindText(const std::string& text, const std::string& label);
  // Posts a key press to a window of the program.
  void PressKey(HWND window, UINT virtualKey) { PostKeyPress(window, virtualKey); }
  // Waits until the copy field shows `expected`.
  bool WaitForCopyField(const std::string& expected, DWORD timeoutMs = kDefaultTimeoutMs);
  // Puts a marker into the copy field, so that the next pick-up, even of the same text, is seen.
  void MarkCopyField(const std::string& marker = "<unchanged>");
  // Clicks a tab of the tab control (by posted mouse messages at the tab's centre).
  bool ClickTab(int index);
  // The selection of the list as (start, end), through EM_EXGETSEL in the program's memory.
  bool ListSelection(std::int32_t& start, std::int32_t& end);
  // Round trips through the program's message loop, so that what was posted before has been taken.
  void Settle();
  // Waits for a message box, checks its title and text, answers OK and waits for it to go.
  bool ExpectMessageBox(const std::string& title, const std::string& text);
  // Like ExpectMessageBox, answering with the button buttonId (IDYES, IDNO, ...).
  bool ExpectMessageBoxAnswering(const std::string& title, const std::string& text, int buttonId);
  // Waits for a message box, answers OK and returns its text ("" when none came).
  std::string ReadMessageBox();
  // True when no message box of the program shows up within the time.
  bool NoMessageBoxWithin(DWORD timeoutMs);
  // Closes the window and checks the exit code 0.
  void CloseAndExpectExitCode0();

 private:
  Process program_;
  HWND main_ = nullptr;
};

// The catalogue as the program's list holds it: each line break (CR LF, CR or LF) is one '\n'.
class ExpectedCatalogue {
 public:
  bool Load(const std::string& path);
  const std::string& Text() const { return text_; }
  int LineCount() const;
  // Positions of every match at or after `from`, letters compared without regard to case; with
  // wholeWord only matches that do not continue a word at either end.
  std::vector<std::int32_t> Matches(const std::string& pattern, bool wholeWord) const;
  // The text from the start of the line holding `position` up to its first apostrophe or its end.
  std::string DefinitionAt(std::int32_t position) const;
  std::int32_t LineStartAt(std::int32_t position) const;
  std::int32_t LineStartOf(const std::string& lineStart) const;  // -1 when no line starts so

 private:
  std::string text_;
};

}  // namespace mirravel::e2e
