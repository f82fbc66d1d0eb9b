// The "Register jaPBe plugin" button end to end inside the program: every branch and box, on real files
// in a temporary jaPBe installation, with injected file faults and the self-removal's way out.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/registration_flow.h"
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

std::string Joined(const Lines& lines, const std::string& lineEnd) {
  std::string text;
  for (const std::string& line : lines) text += line + lineEnd;
  return text;
}

Lines& operator+=(Lines& lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// A foreign tool; `who` tells the tools apart, values hold "Tool_" and "ToolCount". (The end-to-end suite
// has jaPBe's full key set.)
Lines ForeignTool(int number, int who) {
  const std::string id = std::to_string(who);
  return {"[Tool_" + std::to_string(number) + "]", "Command = C:\\Tool_box\\fmt" + id + ".exe",
          "Arguments = \"%FILE\" /ToolCount=" + id, "MenuItemName = Format " + id};
}

// A tools file of `count` tools in the shape jaPBe writes, Mirravel's entry (if any) at position `mirravelAt`.
Lines ToolsLines(int count, int mirravelAt, const std::string& countLine) {
  Lines lines = {"; jaPBe tools [Tool_9]", "[ToolsInfo]"};
  if (!countLine.empty()) lines.push_back(countLine);
  lines.push_back("OldToolCount = 7");
  for (int n = 1, who = 1; n <= count; ++n) lines += n == mirravelAt ? MirravelToolEntry(n) : ForeignTool(n, who++);
  return lines;
}

class RegistrationFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.files.ownExecutable = ownExecutable;
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
  std::string ownExecutable = install.root.WriteFile("Mirravel.exe", "MZ stand-in for the program");
  fs::path temp = install.root.Path() / "Temp J\xFCrgen";
};

TEST_F(RegistrationFlowTest, RefusesWhileJaPBeRunsAndReportsAMissingInstallation) {
  platform.desktop.windows[0x77].title = "jaPBe";
  EXPECT_EQ(Press(), Boxes{"WARNING: Please close jaPBe before (un)registering plugin !"});
  EXPECT_FALSE(fs::exists(install.Copy().parent_path()));
  platform.desktop.windows.clear();
  platform.registry.values.clear();
  EXPECT_EQ(Press(), Boxes{"ERROR: JaPBe is not installed !"});
}

TEST_F(RegistrationFlowTest, AddingKeepsEveryForeignLineAndUpdatesOnlyTheRealToolCount) {
  // The count line in any spelling; none is written where the file has none.
  const std::pair<std::string, int> cases[] = {{"ToolCount = 3", 4}, {"  toolcount=3 tools", 4}, {"", 1}};
  for (const auto& [countLine, newCount] : cases) {
    SCOPED_TRACE(countLine);
    const int present = countLine.empty() ? 0 : 3;
    install.WriteTools(Joined(ToolsLines(present, 0, countLine), "\n"));
    EXPECT_EQ(Press(), Boxes{kRegistered});
    Lines expected = ToolsLines(present, 0, "ToolCount = " + std::to_string(newCount));  // jaPBe lists what it counts
    EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected += MirravelToolEntry(newCount), "\r\n"));
    EXPECT_EQ(ReadBytes(install.Copy()), ReadBytes(ownExecutable));
  }
  // No "ToolsInfo" group: one goes before the first header; then the entry is seen as registered.
  for (const Lines& before : {Lines{}, Lines{"; tools", "[Other]"}}) {
    install.WriteTools(Joined(before, "\n"));
    EXPECT_EQ(Press(), Boxes{kRegistered});
    Lines expected = {"[ToolsInfo]", "ToolCount = 1"};
    if (!before.empty()) expected = {"; tools", "[ToolsInfo]", "ToolCount = 1", "[Other]"};
    EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected += MirravelToolEntry(1), "\r\n"));
    EXPECT_EQ(Press({kAnswerNo}), Boxes{kAskUninstall});
  }
}

TEST_F(RegistrationFlowTest, RemovingAnEntryRenumbersTheRestAndKeepsEveryOtherGroup) {
  Lines lines = ToolsLines(12, 1, "ToolCount=12");
  lines[5] = "Command = C:\\jaPBe\\PLUGIN\\mirravel.EXE";  // found by any command naming the program,
  lines[8] = "MenuItemName = Other";                       // whatever its caption
  install.WriteTools(Joined(lines += {"[Other]", "Keep = me"}, "\n"));
  EXPECT_EQ(Press({kAnswerNo}), Boxes{kAskUninstall});  // declined: nothing but the directory
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(lines, "\n"));
  EXPECT_TRUE(fs::is_directory(install.Copy().parent_path()));
  install.PlaceCopy("old copy");
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskUninstall, kUninstalled}));
  Lines expected = ToolsLines(11, 0, "ToolCount = 11");
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected += {"[Other]", "Keep = me"}, "\r\n"));
  EXPECT_FALSE(fs::exists(install.Copy()));
  EXPECT_FALSE(platform.exitCode.has_value());
}

