// POSIX file system for the native build; a shared fcntl read lock stands in for denied write sharing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "platform/posix/posix_path.h"
#include "ports/file_system.h"

namespace mirravel::platform {

PathInfo ProbePath(const std::string& path) {
  struct stat info {};
  if (path.empty() || ::stat(PosixPath(path).c_str(), &info) != 0) return {};
  if (S_ISDIR(info.st_mode)) return {PathKind::Directory, 0};
  return {PathKind::File, static_cast<std::uint64_t>(info.st_size)};
}

bool IsDrivePresent(char) { return false; }

std::string OwnExecutablePath() {
  char buffer[4096];
  const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) return {};
  return std::string(buffer, static_cast<std::size_t>(length));
}

WriteDeniedFile::~WriteDeniedFile() { Close(); }

bool WriteDeniedFile::Open(const std::string& path) {
  Close();
  const int fd = ::open(PosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode) || ::fcntl(fd, F_SETLK, &lock) != 0) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

bool WriteDeniedFile::ReadAll(std::string& text) {
  if (!IsOpen()) return false;
  const int fd = static_cast<int>(handle_);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) return false;
  try {
    text.assign(static_cast<std::size_t>(info.st_size), '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  text.resize(done);  // a file that shrank while we read yields what was there
  return true;
}

void WriteDeniedFile::Close() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
  handle_ = -1;
}

bool WriteDeniedFile::IsOpen() const { return handle_ >= 0; }

}  // namespace mirravel::platform
