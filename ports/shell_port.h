// Starting another program's file through the system shell.
#pragma once

#include <string>

namespace mirravel {

class ShellPort {
 public:
  virtual ~ShellPort() = default;
  // Opens the file with the shell's "open" verb, no parameters, in the working directory, its window
  // hidden; does not wait. False when it could not be started.
  virtual bool StartHidden(const std::string& file, const std::string& workingDirectory) = 0;
};

}  // namespace mirravel