// The file may change while the question is open: what goes is Mirravel's entry in the file as it is then.
TEST_F(RegistrationFlowTest, RemovesTheEntryTheFileHoldsWhenTheQuestionIsAnswered) {
  const std::pair<Lines, std::string> cases[] = {
      {ToolsLines(3, 3, "ToolCount = 3"), kUninstalled},  // a tool added before Mirravel's
      {ToolsLines(2, 0, "ToolCount = 2"),
       "WARNING: The plugin 'Mirravel' is no longer registered !\nNothing was changed."}};
  for (const auto& [meanwhile, box] : cases) {
    install.WriteTools(Joined(ToolsLines(2, 2, "ToolCount = 2"), "\n"));
    platform.window.onNextBox = [&, &lines = meanwhile] { install.WriteTools(Joined(lines, "\n")); };
    EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskUninstall, box}));
    EXPECT_EQ(ReadBytes(install.Tools()), box == kUninstalled ? Joined(ToolsLines(2, 0, "ToolCount = 2"), "\r\n")
                                                              : Joined(meanwhile, "\n"));
  }
}

TEST_F(RegistrationFlowTest, AFailedRewriteLeavesTheToolsFileAsItWasAndNoTemporaryFile) {
  const std::string largest = Joined(ToolsLines(1, 0, "ToolCount = 2147483647"), "\r\n");
  install.WriteTools(largest);
  EXPECT_EQ(Press(), Boxes{kNotRegistered});
  EXPECT_EQ(ReadBytes(install.Tools()), largest);
  for (const int mirravelAt : {0, 2}) {
    for (const char* fault : {"read", "create", "line 3", "finish", "move"}) {
      SCOPED_TRACE(std::string(fault) + (mirravelAt ? " removing" : " adding"));
      const std::string original = Joined(ToolsLines(3, mirravelAt, "ToolCount = 3"), "\n");
      install.WriteTools(original);
      platform.files.failing = {fault};
      EXPECT_EQ(Press({kAnswerYes}), (mirravelAt ? Boxes{kAskUninstall, kNotUninstalled} : Boxes{kNotRegistered}));
      EXPECT_EQ(ReadBytes(install.Tools()), original);
      EXPECT_FALSE(fs::exists(install.Tools().string() + ".~NEW~"));
      EXPECT_FALSE(fs::exists(install.Copy()));
    }
  }
}

TEST_F(RegistrationFlowTest, CopyingTheExecutable) {
  install.WriteTools(Joined(ToolsLines(1, 0, "ToolCount = 1"), "\r\n"));
  platform.files.failing = {"copy"};  // the entry stays, the failure is reported
  EXPECT_EQ(Press(), Boxes{kNotRegistered});
  fs::remove(install.Tools());
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskInstallCopy, kNotRegistered}));
  platform.files.failing.clear();
  EXPECT_EQ(Press({kAnswerNo}), Boxes{kAskInstallCopy});
  EXPECT_FALSE(fs::exists(install.Copy()));
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskInstallCopy, "INFO: Plugin Mirravel is installed !"}));
  EXPECT_FALSE(fs::exists(install.Tools()));  // no tools file is made
  // A copy that cannot be deleted is reported as staying, in both branches.
  const std::string stays = "its file could not be deleted:\n" + WindowsStyle(install.Copy());
  platform.files.failing = {"remove"};
  EXPECT_EQ(Press({kAnswerYes}),
            (Boxes{kAskRemoveCopy, "ERROR: Plugin could not be uninstalled !\nI" + stays.substr(1)}));
  install.WriteTools(Joined(ToolsLines(1, 1, "ToolCount = 1"), "\r\n"));
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskUninstall, "ERROR: Plugin Mirravel is unregistered,\nbut " + stays}));
  platform.files.failing.clear();
  fs::remove(install.Tools());
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskRemoveCopy, kUninstalled}));
  EXPECT_FALSE(fs::exists(install.Copy()));
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

  // No batch can be written (a path the command processor's code page cannot spell): the entry goes, the copy
  // stays, the user is told so and the program goes on.
  install.WriteTools(Joined(ToolsLines(2, 2, "ToolCount = 2"), "\r\n"));
  fs::create_directories(temp / "\xA4");
  platform.files.temporaryDirectory = WindowsStyle(temp / "\xA4");
  EXPECT_EQ(Press({kAnswerYes}),
            (Boxes{kAskUninstall, "ERROR: Plugin Mirravel is unregistered,\nbut its file could not be deleted:\n" +
                                      WindowsStyle(install.Copy())}));
  EXPECT_TRUE(platform.shell.started.empty());
  EXPECT_FALSE(platform.exitCode.has_value());

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
  ASSERT_EQ(platform.shell.started.size(), 1u);
  EXPECT_EQ(platform.shell.started[0].file, batch);
  EXPECT_EQ(platform.shell.started[0].workingDirectory, platform.files.temporaryDirectory + "\\");
  EXPECT_EQ(closesWhenStarted, 1);
  EXPECT_EQ(platform.exitCode, 0);
  EXPECT_TRUE(fs::exists(install.Copy()));  // only the batch may delete it, once the process has gone
}

}  // namespace
}  // namespace mirravel
