// Read-only access to a preference file of "[Group]" headers and "Key = Value" lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/file_system.h"

namespace mirravel {

// Holds the file open with writing by others denied from Open to Close, and reads it once.
// Lookups are linear scans of the text; a missing group or key yields the default.
class PreferenceReader {
 public:
  bool Open(const std::string& fileName);
  // Reads from a text already read, by the same rules; no file is held.
  void OpenText(std::string text);
  bool SelectGroup(std::string_view groupName);
  std::int32_t ReadLong(std::string_view key, std::int32_t defaultValue);
  std::string ReadString(std::string_view key, std::string_view defaultValue = {});
  void Close();
  bool IsOpen() const { return file_.IsOpen() || textOnly_; }
  // Names of every header line in file order, by the same rules SelectGroup matches them with.
  std::vector<std::string> GroupNames() const;

 private:
  enum class LineEnd { Plain, StepOverCrAfterLf };
  std::size_t NextLineStart(std::size_t position, LineEnd lineEnd) const;
  std::size_t LineEndOf(std::size_t position) const;
  std::string_view HeaderNameAt(std::size_t line) const;
  std::optional<std::size_t> FindValue(std::string_view key, LineEnd lineEnd) const;

  platform::WriteDeniedFile file_;
  std::string text_;
  bool textOnly_ = false;
  std::optional<std::size_t> groupPosition_;
};

}  // namespace mirravel
