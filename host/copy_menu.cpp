// Context-menu items, their availability rule and the value part of a definition.
#include "host/copy_menu.h"

#include "support/text.h"

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

std::string ValueOnlyPart(std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return std::string(text);
  return Trim(text.substr(equals + 1));
}

}  // namespace mirravel
