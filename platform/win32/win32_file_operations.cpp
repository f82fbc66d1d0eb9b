// Win32 file operations. Reads and writes report every failure; a new file counts as written only once
// FlushFileBuffers and CloseHandle have both succeeded.
#include "platform/win32/win32_file_operations.h"

#include <windows.h>

#include "ports/file_system.h"

namespace mirravel::platform {
namespace {

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!IsValid()) return false;
    const bool closed = ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

bool WriteAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(file, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

class Win32NewFile : public NewFile {
 public:
  explicit Win32NewFile(HANDLE file) : file_(file) {}
  bool WriteLine(std::string_view text) override {
    return file_.IsValid() && WriteAll(file_.Get(), text.data(), text.size()) && WriteAll(file_.Get(), "\r\n", 2);
  }
  bool Finish() override {
    if (!file_.IsValid()) return false;
    const bool flushed = ::FlushFileBuffers(file_.Get()) != 0;
    return file_.Close() && flushed;
  }

 private:
  Handle file_;
};

bool IsDirectory(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Where the levels that can be created begin: after "C:\" or after "\\server\share\".
std::size_t FirstCreatableLevel(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return 3;
  if (path.rfind("\\\\", 0) == 0) {
    const std::size_t server = path.find('\\', 2);
    const std::size_t share = server == std::string::npos ? server : path.find('\\', server + 1);
    return share == std::string::npos ? path.size() : share + 1;
  }
  return 1;
}

}  // namespace

std::optional<std::string> Win32FileOperations::ReadWholeFile(const std::string& path) {
  return ReadWholeFileWriteDenied(path);
}

std::unique_ptr<NewFile> Win32FileOperations::CreateNewFile(const std::string& path) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    // CREATE_ALWAYS refuses an existing hidden or system file; emptying it in place still works.
    file = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32NewFile>(file);
}

bool Win32FileOperations::MoveReplacing(const std::string& from, const std::string& to) {
  return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool Win32FileOperations::RemoveFile(const std::string& path) { return ::DeleteFileA(path.c_str()) != 0; }

// CopyFileA copies the attributes too: a read-only executable would give a copy that the removal cannot delete.
bool Win32FileOperations::CopyReplacing(const std::string& from, const std::string& to) {
  if (!::CopyFileA(from.c_str(), to.c_str(), FALSE)) return false;
  const DWORD attributes = ::GetFileAttributesA(to.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
  return ::SetFileAttributesA(to.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) != 0;
}

bool Win32FileOperations::MakeDirectories(const std::string& directory) {
  for (std::size_t separator = directory.find_first_of("\\/", FirstCreatableLevel(directory));
       separator != std::string::npos; separator = directory.find_first_of("\\/", separator + 1)) {
    ::CreateDirectoryA(directory.substr(0, separator).c_str(), nullptr);  // existing levels fail harmlessly
  }
  return IsDirectory(directory);
}

std::string Win32FileOperations::TemporaryDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathA(MAX_PATH, buffer);
  if (length == 0 || length > MAX_PATH) return {};
  return std::string(buffer, length);
}

std::string Win32FileOperations::ShortPathOf(const std::string& path) {
  const DWORD needed = ::GetShortPathNameA(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::string shortPath(needed, '\0');
  const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return path;
  shortPath.resize(length);
  return shortPath;
}

// ANSI to UTF-16 to OEM, refusing best-fit substitutes: a path whose characters the OEM code page lacks would
// name another file. Where both code pages are one (UTF-8 for both, say), the text is already right.
std::optional<std::string> Win32FileOperations::BatchText(std::string_view text) {
  if (text.empty() || ::GetACP() == ::GetOEMCP()) return std::string(text);
  if (text.size() > 0x7FFFFFFFu) return std::nullopt;
  const int size = static_cast<int>(text.size());
  const int wideLength = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(), wideLength);
  BOOL defaultUsed = FALSE;
  const int oemLength = ::WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0,
                                              nullptr, &defaultUsed);
  if (oemLength <= 0 || defaultUsed) return std::nullopt;
  std::string oem(static_cast<std::size_t>(oemLength), '\0');
  ::WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, oem.data(), oemLength, nullptr,
                        &defaultUsed);
  if (defaultUsed) return std::nullopt;
  return oem;
}

std::string Win32FileOperations::OwnExecutablePath() { return platform::OwnExecutablePath(); }

}  // namespace mirravel::platform
