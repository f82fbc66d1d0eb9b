// The program against a simulated desktop: start-up (the catalogue loaded or the failure reported, the
// search for jaPBe's word), the dispatch table, the find flow and its walk, the selection pick-up, the help
// button's flow, the copy commands, the About box and the way out.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/application.h"
#include "app/find_flow.h"
#include "app/load_catalogue.h"
#include "fakes/fake_platform.h"
#include "helpers/files.h"
#include "host/host_protocol.h"
#include "ui/main_window_layout.h"

namespace mirravel {
namespace {

const std::string kCatalogue = "#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F\r\n#WM_PAINTICON = $26\r\n"
                               "#YELLOW = $FFFF\r\n#" + std::string(250, 'A') + " = $1\r\n";
constexpr WindowHandle kHost = 0x1A, kHelp = 0x7000;
using Rect = std::vector<std::int32_t>;
using Texts = std::vector<std::string>;
const Rect kHome = {300, 200, 731, 530};

// The program on a simulated desktop, started by the test once it has set the desktop up. jaPBe's window
// (handle 26) answers each query, inside the send, with its reply (none: the query is refused). PureBasic's
// help file is installed; the help window appears on the first request, or at tick helpAppearsAt if set.
struct Program {
  Program() {
    dir.WriteFile("PB\\help\\win32.hlp", "LN");  // found through PureBasic's open command
    platform.registry.values[{RegistryRoot::ClassesRoot, "Applications\\PureBasic.exe\\shell\\open\\command"}] =
        "\"" + (dir.Path() / "PB\\PureBasic.exe").string() + "\" \"%1\"";
    platform.desktop.windows[kHost] = {};
    platform.desktop.windows[main] = {"Mirravel", true, {300, 200, 731, 530}, 425};
    platform.desktop.workArea = {0, 0, 1024, 740};
    platform.desktop.onSend = [this](const testing::DeliveredMessage& sent) -> std::optional<std::intptr_t> {
      const auto reply = replies.find(sent.message);
      if (reply == replies.end()) return 0;
      platform.messageHook->OnCopyData(kHost, sent.message, reply->second + '\0');
      return 1;
    };
    platform.helpEngine.onRequest = [this](const testing::HelpRequest& request) {
      if (request.command != HELP_QUIT && !helpAppearsAt) ShowHelpWindow();
    };
    window().onPump = [this] {
      platform.clock.Sleep(1);
      if (platform.clock.now == helpAppearsAt) ShowHelpWindow();
    };
    // The fields' notifications reach the loop as gadget events, as the real window reports them.
    window().onFieldNotification = [this](int id) { window().events.push_back({WindowEvent::Kind::Gadget, id}); };
  }
  bool Start(const std::string& commandLine) {
    const bool started = app.Start(commandLine);
    Drain();
    return started;
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
  void ShowHelpWindow() { platform.desktop.windows[kHelp] = {"Win32 Programmer's Reference", true, {10, 10, 500, 500}, 0}; }
  void PressHelp(std::string_view copyField) {
    window().texts[kCopyField] = std::string(copyField);
    window().focus = kListView;
    Event(WindowEvent::Kind::Gadget, kHelpButton);
  }
  Rect RectOf(WindowHandle handle) {
    const ScreenRect& r = platform.desktop.windows[handle].rect;
    return {r.left, r.top, r.right, r.bottom};
  }
  const std::vector<testing::HelpRequest>& Requests() { return platform.helpEngine.requests; }

  testing::TempDirectory dir;
  const std::string helpFile = (dir.Path() / "PB\\help\\win32.hlp").string();  // as the program composes it
  std::optional<std::uint32_t> helpAppearsAt;
  std::map<std::uint32_t, std::string> replies;
  testing::FakePlatform platform{kCatalogue};
  const WindowHandle main = platform.window.handle;
  Application app{platform};
};

class ApplicationTest : public ::testing::Test, public Program {
 protected:
  void SetUp() override { ASSERT_TRUE(Start("\"C:\\Tools\\Mirravel.exe\"")); }
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
  Program noWindow, noMenu;
  noWindow.platform.windowCanBeOpened = false;
  noMenu.platform.menuCanBeCreated = false;
  EXPECT_FALSE(noWindow.Start(""));
  EXPECT_EQ(noWindow.platform.exitCode, 0);
  EXPECT_TRUE(noWindow.window().boxes.empty());
  EXPECT_TRUE(noMenu.Start("m.exe 99 -1"));  // tokens and the decimal rule are the command line's
  EXPECT_FALSE(noMenu.platform.exitCode.has_value());
  EXPECT_EQ(noMenu.app.State().hostWindow, 0xFFFFFFFFu);
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
    Program program;
    program.platform.block = c.block;
    EXPECT_EQ(program.Start(""), c.message.empty());
    EXPECT_EQ(program.window().list.Text(), c.list);
    EXPECT_EQ(program.window().BoxTexts(), c.message.empty() ? Texts{} : Texts{"ERROR: " + std::string(c.message)});
    EXPECT_TRUE(program.window().boxes.empty() || program.window().boxes[0].type == kBoxStop);
    EXPECT_EQ(program.platform.windowCloses, c.message.empty() ? 0 : 1);
    EXPECT_EQ(program.platform.exitCode, c.message.empty() ? std::nullopt : std::optional<int>(0));
  }
}

TEST_F(ApplicationTest, HelpWorksOnlyWithAHelpFileOpensAtTheKeywordAndPlacesBothWindowsOnceWhileTheHelpRuns) {
  EXPECT_FALSE(window().disabled[kHelpButton]);
  Program bare;
  bare.platform.registry.values.clear();
  ASSERT_TRUE(bare.Start(""));
  EXPECT_TRUE(bare.window().disabled[kHelpButton]);
  bare.PressHelp("#WM_PAINT = $F ");
  EXPECT_TRUE(bare.Requests().empty());
  PressHelp("#WM_PAINT = $F ");
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(std::tuple(Requests()[0].owner, Requests()[0].helpFilePath, Requests()[0].command, Requests()[0].keyword),
            std::tuple(main, helpFile, HELP_KEY, "WM_PAINT"));
  EXPECT_EQ(std::tuple(RectOf(main), RectOf(kHelp)), std::tuple(Rect{0, 0, 431, 330}, Rect{431, 0, 1024, 740}));
  EXPECT_EQ(std::tuple(platform.desktop.calls.back(), window().focus), std::tuple("focus " + std::to_string(main), kFindField));

  // The user moves Mirravel; a further press only changes the topic.
  platform.desktop.windows[main].rect = {50, 60, 481, 390};
  PressHelp("#");
  EXPECT_EQ(std::tuple(Requests().size(), Requests().back().command), std::tuple(2u, HELP_CONTENTS));
  EXPECT_EQ(RectOf(main), (Rect{50, 60, 481, 390}));

  Event(WindowEvent::Kind::Close, 0);  // the help still runs: it is told to quit
  EXPECT_EQ(std::tuple(Requests().back().command, Requests().back().helpFilePath), std::tuple(HELP_QUIT, helpFile));
}

TEST_F(ApplicationTest, HelpEndedMirravelGoesBackOnceNoHelpWindowIsLeft) {
  PressHelp("#WM_PAINT = $F ");
  window().focus = kListView;
  app.RunLoopTurn();
  platform.desktop.windows[kHelp].processAlive = false;  // ended, but a window with the title is still there
  app.RunLoopTurn();
  EXPECT_EQ(std::tuple(RectOf(main)[0], window().focus), std::tuple(0, kListView));

  platform.desktop.windows.erase(kHelp);
  app.RunLoopTurn();
  EXPECT_EQ(std::tuple(RectOf(main), window().focus), std::tuple(kHome, kFindField));
  const auto calls = platform.desktop.calls.size();
  app.RunLoopTurn();
  EXPECT_EQ(platform.desktop.calls.size(), calls) << "restored once";
  Event(WindowEvent::Kind::Close, 0);  // no help runs: nothing to quit
  EXPECT_EQ(Requests().size(), 1u);
}

TEST_F(ApplicationTest, HelpWaitsUpTo5000MsThenReportsTheTimeOutOutsideTheTopMostState) {
  const struct { std::int32_t alwaysOnTop; std::uint32_t helpAfterMs; /* 0: never */ } cases[] = {{1, 0}, {0, 0}, {1, 4999}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "top-most " << c.alwaysOnTop << " help after " << c.helpAfterMs);
    window().boxes.clear();
    app.State().alwaysOnTop = c.alwaysOnTop;
    platform.clock.now = 1000;
    helpAppearsAt = 1000 + (c.helpAfterMs == 0 ? 0xFFFFFFFFu : c.helpAfterMs);  // never: 2^32 - 1 ms on
    PressHelp("#WM_PAINT = $F ");
    EXPECT_EQ(app.State().helpWindowMoved, c.helpAfterMs != 0 ? 1 : 0);
    ASSERT_EQ(window().boxes.size(), c.helpAfterMs == 0 ? 1u : 0u);
    if (c.helpAfterMs != 0) continue;
    EXPECT_EQ(platform.clock.now, 6001u);
    const testing::ShownBox& box = window().boxes[0];
    EXPECT_EQ(std::tuple(box.title, box.text, box.type, box.topMostWhileShown),
              std::tuple("Time Out !", "Could not find help window in 5000 ms !\n< Win32 Programmer's Reference >",
                         kBoxTaskModalExclamation, false));
    EXPECT_EQ(std::tuple(window().topMost, RectOf(main)), std::tuple(c.alwaysOnTop == 1, kHome));
  }
}

TEST(HostFlow, StartUpSearchTakesTheFirstReplyWithAHash) {
  using Q = std::vector<std::uint32_t>;
  const Q notices = {MSG_PLUGIN_STARTED, MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C};  // in this order
  // jaPBe's handle, its replies, how many queries were sent (-1: not even the start notice), the word searched
  // for and the copy field (found: with the sound). A hexadecimal handle is read as no host.
  struct Case { std::string handle; std::map<std::uint32_t, std::string> replies; int queries; std::string word, copied; };
  const Case cases[] = {
      {"26", {{MSG_QUERY_TEXT_A, "no name"}, {MSG_QUERY_TEXT_B, " #wm_paint( "}}, 2, "#wm_paint", "#WM_PAINT = $F"},
      {"26", {{MSG_QUERY_TEXT_C, "#NOT_THERE"}}, 3, "#NOT_THERE", ""},
      {"26", {{MSG_QUERY_TEXT_A, "a"}, {MSG_QUERY_TEXT_B, "b"}}, 3, "", ""},
      {"0x1A", {{MSG_QUERY_TEXT_A, "#WM_PAINT"}}, -1, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.handle + " " + c.word);
    Program run;
    run.replies = c.replies;
    ASSERT_TRUE(run.Start("Mirravel.exe x " + c.handle));
    Q sent;
    for (const auto& m : run.platform.desktop.delivered) sent.push_back(m.message);
    EXPECT_EQ(sent, Q(notices.begin(), notices.begin() + 1 + c.queries));
    EXPECT_EQ(std::tuple(run.window().texts[kFindField], run.window().texts[kCopyField]), std::tuple(c.word, c.copied));
    EXPECT_EQ(run.platform.sounds, c.copied.empty() ? 0 : 1);
    const std::string searching = "Mirravel - Searching for '" + c.word + "' ...";
    EXPECT_EQ(run.window().titles, (c.word.empty() ? Texts{} : Texts{searching, "Mirravel"}));
    Texts boxTitles;  // a name not found is told under the search title
    for (const auto& box : run.window().boxes) boxTitles.push_back(box.windowTitleWhileShown);
    EXPECT_EQ(boxTitles, !c.word.empty() && c.copied.empty() ? Texts{searching} : Texts{});
  }
}

TEST(HostFlow, WhatTheUserDidDuringTheStartUpWaitIsTakenFromTheControls) {
  Program run;
  run.replies = {{MSG_QUERY_TEXT_A, "no name"}};
  run.window().onFetch = [&run] {  // typed and unchecked; the wait drops their events
    run.window().texts[kFindField] = "3";
    run.window().states[kAlwaysOnTopBox] = 0;
    run.window().events = {{WindowEvent::Kind::Gadget, kFindField}, {WindowEvent::Kind::Gadget, kAlwaysOnTopBox}};
  };
  ASSERT_TRUE(run.app.Start("m.exe x 26"));
  EXPECT_EQ(std::tuple(run.app.State().findText, run.window().texts[kFindLabel], run.app.State().alwaysOnTop),
            std::tuple(std::string("3"), std::string("Value to find :"), 0));
  EXPECT_FALSE(run.window().topMost);
}

TEST(HostFlow, CopyCommandsHandJaPBeTheTextOrItsValueOrPutItOnTheClipboard) {
  Program run;
  ASSERT_TRUE(run.Start("m.exe x 26"));
  // The copy data sent to the host (its NUL included), the box shown, the clipboard's text.
  const struct { int command; bool hostAlive; std::string sent, box; std::optional<std::string> clipboard; } cases[] = {
      {kMenuCopyToHost, true, std::string("#WM_PAINT = $F \0", 16), "", std::nullopt},
      {kMenuCopyValueToHost, true, std::string("$F\0", 3), "", std::nullopt},
      {kMenuCopyValueToHost, false, "", "ERROR: jaPBe process not found!", std::nullopt},
      {kMenuCopyToClipboard, false, "", "", "#WM_PAINT = $F "},
  };
  for (const auto& c : cases) {
    run.platform.desktop.windows[kHost].processAlive = c.hostAlive;
    run.window().texts[kCopyField] = "#WM_PAINT = $F ";
    run.window().boxes.clear();
    run.platform.desktop.delivered.clear();
    run.window().focus = kListView;
    run.Event(WindowEvent::Kind::Menu, c.command);
    const auto& delivered = run.platform.desktop.delivered;
    ASSERT_EQ(delivered.size(), c.sent.empty() ? 0u : 1u) << c.command;
    if (!c.sent.empty()) {
      EXPECT_EQ(std::tuple(delivered[0].target, delivered[0].wParam, delivered[0].code, delivered[0].bytes),
                std::tuple(kHost, run.main, COPYDATA_TEXT_TO_HOST, c.sent));
    }
    EXPECT_EQ(run.window().BoxTexts(), c.box.empty() ? Texts{} : Texts{c.box});
    EXPECT_EQ(run.platform.clipboard.content, c.clipboard);
    EXPECT_EQ(run.window().focus, kFindField);  // every command hands the focus back to the find field
  }
}

}  // namespace
}  // namespace mirravel
