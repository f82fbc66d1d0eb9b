// The jaPBe link as the user meets it, against fakes: the start-up search (the queries in turn, the word,
// the search title, the found sound and the not-found message) and the three copy commands.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "host/host_protocol.h"
#include "ports/control_ids.h"

namespace mirravel {
namespace {

constexpr const char* kCatalogue = "#ABE_BOTTOM = $3 ' Bottom edge.\r\n#WM_PAINT = $F ' Paint\r\n#WM_SETTEXT = $C\r\n";
constexpr WindowHandle kHost = 4242;

// A program started by a simulated jaPBe that answers each query, inside the send, with its text (no
// text: the query is refused).
struct PluginRun {
  explicit PluginRun(std::map<std::uint32_t, std::string> texts) : replies(std::move(texts)) {
    platform.desktop.windows[kHost] = {};
    platform.desktop.onSend = [this](const testing::DeliveredMessage& sent) -> std::optional<std::intptr_t> {
      const auto reply = replies.find(sent.message);
      if (reply == replies.end()) return 0;
      platform.messageHook->OnCopyData(kHost, sent.message, reply->second + '\0');
      return 1;
    };
    started = app.Start("Mirravel.exe x 4242");
  }

  std::map<std::uint32_t, std::string> replies;
  testing::FakePlatform platform{kCatalogue};
  Application app{platform};
  bool started = false;
};

TEST(HostFlow, StartUpSearchTakesTheFirstReplyWithAHash) {
  using Q = std::vector<std::uint32_t>;
  struct Case { std::map<std::uint32_t, std::string> replies; Q queries; std::string word; std::string copied; int sounds; };
  const Case cases[] = {
      {{{MSG_QUERY_TEXT_A, "  SendMessage(h, #WM_SETTEXT, 0, t)  "}}, Q{MSG_QUERY_TEXT_A}, "#WM_SETTEXT", "#WM_SETTEXT = $C", 1},
      {{{MSG_QUERY_TEXT_A, "no name"}, {MSG_QUERY_TEXT_B, " #wm_paint( "}}, Q{MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B}, "#wm_paint",
       "#WM_PAINT = $F ", 1},
      {{{MSG_QUERY_TEXT_C, "#NOT_THERE"}}, Q{MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C}, "#NOT_THERE", "", 0},
      {{{MSG_QUERY_TEXT_A, "a"}, {MSG_QUERY_TEXT_B, "b"}}, Q{MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C}, "", "", 0},
  };
  for (const Case& c : cases) {
    PluginRun run(c.replies);
    testing::FakeWindow& window = run.platform.window;
    ASSERT_TRUE(run.started);
    Q sent;  // the start notice, then the queries in turn
    for (const auto& m : run.platform.desktop.delivered) sent.push_back(m.message);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), MSG_PLUGIN_STARTED);
    EXPECT_EQ(Q(sent.begin() + 1, sent.end()), c.queries) << c.word;
    EXPECT_EQ(window.texts[kFindField], c.word);
    EXPECT_EQ(window.texts[kCopyField], c.copied);
    EXPECT_EQ(run.platform.sounds, c.sounds) << c.word;
    const std::string searching = "Mirravel - Searching for '" + c.word + "' ...";
    const std::vector<std::string> titles = {searching, "Mirravel"};
    EXPECT_EQ(window.titles, c.word.empty() ? std::vector<std::string>() : titles);
    const bool notFound = !c.word.empty() && c.sounds == 0;
    ASSERT_EQ(window.boxes.size(), notFound ? 1u : 0u);
    if (notFound) {
      EXPECT_EQ(window.boxes[0].windowTitleWhileShown, searching);  // told under the search title
    }
  }
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
      EXPECT_TRUE(delivered[0].how == testing::DeliveredMessage::How::CopyData);
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
