// Look-ups over the main window's layout and the tab page rule.
#include "ui/main_window_layout.h"

namespace mirravel {

const ControlLayout* FindControlLayout(int id) {
  for (const ControlLayout& control : kMainWindowControls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

LayoutRect TabPageRect(int tabClientWidth, int tabClientHeight, int stripHeight) {
  return {2, stripHeight + 4, tabClientWidth - 4, tabClientHeight - stripHeight - 6};
}

}  // namespace mirravel
