// The "Register jaPBe plugin" button end to end inside the program: every branch and box, on real files
// in a temporary jaPBe installation, with injected file faults and the self-removal's way out.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/registration_flow.h"
#include "fakes/fake_platform.h"
#include "helpers/japbe_installation.h"
#include "registration/registration_state.h"
#include "registration/removal_batch.h"
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

std::string Joined(const Lines& lines, const std::string& lineEnd, bool lastEnded = true) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += lines[i] + (i + 1 < lines.size() || lastEnded ? lineEnd : "");
  return text;
}

Lines& operator+=(Lines& lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

// A foreign tool; `who` tells the tools apart, values hold "Tool_" and "ToolCount". (The end-to-end suite
// has jaPBe's full key set, and Mirravel's own entry spelt out as jaPBe reads it.)
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
  fs::path temp = install.root.Path() / "Temp dir";
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
  struct Case { const char* lineEnd; bool lastEnded; std::string countLine; int newCount; };
  const Case cases[] = {{"\n", true, "ToolCount = 3", 4}, {"\r\n", false, "  toolcount=3 tools", 4},
                        {"\r\n", true, "", 1}};  // no "ToolCount": none is written
  for (const Case& c : cases) {
    SCOPED_TRACE(c.countLine);
    const int present = c.countLine.empty() ? 0 : 3;
    install.WriteTools(Joined(ToolsLines(present, 0, c.countLine), c.lineEnd, c.lastEnded));
    EXPECT_EQ(Press(), Boxes{kRegistered});
    Lines expected = ToolsLines(present, 0, present ? "ToolCount = " + std::to_string(c.newCount) : "");
    EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected += MirravelToolEntry(c.newCount), "\r\n"));
    EXPECT_EQ(ReadBytes(install.Copy()), ReadBytes(ownExecutable));
    fs::remove(install.Copy());  // the state then rests on the entry, which counts only below a "ToolCount"
    EXPECT_EQ(PluginRegistrationState(platform.registry), present ? "Yes" : "No");
  }
}

TEST_F(RegistrationFlowTest, RemovingAnEntryRenumbersTheRestAndKeepsEveryOtherGroup) {
  install.WriteTools(Joined(ToolsLines(12, 1, "ToolCount = 12"), "\n"));
  install.PlaceCopy("old copy");
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskUninstall, kUninstalled}));
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(ToolsLines(11, 0, "ToolCount = 11"), "\r\n"));
  EXPECT_FALSE(fs::exists(install.Copy()));
  EXPECT_FALSE(platform.exitCode.has_value());

  // Found by any command naming the program (entry 3 here, under another caption).
  Lines lines = ToolsLines(3, 0, "ToolCount=3");
  lines[lines.size() - 3] = "Command = C:\\jaPBe\\PLUGIN\\mirravel.EXE";
  install.WriteTools(Joined(lines += {"[Other]", "Keep = me"}, "\r\n"));
  EXPECT_EQ(Press({kAnswerNo}), Boxes{kAskUninstall});  // declined: nothing but the directory
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(lines, "\r\n"));
  EXPECT_TRUE(fs::is_directory(install.Copy().parent_path()));
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskUninstall, kUninstalled}));
  Lines expected = ToolsLines(2, 0, "ToolCount = 2");
  EXPECT_EQ(ReadBytes(install.Tools()), Joined(expected += {"[Other]", "Keep = me"}, "\r\n"));
}

