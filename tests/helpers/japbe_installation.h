// A jaPBe installation in a temporary directory, named in the registry the way jaPBe records itself,
// and realistic tools files of the shape jaPBe writes.
#pragma once

#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "helpers/files.h"

namespace mirravel::testing {

inline constexpr const char* kEditCommandKey = "Applications\\PureBasic.exe\\shell\\edit\\command";

// The program composes backslash paths; the native build maps them back onto slashes.
inline std::string WindowsStyle(const std::filesystem::path& path) {
  std::string text = path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

inline std::string Joined(const std::vector<std::string>& lines, const std::string& lineEnd, bool lastEnded = true) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || lastEnded ? lineEnd : "");
  return text;
}

// A foreign tool with the keys jaPBe writes; `who` tells the tools apart, values hold "Tool_" and "ToolCount".
inline std::vector<std::string> ForeignTool(int number, int who) {
  const std::string id = std::to_string(who);
  return {"[Tool_" + std::to_string(number) + "]", "Command = C:\\Tool_box\\fmt" + id + ".exe",
          "Arguments = \"%FILE\" /ToolCount=" + id, "WorkingDir = C:\\Tool_box\\", "MenuItemName = Format " + id,
          "Shortcut = Ctrl+F" + id, "Flags = 2", "ReloadSource = 1", "HideEditor = 0", "IsPlugin = 0", "Menu = 1",
          "Language = 0", "Hide = 0", "Trigger = 0", "UniqueToolID = {6F1A-" + id + "}"};
}

inline std::vector<std::string> ToolsInfo(const std::string& countLine) {
  std::vector<std::string> lines = {"; jaPBe tools [Tool_9]", "[ToolsInfo]"};
  if (!countLine.empty()) lines.push_back(countLine);
  lines.push_back("OldToolCount = 7");
  return lines;
}

inline void Append(std::vector<std::string>& lines, const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
}

// jaPBe's directory (with a blank in its name) below a temporary directory, found by the edit command.
struct JaPBeInstallation {
  explicit JaPBeInstallation(FakeRegistry& registry) {
    std::filesystem::create_directories(directory);
    registry.values[{RegistryRoot::ClassesRoot, kEditCommandKey}] =
        "\"" + WindowsStyle(directory) + "\\jaPBe.exe\" \"%1\"";
  }
  std::filesystem::path Tools() const { return directory / "jaPBe-Tools"; }
  std::filesystem::path Copy() const { return directory / "Plugin" / "Mirravel.exe"; }

  TempDirectory root;
  std::filesystem::path directory = root.Path() / "jaPBe 3";
};

}  // namespace mirravel::testing
