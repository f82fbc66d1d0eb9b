// The "Register jaPBe plugin" button end to end inside the program: every branch and box, on real files
// in a temporary jaPBe installation, with injected file faults and the self-removal's way out.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/registration_flow.h"
#include "fakes/fake_platform.h"
#include "helpers/japbe_installation.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"

namespace mirravel {
namespace {

namespace fs = std::filesystem;
using testing::Append;
using testing::ForeignTool;
using testing::Joined;
using testing::ReadBytes;
using testing::ToolsInfo;
using testing::WindowsStyle;
using Boxes = std::vector<std::pair<std::string, std::string>>;

const std::string kAskUninstall = "The plugin 'Mirravel' is already registered !\nUninstall the plugin ?";
const std::string kUninstalled = "Plugin Mirravel is uninstalled !";
const std::string kRegistered = "Plugin Mirravel is registered !";
const std::string kNotRegistered = "Plugin could not be registered !";
const std::string kNotUninstalled = "Plugin could not be uninstalled !";
const std::string kAskRemoveCopy =
    "JaPBe tools preference file not found,\nbut the plugin seems already installed!\nUninstall the plugin ?";
const std::string kAskInstallCopy =
    "JaPBe tools preference file not found,\nbut the plugin seems not installed!\nInstall the plugin ?";

std::vector<std::string> MirravelEntry(int number) {
  return {"[Tool_" + std::to_string(number) + "]", "Command = Mirravel", "Arguments =", "WorkingDir = ",
          "MenuItemName = Mirravel", "Shortcut =", "Flags = 0", "ReloadSource = 0", "HideEditor = 0",
          "IsPlugin = 1", "Menu = 0", "Language = 0", "Hide = 0"};
}

// Foreign tools 1..count as one file, Mirravel's entry (if any) standing at position `mirravelAt`.
std::vector<std::string> ToolsLines(int count, int mirravelAt, const std::string& countLine) {
  std::vector<std::string> lines = ToolsInfo(countLine);
  for (int n = 1, who = 1; n <= count; ++n) Append(lines, n == mirravelAt ? MirravelEntry(n) : ForeignTool(n, who++));
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
    Boxes shown;
    for (const auto& box : platform.window.boxes) shown.emplace_back(box.title, box.text);
    return shown;
  }
  void WriteTools(const std::string& bytes) { std::ofstream(install.Tools(), std::ios::binary) << bytes; }
  void PlaceCopy(const std::string& bytes) {
    fs::create_directories(install.Copy().parent_path());
    std::ofstream(install.Copy(), std::ios::binary) << bytes;
  }

  testing::FakePlatform platform{"#A = $1\r\n"};
  Application app{platform};
  testing::JaPBeInstallation install{platform.registry};
  std::string ownExecutable = install.root.WriteFile("Mirravel.exe", "MZ stand-in for the program");
  fs::path temp = install.root.Path() / "Temp dir";
};

TEST_F(RegistrationFlowTest, RefusesWhileJaPBeRunsAndReportsAMissingInstallation) {
  platform.desktop.windows[0x77].title = "jaPBe";
  EXPECT_EQ(Press(), (Boxes{{"WARNING", "Please close jaPBe before (un)registering plugin !"}}));
  EXPECT_FALSE(fs::exists(install.Copy().parent_path()));
  platform.desktop.windows.clear();
  platform.registry.values.clear();
  EXPECT_EQ(Press(), (Boxes{{"ERROR", "JaPBe is not installed !"}}));
}

TEST_F(RegistrationFlowTest, AddingKeepsEveryForeignLineAndUpdatesOnlyTheRealToolCount) {
  struct Case { const char* lineEnd; bool lastEnded; std::string countLine; int newCount; bool countKept; };
  const Case cases[] = {{"\n", true, "ToolCount = 3", 4, true},
                        {"\r\n", false, "  toolcount=3 tools", 4, true},
                        {"\r\n", true, "", 1, false}};  // no "ToolCount": none is written
  for (const Case& c : cases) {
    SCOPED_TRACE(c.countLine);
    const int present = c.countLine.empty() ? 0 : 3;
    WriteTools(Joined(ToolsLines(present, 0, c.countLine), c.lineEnd, c.lastEnded));
    EXPECT_EQ(Press(), (Boxes{{"INFO", kRegistered}}));
    std::vector<std::string> expected = ToolsLines(present, 0, c.countKept ? "ToolCount = " + std::to_string(c.newCount) : "");
    Append(expected, MirravelEntry(c.newCount));
    EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected, "\r\n"));
    EXPECT_EQ(ReadBytes(install.Copy()), ReadBytes(ownExecutable));
    fs::remove(install.Copy());
  }
}

