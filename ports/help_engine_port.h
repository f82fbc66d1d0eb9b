// The platform's help engine: one request per call for a help file, on behalf of an owner window.
#pragma once

#include <cstdint>
#include <string_view>

namespace mirravel {

// The help engine's commands in the platform's numbering. winuser.h defines the same names as macros
// with the same values; where it came first, its macros stand in for these.
#ifndef HELP_KEY
inline constexpr std::uint32_t HELP_QUIT = 0x0002;
inline constexpr std::uint32_t HELP_CONTENTS = 0x0003;
inline constexpr std::uint32_t HELP_KEY = 0x0101;
#endif

class HelpEnginePort {
 public:
  virtual ~HelpEnginePort() = default;
  // Hands the engine a command for the help file; the keyword is passed only with HELP_KEY (the other
  // commands carry 0). The engine's result is not examined.
  virtual void Request(std::uintptr_t owner, std::string_view helpFilePath, std::uint32_t command,
                       std::string_view keyword) = 0;
};

}  // namespace mirravel
