// The program against a simulated desktop: start-up (the catalogue loaded or the failure reported, the
// search for jaPBe's word), the dispatch table, the find flow and its walk, the selection pick-up, the help
// button's flow, the copy commands, the About box and the way out; and the "Register jaPBe plugin" button's
// every branch and box, on real files in a temporary jaPBe installation with injected file faults.
#include <gtest/gtest.h>

#include <cctype>
#include <map>

#include "app/application.h"
#include "app/load_catalogue.h"
#include "fakes/fake_platform.h"
#include "helpers/japbe_installation.h"
#include "host/host_protocol.h"
#include "registration/tools_file_rewrite.h"
#include "ui/main_window_layout.h"

namespace mirravel {
namespace {

const std::string kCatalogue = "#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F\r\n#WM_PAINTICON = $26\r\n"
                               "#YELLOW = $FFFF\r\n#" + std::string(250, 'A') + " = $1\r\n";
constexpr WindowHandle kHost = 0x1A, kHelp = 0x7000;
namespace fs = std::filesystem;
using Rect = std::vector<std::int32_t>;
using Texts = std::vector<std::string>;
using Lines = std::vector<std::string>;
using testing::ReadBytes;
using testing::WindowsStyle;
const Rect kHome = {300, 200, 731, 530};

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

// The program on a simulated desktop, started by the test once it has set the desktop up. jaPBe's window
// (handle 26) answers each query, inside the send, with its reply (none: the query is refused). PureBasic's
// help file is installed; the help window appears on the first request, or at tick helpAppearsAt if set.
// jaPBe is installed without a tools file; the program runs from outside it.
struct Program {
  Program() {
    platform.files.ownExecutable = install.root.WriteFile("Mirravel.exe", "own");
    platform.files.temporaryDirectory = WindowsStyle(temp);  // reported without a trailing separator
    fs::create_directories(temp);
    install.root.WriteFile("PB\\help\\win32.hlp", "LN");  // found through PureBasic's open command
    platform.registry.values[{RegistryRoot::ClassesRoot, "Applications\\PureBasic.exe\\shell\\open\\command"}] =
        "\"" + (install.root.Path() / "PB\\PureBasic.exe").string() + "\" \"%1\"";
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
  Texts Press(std::deque<int> answers = {}) {
    window().boxes.clear();
    window().boxAnswers = std::move(answers);
    Event(WindowEvent::Kind::Gadget, kRegisterButton);
    return window().BoxTexts();
  }

  std::optional<std::uint32_t> helpAppearsAt;
  std::map<std::uint32_t, std::string> replies;
  testing::FakePlatform platform{kCatalogue};
  const WindowHandle main = platform.window.handle;
  Application app{platform};
  testing::JaPBeInstallation install{platform.registry};
  const std::string helpFile = (install.root.Path() / "PB\\help\\win32.hlp").string();  // as the program composes it
  fs::path temp = install.root.Path() / "Temp J\xFCrgen";
};

class ApplicationTest : public ::testing::Test, public Program {
 protected:
  void SetUp() override { ASSERT_TRUE(Start("\"C:\\Tools\\Mirravel.exe\"")); }
};

TEST_F(ApplicationTest, StartsTopMostWithMenuMarkerAndAboutBoxOffersTheClipboardAndEndsOnceWithExitCodeZero) {
  EXPECT_EQ(app.State().alwaysOnTop, 1);
  EXPECT_TRUE(window().disabled[kCopyButton]);
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

// F3 pressed in the find field walks on after each hit, says when there is no more, then starts again; a text
// that is neither leaves its place alone. Checking "Only value" mid-walk goes on after the hit: "= $F" later
// only occurs inside "= $FFFF".
TEST_F(ApplicationTest, FindNextSelectsTheDefinitionOrSaysWhyNotAndWalksOnAfterEachHit) {
  const std::string noMore = "Find text: No more entry found";
  // The "Only value" box, the text, and what the window then shows: the definition selected, or a box's text
  // and type.
  const struct { int onlyValue; const char* text; std::string shows; unsigned boxType = 0; } steps[] = {
      {1, "#NOT_THERE", "Find text: Constant not found!", kBoxExclamation},
      {0, "$F", "#WM_PAINT = $F"}, {1, "$F", noMore, kBoxInformation},
      {0, "#WM_PAINT", "#WM_PAINT = $F"}, {0, "#WM_PAINT", "#WM_PAINTICON = $26"},
      {0, "#WM_PAINT", noMore, kBoxInformation}, {0, "#WM_PAINT", "#WM_PAINT = $F"},
      {0, "$FG", "ERROR: Text is not a constant nor a value", kBoxStop}, {0, "#WM_PAINT", "#WM_PAINTICON = $26"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.text);
    window().states[kOnlyValueBox] = step.onlyValue;
    app.State().findText = step.text;  // as typed, without the notification that restarts the walk
    window().focus = kFindField;
    window().boxes.clear();
    const std::size_t selections = window().selections.size();
    Event(WindowEvent::Kind::Menu, kShortcutF3);
    EXPECT_EQ(window().selections.size(), selections + (step.boxType == 0 ? 1 : 0));
    if (step.boxType == 0) {
      EXPECT_EQ(window().list.SelectedText(), step.shows);
      continue;
    }
    ASSERT_EQ(window().boxes.size(), 1u);
    EXPECT_EQ(std::tuple(window().BoxTexts()[0], window().boxes[0].type), std::tuple(step.shows, step.boxType));
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
  // The find button with an empty field only focuses it; F3 searches from anywhere, even then: "# =" is found
  // nowhere, and the box hands the focus back to the field.
  Type("");
  window().focus = kListView;
  Event(WindowEvent::Kind::Gadget, kFindButton);
  EXPECT_EQ(window().focus, kFindField);
  EXPECT_EQ(window().selections.size(), 1u);
  EXPECT_TRUE(window().boxes.empty());
  window().focus = kListView;
  Event(WindowEvent::Kind::Menu, kShortcutF3);
  EXPECT_EQ(window().BoxTexts(), std::vector<std::string>{"Find text: Constant not found!"});
  EXPECT_EQ(window().focus, kFindField);
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

// Each case starts from its tools file (LF ends) and maybe an old copy; the file is rewritten with CR LF ends, or
// stays as last written (the user may change it while the question is open). The plug-in directory is always made.
TEST_F(ApplicationTest, RegisterButtonInEachBranchChangesOnlyMirravelsLinesAndCopyAndSaysWhatHappened) {
  struct Case {
    const char* name; std::optional<Lines> tools; bool oldCopy; std::deque<int> answers; Texts boxes;
    std::optional<Lines> toolsAfter; std::string copyAfter; std::set<std::string> failing = {}; Lines meanwhile = {};
  };
  const int yes = kAnswerYes, no = kAnswerNo;
  const Lines others = {"[Other]", "Keep = me"};
  const std::string stays = "its file could not be deleted:\n" + WindowsStyle(install.Copy());
  std::vector<Case> cases = {
      {"count line", Tools("ToolCount = 3", 3), true, {}, {kRegistered}, Tools("ToolCount = 4", 3) + Lines{"@4"}, "own"},
      {"no count line", Tools("", 2), false, {}, {kRegistered}, Tools("ToolCount = 3", 2) + Lines{"@3"}, "own"},
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
  EXPECT_EQ(Press(), Texts{"WARNING: Please close jaPBe before (un)registering plugin !"});
  EXPECT_FALSE(fs::exists(install.Copy().parent_path()));
  platform.desktop.windows.clear();
  platform.registry.values.clear();
  EXPECT_EQ(Press(), Texts{"ERROR: JaPBe is not installed !"});
}

// Running as the plug-in copy (its path in other letter case): registered without copying onto itself, and
// deleted only by the removal batch, started once the program has closed down.
TEST_F(ApplicationTest, RegisterButtonRunningAsTheCopyRegistersWithoutCopyingAndRemovesItselfThroughTheBatch) {
  install.PlaceCopy("running copy");
  platform.files.ownExecutable = WindowsStyle(install.directory) + "\\plugin\\MIRRAVEL.exe";
  platform.files.shortPaths[WindowsStyle(install.Copy())] = "C:\\JAPBE~1\\100%\\MIRRAV~1.EXE";  // may hold a "%"
  install.WriteTools("");
  EXPECT_EQ(Press(), Texts{kRegistered});
  EXPECT_EQ(ReadBytes(install.Copy()), "running copy");

  // No batch can be written (a path the command processor's code page cannot spell): the copy stays, the user
  // is told so and the program goes on.
  fs::create_directories(temp / "\xA4");
  platform.files.temporaryDirectory = WindowsStyle(temp / "\xA4");
  EXPECT_EQ(Press({kAnswerYes}), (Texts{kAskUninstall, "ERROR: Plugin Mirravel is unregistered,\nbut its file could "
                                                       "not be deleted:\n" + WindowsStyle(install.Copy())}));
  EXPECT_EQ(std::tuple(platform.shell.started.size(), platform.exitCode.has_value()), std::tuple(0u, false));

  // No "uninstalled" once the batch has started: the program is gone by then.
  fs::remove(install.Tools());
  platform.files.temporaryDirectory = WindowsStyle(temp);
  install.root.WriteFile("Temp J\xFCrgen/~MVUNIN.BAT", std::string(5000, 'x'));  // an earlier, longer batch
  int closesWhenStarted = -1;
  platform.shell.onStart = [&] { closesWhenStarted = platform.windowCloses; };
  EXPECT_EQ(Press({kAnswerYes}), Texts{kAskRemoveCopy});
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