TEST_F(RegistrationFlowTest, RemovingEntryOneOfTwelveRenumbersTheRestAndDeletesTheCopy) {
  WriteTools(Joined(ToolsLines(12, 1, "ToolCount = 12"), "\n"));
  PlaceCopy("old copy");
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{{"WARNING", kAskUninstall}, {"INFO", kUninstalled}}));
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(ToolsLines(11, 0, "ToolCount = 11"), "\r\n"));
  EXPECT_FALSE(fs::exists(install.Copy()));
  EXPECT_FALSE(platform.exitCode.has_value());
}

TEST_F(RegistrationFlowTest, FindsTheEntryByAnyCommandNamingMirravelAndRemovesOnlyItsGroup) {
  std::vector<std::string> lines = ToolsLines(3, 0, "ToolCount=3");
  lines[lines.size() - 15 + 1] = "Command = C:\\jaPBe\\PLUGIN\\mirravel.EXE";  // entry 3, another caption
  Append(lines, {"[Other]", "Keep = me"});
  WriteTools(Joined(lines, "\r\n"));
  EXPECT_EQ(Press({kAnswerNo}), (Boxes{{"WARNING", kAskUninstall}}));  // declined: nothing but the directory
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(lines, "\r\n"));
  EXPECT_TRUE(fs::is_directory(install.Copy().parent_path()));
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{{"WARNING", kAskUninstall}, {"INFO", kUninstalled}}));
  std::vector<std::string> expected = ToolsLines(2, 0, "ToolCount = 2");
  Append(expected, {"[Other]", "Keep = me"});
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected, "\r\n"));
}

TEST_F(RegistrationFlowTest, AFailedRewriteLeavesTheToolsFileAsItWasAndNoTemporaryFile) {
  struct Fault { const char* name; bool testing::FaultyFileOperations::*flag; int lineWrite; };
  const Fault faults[] = {{"read", &testing::FaultyFileOperations::failRead, 0},
                          {"create", &testing::FaultyFileOperations::failCreate, 0},
                          {"third line", nullptr, 3},
                          {"flush", &testing::FaultyFileOperations::failFinish, 0},
                          {"move", &testing::FaultyFileOperations::failMove, 0}};
  for (const int mirravelAt : {0, 2}) {
    for (const Fault& fault : faults) {
      SCOPED_TRACE(std::string(fault.name) + (mirravelAt ? " removing" : " adding"));
      const std::string original = Joined(ToolsLines(3, mirravelAt, "ToolCount = 3"), "\n", false);
      WriteTools(original);
      platform.files = testing::FaultyFileOperations{};
      platform.files.ownExecutable = ownExecutable;
      if (fault.flag) platform.files.*fault.flag = true;
      platform.files.failLineWrite = fault.lineWrite;
      const Boxes boxes = Press({kAnswerYes});
      EXPECT_EQ(boxes.back(), (std::pair<std::string, std::string>{"ERROR", mirravelAt ? kNotUninstalled : kNotRegistered}));
      EXPECT_EQ(ReadBytes(install.Tools()), original);
      EXPECT_FALSE(fs::exists(install.Tools().string() + ".~NEW~"));
      EXPECT_FALSE(fs::exists(install.Copy()));
    }
  }
  platform.files = testing::FaultyFileOperations{};
  const std::string largest = Joined(ToolsLines(1, 0, "ToolCount = 2147483647"), "\r\n");
  WriteTools(largest);
  EXPECT_EQ(Press(), (Boxes{{"ERROR", kNotRegistered}}));
  EXPECT_EQ(ReadBytes(install.Tools()), largest);
}

TEST_F(RegistrationFlowTest, CopyingTheExecutable) {
  WriteTools(Joined(ToolsLines(1, 0, "ToolCount = 1"), "\r\n"));
  platform.files.failCopy = true;  // the entry stays, the failure is reported
  EXPECT_EQ(Press(), (Boxes{{"ERROR", kNotRegistered}}));
  fs::remove(install.Tools());
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{{"WARNING", kAskInstallCopy}, {"ERROR", kNotRegistered}}));
  platform.files.failCopy = false;
  EXPECT_EQ(Press({kAnswerNo}), (Boxes{{"WARNING", kAskInstallCopy}}));
  EXPECT_FALSE(fs::exists(install.Copy()));
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{{"WARNING", kAskInstallCopy}, {"INFO", "Plugin Mirravel is installed !"}}));
  EXPECT_FALSE(fs::exists(install.Tools()));  // no tools file is made
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{{"WARNING", kAskRemoveCopy}, {"INFO", kUninstalled}}));
  EXPECT_FALSE(fs::exists(install.Copy()));
  // Running as the plug-in copy: registered without copying onto itself.
  PlaceCopy("running copy");
  platform.files.ownExecutable = WindowsStyle(install.directory) + "\\plugin\\MIRRAVEL.exe";
  WriteTools("");
  EXPECT_EQ(Press(), (Boxes{{"INFO", kRegistered}}));
  EXPECT_EQ(ReadBytes(install.Copy()), "running copy");
}

