// The Windows help engine through WinHelpA.
#pragma once

#include "ports/help_engine_port.h"

namespace mirravel::platform {

class Win32HelpEngine : public HelpEnginePort {
 public:
  void Request(std::uintptr_t owner, std::string_view helpFilePath, std::uint32_t command,
               std::string_view keyword) override;
};

}  // namespace mirravel::platform
