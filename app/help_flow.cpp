// The help flow: the help/ logic decides, the ports act, AppState remembers the help window and where
// Mirravel stood before it stepped aside.
#include "app/help_flow.h"

#include <string>

#include "help/help_file.h"
#include "help/help_window.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"
#include "ports/platform_port.h"
#include "ports/window_port.h"
#include "ui/control_focus.h"

namespace mirravel {
namespace {

WindowHandle WaitForHelpWindow(AppState& state, WindowPort& window, PlatformPort& platform) {
  ClockPort& clock = platform.Clock();
  const std::uint32_t deadline = clock.TickCount() + kHelpWindowWaitMs;
  for (;;) {
    window.PumpOneMessage();
    state.helpWindow = FindHelpWindow(platform.Desktop());
    if (state.helpWindow != 0 || IsTickPast(clock.TickCount(), deadline)) return state.helpWindow;
  }
}

void ReportTimeOut(AppState& state, WindowPort& window) {
  // The box must not hide behind a top-most Mirravel; the user's setting holds again afterwards.
  window.SetTopMost(false);
  window.ShowMessageBox(kHelpTimeOutTitle,
                        "Could not find help window in " + std::to_string(kHelpWindowWaitMs) + " ms !\n< " +
                            std::string(kHelpWindowTitle) + " >",
                        kBoxTaskModalExclamation);
  window.SetTopMost(state.alwaysOnTop == 1);
}

}  // namespace

void LocateHelpFile(AppState& state, WindowPort& window, PlatformPort& platform) {
  state.helpFilePath = LocateHelpFilePath(platform.Registry());
  if (!state.helpFilePath.empty()) window.DisableControl(kHelpButton, false);
}

void OpenHelp(AppState& state, WindowPort& window, PlatformPort& platform) {
  const std::string copyText = window.GetControlText(kCopyField);
  if (state.helpFilePath.empty()) return;
  const std::string keyword = HelpKeyword(copyText);
  platform.HelpEngine().Request(window.MainWindowHandle(), state.helpFilePath,
                                keyword.empty() ? HELP_CONTENTS : HELP_KEY, keyword);
  if (WaitForHelpWindow(state, window, platform) != 0) {
    PlaceHelpWindow(state, window, platform);
  } else {
    ReportTimeOut(state, window);
  }
}

void PlaceHelpWindow(AppState& state, WindowPort& window, PlatformPort& platform) {
  DesktopPort& desktop = platform.Desktop();
  state.helpWindow = FindHelpWindow(desktop);
  if (state.helpWindow == 0 || state.helpWindowMoved == 1) return;
  const WindowHandle main = window.MainWindowHandle();
  const ScreenRect mainRect = desktop.WindowRect(main);
  state.savedWindowX = mainRect.left;
  state.savedWindowY = mainRect.top;
  desktop.MoveWindowTo(main, 0, 0);
  const WindowPlacement help =
      HelpWindowPlacement(desktop.WorkArea(), desktop.ClientWidth(main), desktop.FixedFrameWidth());
  desktop.PlaceWindow(state.helpWindow, help.x, help.y, help.width, help.height);
  desktop.SetFocusTo(main);
  state.helpWindowMoved = 1;
}

void CheckHelpClosed(AppState& state, WindowPort& window, PlatformPort& platform) {
  DesktopPort& desktop = platform.Desktop();
  if (state.helpWindowMoved != 1 || IsHelpProcessAlive(desktop, state.helpWindow)) return;
  state.helpWindow = FindHelpWindow(desktop);
  if (state.helpWindow != 0) return;  // another help window is up: its process is tested next turn
  desktop.MoveWindowTo(window.MainWindowHandle(), state.savedWindowX, state.savedWindowY);
  FocusIfShown(window, kFindField);
  state.helpWindowMoved = 0;
}

void QuitHelp(AppState& state, WindowPort& window, PlatformPort& platform) {
  if (IsHelpProcessAlive(platform.Desktop(), state.helpWindow)) {
    platform.HelpEngine().Request(window.MainWindowHandle(), state.helpFilePath, HELP_QUIT, {});
  }
}

}  // namespace mirravel
