// POSIX file operations. Short writes and EINTR are retried; any other failure is reported, never
// passed over, so a rewrite never replaces a file with a part of its text.
#include "platform/posix/posix_file_operations.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/posix_path.h"
#include "ports/file_system.h"

namespace mirravel::platform {
namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t done = ::write(fd, data, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) return false;
    data += done;
    size -= static_cast<std::size_t>(done);
  }
  return true;
}

class PosixNewFile : public NewFile {
 public:
  explicit PosixNewFile(int fd) : fd_(fd) {}
  ~PosixNewFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  PosixNewFile(const PosixNewFile&) = delete;
  PosixNewFile& operator=(const PosixNewFile&) = delete;

  bool WriteLine(std::string_view text) override {
    return fd_ >= 0 && WriteAll(fd_, text.data(), text.size()) && WriteAll(fd_, "\r\n", 2);
  }
  bool Finish() override {
    if (fd_ < 0) return false;
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return synced && closed;
  }

 private:
  int fd_;
};

class OpenFile {
 public:
  OpenFile(const std::string& path, int flags, mode_t mode = 0) : fd_(::open(PosixPath(path).c_str(), flags | O_CLOEXEC, mode)) {}
  ~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  int Fd() const { return fd_; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::string> PosixFileOperations::ReadWholeFile(const std::string& path) {
  return ReadWholeFileWriteDenied(path);
}

std::unique_ptr<NewFile> PosixFileOperations::CreateNewFile(const std::string& path) {
  OpenFile file(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (file.Fd() < 0) return nullptr;
  return std::make_unique<PosixNewFile>(file.Release());
}

bool PosixFileOperations::MoveReplacing(const std::string& from, const std::string& to) {
  return ::rename(PosixPath(from).c_str(), PosixPath(to).c_str()) == 0;
}

bool PosixFileOperations::RemoveFile(const std::string& path) { return ::unlink(PosixPath(path).c_str()) == 0; }

bool PosixFileOperations::CopyReplacing(const std::string& from, const std::string& to) {
  const OpenFile source(from, O_RDONLY);
  struct stat info {};
  if (source.Fd() < 0 || ::fstat(source.Fd(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  OpenFile target(to, O_WRONLY | O_CREAT | O_TRUNC, (info.st_mode & 0777) | S_IWUSR);
  if (target.Fd() < 0) return false;
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(source.Fd(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return PosixNewFile(target.Release()).Finish();
    if (!WriteAll(target.Fd(), buffer, static_cast<std::size_t>(got))) return false;
  }
}

bool PosixFileOperations::MakeDirectories(const std::string& directory) {
  const std::string path = PosixPath(directory);
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    ::mkdir(path.substr(0, slash).c_str(), 0755);  // existing levels fail harmlessly
  }
  ::mkdir(path.c_str(), 0755);
  return IsDirectory(path);
}

std::string PosixFileOperations::TemporaryDirectory() {
  const char* configured = std::getenv("TMPDIR");
  return configured != nullptr && *configured != '\0' ? configured : "/tmp";
}

std::string PosixFileOperations::OwnExecutablePath() { return platform::OwnExecutablePath(); }

}  // namespace mirravel::platform
