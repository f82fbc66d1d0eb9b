// QueryFileSize: size of a file, or whether a path is missing or a directory.
#pragma once

#include <cstdint>
#include <string_view>

namespace mirravel {

inline constexpr std::int64_t kPathMissing = -1;
inline constexpr std::int64_t kPathIsDirectory = -2;
inline constexpr std::size_t kMaxPathLength = 1023;

// The file's size (its low 32 bits, as a non-negative number), kPathMissing or kPathIsDirectory.
// A drive letter with a colon (and an optional backslash) is a directory when the drive is present.
// One trailing backslash of any other path is ignored. Wildcards never match anything.
std::int64_t QueryFileSize(std::string_view path);

}  // namespace mirravel
