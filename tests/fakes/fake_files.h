// Real file operations on temporary directories with faults injected on request, and a shell that only
// records what it was asked to start.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/posix/posix_file_operations.h"
#include "ports/shell_port.h"

namespace mirravel::testing {

class FaultyFileOperations : public platform::PosixFileOperations {
  using Real = platform::PosixFileOperations;

 public:
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    return Fails("read") ? std::nullopt : Real::ReadWholeFile(path);
  }
  std::unique_ptr<NewFile> CreateNewFile(const std::string& path) override {
    std::unique_ptr<NewFile> file = Fails("create") ? nullptr : Real::CreateNewFile(path);
    return file ? std::make_unique<FaultyNewFile>(std::move(file), failing) : nullptr;
  }
  bool MoveReplacing(const std::string& from, const std::string& to) override {
    return !Fails("move") && Real::MoveReplacing(from, to);
  }
  bool RemoveFile(const std::string& path) override { return !Fails("remove") && Real::RemoveFile(path); }
  bool CopyReplacing(const std::string& from, const std::string& to) override {
    return !Fails("copy") && Real::CopyReplacing(from, to);
  }
  std::string TemporaryDirectory() override { return temporaryDirectory; }
  std::string ShortPathOf(const std::string& p) override { return shortPaths.count(p) ? shortPaths.at(p) : p; }
  // A code page of its own: ANSI "\xFC" (u umlaut) becomes "\x81", any other byte above 0x7F has no form.
  std::optional<std::string> BatchText(std::string_view text) override {
    std::string converted(text);
    for (char& c : converted) {
      if (c == '\xFC') c = '\x81';
      else if (static_cast<unsigned char>(c) > 0x7F) return std::nullopt;
    }
    return converted;
  }
  std::string OwnExecutablePath() override { return ownExecutable; }

  // The operations that fail: "read", "create", "line N" (the N-th line written to a new file, from 1),
  // "finish", "move", "copy", "remove".
  std::set<std::string> failing;
  std::string temporaryDirectory = "/tmp";
  std::map<std::string, std::string> shortPaths;
  std::string ownExecutable;

 private:
  bool Fails(const char* operation) const { return failing.count(operation) != 0; }

  // Writes through to the real file until the failing line, so a partial file is left on disk.
  class FaultyNewFile : public NewFile {
   public:
    FaultyNewFile(std::unique_ptr<NewFile> file, const std::set<std::string>& failing)
        : file_(std::move(file)), failing_(failing) {}
    bool WriteLine(std::string_view text) override {
      return !failing_.count("line " + std::to_string(++lines_)) && file_->WriteLine(text);
    }
    bool Finish() override { return file_->Finish() && !failing_.count("finish"); }

   private:
    std::unique_ptr<NewFile> file_;
    const std::set<std::string>& failing_;
    int lines_ = 0;
  };
};

class FakeShell : public ShellPort {
 public:
  bool StartHidden(const std::string& file, const std::string& workingDirectory) override {
    started.emplace_back(file, workingDirectory);
    if (onStart) onStart();
    return true;
  }
  std::vector<std::pair<std::string, std::string>> started;  // file and working directory
  std::function<void()> onStart;
};

}  // namespace mirravel::testing
