// The window layer as the program's logic sees it: controls by id, the list, events and message boxes.
// The Win32 main window implements it; tests use a scripted fake.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "ports/catalogue_load.h"

namespace mirravel {

struct WindowEvent {
  enum class Kind { None, Gadget, Menu, Close };
  Kind kind = Kind::None;
  int id = 0;
};

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  virtual std::string GetControlText(int id) = 0;
  // Setting a text field's text raises its change notification, as a user's edit would.
  virtual void SetControlText(int id, std::string_view text) = 0;
  // Check box: 1 checked, 0 not; tab panel: index of the current tab.
  virtual int GetControlState(int id) = 0;
  virtual void SetControlState(int id, int state) = 0;
  virtual void DisableControl(int id, bool disabled) = 0;
  // Gives a control the keyboard focus; a text field then holds its whole text selected, as in a dialog,
  // so that typing replaces it.
  virtual void FocusControl(int id) = 0;
  // Id of the control that has the keyboard focus, or kNoControl.
  virtual int FocusedControl() = 0;

  // The main window's handle as other programs address it (in messages to the host, for instance).
  virtual std::uintptr_t MainWindowHandle() = 0;
  virtual void SetTitle(std::string_view title) = 0;
  virtual void SetTopMost(bool topMost) = 0;

  // Modal box with the given title, text ("\n" breaks lines) and type; returns the answer.
  virtual int ShowMessageBox(std::string_view title, std::string_view text, unsigned type) = 0;

  // The list holds the only copy of the catalogue text: the packed block is decoded straight into it,
  // replacing it whole. CR LF, lone CR and lone LF each become one '\n', so positions count every line
  // break as one character; the text ends at its first zero byte. A failed load leaves the list as it was.
  virtual CatalogueLoad UnpackIntoList(const std::uint8_t* block, std::size_t blockSize) = 0;
  virtual std::string_view ListText() = 0;
  // Lines of the list's text; a final line break opens no further line.
  virtual std::int32_t ListLineCount() = 0;
  // Selects a range, which the list shows, scrolls into view and reports like a user's selection.
  virtual void SelectInList(std::int32_t start, std::int32_t end) = 0;

  // Brings the main window forward and shows the context menu at the mouse; items 1-3 greyed where
  // not available. A chosen item arrives later as a menu event.
  virtual void ShowContextMenu(const std::array<bool, 3>& available) = 0;

  // Dispatches one waiting window message (no keyboard shortcuts) or sleeps 1 ms.
  virtual void PumpOneMessage() = 0;
  // Next window event without waiting, keyboard shortcuts applied; Kind::None when nothing happened.
  virtual WindowEvent FetchEvent() = 0;
};

}  // namespace mirravel
