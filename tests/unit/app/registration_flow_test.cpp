// The "Register jaPBe plugin" button inside the program: every branch and box, on real files in a temporary
// jaPBe installation, with injected file faults and the self-removal's way out.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "helpers/japbe_installation.h"
#include "registration/tools_file_rewrite.h"

namespace mirravel {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::WindowsStyle;
using Lines = std::vector<std::string>;
using Boxes = std::vector<std::string>;

const std::string kAskUninstall = "WARNING: The plugin 'Mirravel' is already registered !\nUninstall the plugin ?",
    kUninstalled = "INFO: Plugin Mirravel is uninstalled !", kRegistered = "INFO: Plugin Mirravel is registered !",
    kNotRegistered = "ERROR: Plugin could not be registered !", kNotUninstalled = "ERROR: Plugin could not be uninstalled !",
    kAskRemoveCopy = "WARNING: JaPBe tools preference file not found,\nbut the plugin seems already installed!\n"
                     "Uninstall the plugin ?",
    kAskInstallCopy = "WARNING: JaPBe tools preference file not found,\nbut the plugin seems not installed!\nInstall the plugin ?";

// Each line ended; "@N" stands for Mirravel's entry numbered N.
std::string Joined(const Lines& lines, const std::string& lineEnd) {
  std::string text;
  for (const std::string& line : lines) {
    const bool entry = line.size() > 1 && line[0] == '@' && std::isdigit(static_cast<unsigned char>(line[1]));
    text += entry ? Joined(MirravelToolEntry(std::stoi(line.substr(1))), lineEnd) : line + lineEnd;
  }
  return text;
}

Lines operator+(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// A tools file in the shape jaPBe writes: the count line (none when empty), `count` tools, Mirravel's entry at
// `mirravelAt`. Foreign values hold "Tool_" and "ToolCount"; `who` tells them apart once renumbered.
Lines Tools(const std::string& countLine, int count, int mirravelAt = 0) {
  Lines lines = {"; jaPBe tools [Tool_9]", "[ToolsInfo]", countLine, "OldToolCount = 7"};
  if (countLine.empty()) lines.erase(lines.begin() + 2);
  for (int n = 1, who = 1; n <= count; ++n) {
    const std::string id = std::to_string(n == mirravelAt ? 0 : who++);
    lines = lines + (n == mirravelAt ? Lines{"@" + std::to_string(n)}
                                     : Lines{"[Tool_" + std::to_string(n) + "]", "Command = C:\\Tool_box\\fmt" + id +
                                                                                     ".exe /ToolCount=" + id});
  }
  return lines;
}

class RegistrationFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.files.ownExecutable = install.root.WriteFile("Mirravel.exe", "own");
    platform.files.temporaryDirectory = WindowsStyle(temp);  // reported without a trailing separator
    fs::create_directories(temp);
    ASSERT_TRUE(app.Start(""));
  }
  Boxes Press(std::deque<int> answers = {}) {
    platform.window.boxes.clear();
    platform.window.boxAnswers = std::move(answers);
    app.HandleEvent({WindowEvent::Kind::Gadget, kRegisterButton});
    return platform.window.BoxTexts();
  }

  testing::FakePlatform platform{"#A = $1\r\n"};
  Application app{platform};
  testing::JaPBeInstallation install{platform.registry};
  fs::path temp = install.root.Path() / "Temp J\xFCrgen";
};

