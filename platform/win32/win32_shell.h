// Starting a file through SHELL32's "open" verb.
#pragma once

#include "ports/shell_port.h"

namespace mirravel::platform {

class Win32Shell : public ShellPort {
 public:
  bool StartHidden(const std::string& file, const std::string& workingDirectory) override;
};

}  // namespace mirravel::platform
