// The jaPBe link as the user meets it, against fakes: the start-up search (the queries in turn, the word,
// the search title, the found sound and the not-found message) and the three copy commands.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "host/host_protocol.h"
#include "ports/control_ids.h"

namespace mirravel {
namespace {

constexpr const char* kCatalogue = "#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F ' Paint\r\n";
constexpr WindowHandle kHost = 0x1A;

// A program started by a simulated jaPBe that answers each query, inside the send, with its text (no
// text: the query is refused); jaPBe's window handle is the second parameter, in decimal unless given.
// userMeanwhile acts on the window while the program waits for a reply.
struct PluginRun {
  explicit PluginRun(std::map<std::uint32_t, std::string> texts, const std::string& handle = "26",
                     std::function<void(testing::FakeWindow&)> userMeanwhile = {})
      : replies(std::move(texts)) {
    platform.desktop.windows[kHost] = {};
    if (userMeanwhile) platform.window.onFetch = [this, userMeanwhile] { userMeanwhile(platform.window); };
    platform.desktop.onSend = [this](const testing::DeliveredMessage& sent) -> std::optional<std::intptr_t> {
      const auto reply = replies.find(sent.message);
      if (reply == replies.end()) return 0;
      platform.messageHook->OnCopyData(kHost, sent.message, reply->second + '\0');
      return 1;
    };
    started = app.Start("Mirravel.exe x " + handle);
  }

  std::map<std::uint32_t, std::string> replies;
  testing::FakePlatform platform{kCatalogue};
  Application app{platform};
  bool started = false;
};

TEST(HostFlow, StartUpSearchTakesTheFirstReplyWithAHash) {
  using Q = std::vector<std::uint32_t>;
  using Titles = std::vector<std::string>;
  const Q notices = {MSG_PLUGIN_STARTED, MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C};  // in this order
  // jaPBe's handle, its replies, how many queries were sent (-1: not even the start notice), the word searched
  // for and the copy field (found: with the sound). A hexadecimal handle is read as no host.
  struct Case { std::string handle; std::map<std::uint32_t, std::string> replies; int queries; std::string word, copied; };
  const Case cases[] = {
      {"26", {{MSG_QUERY_TEXT_A, "no name"}, {MSG_QUERY_TEXT_B, " #wm_paint( "}}, 2, "#wm_paint", "#WM_PAINT = $F "},
      {"26", {{MSG_QUERY_TEXT_C, "#NOT_THERE"}}, 3, "#NOT_THERE", ""},
      {"26", {{MSG_QUERY_TEXT_A, "a"}, {MSG_QUERY_TEXT_B, "b"}}, 3, "", ""},
      {"0x1A", {{MSG_QUERY_TEXT_A, "#WM_PAINT"}}, -1, "", ""},
  };
  for (const Case& c : cases) {
    PluginRun run(c.replies, c.handle);
    testing::FakeWindow& window = run.platform.window;
    ASSERT_TRUE(run.started);
    Q sent;
    for (const auto& m : run.platform.desktop.delivered) sent.push_back(m.message);
    EXPECT_EQ(sent, Q(notices.begin(), notices.begin() + 1 + c.queries)) << c.word;
    EXPECT_EQ(window.texts[kFindField], c.word);
    EXPECT_EQ(window.texts[kCopyField], c.copied);
    EXPECT_EQ(run.platform.sounds, c.copied.empty() ? 0 : 1) << c.word;
    const std::string searching = "Mirravel - Searching for '" + c.word + "' ...";
    EXPECT_EQ(window.titles, (c.word.empty() ? Titles{} : Titles{searching, "Mirravel"}));
    Titles boxTitles;  // a name not found is told under the search title
    for (const auto& box : window.boxes) boxTitles.push_back(box.windowTitleWhileShown);
    EXPECT_EQ(boxTitles, !c.word.empty() && c.copied.empty() ? Titles{searching} : Titles{}) << c.word;
  }
}

TEST(HostFlow, WhatTheUserDidDuringTheStartUpWaitIsTakenFromTheControls) {
  PluginRun run({{MSG_QUERY_TEXT_A, "no name"}}, "26", [](testing::FakeWindow& window) {
    window.texts[kFindField] = "3";  // typed and unchecked; the wait drops their events
    window.states[kAlwaysOnTopBox] = 0;
    window.events = {{WindowEvent::Kind::Gadget, kFindField}, {WindowEvent::Kind::Gadget, kAlwaysOnTopBox}};
  });
  EXPECT_EQ(std::tuple(run.app.State().findText, run.platform.window.texts[kFindLabel], run.app.State().alwaysOnTop),
            std::tuple(std::string("3"), std::string("Value to find :"), 0));
  EXPECT_FALSE(run.platform.window.topMost);
}

TEST(HostFlow, CopyCommandsHandJaPBeTheTextOrItsValueOrPutItOnTheClipboard) {
  // The copy data sent to the host (its NUL included), the box shown, the clipboard's text.
  const struct { int command; bool hostAlive; std::string sent, box; std::optional<std::string> clipboard; } cases[] = {
      {kMenuCopyToHost, true, std::string("#WM_PAINT = $F \0", 16), "", std::nullopt},
      {kMenuCopyValueToHost, true, std::string("$F\0", 3), "", std::nullopt},
      {kMenuCopyValueToHost, false, "", "ERROR: jaPBe process not found!", std::nullopt},
      {kMenuCopyToClipboard, false, "", "", "#WM_PAINT = $F "},
  };
  for (const auto& c : cases) {
    PluginRun run({});
    run.platform.desktop.windows[kHost].processAlive = c.hostAlive;
    run.platform.window.texts[kCopyField] = "#WM_PAINT = $F ";
    run.platform.desktop.delivered.clear();
    run.platform.window.focus = kListView;
    run.app.HandleEvent({WindowEvent::Kind::Menu, c.command});
    const auto& delivered = run.platform.desktop.delivered;
    ASSERT_EQ(delivered.size(), c.sent.empty() ? 0u : 1u) << c.command;
    if (!c.sent.empty()) {
      EXPECT_EQ(std::tuple(delivered[0].target, delivered[0].wParam, delivered[0].code, delivered[0].bytes),
                std::tuple(kHost, run.platform.window.handle, COPYDATA_TEXT_TO_HOST, c.sent));
    }
    EXPECT_EQ(run.platform.window.BoxTexts(), c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
    EXPECT_EQ(run.platform.clipboard.content, c.clipboard);
    EXPECT_EQ(run.platform.window.focus, kFindField);  // every command hands the focus back to the find field
  }
}

}  // namespace
}  // namespace mirravel
