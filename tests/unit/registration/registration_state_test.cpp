// Finding jaPBe through the registry, the About box's registration state, Mirravel's own tool entry and the
// tools file's line rule.
#include <gtest/gtest.h>

#include "helpers/japbe_installation.h"
#include "registration/japbe_directory.h"
#include "registration/registration_state.h"
#include "registration/tools_file_rewrite.h"

namespace mirravel {
namespace {

namespace fs = std::filesystem;
using testing::WindowsStyle;
using Lines = std::vector<std::string>;

constexpr const char* kLegacyEditKey = "Software\\Classes\\PureBasic.exe\\shell\\edit\\command";
constexpr const char* kPbiKey = "Purebasic.pbi\\shell\\open\\command";
constexpr const char* kMachinePbiKey = "Software\\CLASSES\\Purebasic.pbi\\shell\\open\\command";

TEST(FindJaPBeDirectory, TriesTheLookupsInOrderUntilADirectoryIsFound) {
  testing::TempDirectory root;
  fs::create_directories(root.Path() / "jaPBe 3");
  const std::string dir = WindowsStyle(root.Path() / "jaPBe 3") + "\\";
  const std::string file = WindowsStyle(root.Path() / "jaPBe 3" / "jaPBe.exe") + "\\";  // not a directory
  const auto classes = RegistryRoot::ClassesRoot;
  const auto machine = RegistryRoot::LocalMachine;
  struct Case {
    const char* name;
    std::uint32_t version;
    std::map<std::pair<RegistryRoot, std::string>, std::string> values;
    std::string expected;
    std::size_t reads;
  };
  const Case cases[] = {
      {"quoted edit command", 0x23F00206,
       {{{classes, testing::kEditCommandKey}, "\"" + dir + "jaPBe.exe\" \"%1\"" + '\0'}}, dir, 1},
      {"unquoted edit command loses its ends", 0x23F00206,
       {{{classes, testing::kEditCommandKey}, dir + "jaPBe.exe \"%1\""}, {{classes, kPbiKey}, dir + "jaPBe.exe \"%1\""}}, dir, 2},
      {"machine .pbi command is not tested", 0x23F00206, {{{machine, kMachinePbiKey}, file + "x"}}, file, 3},
      {"earlier candidate stands", 0x23F00206, {{{classes, testing::kEditCommandKey}, "\"" + file + "x\" \"%1\""}}, file, 3},
      {"Windows 98 edit key", 0xC0000A04, {{{machine, kLegacyEditKey}, "\"" + dir + "jaPBe.exe\" \"%1\""}}, dir, 1},
      {"Windows 10 build 10240 ignores the 9x key", 0x2800000A, {{{machine, kLegacyEditKey}, "\"" + dir + "jaPBe.exe\" \"%1\""}}, "", 3},
      {"short value", 0x23F00206, {{{classes, testing::kEditCommandKey}, "\"C:\\\" x"}}, "", 3},
  };
  for (const Case& c : cases) {
    testing::FakeRegistry registry;
    registry.version = c.version;
    registry.values = c.values;
    EXPECT_EQ(FindJaPBeDirectory(registry), c.expected) << c.name;
    EXPECT_EQ(registry.reads.size(), c.reads) << c.name;
  }
}

TEST(PluginRegistrationState, YesByCaptionAutoByANonEmptyCopyNoOtherwise) {
  enum class Copy { None, Empty, Directory, Bytes };
  struct Case { const char* tools; Copy copy; const char* expected; bool recorded = true; };
  const Case cases[] = {
      {"[ToolsInfo]\nToolCount=2\n[Tool_1]\nMenuItemName = Other\n[tool_2]\nMenuItemName = Mirravel\n", Copy::None, "Yes"},
      {"[ToolsInfo]\nToolCount = 2147483647\n[Tool_5]\nMenuItemName = Mirravel\n", Copy::None, "Yes"},  // 1-4 absent
      {"[ToolsInfo]\nToolCount = 1\n[Tool_1]\nMenuItemName = Mirravel  \n", Copy::Bytes, "Auto"},
      {"[ToolsInfo]\nToolCount = 1\n[Tool_1]\nCommand = Mirravel\nMenuItemName = M\n", Copy::Empty, "No"},
      {"[Tool_1]\nMenuItemName = Mirravel\n", Copy::Directory, "No"},  // no "ToolCount": nothing scanned
      {nullptr, Copy::Bytes, "Auto"},
      // With jaPBe not recorded, the copy is looked for below the current directory and no tools file is read.
      {"[ToolsInfo]\nToolCount = 1\n[Tool_1]\nMenuItemName = Mirravel\n", Copy::None, "No", false},
      {nullptr, Copy::Bytes, "Auto", false},
  };
  const fs::path previous = fs::current_path();
  for (const Case& c : cases) {
    testing::FakeRegistry registry;
    testing::JaPBeInstallation install{registry};
    if (!c.recorded) registry.values.clear();
    fs::current_path(install.directory);
    if (c.tools) install.WriteTools(c.tools);
    if (c.copy == Copy::Directory) fs::create_directories(install.Copy());
    if (c.copy == Copy::Empty || c.copy == Copy::Bytes) install.PlaceCopy(c.copy == Copy::Bytes ? "MZ" : "");
    EXPECT_EQ(PluginRegistrationState(registry), c.expected) << (c.tools ? c.tools : "no tools file") << c.recorded;
  }
  fs::current_path(previous);
}

// The entry line by line as jaPBe reads it: the blank after "WorkingDir =" and none after "Arguments =" or
// "Shortcut =" included.
TEST(MirravelToolEntry, IsTheThirteenLinesOfAToolsMenuPlugin) {
  EXPECT_EQ(MirravelToolEntry(12),
            (Lines{"[Tool_12]", "Command = Mirravel", "Arguments =", "WorkingDir = ", "MenuItemName = Mirravel",
                   "Shortcut =", "Flags = 0", "ReloadSource = 0", "HideEditor = 0", "IsPlugin = 1", "Menu = 0",
                   "Language = 0", "Hide = 0"}));
}

TEST(SplitLines, EndsLinesAtCrLfCrLfAndNul) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {}}, {"a", {"a"}}, {"a\n", {"a"}}, {"a\r", {"a"}}, {"a\n\n", {"a", ""}},
      {std::string("a\r\nb\nc\rd\0e", 11), {"a", "b", "c", "d", "e"}}, {"\n\r", {"", ""}},
  };
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(SplitLines(bytes), lines) << bytes;
}

}  // namespace
}  // namespace mirravel
