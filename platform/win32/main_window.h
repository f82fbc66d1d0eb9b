// The program's one top-level window and its parts: window class and placement, the controls by id,
// the tab pages, the keyboard shortcuts, the message hook and the events that its messages produce.
#pragma once

#include <windows.h>

#include <array>

#include "ports/platform_port.h"
#include "catalogue/catalogue_text.h"
#include "ui/event_queue.h"
#include "ui/main_window_layout.h"

namespace mirravel::platform {

inline constexpr char kMainWindowClassName[] = "MirravelMainWindow";
inline constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
inline constexpr int kProgramIconId = 1;

class MainWindow {
 public:
  static constexpr int kControlCount = static_cast<int>(kMainWindowControls.size());

  // Registers the class, opens the window centred and builds every control; false when the window
  // cannot be opened.
  bool Open(HINSTANCE instance);
  // Destroys the window with its controls, the tooltip control and the keyboard shortcuts.
  void Close();

  HWND Window() const { return window_; }
  // The control with that id (for the tab panel, its container); nullptr for an unknown id.
  HWND Control(int id) const;
  // Id of the control that is, or holds, the given window; kNoControl when none.
  int ControlId(HWND window) const;
  HWND TabControl() const { return tabControl_; }
  HWND List() const { return Control(kListView); }
  // The catalogue as the list shows it: after loading, the only copy of the text.
  CatalogueText& ListText() { return listText_; }
  HACCEL Shortcuts() const { return shortcuts_; }
  // The windows that Tab walks, in order (the tab control stands for the panel).
  std::array<HWND, kControlCount> TabOrder() const;

  void SetHook(MessageHook* hook) { hook_ = hook; }
  EventQueue& Events() { return events_; }

  // Places both pages by the page rule and shows only the current tab's page.
  void ShowCurrentPage();

  // Every message of the main window, and the commands and notifications of the panel and the pages.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend class MainWindowBuilder;

  bool RunHook(UINT message, WPARAM wParam, LPARAM lParam);
  bool HookListNotification(const NMHDR& header, LPARAM lParam);
  bool HookCopyData(WPARAM sender, const COPYDATASTRUCT& record);
  LRESULT OnNotify(HWND window, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::array<HWND, kControlCount> controls_{};  // by id
  HWND tabControl_ = nullptr;
  std::array<HWND, kTabCaptions.size()> pages_{};
  HWND tooltip_ = nullptr;
  HACCEL shortcuts_ = nullptr;
  MessageHook* hook_ = nullptr;
  EventQueue events_;
  CatalogueText listText_;
};

// Gives a control the focus as a dialog does: a text field gets its whole text selected, so typing replaces it.
void FocusAsDialogsDo(HWND control);

// Start of a window of size `outer` centred on a screen of size `screen` along one axis; a window larger
// than the screen starts at the screen's edge, never before it.
int CenteredStart(int screen, int outer);

}  // namespace mirravel::platform
