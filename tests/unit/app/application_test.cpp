// Start-up (the catalogue loaded into the list or the failure reported), the dispatch table, the find flow
// and its find-next walk, the selection pick-up, the About box and the way out, against fakes.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/find_flow.h"
#include "app/load_catalogue.h"
#include "fakes/fake_platform.h"
#include "ui/main_window_layout.h"

namespace mirravel {
namespace {

const std::string kCatalogue = "#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F\r\n#WM_PAINTICON = $26\r\n"
                               "#YELLOW = $FFFF\r\n#" + std::string(250, 'A') + " = $1\r\n";

class ApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The fields' notifications reach the loop as gadget events, as the real window reports them.
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

  testing::FakePlatform platform{kCatalogue};
  Application app{platform};
};

TEST_F(ApplicationTest, StartsTopMostWithMenuMarkerAndAboutBoxOffersTheClipboardAndEndsOnceWithExitCodeZero) {
  EXPECT_EQ(app.State().alwaysOnTop, 1);
  ASSERT_EQ(platform.menuItems.size(), 3u);
  EXPECT_EQ(platform.menuItems[0].text, "Copy to to jaPBe");
  EXPECT_EQ(platform.menuItems[2].id, kMenuCopyToClipboard);
  EXPECT_STREQ(app.PluginMarker(), "! This is a JaPBe Plugin !");
  Event(WindowEvent::Kind::Gadget, kAboutButton);
  EXPECT_EQ(window().BoxTexts(), std::vector<std::string>{
      "About Mirravel: Windows API constants viewer jaPBe plugin\nfor the PureBasic community.\n\n"
      "by the Mirravel authors\n\nConstants : \t5\nPlugin functions : \tDisabled\nPlugin registered : \tNo"});
  EXPECT_EQ(window().boxes[0].type, kBoxInformation);
  Event(WindowEvent::Kind::Gadget, kCopyButton);  // outside plug-in mode only the clipboard is offered
  window().texts[kCopyField] = "#WM_PAINT = $F ";
  app.OnListRightButtonDown();
  EXPECT_EQ(window().contextMenus, (std::vector<std::array<bool, 3>>{{false, false, false}, {false, false, true}}));
  Event(WindowEvent::Kind::Close, 0);
  app.OnCloseRequest();  // a second request while ending does nothing more
  EXPECT_EQ(std::make_pair(platform.exitCode, platform.windowCloses), std::make_pair(std::optional<int>(0), 1));
  app.RunEventLoop();  // returns at once: the process has ended
}

// One search: the "Only value" box, the text, and what the window then shows: the selected definition, or
// a message box as "title: text" with its type.
struct Step { bool onlyValue; const char* text; std::int32_t result; std::string shows; unsigned boxType = 0; };

TEST(FindConstant, SelectsTheDefinitionOrSaysWhyNotAndWalksOnAfterEachHit) {
  const std::string noMore = "Find text: No more entry found", neither = "ERROR: Text is not a constant nor a value";
  const std::vector<Step> searches[] = {
      {{true, "#NOT_THERE", 0, "Find text: Constant not found!", kBoxExclamation}},
      // The walk goes on after each hit, says when there is no more, then starts again; a text that is
      // neither leaves its place alone.
      {{false, "#WM_PAINT", 1, "#WM_PAINT = $F"},
       {false, "#WM_PAINT", 1, "#WM_PAINTICON = $26"},
       {false, "#WM_PAINT", 0, noMore, kBoxInformation},
       {false, "#WM_PAINT", 1, "#WM_PAINT = $F"},
       {false, "$FG", 1, neither, kBoxStop},
       {false, "#WM_PAINT", 1, "#WM_PAINTICON = $26"}},
      // Checking "Only value" mid-walk goes on after the last hit: "= $F" later only occurs inside "= $FFFF".
      {{false, "$F", 1, "#WM_PAINT = $F"}, {true, "$F", 0, noMore, kBoxInformation}},
  };
  for (const std::vector<Step>& steps : searches) {
    testing::FakeWindow window;
    window.list.Assign(kCatalogue);
    AppState state;
    for (const Step& step : steps) {
      SCOPED_TRACE(step.text);
      window.states[kOnlyValueBox] = step.onlyValue ? 1 : 0;
      window.focus = kListView;
      const std::size_t boxes = window.boxes.size(), selections = window.selections.size();
      EXPECT_EQ(FindConstant(step.text, state, window), step.result);
      EXPECT_EQ(window.selections.size(), selections + (step.boxType == 0 ? 1 : 0));
      if (step.boxType == 0) {
        EXPECT_EQ(window.list.SelectedText(), step.shows);
        continue;
      }
      ASSERT_EQ(window.boxes.size(), boxes + 1);
      EXPECT_EQ(std::tuple(window.BoxTexts().back(), window.boxes.back().type, window.focus),
                std::tuple(step.shows, step.boxType, kFindField));
    }
  }
}

TEST_F(ApplicationTest, FindFieldNamesTheKindAndReturnSearchesOnlyFromIt) {
  for (const auto& [text, label] :
       {std::pair{"$ff", "????? to find :"}, {"wm_paint", "Constant to find :"}, {"3", "Value to find :"}}) {
    Type(text);
    EXPECT_EQ(window().texts[kFindLabel], label) << text;
  }
  Event(WindowEvent::Kind::Menu, kShortcutReturn);
  EXPECT_EQ(window().texts[kCopyField], "#ABE_BOTTOM = $3 ");  // the hit's selection, picked up
  EXPECT_NE(app.State().findNextPosition, 0);
  window().FocusControl(kListView);  // leaving the field starts a new search
  Drain();
  EXPECT_EQ(app.State().findNextPosition, 0);
  Type("#WM_PAINT");
  window().focus = kListView;  // focus moved without notifications, as a click into the list would
  Event(WindowEvent::Kind::Menu, kShortcutReturn);
  EXPECT_EQ(window().selections.size(), 1u);
  Event(WindowEvent::Kind::Menu, kShortcutF3);  // F3 searches from anywhere
  EXPECT_EQ(window().list.SelectedText(), "#WM_PAINT = $F");
  // The find button with an empty field only focuses it; F3 searches even then: "# =" is found nowhere.
  Type("");
  window().focus = kListView;
  Event(WindowEvent::Kind::Gadget, kFindButton);
  EXPECT_EQ(window().focus, kFindField);
  EXPECT_EQ(window().selections.size(), 2u);
  EXPECT_TRUE(window().boxes.empty());
  Event(WindowEvent::Kind::Menu, kShortcutF3);
  EXPECT_EQ(window().BoxTexts(), std::vector<std::string>{"Find text: Constant not found!"});
}

TEST_F(ApplicationTest, SelectionPickUpTakesTheDefinitionPartOfUpTo199Characters) {
  const std::int32_t longLine = window().list.LineStart(4);
  const std::string unchanged = "unchanged";
  const struct { std::int32_t min, max; std::string copied; std::int32_t selectedMax; } cases[] = {
      {0, 33, "#ABE_BOTTOM = $3 ", 33},  // the whole first line and its break
      {17, 40, "", 40},                  // from the apostrophe on
      {26, 40, "edge.", 40},             // spans two lines: only the part on the first line
      {31, 40, "", 40},                  // begins with the line break
      {5, 5, unchanged, 5},              // a caret move picks nothing up
      {longLine, longLine + 199, "#" + std::string(198, 'A'), longLine + 199},
      {longLine, longLine + 200, unchanged, longLine + 200},      // 200 are kept but not picked up
      {longLine + 3, longLine + 204, unchanged, longLine + 203},  // longer: cut back to 200
  };
  for (const auto& c : cases) {
    window().texts[kCopyField] = unchanged;
    window().SelectInList(c.min, c.max);
    EXPECT_EQ(window().texts[kCopyField], c.copied) << c.min << ".." << c.max;
    EXPECT_EQ(window().selections.back(), std::make_pair(c.min, c.selectedMax));
  }
}

TEST_F(ApplicationTest, AlwaysOnTopFollowsTheBoxTheFocusGoesToTheFindFieldOnlyWhileItShowsAndBackOnActivation) {
  using Kind = WindowEvent::Kind;
  // The tab shown, the box's state, the control the user used and the event; then where the focus is.
  const struct { int tab, box, used; WindowEvent event; int focus; } cases[] = {
      {kFindTab, 0, kAlwaysOnTopBox, {Kind::Gadget, kAlwaysOnTopBox}, kFindField},
      {kOptionsTab, 1, kAlwaysOnTopBox, {Kind::Gadget, kAlwaysOnTopBox}, kAlwaysOnTopBox},
      {kOptionsTab, 1, kTabPanel, {Kind::Gadget, kTabPanel}, kTabPanel},
      {kFindTab, 1, kTabPanel, {Kind::Gadget, kTabPanel}, kFindField},
      {kOptionsTab, 1, kHelpButton, {Kind::Gadget, kHelpButton}, kHelpButton},
      {kOptionsTab, 1, kCopyButton, {Kind::Menu, kMenuCopyToClipboard}, kCopyButton},
      {kOptionsTab, 1, kAboutButton, {Kind::Menu, kShortcutF3}, kAboutButton},  // after "Constant not found!"
  };
  for (const auto& c : cases) {
    window().states[kTabPanel] = c.tab;
    window().states[kAlwaysOnTopBox] = c.box;
    window().focus = c.used;
    Event(c.event.kind, c.event.id);
    EXPECT_EQ(window().focus, c.focus) << c.tab << " " << c.event.id;
    EXPECT_EQ(window().topMost, c.box == 1);
    EXPECT_EQ(app.State().alwaysOnTop, c.box);
  }
  // The tab shown and the control that had the focus when another window became active; then where it is.
  using Row = std::tuple<int, int, int>;
  for (const auto& [tab, had, focus] : {Row{kFindTab, kListView, kListView}, Row{kFindTab, kNoControl, kFindField},
                                        Row{kOptionsTab, kNoControl, kNoControl}}) {
    window().states[kTabPanel] = tab;
    window().focus = had;
    app.OnActivationChanged(false);
    window().focus = kNoControl;  // the other window has it
    app.OnActivationChanged(true);
    EXPECT_EQ(window().focus, focus) << tab << " " << had;
  }
}

TEST(ApplicationStartUp, EndsQuietlyWithoutAWindowGoesOnWithoutAMenuAndLoadsTheCatalogueOrSaysWhyNotAndEnds) {
  testing::FakePlatform noWindow{"#A = $1\r\n"}, noMenu{"#A = $1\r\n"};
  noWindow.windowCanBeOpened = false;
  noMenu.menuCanBeCreated = false;
  EXPECT_FALSE(Application(noWindow).Start(""));
  EXPECT_EQ(noWindow.exitCode, 0);
  EXPECT_TRUE(noWindow.window.boxes.empty());
  Application withoutMenu{noMenu};
  EXPECT_TRUE(withoutMenu.Start("m.exe 99 -1"));  // tokens and the decimal rule are the command line's
  EXPECT_FALSE(noMenu.exitCode.has_value());
  EXPECT_EQ(withoutMenu.State().hostWindow, 0xFFFFFFFFu);
  // How a block is checked is the decoder's; here each way a block fails meets its message.
  auto wrongChecksum = testing::LiteralBlock("#A = $1\r\n");
  wrongChecksum[6] ^= 1;
  const struct { const char* name; testing::Bytes block; const char* list; std::string_view message; } cases[] = {
      {"zero byte", testing::LiteralBlock(std::string("#A = $1\r\n\0#B = $2\r\n", 19)), "#A = $1\n", ""},
      {"size field negative", testing::LiteralBlock("#A = $1\r\n", 0x80000000LL), "", kAllocateFailedMessage},
      {"shorter than its header", {'J', 'C', 5, 0}, "", kAllocateFailedMessage},
      {"wrong checksum", wrongChecksum, "", kUnpackFailedMessage},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing::FakePlatform platform{""};
    platform.block = c.block;
    Application app{platform};
    EXPECT_EQ(app.Start(""), c.message.empty());
    EXPECT_EQ(platform.window.list.Text(), c.list);
    using Texts = std::vector<std::string>;
    EXPECT_EQ(platform.window.BoxTexts(), c.message.empty() ? Texts{} : Texts{"ERROR: " + std::string(c.message)});
    EXPECT_TRUE(platform.window.boxes.empty() || platform.window.boxes[0].type == kBoxStop);
    EXPECT_EQ(platform.windowCloses, c.message.empty() ? 0 : 1);
    EXPECT_EQ(platform.exitCode, c.message.empty() ? std::nullopt : std::optional<int>(0));
  }
}

}  // namespace
}  // namespace mirravel
