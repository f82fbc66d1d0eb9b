// What the program needs from the file system, implemented once per platform (win32/, posix/).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mirravel::platform {

enum class PathKind { Missing, Directory, File };

struct PathInfo {
  PathKind kind = PathKind::Missing;
  std::uint64_t size = 0;
};

// Looks a path up as it stands (no wildcards, no trailing separator handling).
PathInfo ProbePath(const std::string& path);

// True when the drive letter names a present drive (always false where there are no drives).
bool IsDrivePresent(char driveLetter);

// Full path of the running executable; empty when the system does not say.
std::string OwnExecutablePath();

// A file opened for reading with writing by others denied until it is closed.
class WriteDeniedFile {
 public:
  WriteDeniedFile() = default;
  ~WriteDeniedFile();
  WriteDeniedFile(const WriteDeniedFile&) = delete;
  WriteDeniedFile& operator=(const WriteDeniedFile&) = delete;

  bool Open(const std::string& path);
  // Reads the whole file into text; false when it cannot be read or held (never a part of it).
  bool ReadAll(std::string& text);
  void Close();
  bool IsOpen() const;

 private:
  std::intptr_t handle_ = -1;
};

// The whole content of a file, read with writers denied; nothing when it cannot be opened or read.
inline std::optional<std::string> ReadWholeFileWriteDenied(const std::string& path) {
  WriteDeniedFile file;
  std::string text;
  if (!file.Open(path) || !file.ReadAll(text)) return std::nullopt;
  return text;
}

}  // namespace mirravel::platform
