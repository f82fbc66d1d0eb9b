// The "?" button, the side-by-side placement, the restore once the help has ended, the time-out and
// HELP_QUIT at shutdown, through the application against a simulated desktop.
#include <gtest/gtest.h>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "helpers/files.h"

namespace mirravel {
namespace {

constexpr WindowHandle kHelp = 0x7000;
using Rect = std::vector<std::int32_t>;
const Rect kHome = {300, 200, 731, 530};

class HelpFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.WriteFile("PB\\help\\win32.hlp", "LN");  // found through PureBasic's open command
    platform.registry.values[{RegistryRoot::ClassesRoot, "Applications\\PureBasic.exe\\shell\\open\\command"}] =
        "\"" + (dir.Path() / "PB\\PureBasic.exe").string() + "\" \"%1\"";
    platform.desktop.windows[main] = {"Mirravel", true, {300, 200, 731, 530}, 425};
    platform.desktop.workArea = {0, 0, 1024, 740};
    platform.helpEngine.onRequest = [this](const testing::HelpRequest& request) {
      if (request.command != HELP_QUIT && !helpAppearsAt) ShowHelpWindow();
    };
    platform.window.onPump = [this] {
      platform.clock.Sleep(1);
      if (platform.clock.now == helpAppearsAt) ShowHelpWindow();
    };
    ASSERT_TRUE(app.Start(""));
  }
  void ShowHelpWindow() { platform.desktop.windows[kHelp] = {"Win32 Programmer's Reference", true, {10, 10, 500, 500}, 0}; }
  void PressHelp(std::string_view copyField) {
    platform.window.texts[kCopyField] = std::string(copyField);
    platform.window.focus = kListView;
    app.HandleEvent({WindowEvent::Kind::Gadget, kHelpButton});
  }
  Rect RectOf(WindowHandle window) {
    const ScreenRect& r = platform.desktop.windows[window].rect;
    return {r.left, r.top, r.right, r.bottom};
  }
  const std::vector<testing::HelpRequest>& Requests() { return platform.helpEngine.requests; }

  testing::TempDirectory dir;
  const std::string helpFile = (dir.Path() / "PB\\help\\win32.hlp").string();  // as the program composes it
  std::optional<std::uint32_t> helpAppearsAt;
  testing::FakePlatform platform{"#WM_PAINT = $F\r\n"};
  const WindowHandle main = platform.window.handle;
  Application app{platform};
};

TEST_F(HelpFlowTest, WorksOnlyWithAHelpFileOpensAtTheKeywordAndPlacesBothWindowsOnceWhileTheHelpRuns) {
  EXPECT_FALSE(platform.window.disabled[kHelpButton]);
  testing::FakePlatform bare{"#A = $1\r\n"};
  Application other{bare};
  ASSERT_TRUE(other.Start(""));
  EXPECT_TRUE(bare.window.disabled[kHelpButton]);
  other.HandleEvent({WindowEvent::Kind::Gadget, kHelpButton});
  EXPECT_TRUE(bare.helpEngine.requests.empty());
  PressHelp("#WM_PAINT = $F ");
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(std::tuple(Requests()[0].owner, Requests()[0].helpFilePath, Requests()[0].command, Requests()[0].keyword),
            std::tuple(main, helpFile, HELP_KEY, "WM_PAINT"));
  EXPECT_EQ(std::tuple(RectOf(main), RectOf(kHelp)), std::tuple(Rect{0, 0, 431, 330}, Rect{431, 0, 1024, 740}));
  EXPECT_EQ(std::tuple(platform.desktop.calls.back(), platform.window.focus),
            std::tuple("focus " + std::to_string(main), kFindField));

  // The user moves Mirravel; a further press only changes the topic.
  platform.desktop.windows[main].rect = {50, 60, 481, 390};
  PressHelp("#");
  EXPECT_EQ(std::tuple(Requests().size(), Requests().back().command), std::tuple(2u, HELP_CONTENTS));
  EXPECT_EQ(RectOf(main), (Rect{50, 60, 481, 390}));

  app.HandleEvent({WindowEvent::Kind::Close, 0});  // the help still runs: it is told to quit
  EXPECT_EQ(std::tuple(Requests().back().command, Requests().back().helpFilePath), std::tuple(HELP_QUIT, helpFile));
}

TEST_F(HelpFlowTest, MirravelGoesBackOnceTheHelpHasEndedAndNoHelpWindowIsLeft) {
  PressHelp("#WM_PAINT = $F ");
  platform.window.focus = kListView;
  app.RunLoopTurn();
  platform.desktop.windows[kHelp].processAlive = false;  // ended, but a window with the title is still there
  app.RunLoopTurn();
  EXPECT_EQ(std::tuple(RectOf(main)[0], platform.window.focus), std::tuple(0, kListView));

  platform.desktop.windows.erase(kHelp);
  app.RunLoopTurn();
  EXPECT_EQ(std::tuple(RectOf(main), platform.window.focus), std::tuple(kHome, kFindField));
  const auto calls = platform.desktop.calls.size();
  app.RunLoopTurn();
  EXPECT_EQ(platform.desktop.calls.size(), calls) << "restored once";
  app.HandleEvent({WindowEvent::Kind::Close, 0});  // no help runs: nothing to quit
  EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(HelpFlowTest, WaitsUpTo5000MsThenReportsTheTimeOutOutsideTheTopMostState) {
  const struct { std::int32_t alwaysOnTop; std::uint32_t helpAfterMs; /* 0: never */ } cases[] = {{1, 0}, {0, 0}, {1, 4999}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "top-most " << c.alwaysOnTop << " help after " << c.helpAfterMs);
    platform.window.boxes.clear();
    app.State().alwaysOnTop = c.alwaysOnTop;
    platform.clock.now = 1000;
    helpAppearsAt = 1000 + (c.helpAfterMs == 0 ? 0xFFFFFFFFu : c.helpAfterMs);  // never: 2^32 - 1 ms on
    PressHelp("#WM_PAINT = $F ");
    EXPECT_EQ(app.State().helpWindowMoved, c.helpAfterMs != 0 ? 1 : 0);
    ASSERT_EQ(platform.window.boxes.size(), c.helpAfterMs == 0 ? 1u : 0u);
    if (c.helpAfterMs != 0) continue;
    EXPECT_EQ(platform.clock.now, 6001u);
    const testing::ShownBox& box = platform.window.boxes[0];
    EXPECT_EQ(std::tuple(box.title, box.text, box.type, box.topMostWhileShown),
              std::tuple("Time Out !", "Could not find help window in 5000 ms !\n< Win32 Programmer's Reference >",
                         kBoxTaskModalExclamation, false));
    EXPECT_EQ(std::tuple(platform.window.topMost, RectOf(main)), std::tuple(c.alwaysOnTop == 1, kHome));
  }
}

}  // namespace
}  // namespace mirravel
