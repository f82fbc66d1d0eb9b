// The tools-file rewrite. Only three kinds of line are Mirravel's to change: the "ToolCount" key line
// that the preference reader reads (first such line of the first "ToolsInfo" group), the tool headers
// ("[Tool_" + digits, renumbered when an entry goes) and the lines of Mirravel's own entry. A line that
// merely contains "Tool_" or "ToolCount" (a command path, an argument) is someone else's.
#include "registration/tools_file_rewrite.h"

#include <memory>

#include "registration/registration_state.h"
#include "registration/tool_groups.h"
#include "support/text.h"

namespace mirravel {
namespace {

// Follows the groups line by line and rewrites the one "ToolCount" line that counts.
class ToolCountLine {
 public:
  explicit ToolCountLine(std::int32_t newCount) : newCount_(newCount) {}

  // True when this header opens the "ToolsInfo" group that counts.
  bool EnterGroup(std::string_view name) {
    inToolsInfo_ = !toolsInfoSeen_ && EqualIgnoringAsciiCase(name, kToolsInfoGroup);
    toolsInfoSeen_ = toolsInfoSeen_ || inToolsInfo_;
    return inToolsInfo_;
  }
  std::string Rewrite(const std::string& line) {
    if (!inToolsInfo_ || rewritten_ || !IsKeyLine(line, kToolCountKey)) return line;
    rewritten_ = true;
    return CountLine();
  }
  std::string CountLine() const { return std::string(kToolCountKey) + " = " + std::to_string(newCount_); }
  bool Rewritten() const { return rewritten_; }

 private:
  std::int32_t newCount_;
  bool toolsInfoSeen_ = false;
  bool inToolsInfo_ = false;
  bool rewritten_ = false;
};

// "[Tool_7]..." with its digits replaced by number, everything else of the line kept.
std::string Renumbered(const std::string& header, std::int32_t number) {
  const std::size_t digitsStart = 1 + kToolGroupPrefix.size();
  std::size_t digitsEnd = digitsStart;
  while (digitsEnd < header.size() && header[digitsEnd] >= '0' && header[digitsEnd] <= '9') ++digitsEnd;
  return header.substr(0, digitsStart) + std::to_string(number) + header.substr(digitsEnd);
}

}  // namespace

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = start;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n' && bytes[end] != '\0') ++end;
    lines.emplace_back(bytes.substr(start, end - start));
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ++end;
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> MirravelToolEntry(std::int32_t number) {
  return {"[" + ToolGroupName(number) + "]",
          "Command = Mirravel",
          "Arguments =",
          "WorkingDir = ",
          "MenuItemName = Mirravel",
          "Shortcut =",
          "Flags = 0",
          "ReloadSource = 0",
          "HideEditor = 0",
          "IsPlugin = 1",
          "Menu = 0",
          "Language = 0",
          "Hide = 0"};
}

std::optional<std::vector<std::string>> WithoutToolEntry(const std::vector<std::string>& lines, std::int32_t found,
                                                          std::int32_t newCount) {
  const std::string foundGroup = ToolGroupName(found);
  ToolCountLine toolCount(newCount);
  std::vector<std::string> kept;
  bool removed = false;
  bool inRemovedGroup = false;
  std::int32_t toolHeaders = 0;
  for (const std::string& line : lines) {
    if (const auto name = HeaderNameOf(line)) {
      toolCount.EnterGroup(*name);
      inRemovedGroup = !removed && EqualIgnoringAsciiCase(*name, foundGroup);
      removed = removed || inRemovedGroup;
      if (inRemovedGroup) continue;
      kept.push_back(IsToolGroupName(*name) ? Renumbered(line, ++toolHeaders) : line);
    } else if (!inRemovedGroup) {
      kept.push_back(toolCount.Rewrite(line));
    }
  }
  if (!removed) return std::nullopt;
  return kept;
}

// jaPBe lists only the entries that "ToolCount" counts, so an added entry needs the key: where the file lacks
// it, its line goes right below the "ToolsInfo" header, or a new "ToolsInfo" group goes before the first
// header (after the lines that belong to no group), or at the end of a file without headers.
std::vector<std::string> WithToolEntryAppended(const std::vector<std::string>& lines, std::int32_t newCount) {
  ToolCountLine toolCount(newCount);
  std::vector<std::string> result;
  result.reserve(lines.size() + 15);
  std::optional<std::size_t> belowToolsInfo;
  std::optional<std::size_t> firstHeader;
  std::int32_t toolGroups = 0;
  for (const std::string& line : lines) {
    if (const auto name = HeaderNameOf(line)) {
      if (!firstHeader) firstHeader = result.size();
      result.push_back(line);
      if (toolCount.EnterGroup(*name)) belowToolsInfo = result.size();
      toolGroups += IsToolGroupName(*name) ? 1 : 0;
    } else {
      result.push_back(toolCount.Rewrite(line));
    }
  }
  // A file without the key counts none of its tool groups, yet they are there: the entry is numbered after
  // them, so that its header is not a second "[Tool_1]" that the reader would never reach.
  const std::int32_t number = toolCount.Rewritten() ? newCount : toolGroups + 1;
  const std::string countLine = ToolCountLine(number).CountLine();
  if (belowToolsInfo && !toolCount.Rewritten()) {
    result.insert(result.begin() + static_cast<std::ptrdiff_t>(*belowToolsInfo), countLine);
  } else if (!belowToolsInfo) {
    const std::string group[] = {"[" + std::string(kToolsInfoGroup) + "]", countLine};
    result.insert(result.begin() + static_cast<std::ptrdiff_t>(firstHeader.value_or(result.size())), group, group + 2);
  }
  for (std::string& line : MirravelToolEntry(number)) result.push_back(std::move(line));
  return result;
}

bool WriteNewFile(FileOperationsPort& files, const std::string& path, const std::vector<std::string>& lines) {
  std::unique_ptr<NewFile> file = files.CreateNewFile(path);
  if (!file) return false;
  bool written = true;
  for (const std::string& line : lines) {
    if (!file->WriteLine(line)) {
      written = false;
      break;
    }
  }
  written = file->Finish() && written;
  file.reset();
  if (!written) files.RemoveFile(path);
  return written;
}

bool ReplaceFileLines(FileOperationsPort& files, const std::string& path, const std::vector<std::string>& lines) {
  const std::string temporary = path + std::string(kTemporaryToolsSuffix);
  if (!WriteNewFile(files, temporary, lines)) return false;
  if (files.MoveReplacing(temporary, path)) return true;
  files.RemoveFile(temporary);
  return false;
}

EntryRemoval RemoveMirravelEntry(FileOperationsPort& files, const std::string& toolsFile) {
  const auto bytes = files.ReadWholeFile(toolsFile);
  if (!bytes) return EntryRemoval::Failed;
  const ToolsFileScan scan = ScanToolsText(*bytes);
  const auto lines = scan.found != 0 ? WithoutToolEntry(SplitLines(*bytes), scan.found, scan.count - 1) : std::nullopt;
  if (!lines) return EntryRemoval::NotFound;
  return ReplaceFileLines(files, toolsFile, *lines) ? EntryRemoval::Removed : EntryRemoval::Failed;
}

bool AppendToolEntry(FileOperationsPort& files, const std::string& toolsFile, std::int32_t newCount) {
  const auto bytes = files.ReadWholeFile(toolsFile);
  return bytes && ReplaceFileLines(files, toolsFile, WithToolEntryAppended(SplitLines(*bytes), newCount));
}

}  // namespace mirravel
