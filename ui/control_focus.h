// Where the program may put the keyboard focus: only into a control the user can see, so the next keys
// never edit a field on the hidden tab page.
#pragma once

namespace mirravel {

class WindowPort;

// True when the control stands on the window itself or on the tab page that shows now; false for an
// unknown id.
bool IsControlShown(WindowPort& window, int id);

// Gives the control the focus while it shows (a text field then holds its whole text selected, as in a
// dialog); otherwise the focus stays on the control the user used.
void FocusIfShown(WindowPort& window, int id);

}  // namespace mirravel
