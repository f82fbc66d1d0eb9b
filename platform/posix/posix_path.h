// The program composes Windows paths; the native build maps their backslash separators onto POSIX ones.
#pragma once

#include <algorithm>
#include <string>

namespace mirravel::platform {

inline std::string PosixPath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace mirravel::platform
