// Scans of the tools file for Mirravel's entry. Only groups that exist are visited: a "ToolCount" far
// larger than the file could hold must not turn the scan into a long loop over absent groups, and an
// absent group never matches anyway.
#include "registration/registration_state.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "registration/japbe_directory.h"
#include "registration/tool_groups.h"
#include "support/file_size.h"
#include "support/preference_reader.h"
#include "support/text.h"

namespace mirravel {
namespace {

constexpr std::string_view kProductName = "Mirravel";

// Numbers 1..count of tool groups present in the file, ascending, each once.
std::vector<std::int32_t> PresentToolNumbers(const PreferenceReader& reader, std::int32_t count) {
  std::vector<std::int32_t> numbers;
  for (const std::string& name : reader.GroupNames()) {
    const auto number = ToolGroupNumber(name);
    if (number && *number <= count) numbers.push_back(*number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

template <typename Matches>
std::int32_t FirstMatchingEntry(PreferenceReader& reader, std::int32_t count, Matches matches) {
  for (const std::int32_t number : PresentToolNumbers(reader, count)) {
    reader.SelectGroup(ToolGroupName(number));
    if (matches(reader)) return number;
  }
  return 0;
}

std::int32_t ReadToolCount(PreferenceReader& reader) {
  reader.SelectGroup(kToolsInfoGroup);
  return reader.ReadLong(kToolCountKey, 0);
}

ToolsFileScan Scan(PreferenceReader& reader) {
  ToolsFileScan scan;
  scan.opened = true;
  scan.count = ReadToolCount(reader);
  const std::string wanted = UpperCase(kProductName);
  scan.found = FirstMatchingEntry(reader, scan.count, [&wanted](PreferenceReader& group) {
    return UpperCase(group.ReadString("Command")).find(wanted) != std::string::npos;
  });
  reader.Close();
  return scan;
}

}  // namespace

ToolsFileScan ScanToolsFile(const std::string& toolsFile) {
  PreferenceReader reader;
  return reader.Open(toolsFile) ? Scan(reader) : ToolsFileScan{};
}

ToolsFileScan ScanToolsText(std::string text) {
  PreferenceReader reader;
  reader.OpenText(std::move(text));
  return Scan(reader);
}

std::string_view PluginRegistrationState(RegistryPort& registry) {
  const std::string directory = FindJaPBeDirectory(registry);
  if (!directory.empty()) {
    PreferenceReader reader;
    if (reader.Open(PluginPathsIn(directory).toolsFile)) {
      const std::int32_t count = ReadToolCount(reader);
      const bool captioned = FirstMatchingEntry(reader, count, [](PreferenceReader& group) {
                               return group.ReadString("MenuItemName") == kProductName;
                             }) != 0;
      if (captioned) return "Yes";
    }
  }
  // Looked up again, as the state is; with no directory this names a copy below the current directory.
  if (QueryFileSize(PluginPathsIn(FindJaPBeDirectory(registry)).pluginCopy) > 0) return "Auto";
  return "No";
}

}  // namespace mirravel
