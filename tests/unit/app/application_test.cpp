// Start-up, the dispatch table, the selection pick-up, the About box and the way out, against fakes.
#include <gtest/gtest.h>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"

namespace mirravel {
namespace {

constexpr const char* kCatalogue =
    "#ABE_BOTTOM = $3 ' Bottom edge.\r\n"
    "#WM_PAINT = $F\r\n"
    "#WM_PAINTICON = $26\r\n"
    "#YELLOW = $FFFF\r\n";

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The find field's notifications reach the loop as gadget events, as the real window reports them.
    window().onFieldNotification = [this](int id) { window().events.push_back({WindowEvent::Kind::Gadget, id}); };
    ASSERT_TRUE(app.Start("\"C:\\Tools\\Mirravel.exe\""));
    Drain();
  }
  testing::FakeWindow& window() { return platform.window; }
  void Drain() {
    while (!window().events.empty()) app.HandleEvent(window().FetchEvent());
  }
  void Type(std::string_view text) {
    window().FocusControl(kFindField);
    window().SetControlText(kFindField, text);
    Drain();
  }
  void Event(WindowEvent::Kind kind, int id) {
    app.HandleEvent({kind, id});
    Drain();
  }
  std::string Selected() { return std::string(window().list.SelectedText()); }

  testing::FakePlatform platform{kCatalogue};
  Application app{platform};
};

TEST_F(ApplicationTest, StartsWithTheCatalogueLoadedAndTheCopyButtonDisabled) {
  EXPECT_EQ(app.State().lineCount, 4);
  EXPECT_EQ(app.State().alwaysOnTop, 1);
  EXPECT_TRUE(window().disabled[kCopyButton]);
  EXPECT_EQ(app.State().hostWindow, 0u);
  ASSERT_EQ(platform.menuItems.size(), 3u);
  EXPECT_EQ(platform.menuItems[0].text, "Copy to to jaPBe");
  EXPECT_EQ(platform.menuItems[2].id, kMenuCopyToClipboard);
  EXPECT_STREQ(app.PluginMarker(), "! This is a JaPBe Plugin !");
  EXPECT_FALSE(platform.exitCode.has_value());
}

TEST_F(ApplicationTest, FindFieldKeepsTheLabelAndResetsTheWalk) {
  Type("$ff");
  EXPECT_EQ(window().texts[kFindLabel], "????? to find :");
  Type("255");
  EXPECT_EQ(window().texts[kFindLabel], "Value to find :");
  Type("wm_paint");
  EXPECT_EQ(window().texts[kFindLabel], "Constant to find :");
  EXPECT_EQ(app.State().findText, "wm_paint");
  Event(WindowEvent::Kind::Menu, kShortcutReturn);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
  EXPECT_NE(app.State().findNextPosition, 0);
  window().FocusControl(kListView);  // leaving the field starts a new search
  Drain();
  EXPECT_EQ(app.State().findNextPosition, 0);
}

TEST_F(ApplicationTest, ReturnOnlyActsInTheFindFieldWhileF3ActsAnywhere) {
  Type("#WM_PAINT");
  window().states[kOnlyValueBox] = 0;
  window().focus = kListView;  // focus moved without notifications, as a click into the list would
  Event(WindowEvent::Kind::Menu, kShortcutReturn);
  EXPECT_TRUE(window().selections.empty());
  Event(WindowEvent::Kind::Menu, kShortcutF3);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
  Event(WindowEvent::Kind::Menu, kShortcutF3);
  EXPECT_EQ(Selected(), "#WM_PAINTICON = $26");
  Event(WindowEvent::Kind::Menu, kShortcutF3);
  EXPECT_EQ(window().boxes.back().text, "No more entry found");
  Event(WindowEvent::Kind::Menu, kShortcutF3);
  EXPECT_EQ(Selected(), "#WM_PAINT = $F");
}

