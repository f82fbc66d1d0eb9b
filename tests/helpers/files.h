// Files for tests: fresh temporary directories, whole files read back, and the repository's own files.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

namespace mirravel::testing {

class TempDirectory {
 public:
  TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mirravel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;

  const std::filesystem::path& Path() const { return path_; }

  // Writes the bytes as given, making missing directories; returns the path. Backslashes in name separate
  // directories, as in the Windows paths the program composes (the native build maps them likewise).
  std::string WriteFile(std::string name, const std::string& bytes) const {
    std::replace(name.begin(), name.end(), '\\', '/');
    const auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

// The whole file, or "" when there is none.
inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string SourceFile(const std::string& relativePath) {
  return ReadBytes(std::string(MIRRAVEL_SOURCE_DIR) + "/" + relativePath);
}

}  // namespace mirravel::testing
