// Context-menu items and their availability rule.
#include "host/copy_menu.h"

namespace mirravel {

std::vector<MenuItem> CopyMenuItems() {
  return {{kMenuCopyToHost, kMenuCopyToHostText},
          {kMenuCopyValueToHost, kMenuCopyValueToHostText},
          {kMenuCopyToClipboard, kMenuCopyToClipboardText}};
}

std::array<bool, 3> CopyMenuAvailability(bool pluginMode, bool copyFieldEmpty) {
  if (copyFieldEmpty) return {false, false, false};
  return {pluginMode, pluginMode, true};
}

}  // namespace mirravel