TEST_F(ApplicationTest, FindButtonWithAnEmptyFieldOnlyFocusesIt) {
  window().focus = kListView;
  Event(WindowEvent::Kind::Gadget, kFindButton);
  EXPECT_EQ(window().focus, kFindField);
  EXPECT_TRUE(window().boxes.empty());
  EXPECT_TRUE(window().selections.empty());
  Event(WindowEvent::Kind::Menu, kShortcutF3);  // F3 searches even for an empty text: "# =" is found nowhere
  ASSERT_EQ(window().boxes.size(), 1u);
  EXPECT_EQ(window().boxes[0].text, "Constant not found!");
}

TEST_F(ApplicationTest, HitsFillTheCopyFieldUpToTheComment) {
  Type("3");
  Event(WindowEvent::Kind::Gadget, kFindButton);
  EXPECT_EQ(window().texts[kCopyField], "#ABE_BOTTOM = $3 ");
}

TEST_F(ApplicationTest, SelectionPickUpCutsAtTheLineBreakAndTheApostrophe) {
  window().SelectInList(0, 11);
  EXPECT_EQ(window().texts[kCopyField], "#ABE_BOTTOM");
  window().SelectInList(0, 33);  // the whole first line and its break
  EXPECT_EQ(window().texts[kCopyField], "#ABE_BOTTOM = $3 ");
  window().SelectInList(17, 40);  // from the apostrophe on
  EXPECT_EQ(window().texts[kCopyField], "");
  window().SelectInList(26, 40);  // spans two lines: only the part on the first line
  EXPECT_EQ(window().texts[kCopyField], "edge.");
  window().SelectInList(31, 40);  // begins with the line break
  EXPECT_EQ(window().texts[kCopyField], "");
  window().texts[kCopyField] = "unchanged";
  window().SelectInList(5, 5);  // a caret move picks nothing up
  EXPECT_EQ(window().texts[kCopyField], "unchanged");
}

TEST(ApplicationSelectionLimits, PicksUpTo199KeepsAt200CutsBackLonger) {
  std::string longLine = "#" + std::string(250, 'A') + " = $1\r\n";
  testing::FakePlatform platform{longLine};
  Application app{platform};
  ASSERT_TRUE(app.Start(""));
  auto& window = platform.window;

  window.SelectInList(0, 199);
  EXPECT_EQ(window.texts[kCopyField].size(), 199u);
  window.texts[kCopyField] = "unchanged";
  window.SelectInList(0, 200);
  EXPECT_EQ(window.texts[kCopyField], "unchanged");
  window.selections.clear();
  window.SelectInList(3, 204);  // 201 characters: cut back to the first 200, which is then left alone
  ASSERT_EQ(window.selections.size(), 2u);
  EXPECT_EQ(window.selections[1], std::make_pair(3, 203));
  EXPECT_EQ(window.texts[kCopyField], "unchanged");
}

TEST_F(ApplicationTest, AlwaysOnTopFollowsTheBox) {
  window().states[kAlwaysOnTopBox] = 0;
  Event(WindowEvent::Kind::Gadget, kAlwaysOnTopBox);
  EXPECT_EQ(app.State().alwaysOnTop, 0);
  EXPECT_FALSE(window().topMost);
  EXPECT_EQ(window().focus, kFindField);
  window().states[kAlwaysOnTopBox] = 1;
  Event(WindowEvent::Kind::Gadget, kAlwaysOnTopBox);
  EXPECT_TRUE(window().topMost);
}

TEST_F(ApplicationTest, TabChangeFocusesTheFindFieldOnlyOnTheFirstTab) {
  window().focus = kCopyField;
  window().states[kTabPanel] = 1;
  Event(WindowEvent::Kind::Gadget, kTabPanel);
  EXPECT_EQ(window().focus, kCopyField);
  window().states[kTabPanel] = 0;
  Event(WindowEvent::Kind::Gadget, kTabPanel);
  EXPECT_EQ(window().focus, kFindField);
}

