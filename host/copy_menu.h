// The context menu of the copy field: its items and when they are available.
#pragma once

#include <array>
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

}  // namespace mirravel
