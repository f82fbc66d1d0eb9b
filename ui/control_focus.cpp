// The program's focus moves, checked against the tab page that shows.
#include "ui/control_focus.h"

#include "ports/window_port.h"
#include "ui/main_window_layout.h"

namespace mirravel {

bool IsControlShown(WindowPort& window, int id) {
  const ControlLayout* layout = FindControlLayout(id);
  if (layout == nullptr) return false;
  if (layout->parent == ControlParent::Window) return true;
  const int page = layout->parent == ControlParent::FindPage ? kFindTab : kOptionsTab;
  return window.GetControlState(kTabPanel) == page;
}

void FocusIfShown(WindowPort& window, int id) {
  if (IsControlShown(window, id)) window.FocusControl(id);
}

}  // namespace mirravel
