// The program's message boxes: modal to every window of the thread, owned by the foreground window
// only when that window is the program's own.
#pragma once

#include <string_view>

namespace mirravel::platform {

// MessageBoxA with the title, text and type; returns the answer (IDOK, IDYES, ...). While the box is
// open every other visible, enabled top-level window of the thread is disabled.
int ShowModalMessageBox(std::string_view title, std::string_view text, unsigned type);

}  // namespace mirravel::platform
