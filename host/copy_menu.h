// The context menu of the copy field: its items, when they are available, and the value-only text.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ports/menu_item.h"
#include "ports/control_ids.h"

namespace mirravel {

inline constexpr std::string_view kMenuCopyToHostText = "Copy to to jaPBe";
inline constexpr std::string_view kMenuCopyValueToHostText = "Copy value only to jaPBe";
inline constexpr std::string_view kMenuCopyToClipboardText = "Copy to clipboard";

std::vector<MenuItem> CopyMenuItems();

// Availability of items 1, 2, 3: the host commands need plugin mode, and nothing is offered for an
// empty copy field.
std::array<bool, 3> CopyMenuAvailability(bool pluginMode, bool copyFieldEmpty);

// What "Copy value only to jaPBe" sends: the text after its first "=" with blanks (not tabs) trimmed at
// both ends, or the whole text unchanged when it holds no "=".
std::string ValueOnlyPart(std::string_view text);

}  // namespace mirravel
