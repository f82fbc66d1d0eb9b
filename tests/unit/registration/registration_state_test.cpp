// Finding jaPBe through the registry, the scans of the tools file for Mirravel's entry (the About box's
// registration state and the button's), Mirravel's own tool entry and the tools file's line rule.
#include <gtest/gtest.h>

#include "helpers/japbe_installation.h"
#include "registration/japbe_directory.h"
#include "registration/registration_state.h"
#include "registration/tools_file_rewrite.h"

namespace mirravel {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

TEST(FindJaPBeDirectory, TriesTheLookupsInOrderUntilADirectoryIsFound) {
  testing::TempDirectory root;
  fs::create_directories(root.Path() / "jaPBe 3");
  const std::string dir = testing::WindowsStyle(root.Path() / "jaPBe 3") + "\\";
  const std::string file = dir + "jaPBe.exe\\";  // not a directory
  const auto classes = RegistryRoot::ClassesRoot, machine = RegistryRoot::LocalMachine;
  const std::string edit = testing::kEditCommandKey, legacyEdit = "Software\\Classes\\PureBasic.exe\\shell\\edit\\command";
  // The system's version, the values stored, the directory found and how many keys were read.
  struct Case { const char* name; std::uint32_t version; std::map<std::pair<RegistryRoot, std::string>, std::string> values;
                std::string expected; std::size_t reads; };
  const Case cases[] = {
      {"quoted edit command", 0x23F00206, {{{classes, edit}, "\"" + dir + "jaPBe.exe\" \"%1\"" + '\0'}}, dir, 1},
      {"unquoted edit command loses its ends", 0x23F00206,
       {{{classes, edit}, dir + "jaPBe.exe \"%1\""}, {{classes, "Purebasic.pbi\\shell\\open\\command"}, dir + "x"}}, dir, 2},
      {"machine .pbi command is not tested", 0x23F00206,
       {{{machine, "Software\\CLASSES\\Purebasic.pbi\\shell\\open\\command"}, file + "x"}}, file, 3},
      {"earlier candidate stands", 0x23F00206, {{{classes, edit}, "\"" + file + "x\" \"%1\""}}, file, 3},
      {"Windows 98 edit key", 0xC0000A04, {{{machine, legacyEdit}, "\"" + dir + "jaPBe.exe\" \"%1\""}}, dir, 1},
      {"Windows 10 build 10240 ignores the 9x key", 0x2800000A, {{{machine, legacyEdit}, "\"" + dir + "x\" \"%1\""}}, "", 3},
      {"short value", 0x23F00206, {{{classes, edit}, "\"C:\\\" x"}}, "", 3},
  };
  for (const Case& c : cases) {
    testing::FakeRegistry registry;
    registry.version = c.version;
    registry.values = c.values;
    EXPECT_EQ(FindJaPBeDirectory(registry), c.expected) << c.name;
    EXPECT_EQ(registry.reads.size(), c.reads) << c.name;
  }
}

// The About box goes by the caption and a plug-in copy with bytes, the button by any command naming the program;
// both visit only the groups "ToolCount" counts that exist.
TEST(ToolsFileScans, AboutBoxByCaptionOrANonEmptyCopyButtonByCommand) {
  enum class Copy { None, Empty, Directory, Bytes };
  struct Case { const char* tools; Copy copy; const char* state; int found; bool recorded = true; };
  const Case cases[] = {
      {"[ToolsInfo]\nToolCount=2\n[Tool_1]\nMenuItemName = Other\n[tool_2]\nMenuItemName = Mirravel\n", Copy::None, "Yes", 0},
      {"[ToolsInfo]\nToolCount = 2147483647\n[Tool_5]\nCommand = x\\MIRRAVEL.exe\nMenuItemName = Mirravel\n", Copy::None,
       "Yes", 5},
      {"[ToolsInfo]\nToolCount = 1\n[Tool_1]\nMenuItemName = Mirravel  \n", Copy::Bytes, "Auto", 0},
      {"[ToolsInfo]\nToolCount = 1\n[Tool_1]\nCommand = C:\\jaPBe\\PLUGIN\\mirravel.EXE\nMenuItemName = M\n", Copy::Empty,
       "No", 1},
      {"[Tool_1]\nCommand = Mirravel\nMenuItemName = Mirravel\n", Copy::Directory, "No", 0},  // no "ToolCount"
      {nullptr, Copy::Bytes, "Auto", 0},
      // With jaPBe not recorded, the copy is looked for below the current directory and no tools file is read.
      {"[ToolsInfo]\nToolCount = 1\n[Tool_1]\nMenuItemName = Mirravel\n", Copy::None, "No", 0, false},
      {nullptr, Copy::Bytes, "Auto", 0, false},
  };
  const fs::path previous = fs::current_path();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tools ? c.tools : "no tools file");
    testing::FakeRegistry registry;
    testing::JaPBeInstallation install{registry};
    if (!c.recorded) registry.values.clear();
    fs::current_path(install.directory);
    if (c.tools) {
      install.WriteTools(c.tools);
      EXPECT_EQ(ScanToolsText(c.tools).found, c.found);
    }
    if (c.copy == Copy::Directory) fs::create_directories(install.Copy());
    if (c.copy == Copy::Empty || c.copy == Copy::Bytes) install.PlaceCopy(c.copy == Copy::Bytes ? "MZ" : "");
    EXPECT_EQ(PluginRegistrationState(registry), c.state) << c.recorded;
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
      {"", {}}, {"a\n\n", {"a", ""}}, {std::string("a\r\nb\nc\rd\0e", 11), {"a", "b", "c", "d", "e"}}, {"\n\r", {"", ""}},
  };
  for (const auto& [bytes, lines] : cases) EXPECT_EQ(SplitLines(bytes), lines) << bytes;
}

}  // namespace
}  // namespace mirravel
