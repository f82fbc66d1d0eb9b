// File operations through KERNEL32: whole-file reads with writers denied, flushed new files, one-step
// replacing moves, copies, directory paths, the temporary directory and short names.
#pragma once

#include "ports/file_operations_port.h"

namespace mirravel::platform {

class Win32FileOperations : public FileOperationsPort {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  std::unique_ptr<NewFile> CreateNewFile(const std::string& path) override;
  bool MoveReplacing(const std::string& from, const std::string& to) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyReplacing(const std::string& from, const std::string& to) override;
  bool MakeDirectories(const std::string& directory) override;
  std::string TemporaryDirectory() override;
  std::string ShortPathOf(const std::string& path) override;
  std::optional<std::string> BatchText(std::string_view text) override;
  std::string OwnExecutablePath() override;
};

}  // namespace mirravel::platform