TEST(SelfRemoval, TheRunningCopyRemovesItselfThroughTheBatchAfterCloseDown) {
  for (const bool withToolsFile : {true, false}) {
    SCOPED_TRACE(withToolsFile ? "entry removed" : "no tools file");
    testing::FakePlatform platform{"#A = $1\r\n"};
    Application app{platform};
    testing::JaPBeInstallation install{platform.registry};
    fs::create_directories(install.root.Path() / "Temp dir");
    install.root.WriteFile("Temp dir/~MVUNIN.BAT", std::string(5000, 'x'));  // an earlier, longer batch
    platform.files.temporaryDirectory = WindowsStyle(install.root.Path() / "Temp dir");
    platform.files.ownExecutable = WindowsStyle(install.Copy());
    platform.files.shortPaths[platform.files.ownExecutable] = "C:\\JAPBE~1\\PLUGIN\\MIRRAV~1.EXE";
    if (withToolsFile) std::ofstream(install.Tools()) << Joined(ToolsLines(2, 2, "ToolCount = 2"), "\r\n");
    fs::create_directories(install.Copy().parent_path());
    std::ofstream(install.Copy()) << "running";
    int closesWhenStarted = -1;
    platform.shell.onStart = [&] { closesWhenStarted = platform.windowCloses; };
    ASSERT_TRUE(app.Start(""));
    platform.window.boxAnswers = {kAnswerYes};
    app.HandleEvent({WindowEvent::Kind::Gadget, kRegisterButton});

    const std::string batch = platform.files.temporaryDirectory + "\\~MVUNIN.BAT";
    EXPECT_EQ(platform.window.boxes.size(), withToolsFile ? 2u : 1u);  // no "uninstalled" after the batch
    EXPECT_EQ(ReadBytes(install.root.Path() / "Temp dir" / "~MVUNIN.BAT"),
              Joined({"@ECHO OFF", "REM jaPBe Plugin Uninstallation", ":DELETE ",
                      "DEL \"C:\\JAPBE~1\\PLUGIN\\MIRRAV~1.EXE\" > NUL",
                      "IF EXIST \"C:\\JAPBE~1\\PLUGIN\\MIRRAV~1.EXE\" GOTO EXISTS", "DEL \"" + batch + "\" > NUL",
                      "EXIT", ":EXISTS", "GOTO DELETE"},
                     "\r\n"));
    ASSERT_EQ(platform.shell.started.size(), 1u);
    EXPECT_EQ(platform.shell.started[0].file, batch);
    EXPECT_EQ(platform.shell.started[0].workingDirectory, platform.files.temporaryDirectory + "\\");
    EXPECT_EQ(closesWhenStarted, 1);
    EXPECT_EQ(platform.exitCode, 0);
    EXPECT_TRUE(fs::exists(install.Copy()));  // the batch deletes it once the process has gone
  }
}

TEST_F(RegistrationFlowTest, TheRunningCopyStaysWhenNoBatchCanBeWritten) {
  WriteTools(Joined(ToolsLines(1, 1, "ToolCount = 1"), "\r\n"));
  platform.files.ownExecutable = WindowsStyle(install.Copy());
  platform.files.temporaryDirectory = WindowsStyle(install.root.Path() / "missing");
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{{"WARNING", kAskUninstall}, {"INFO", kUninstalled}}));
  EXPECT_TRUE(platform.shell.started.empty());
  EXPECT_FALSE(platform.exitCode.has_value());
}

TEST(SelfRemoval, BatchQuotesPathsAndDoublesPercentSigns) {
  testing::FakePlatform platform{"#A = $1\r\n"};
  testing::TempDirectory dir;
  platform.files.temporaryDirectory = WindowsStyle(dir.Path()) + "\\";
  platform.files.ownExecutable = "C:\\a 100%\\Mirravel.exe";
  EXPECT_TRUE(RemovePluginCopy("c:\\A 100%\\mirravel.exe", platform, [](const std::function<void()>& start) { start(); }));
  const std::string batch = ReadBytes(dir.Path() / "~MVUNIN.BAT");
  EXPECT_NE(batch.find("DEL \"c:\\A 100%%\\mirravel.exe\" > NUL\r\n"), std::string::npos);
  EXPECT_EQ(platform.shell.started.size(), 1u);
}

}  // namespace
}  // namespace mirravel
