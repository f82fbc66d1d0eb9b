// Driving one running program and the stand-in peer.
#include "tests/e2e/suites/session.h"

#include <commctrl.h>
#include <richedit.h>


namespace mirravel::e2e {

Peer::~Peer() {
  process_.Terminate();
  ::DeleteFileA(log_.c_str());
}

bool Peer::Start(const std::string& program, const std::string& options, const char* windowClass) {
  char directory[MAX_PATH] = {};
  char path[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, directory);
  ::GetTempFileNameA(directory, "pee", 0, path);
  log_ = path;
  if (!CHECK(process_.Start(Quoted(program) + " --log " + Quoted(log_) + " " + options))) return false;
  window_ = WaitForTopLevelWindow(process_.Id(), windowClass, nullptr, false);
  return CHECK_NOTE(window_ != nullptr, std::string("the stand-in's window of class ") + windowClass);
}

std::vector<std::string> Peer::Log() const { return FileLines(log_); }

bool Session::Start(const std::string& program) {
  if (!CHECK_NOTE(program_.Start(Quoted(program)), "start " + program)) return false;
  main_ = WaitForTopLevelWindow(program_.Id(), nullptr, "Mirravel");
  if (!CHECK_NOTE(main_ != nullptr, "a visible window titled Mirravel")) return false;
  ::WaitForInputIdle(program_.Handle(), kDefaultTimeoutMs);  // the catalogue is loaded before the loop runs
  Settle();
  return true;
}

bool Session::Attach(DWORD processId) {
  if (!CHECK_NOTE(program_.Attach(processId), "open process " + std::to_string(processId))) return false;
  main_ = WaitForTopLevelWindow(program_.Id(), "MirravelMainWindow", nullptr);
  if (!CHECK_NOTE(main_ != nullptr, "the main window of the started program")) return false;
  Settle();
  return true;
}

HWND Session::TabControl() const {
  HWND panel = Control(kTabPanel);
  return panel ? ::FindWindowExA(panel, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
}

bool Session::ClickTab(int index) {
  HWND tab = TabControl();
  RECT item{};
  if (!SendForRecord(program_.Handle(), tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), item)) return false;
  ClickAt(tab, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  Settle();
  return true;
}

bool Session::TypeFindText(const std::string& text, const std::string& label) {
  // The change notification is queued before anything posted afterwards, so later keys see this text.
  return SetText(Control(kFindField), text) &&
         WaitUntil([&] { return GetText(Control(kFindLabel)) == label && GetText(Control(kFindField)) == text; });
}

void Session::MarkCopyField(const std::string& marker) {
  SetText(Control(kCopyField), marker);
  Settle();
}

bool Session::WaitForCopyField(const std::string& expected) {
  return WaitUntil([&] { return GetText(Control(kCopyField)) == expected; });
}

bool Session::WaitForFocusIn(int id) {
  return WaitUntil([&] { return FocusOf(main_) == Control(id); });
}

std::pair<std::int32_t, std::int32_t> Session::ListSelection() {
  CHARRANGE range{-1, -1};
  SendForRecord(program_.Handle(), Control(kListView), EM_EXGETSEL, 0, range);
  return {range.cpMin, range.cpMax};
}

void Session::Settle() {
  // A sent message is taken when the program next looks at its queue; two of them with a pause bracket at
  // least one full turn of its loop.
  for (int i = 0; i < 2; ++i) {
    Send(main_, WM_NULL, 0, 0, 2000);
    ::Sleep(30);
  }
}

std::string Session::AnswerBox(const std::string& title, const char* text, int button) {
  const MessageBoxInfo box = WaitForMessageBox(program_.Id());
  if (!CHECK_NOTE(box.window != nullptr, "a message box \"" + title + "\"")) return {};
  CHECK_EQ(title, box.title);
  if (text != nullptr) CHECK_EQ(std::string(text), box.text);
  CHECK_NOTE(AnswerMessageBox(box.window, button), "the box has the button " + std::to_string(button));
  CHECK_NOTE(WaitUntil([&] { return !::IsWindowVisible(box.window); }), "the box goes after the answer");
  if (program_.IsRunning()) Settle();
  return box.text;
}

void Session::CloseAndExpectExitCode0() {
  Post(main_, WM_SYSCOMMAND, SC_CLOSE);
  CHECK_EQ(0LL, program_.WaitForExit());
}

}  // namespace mirravel::e2e
