// Real file operations on temporary directories with faults injected on request, and a shell that only
// records what it was asked to start.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/posix/posix_file_operations.h"
#include "ports/shell_port.h"

namespace mirravel::testing {

class FaultyFileOperations : public FileOperationsPort {
 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    return failRead ? std::nullopt : real.ReadWholeFile(path);
  }
  std::unique_ptr<NewFile> CreateNewFile(const std::string& path) override {
    if (failCreate) return nullptr;
    std::unique_ptr<NewFile> file = real.CreateNewFile(path);
    return file ? std::make_unique<FaultyNewFile>(std::move(file), failLineWrite, failFinish) : nullptr;
  }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    return !failMove && real.MoveReplacing(from, to);
  }
  bool RemoveFile(const std::string& path) override { return real.RemoveFile(path); }
  bool CopyReplacing(const std::string& from, const std::string& to) override {
    return !failCopy && real.CopyReplacing(from, to);
  }
  bool MakeDirectories(const std::string& directory) override { return real.MakeDirectories(directory); }
  std::string TemporaryDirectory() override { return temporaryDirectory; }
  std::string ShortPathOf(const std::string& path) override {
    const auto found = shortPaths.find(path);
    return found == shortPaths.end() ? path : found->second;
  }
  std::string OwnExecutablePath() override { return ownExecutable; }

  platform::PosixFileOperations real;
  bool failRead = false;
  bool failCreate = false;
  int failLineWrite = 0;  // the n-th line written to a new file fails (1-based); 0: none
  bool failFinish = false;
  bool failMove = false;
  bool failCopy = false;
  std::string temporaryDirectory = "/tmp";
  std::map<std::string, std::string> shortPaths;
  std::string ownExecutable;

 private:
  // Writes through to the real file until the chosen line, so a partial file is left on disk.
  class FaultyNewFile : public NewFile {
   public:
    FaultyNewFile(std::unique_ptr<NewFile> file, int failingLine, bool failFinish)
        : file_(std::move(file)), failingLine_(failingLine), failFinish_(failFinish) {}
    bool WriteLine(std::string_view text) override { return ++lines_ != failingLine_ && file_->WriteLine(text); }
    bool Finish() override { return file_->Finish() && !failFinish_; }

   private:
    std::unique_ptr<NewFile> file_;
    int failingLine_;
    bool failFinish_;
    int lines_ = 0;
  };
};

class FakeShell : public ShellPort {
 public:
  struct Start {
    std::string file;
    std::string workingDirectory;
  };
  bool StartHidden(const std::string& file, const std::string& workingDirectory) override {
    started.push_back({file, workingDirectory});
    if (onStart) onStart();
    return true;
  }
  std::vector<Start> started;
  std::function<void()> onStart;
};

}  // namespace mirravel::testing
