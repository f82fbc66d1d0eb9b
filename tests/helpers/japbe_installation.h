// A jaPBe installation in a temporary directory, named in the registry the way jaPBe records itself.
#pragma once

#include <algorithm>
#include <string>

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

// jaPBe's directory (with a blank in its name) below a temporary directory, found by the edit command.
struct JaPBeInstallation {
  explicit JaPBeInstallation(FakeRegistry& registry) {
    std::filesystem::create_directories(directory);
    registry.values[{RegistryRoot::ClassesRoot, kEditCommandKey}] = "\"" + WindowsStyle(directory) + "\\jaPBe.exe\" \"%1\"";
  }
  std::filesystem::path Tools() const { return directory / "jaPBe-Tools"; }
  std::filesystem::path Copy() const { return directory / "Plugin" / "Mirravel.exe"; }
  void WriteTools(const std::string& bytes) const { root.WriteFile("jaPBe 3/jaPBe-Tools", bytes); }
  void PlaceCopy(const std::string& bytes) const { root.WriteFile("jaPBe 3/Plugin/Mirravel.exe", bytes); }

  TempDirectory root;
  std::filesystem::path directory = root.Path() / "jaPBe 3";
};

}  // namespace mirravel::testing
