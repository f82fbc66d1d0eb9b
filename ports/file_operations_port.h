// The file operations that rewriting jaPBe's tools file, copying the executable and writing the removal
// batch need. Paths use the backslash as separator; a platform without it maps the separator itself.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace mirravel {

// A file being written afresh. Nothing counts as written until Finish has succeeded.
class NewFile {
 public:
  virtual ~NewFile() = default;
  // Writes the text followed by CR LF; false when not every byte was written.
  virtual bool WriteLine(std::string_view text) = 0;
  // Flushes the file to the disk and closes it; false when either fails.
  virtual bool Finish() = 0;
};

class FileOperationsPort {
 public:
  virtual ~FileOperationsPort() = default;

  // The whole content of an existing file, read with writing by others denied; nothing when the file
  // cannot be opened or any read fails (never a part of the file).
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // Creates the file empty, replacing any file of that name; null when it cannot be created.
  virtual std::unique_ptr<NewFile> CreateNewFile(const std::string& path) = 0;
  // Moves a file in one step, replacing an existing target.
  virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  // Copies a file, overwriting an existing target; the copy is never left read-only.
  virtual bool CopyReplacing(const std::string& from, const std::string& to) = 0;
  // Creates every missing level of a directory path that ends in a separator; true when it exists then.
  virtual bool MakeDirectories(const std::string& directory) = 0;
  // The user's temporary directory as the system reports it (with or without a trailing separator).
  virtual std::string TemporaryDirectory() = 0;
  // The path's short (8.3) form, or the path unchanged when the system has none for it.
  virtual std::string ShortPathOf(const std::string& path) = 0;
  // The text in the code page the command processor reads batch files in (the OEM one on Windows, where
  // paths come in the ANSI one); nothing when a character has no exact form there.
  virtual std::optional<std::string> BatchText(std::string_view text) = 0;
  // Full path of the running executable; empty when the system does not say.
  virtual std::string OwnExecutablePath() = 0;
};

}  // namespace mirravel