TEST_F(ApplicationTest, AboutBoxShowsTheLineCount) {
  Event(WindowEvent::Kind::Gadget, kAboutButton);
  ASSERT_EQ(window().boxes.size(), 1u);
  EXPECT_EQ(window().boxes[0].title, "About Mirravel");
  EXPECT_EQ(window().boxes[0].type, kBoxInformation);
  EXPECT_EQ(window().boxes[0].text,
            "Windows API constants viewer jaPBe plugin\nfor the PureBasic community.\n\n"
            "by the Mirravel authors\n\nConstants : \t4\nPlugin functions : \tDisabled\n"
            "Plugin registered : \tNo");
}

TEST_F(ApplicationTest, ContextMenuOffersOnlyTheClipboardOutsidePluginMode) {
  Event(WindowEvent::Kind::Gadget, kCopyButton);
  app.OnListRightButtonDown();
  ASSERT_EQ(window().contextMenus.size(), 2u);
  EXPECT_EQ(window().contextMenus[0], (std::array<bool, 3>{false, false, false}));  // empty copy field
  window().texts[kCopyField] = "#WM_PAINT = $F ";
  app.OnListRightButtonDown();
  EXPECT_EQ(window().contextMenus[2], (std::array<bool, 3>{false, false, true}));
  window().focus = kListView;
  Event(WindowEvent::Kind::Menu, kMenuCopyToClipboard);
  EXPECT_EQ(window().focus, kFindField);
}

TEST_F(ApplicationTest, CloseEndsTheProcessOnceWithExitCodeZero) {
  Event(WindowEvent::Kind::Close, 0);
  EXPECT_EQ(platform.exitCode, 0);
  EXPECT_EQ(platform.windowCloses, 1);
  app.OnCloseRequest();  // a second request while ending does nothing more
  EXPECT_EQ(platform.windowCloses, 1);
  app.RunEventLoop();  // returns at once: the process has ended
}

TEST(ApplicationStartUp, EndsQuietlyWhenTheWindowCannotBeOpened) {
  testing::FakePlatform platform{"#A = $1\r\n"};
  platform.windowCanBeOpened = false;
  Application app{platform};
  EXPECT_FALSE(app.Start(""));
  EXPECT_EQ(platform.exitCode, 0);
  EXPECT_TRUE(platform.window.boxes.empty());
}

TEST(ApplicationStartUp, GoesOnWithoutAContextMenu) {
  testing::FakePlatform platform{"#A = $1\r\n"};
  platform.menuCanBeCreated = false;
  Application app{platform};
  EXPECT_TRUE(app.Start(""));
  EXPECT_EQ(app.State().lineCount, 1);
}

TEST(ApplicationStartUp, ABadCatalogueIsReportedAndEndsTheProgram) {
  testing::FakePlatform platform{"#A = $1\r\n"};
  platform.block[0] = 'X';
  Application app{platform};
  EXPECT_FALSE(app.Start(""));
  ASSERT_EQ(platform.window.boxes.size(), 1u);
  EXPECT_EQ(platform.window.boxes[0].text, "Could not unpack data !");
  EXPECT_EQ(platform.windowCloses, 1);
  EXPECT_EQ(platform.exitCode, 0);
}

TEST(ApplicationStartUp, ReadsTheHostWindowFromTheSecondParameter) {
  struct Case { const char* commandLine; std::uintptr_t host; };
  const Case cases[] = {
      {"m.exe", 0}, {"m.exe first", 0}, {"m.exe first 1234", 1234}, {"\"C:\\a b\\m.exe\" \"x y\" 99", 99},
      {"m.exe first abc", 0}, {"m.exe first -1", 0xFFFFFFFFu}, {"m.exe first 4294967297", 1},
  };
  for (const Case& c : cases) {
    testing::FakePlatform platform{"#A = $1\r\n"};
    Application app{platform};
    ASSERT_TRUE(app.Start(c.commandLine));
    EXPECT_EQ(app.State().hostWindow, c.host) << c.commandLine;
  }
}

}  // namespace
}  // namespace mirravel
