// Whether jaPBe's tools file holds Mirravel's entry: the entry the register button removes (found by
// its command) and the state the About box shows (found by its menu caption).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ports/registry_port.h"

namespace mirravel {

struct ToolsFileScan {
  bool opened = false;      // the tools file could be opened and read
  std::int32_t count = 0;   // "ToolCount" of "ToolsInfo", 0 when absent
  std::int32_t found = 0;   // the first entry 1..count whose "Command" names Mirravel; 0 when none
};

// Reads the tools file and closes it again before returning, so that it can be rewritten.
ToolsFileScan ScanToolsFile(const std::string& toolsFile);
// The same scan of the tools file's text as read for a rewrite.
ToolsFileScan ScanToolsText(std::string text);

// "Yes" when an entry captioned "Mirravel" stands in the tools file, otherwise "Auto" when a non-empty
// plug-in copy exists, otherwise "No". Looks everything up afresh.
std::string_view PluginRegistrationState(RegistryPort& registry);

}  // namespace mirravel