// Each case starts from its tools file (LF ends) and maybe an old copy; the file is rewritten with CR LF ends, or
// stays as last written (the user may change it while the question is open). The plug-in directory is always made.
TEST_F(RegistrationFlowTest, EachBranchChangesOnlyMirravelsLinesAndCopyAndSaysWhatHappened) {
  struct Case {
    const char* name; std::optional<Lines> tools; bool oldCopy; std::deque<int> answers; Boxes boxes;
    std::optional<Lines> toolsAfter; std::string copyAfter; std::set<std::string> failing = {}; Lines meanwhile = {};
  };
  const int yes = kAnswerYes, no = kAnswerNo;
  const Lines others = {"[Other]", "Keep = me"};
  const std::string stays = "its file could not be deleted:\n" + WindowsStyle(install.Copy());
  std::vector<Case> cases = {
      {"count line", Tools("ToolCount = 3", 3), true, {}, {kRegistered}, Tools("ToolCount = 4", 3) + Lines{"@4"}, "own"},
      {"count line spelt otherwise", Tools("  toolcount=3 tools", 3), false, {}, {kRegistered},
       Tools("ToolCount = 4", 3) + Lines{"@4"}, "own"},
      {"no count line", Tools("", 2), false, {}, {kRegistered}, Tools("ToolCount = 3", 2) + Lines{"@3"}, "own"},
      {"empty file", Lines{}, false, {}, {kRegistered}, Lines{"[ToolsInfo]", "ToolCount = 1", "@1"}, "own"},
      {"no ToolsInfo group", Lines{"; tools", "[Other]"}, false, {}, {kRegistered},
       Lines{"; tools", "[ToolsInfo]", "ToolCount = 1", "[Other]", "@1"}, "own"},
      {"largest count", Tools("ToolCount = 2147483647", 1), false, {}, {kNotRegistered}, {}, ""},
      {"copy fails", Tools("ToolCount = 1", 1), false, {}, {kNotRegistered}, Tools("ToolCount = 2", 1) + Lines{"@2"},
       "", {"copy"}},
      {"removal declined", Tools("ToolCount = 2", 2, 2), true, {no}, {kAskUninstall}, {}, "old"},
      {"removal renumbers", Tools("ToolCount=12", 12, 2) + others, true, {yes}, {kAskUninstall, kUninstalled},
       Tools("ToolCount = 11", 11) + others, ""},
      {"a tool added meanwhile", Tools("ToolCount = 2", 2, 2), false, {yes}, {kAskUninstall, kUninstalled},
       Tools("ToolCount = 2", 2), "", {}, Tools("ToolCount = 3", 3, 3)},
      {"entry gone meanwhile", Tools("ToolCount = 2", 2, 2), true, {yes},
       {kAskUninstall, "WARNING: The plugin 'Mirravel' is no longer registered !\nNothing was changed."}, {}, "old",
       {}, Tools("ToolCount = 2", 2)},
      {"entry gone, copy stays", Tools("ToolCount = 1", 1, 1), true, {yes},
       {kAskUninstall, "ERROR: Plugin Mirravel is unregistered,\nbut " + stays}, Tools("ToolCount = 0", 0), "old",
       {"remove"}},
      {"copy alone stays", {}, true, {yes}, {kAskRemoveCopy, kNotUninstalled + "\nI" + stays.substr(1)}, {}, "old",
       {"remove"}},
      {"copy alone removed", {}, true, {yes}, {kAskRemoveCopy, kUninstalled}, {}, ""},
      {"copy alone fails", {}, false, {yes}, {kAskInstallCopy, kNotRegistered}, {}, "", {"copy"}},
      {"copy alone declined", {}, false, {no}, {kAskInstallCopy}, {}, ""},
      {"copy alone installed", {}, false, {yes}, {kAskInstallCopy, "INFO: Plugin Mirravel is installed !"}, {}, "own"},
  };
  for (const char* fault : {"read", "create", "line 3", "finish", "move"}) {
    cases.push_back({fault, Tools("ToolCount = 3", 3), true, {}, {kNotRegistered}, {}, "old", {fault}});
    cases.push_back({fault, Tools("ToolCount = 3", 3, 2), true, {yes}, {kAskUninstall, kNotUninstalled}, {}, "old",
                     {fault}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(install.directory);
    fs::create_directories(install.directory);
    std::string tools = c.tools ? Joined(*c.tools, "\n") : "";
    if (c.tools) install.WriteTools(tools);
    if (c.oldCopy) install.PlaceCopy("old");
    if (!c.meanwhile.empty()) platform.window.onNextBox = [&] { install.WriteTools(tools = Joined(c.meanwhile, "\n")); };
    platform.files.failing = c.failing;
    EXPECT_EQ(Press(c.answers), c.boxes);
    EXPECT_EQ(ReadBytes(install.Tools()), c.toolsAfter ? Joined(*c.toolsAfter, "\r\n") : tools);
    EXPECT_EQ(ReadBytes(install.Copy()), c.copyAfter);
    EXPECT_TRUE(fs::is_directory(install.Copy().parent_path()));
    EXPECT_FALSE(fs::exists(install.Tools().string() + ".~NEW~"));
  }
  platform.files.failing.clear();
  platform.desktop.windows[0x77].title = "jaPBe";  // refused while jaPBe runs
  fs::remove_all(install.directory);
  EXPECT_EQ(Press(), Boxes{"WARNING: Please close jaPBe before (un)registering plugin !"});
  EXPECT_FALSE(fs::exists(install.Copy().parent_path()));
  platform.desktop.windows.clear();
  platform.registry.values.clear();
  EXPECT_EQ(Press(), Boxes{"ERROR: JaPBe is not installed !"});
}

// Running as the plug-in copy (its path in other letter case): registered without copying onto itself, and
// deleted only by the removal batch, started once the program has closed down.
TEST_F(RegistrationFlowTest, TheRunningCopyRegistersWithoutCopyingAndRemovesItselfThroughTheBatch) {
  install.PlaceCopy("running copy");
  platform.files.ownExecutable = WindowsStyle(install.directory) + "\\plugin\\MIRRAVEL.exe";
  platform.files.shortPaths[WindowsStyle(install.Copy())] = "C:\\JAPBE~1\\100%\\MIRRAV~1.EXE";  // may hold a "%"
  install.WriteTools("");
  EXPECT_EQ(Press(), Boxes{kRegistered});
  EXPECT_EQ(ReadBytes(install.Copy()), "running copy");

  // No batch can be written (a path the command processor's code page cannot spell): the copy stays, the user
  // is told so and the program goes on.
  fs::create_directories(temp / "\xA4");
  platform.files.temporaryDirectory = WindowsStyle(temp / "\xA4");
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskUninstall, "ERROR: Plugin Mirravel is unregistered,\nbut its file could "
                                                       "not be deleted:\n" + WindowsStyle(install.Copy())}));
  EXPECT_EQ(std::tuple(platform.shell.started.size(), platform.exitCode.has_value()), std::tuple(0u, false));

  // No "uninstalled" once the batch has started: the program is gone by then.
  fs::remove(install.Tools());
  platform.files.temporaryDirectory = WindowsStyle(temp);
  install.root.WriteFile("Temp J\xFCrgen/~MVUNIN.BAT", std::string(5000, 'x'));  // an earlier, longer batch
  int closesWhenStarted = -1;
  platform.shell.onStart = [&] { closesWhenStarted = platform.windowCloses; };
  EXPECT_EQ(Press({kAnswerYes}), Boxes{kAskRemoveCopy});
  const std::string batch = platform.files.temporaryDirectory + "\\~MVUNIN.BAT";
  std::string batchAsRead = batch;  // in the command processor's code page
  batchAsRead[batchAsRead.find('\xFC')] = '\x81';
  const std::string program = "\"C:\\JAPBE~1\\100%%\\MIRRAV~1.EXE\"";  // quoted, its "%" doubled
  // Sixty tries a second apart, then the batch gives up and deletes itself.
  const Lines batchLines = {"@ECHO OFF", "REM jaPBe Plugin Uninstallation", "SET MVTRIES=0", ":DELETE ",
                            "DEL " + program + " > NUL", "IF EXIST " + program + " IF %MVTRIES% LSS 60 GOTO EXISTS",
                            "DEL \"" + batchAsRead + "\" > NUL", "EXIT", ":EXISTS", "SET /A MVTRIES+=1",
                            "PING -n 2 127.0.0.1 > NUL", "GOTO DELETE"};
  EXPECT_EQ(ReadBytes(temp / "~MVUNIN.BAT"), Joined(batchLines, "\r\n"));
  using Started = decltype(platform.shell.started);
  EXPECT_EQ(platform.shell.started, (Started{{batch, platform.files.temporaryDirectory + "\\"}}));
  EXPECT_EQ(std::tuple(closesWhenStarted, platform.exitCode), std::tuple(1, std::optional<int>(0)));
  EXPECT_TRUE(fs::exists(install.Copy()));  // only the batch may delete it, once the process has gone
}

}  // namespace
}  // namespace mirravel
