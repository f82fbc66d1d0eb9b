// Where jaPBe is installed, as the registry records it, and the paths Mirravel keeps below that directory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ports/registry_port.h"
#include "support/registry_text.h"

namespace mirravel {

inline constexpr std::string_view kToolsFileName = "jaPBe-Tools";
inline constexpr std::string_view kPluginDirectoryName = "Plugin\\";
inline constexpr std::string_view kPluginCopyName = "Plugin\\Mirravel.exe";

// jaPBe's directory with a trailing backslash, or "" when no record names one. Tries PureBasic's edit
// command, then the two ".pbi" open commands, until a candidate is an existing directory; a later
// lookup that reads nothing leaves an earlier candidate standing, even one that failed the test.
std::string FindJaPBeDirectory(RegistryPort& registry);

struct PluginPaths {
  std::string pluginDirectory;  // with its trailing backslash
  std::string toolsFile;
  std::string pluginCopy;
};

PluginPaths PluginPathsIn(const std::string& japbeDirectory);

}  // namespace mirravel
