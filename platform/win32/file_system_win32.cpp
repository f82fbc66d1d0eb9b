// Win32 file system: FindFirstFileA lookups, drive types, module path, files opened with FILE_SHARE_READ.
#include <windows.h>

#include <new>

#include "ports/file_system.h"

namespace mirravel::platform {

PathInfo ProbePath(const std::string& path) {
  if (path.empty()) return {};
  WIN32_FIND_DATAA found{};
  HANDLE search = ::FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  ::FindClose(search);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {PathKind::Directory, 0};
  const std::uint64_t size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  return {PathKind::File, size};
}

bool IsDrivePresent(char driveLetter) {
  const char root[] = {driveLetter, ':', '\\', '\0'};
  return ::GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR;
}

std::string OwnExecutablePath() {
  char buffer[1025] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, buffer, 1024);
  if (length == 0 || length >= 1024) return {};
  return std::string(buffer, length);
}

static HANDLE AsHandle(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

WriteDeniedFile::~WriteDeniedFile() { Close(); }

bool WriteDeniedFile::Open(const std::string& path) {
  Close();
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

bool WriteDeniedFile::ReadAll(std::string& text) {
  if (!IsOpen()) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(AsHandle(handle_), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF) return false;
  if (::SetFilePointer(AsHandle(handle_), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  try {
    text.assign(static_cast<std::size_t>(size.QuadPart), '\0');
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::size_t done = 0;
  while (done < text.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(text.size() - done);
    if (!::ReadFile(AsHandle(handle_), text.data() + done, want, &got, nullptr)) return false;
    if (got == 0) break;
    done += got;
  }
  text.resize(done);  // a file that shrank while we read yields what was there
  return true;
}

void WriteDeniedFile::Close() {
  if (IsOpen()) ::CloseHandle(AsHandle(handle_));
  handle_ = -1;
}

bool WriteDeniedFile::IsOpen() const { return handle_ != -1; }

}  // namespace mirravel::platform
