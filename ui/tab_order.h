// Which control the Tab key moves the keyboard focus to.
#pragma once

#include <vector>

namespace mirravel {

// Controls in Tab order, each marked whether it can take the focus now (a visible, enabled tab stop).
// Returns the index of the next such control after `current` (before it when backward), wrapping around
// at either end; from a control not in the list (-1 or out of range) the first, or with backward the
// last, such control. -1 when none can take the focus.
int NextTabStop(const std::vector<bool>& canTakeFocus, int current, bool backward);

}  // namespace mirravel
