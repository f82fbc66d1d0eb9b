// Registry values and the version number through ADVAPI32 and KERNEL32; keys are opened for reading only.
#pragma once

#include "ports/registry_port.h"

namespace mirravel::platform {

class Win32Registry : public RegistryPort {
 public:
  std::uint32_t SystemVersion() override;
  std::optional<std::string> ReadDefaultValue(RegistryRoot root, std::string_view keyPath, std::size_t capacity) override;
};

}  // namespace mirravel::platform
