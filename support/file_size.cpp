// The path rules of QueryFileSize; the lookup itself is the platform's.
#include "support/file_size.h"

#include <string>

#include "ports/file_system.h"

namespace mirravel {

static bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static bool IsDriveRoot(std::string_view path) {
  return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && IsLetter(path[0]) && path[1] == ':';
}

std::int64_t QueryFileSize(std::string_view path) {
  if (path.empty() || path.size() > kMaxPathLength) return kPathMissing;
  // A wildcard would make the lookup report the first of many matches as if it were this path.
  if (path.find_first_of("*?") != std::string_view::npos) return kPathMissing;
  if (IsDriveRoot(path) && platform::IsDrivePresent(path[0])) return kPathIsDirectory;
  if (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
  const platform::PathInfo info = platform::ProbePath(std::string(path));
  switch (info.kind) {
    case platform::PathKind::Directory:
      return kPathIsDirectory;
    case platform::PathKind::File:
      return static_cast<std::int64_t>(info.size & 0xFFFFFFFFu);
    case platform::PathKind::Missing:
      break;
  }
  return kPathMissing;
}

}  // namespace mirravel
