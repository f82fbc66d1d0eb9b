// What the program needs from the file system, implemented once per platform (win32/, posix/).
#pragma once

#include <cstdint>
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
  // Reads the whole file into text; false when it cannot be read or held.
  bool ReadAll(std::string& text);
  void Close();
  bool IsOpen() const;

 private:
  std::intptr_t handle_ = -1;
};

}  // namespace mirravel::platform
