// Driving one running program and the stand-in peer.
#include "tests/e2e/suites/session.h"

#include <commctrl.h>

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

bool Session::Start(const std::string& program) {
  return CHECK_NOTE(program_.Start(Quoted(program)), "start " + program) && FindMain(nullptr, "Mirravel");
}

bool Session::Attach(DWORD processId) {
  return CHECK_NOTE(program_.Attach(processId), "open process " + std::to_string(processId)) &&
         FindMain("MirravelMainWindow", nullptr);
}

bool Session::FindMain(const char* className, const char* title) {
  main_ = WaitForTopLevelWindow(program_.Id(), className, title);
  if (!CHECK_NOTE(main_ != nullptr, std::string("the main window ") + (title ? title : className))) return false;
  // Started here: the catalogue is loaded before the loop runs. Attached: start-up may be waiting on jaPBe.
  if (title != nullptr) ::WaitForInputIdle(program_.Handle(), kDefaultTimeoutMs);
  Settle();
  return true;
}

HWND Session::TabControl() const { return ::FindWindowExA(Control(kTabPanel), nullptr, WC_TABCONTROLA, nullptr); }

bool Session::ClickTab(int index) {
  HWND tab = TabControl();
  RECT item{};
  if (!SendForRecord(program_.Handle(), tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), item)) return false;
  ClickAt(tab, {(item.left + item.right) / 2, (item.top + item.bottom) / 2});
  Settle();
  return true;
}

void Session::Settle() {
  // Two sent messages with a pause bracket at least one full turn of the program's loop.
  for (int i = 0; i < 2; ++i) {
    Send(main_, WM_NULL, 0, 0, 2000);
    ::Sleep(30);
  }
}

std::string Session::AnswerBox(const std::string& title, int button) {
  HWND box = WaitForTopLevelWindow(program_.Id(), "#32770", nullptr);
  if (!CHECK_NOTE(box != nullptr, "a message box \"" + title + "\"")) return {};
  const std::string boxText = MessageBoxText(box);
  CHECK_EQ(title, GetText(box));
  HWND answer = ::GetDlgItem(box, button);
  if (CHECK_NOTE(answer != nullptr, "the box has the button " + std::to_string(button))) Click(answer);
  CHECK_NOTE(WaitUntil([&] { return !::IsWindowVisible(box); }), "the box goes after the answer");
  if (program_.IsRunning()) Settle();
  return boxText;
}

void Session::CloseAndExpectExitCode0() {
  Post(main_, WM_SYSCOMMAND, SC_CLOSE);
  CHECK_EQ(0LL, program_.WaitForExit());
}

}  // namespace mirravel::e2e
