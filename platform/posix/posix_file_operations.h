// File operations of the native build: POSIX calls on paths whose backslashes become slashes.
#pragma once

#include "ports/file_operations_port.h"

namespace mirravel::platform {

class PosixFileOperations : public FileOperationsPort {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  std::unique_ptr<NewFile> CreateNewFile(const std::string& path) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
  bool MakeDirectories(const std::string& directory) override;
  std::string TemporaryDirectory() override;
  std::string ShortPathOf(const std::string& path) override { return path; }  // no short names here
  std::optional<std::string> BatchText(std::string_view text) override { return std::string(text); }  // one code page
  std::string OwnExecutablePath() override;
};

}  // namespace mirravel::platform
