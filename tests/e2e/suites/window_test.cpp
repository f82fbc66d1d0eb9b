// The main window as a user meets it: a fixed, centred, top-most window with its icon and background; a tab
// change, "Always on top", Tab and Shift+Tab, re-activation focus, exit code 0 after SC_CLOSE. The controls
// as built are the window-layer suite's; where the focus goes and the tab order the unit tests'.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

void CheckTopLevelWindow(Session& session, const std::string& program) {
  SetContext("top-level window");
  HWND main = session.Main();
  const DWORD wanted = WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  const DWORD unwanted = WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP;
  CHECK_EQ(wanted, Style(main) & (wanted | unwanted));
  CHECK(IsTopMost(main) && ::GetWindow(main, GW_OWNER) == nullptr);
  // Odd sizes: centred within half a pixel either way.
  CHECK_EQ(Describe(RECT{0, 0, 425, 303}), Describe(ClientRect(main)));
  const RECT place = WindowRect(main);
  CHECK_NOTE(std::abs(place.left + place.right - ::GetSystemMetrics(SM_CXSCREEN)) <= 1 &&
                 std::abs(place.top + place.bottom - ::GetSystemMetrics(SM_CYSCREEN)) <= 1,
             "centred: " + Describe(place));

  // Another process's class data is unreadable under Wine: the icon comes from the executable, the background
  // from the screen where no control is.
  HMODULE image = ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC group = image ? ::FindResourceA(image, MAKEINTRESOURCEA(1), RT_GROUP_ICON) : nullptr;
  const auto* icons = group ? static_cast<const BYTE*>(::LockResource(::LoadResource(image, group))) : nullptr;
  CHECK_EQ(std::string("32 16"), icons && icons[4] == 2 ? std::to_string(icons[6]) + " " + std::to_string(icons[20]) : "");
  if (image) ::FreeLibrary(image);
  const auto face = static_cast<unsigned long>(::GetSysColor(COLOR_BTNFACE));
  CHECK(WaitUntil([&] { return ScreenPixel(main, {200, 277}) == face; }, 3000));  // the first paint may be late
}

// "Always on top" starts checked, as its first click shows; back on the first page the find field has the focus.
void CheckTabChange(Session& session) {
  SetContext("tab change to Options");
  CHECK(session.ClickTab(1));
  CHECK(WaitUntil([&] { return ::IsWindowVisible(session.Control(kAboutButton)); }));
  for (const bool topMost : {false, true}) {
    Click(session.Control(kAlwaysOnTopBox));
    CHECK_NOTE(WaitUntil([&] { return IsTopMost(session.Main()) == topMost; }), "top-most follows the box");
  }
  SetContext("tab change back");
  CHECK(session.ClickTab(0));
  CHECK(WaitUntil([&] { return !::IsWindowVisible(session.Control(kAboutButton)); }));
  CHECK(session.WaitForFocusIn(kFindField));
}

// Tab walks round once past the disabled "?" and copy buttons and the hidden page, Shift+Tab one step back.
void CheckTabKeys(Session& session) {
  const struct { bool shift; int id; } steps[] = {  // kNoControl: the tab control
      {false, kFindButton}, {false, kOnlyValueBox}, {false, kListView},  {false, kAlwaysOnTopBox},
      {false, kCopyField},  {false, kNoControl},    {false, kFindField}, {true, kNoControl}};
  ::SetForegroundWindow(session.Main());
  CHECK(WaitUntil([&] { return ::GetForegroundWindow() == session.Main(); }));
  for (const auto& step : steps) {
    SetContext(std::string(step.shift ? "Shift+Tab" : "Tab") + " to control " + std::to_string(step.id));
    HWND expected = step.id == kNoControl ? session.TabControl() : session.Control(step.id);
    step.shift ? SendKeys({VK_SHIFT, VK_TAB}) : SendKeys({VK_TAB});
    CHECK(WaitUntil([&] { return ThreadFocus(session.Main()).hwndFocus == expected; }));
  }
}

// Activated again, the window gives the focus back to the find field, its text selected (to any other
// control as well: the unit tests'). The other window is a second instance's: Wine would hand a window of
// the suite's own the foreground only while the suite reads its messages.
void CheckReactivation(Session& session, const std::string& program) {
  Session second;
  if (!second.Start(program)) return;
  HWND main = session.Main();
  // Wait until the program has seen the switch and it holds: a late X focus event may undo it.
  const auto switchTo = [&](HWND window) {
    const auto done = [&] {
      return ::GetForegroundWindow() == window && (ThreadFocus(main).hwndActive == main) == (window == main);
    };
    return WaitUntil([&] {
      if (!done()) {
        ::SetForegroundWindow(window);
        return false;
      }
      ::Sleep(300);
      return done();
    });
  };
  SetContext("reactivation");
  CHECK(switchTo(main));
  CHECK(SetText(session.Control(kFindField), "#WS_EX_TOOLWINDOW"));
  ClickAt(session.Control(kFindField), {2, 2});  // the caret before its text
  CHECK(session.WaitForFocusIn(kFindField));
  CHECK(switchTo(second.Main()) && switchTo(main));
  CHECK(session.WaitForFocusIn(kFindField));
  SendKeys({'4'}), SendKeys({'2'});  // replacing the selected text; the field's change reaches the program
  CHECK(WaitUntil([&] { return GetText(session.Control(kFindField)) == "42"; }));
  CHECK(WaitUntil([&] { return GetText(session.Control(kFindLabel)) == "Value to find :"; }));
}

}  // namespace

void RunWindowSuite(const SuitePaths& paths) {
  Session session;
  if (!session.Start(paths.program)) return;
  CheckTopLevelWindow(session, paths.program);
  CheckTabChange(session);
  CheckTabKeys(session);
  CheckReactivation(session, paths.program);
  SetContext("close");
  session.CloseAndExpectExitCode0();
}

}  // namespace mirravel::e2e
