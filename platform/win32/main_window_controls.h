// Building the main window's contents: keyboard shortcuts, the controls in their order, the tab panel
// with its pages, one tooltip control for all tips, and the initial states.
#pragma once

#include <windows.h>

#include "platform/win32/main_window.h"

namespace mirravel::platform {

// Fills the freshly opened window; ends with the keyboard focus in the find field.
void BuildMainWindowControls(MainWindow& main, HINSTANCE instance);

}  // namespace mirravel::platform
