// Where win32.hlp is: the PureBasic directory from its registered open command, and the help file below it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ports/registry_port.h"
#include "support/registry_text.h"

namespace mirravel {

inline constexpr std::string_view kPureBasicOpenCommandKey = "Applications\\PureBasic.exe\\shell\\open\\command";
inline constexpr std::string_view kPureBasicClassOpenCommandKey =
    "Software\\Classes\\PureBasic.exe\\shell\\open\\command";
inline constexpr std::string_view kHelpFileName = "help\\win32.hlp";

// The directory (with its trailing backslash) of the PureBasic executable as the registry records its
// open command, or the empty text.
std::string FindPureBasicDirectory(RegistryPort& registry);

// The help file's path when a file of more than zero bytes is there, else the empty text.
std::string LocateHelpFilePath(RegistryPort& registry);

}  // namespace mirravel