TEST_F(RegistrationFlowTest, AFailedRewriteLeavesTheToolsFileAsItWasAndNoTemporaryFile) {
  for (const int mirravelAt : {0, 2}) {
    for (const char* fault : {"read", "create", "line 3", "finish", "move"}) {
      SCOPED_TRACE(std::string(fault) + (mirravelAt ? " removing" : " adding"));
      const std::string original = Joined(ToolsLines(3, mirravelAt, "ToolCount = 3"), "\n", false);
      install.WriteTools(original);
      platform.files.failing = {fault};
      const Boxes boxes = Press({kAnswerYes});
      ASSERT_FALSE(boxes.empty());
      EXPECT_EQ(boxes.back(), mirravelAt ? kNotUninstalled : kNotRegistered);
      EXPECT_EQ(ReadBytes(install.Tools()), original);
      EXPECT_FALSE(fs::exists(install.Tools().string() + ".~NEW~"));
      EXPECT_FALSE(fs::exists(install.Copy()));
    }
  }
  const std::string largest = Joined(ToolsLines(1, 0, "ToolCount = 2147483647"), "\r\n");
  install.WriteTools(largest);
  EXPECT_EQ(Press(), Boxes{kNotRegistered});
  EXPECT_EQ(ReadBytes(install.Tools()), largest);
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
  EXPECT_EQ(Press({kAnswerYes}), (Boxes{kAskRemoveCopy, kUninstalled}));
  EXPECT_FALSE(fs::exists(install.Copy()));
  // Running as the plug-in copy: registered without copying onto itself.
  install.PlaceCopy("running copy");
  platform.files.ownExecutable = WindowsStyle(install.directory) + "\\plugin\\MIRRAVEL.exe";
  install.WriteTools("");
  EXPECT_EQ(Press(), Boxes{kRegistered});
  EXPECT_EQ(ReadBytes(install.Copy()), "running copy");
}

TEST(SelfRemoval, TheRunningCopyRemovesItselfThroughTheBatchAfterCloseDown) {
  const char* const shortCopy = "C:\\JAPBE~1\\100%\\MIRRAV~1.EXE";  // a short path can keep a blank or "%"
  const struct { const char* name; bool withToolsFile, batchWritable; } cases[] = {
      {"entry removed", true, true}, {"no tools file", false, true}, {"no batch can be written", true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform platform{"#A = $1\r\n"};
    Application app{platform};
    testing::JaPBeInstallation install{platform.registry};
    install.root.WriteFile("Temp dir/~MVUNIN.BAT", std::string(5000, 'x'));  // an earlier, longer batch
    platform.files.temporaryDirectory = WindowsStyle(install.root.Path() / (c.batchWritable ? "Temp dir" : "missing"));
    platform.files.ownExecutable = WindowsStyle(install.Copy());
    platform.files.shortPaths[platform.files.ownExecutable] = shortCopy;
    if (c.withToolsFile) install.WriteTools(Joined(ToolsLines(2, 2, "ToolCount = 2"), "\r\n"));
    install.PlaceCopy("running");
    int closesWhenStarted = -1;
    platform.shell.onStart = [&] { closesWhenStarted = platform.windowCloses; };
    ASSERT_TRUE(app.Start(""));
    platform.window.boxAnswers = {kAnswerYes};
    app.HandleEvent({WindowEvent::Kind::Gadget, kRegisterButton});

    // No "uninstalled" once the batch has started: the program is gone by then.
    EXPECT_EQ(platform.window.boxes.size(), c.withToolsFile ? 2u : 1u);
    EXPECT_TRUE(fs::exists(install.Copy()));  // only the batch may delete it, once the process has gone
    if (!c.batchWritable) {
      EXPECT_EQ(platform.window.BoxTexts().back(), kUninstalled);
      EXPECT_TRUE(platform.shell.started.empty());
      EXPECT_FALSE(platform.exitCode.has_value());
      continue;
    }
    const std::string batch = platform.files.temporaryDirectory + "\\~MVUNIN.BAT";
    const std::string written = ReadBytes(install.root.Path() / "Temp dir" / "~MVUNIN.BAT");
    EXPECT_EQ(written, Joined(RemovalBatchLines(shortCopy, batch), "\r\n"));
    EXPECT_NE(written.find("DEL \"C:\\JAPBE~1\\100%%\\MIRRAV~1.EXE\" > NUL\r\n"), std::string::npos);
    ASSERT_EQ(platform.shell.started.size(), 1u);
    EXPECT_EQ(platform.shell.started[0].file, batch);
    EXPECT_EQ(platform.shell.started[0].workingDirectory, platform.files.temporaryDirectory + "\\");
    EXPECT_EQ(closesWhenStarted, 1);
    EXPECT_EQ(platform.exitCode, 0);
  }
}

}  // namespace
}  // namespace mirravel
