// Plugin mode as the user meets it, against fakes: the start-up search over jaPBe's replies, the copy
// commands and what follows when jaPBe has ended.
#include <gtest/gtest.h>

#include <map>

#include "app/application.h"
#include "fakes/fake_platform.h"
#include "host/host_protocol.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"

namespace mirravel {
namespace {

constexpr const char* kCatalogue =
    "#ABE_BOTTOM = $3 ' Bottom edge.\r\n"
    "#WM_PAINT = $F ' Paint\r\n"
    "#WM_SETTEXT = $C\r\n";
constexpr WindowHandle kHost = 4242;
constexpr const char* kPluginCommandLine = "Mirravel.exe x 4242";

// A started program whose simulated host answers each query, inside the send, with its text (no entry:
// the query is refused).
class HostFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform.desktop.windows[kHost] = {};
    platform.desktop.onSend = [this](const testing::DeliveredMessage& sent) -> std::optional<std::intptr_t> {
      const auto reply = replies.find(sent.message);
      if (sent.how == testing::DeliveredMessage::How::CopyData || reply == replies.end()) return 0;
      platform.messageHook->OnCopyData(kHost, sent.message, reply->second + '\0');
      return 1;
    };
  }
  bool Start(const char* commandLine = kPluginCommandLine) { return app.Start(commandLine); }
  std::vector<std::uint32_t> Queries() const {
    std::vector<std::uint32_t> queries;
    for (const auto& m : platform.desktop.delivered) {
      if (m.how == testing::DeliveredMessage::How::Sent) queries.push_back(m.message);
    }
    return queries;
  }
  testing::FakeWindow& window() { return platform.window; }

  std::map<std::uint32_t, std::string> replies;
  testing::FakePlatform platform{kCatalogue};
  Application app{platform};
};

TEST_F(HostFlowTest, StartUpSearchTakesTheFirstReplyWithAHash) {
  struct Case {
    std::map<std::uint32_t, std::string> replies;
    std::vector<std::uint32_t> queries;
    std::string word;
    int sounds;
  };
  const Case cases[] = {
      {{{MSG_QUERY_TEXT_A, "  SendMessage(h, #WM_SETTEXT, 0, t)  "}}, {MSG_QUERY_TEXT_A}, "#WM_SETTEXT", 1},
      {{{MSG_QUERY_TEXT_A, "no name"}, {MSG_QUERY_TEXT_B, " #wm_paint( "}}, {MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B}, "#wm_paint", 1},
      {{{MSG_QUERY_TEXT_C, "#ABE_BOTTOM"}}, {MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C}, "#ABE_BOTTOM", 1},
      {{{MSG_QUERY_TEXT_A, "a"}, {MSG_QUERY_TEXT_B, "b"}, {MSG_QUERY_TEXT_C, "c"}},
       {MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C}, "", 0},
  };
  for (const Case& c : cases) {
    platform.desktop.delivered.clear();
    replies = c.replies;
    platform.sounds = 0;
    window() = testing::FakeWindow();
    ASSERT_TRUE(Start()) << c.word;
    EXPECT_EQ(Queries(), c.queries) << c.word;
    EXPECT_EQ(platform.desktop.delivered.front().message, MSG_PLUGIN_STARTED);
    EXPECT_EQ(window().texts[kFindField], c.word);
    EXPECT_EQ(app.State().findText, c.word);
    EXPECT_EQ(platform.sounds, c.sounds) << c.word;
    EXPECT_EQ(window().title, "Mirravel");
    const std::vector<std::string> titles =
        c.word.empty() ? std::vector<std::string>{} : std::vector<std::string>{"Mirravel - Searching for '" + c.word + "' ...", "Mirravel"};
    EXPECT_EQ(window().titles, titles);
  }
  EXPECT_EQ(window().texts[kCopyField], "");
}

TEST_F(HostFlowTest, AFoundWordIsSelectedAndANameNotFoundIsToldUnderTheSearchTitle) {
  replies = {{MSG_QUERY_TEXT_A, "#WM_PAINT"}};
  ASSERT_TRUE(Start());
  EXPECT_EQ(window().texts[kCopyField], "#WM_PAINT = $F ");
  EXPECT_FALSE(window().disabled[kCopyButton]);

  testing::FakePlatform other{kCatalogue};
  other.desktop.windows[kHost] = {};
  other.desktop.onSend = [&other](const testing::DeliveredMessage& sent) -> std::optional<std::intptr_t> {
    other.messageHook->OnCopyData(kHost, sent.message, "#NO_SUCH");
    return 1;
  };
  Application app2{other};
  ASSERT_TRUE(app2.Start(kPluginCommandLine));
  ASSERT_EQ(other.window.boxes.size(), 1u);
  EXPECT_EQ(other.window.boxes[0].text, "Constant not found!");
  EXPECT_EQ(other.window.boxes[0].windowTitleWhileShown, "Mirravel - Searching for '#NO_SUCH' ...");
  EXPECT_EQ(other.window.title, "Mirravel");
  EXPECT_EQ(other.sounds, 0);
}

TEST_F(HostFlowTest, NoHostMeansNoMessagesAndNoSearch) {
  for (const char* commandLine : {"Mirravel.exe", "Mirravel.exe x abc", "Mirravel.exe x 0x1A", "Mirravel.exe x 77"}) {
    platform.desktop.delivered.clear();
    ASSERT_TRUE(Start(commandLine));
    EXPECT_TRUE(platform.desktop.delivered.empty()) << commandLine;
    EXPECT_EQ(app.State().pluginMode, 0);
    EXPECT_TRUE(window().disabled[kCopyButton]);
  }
}

TEST_F(HostFlowTest, CopyCommandsDeliverTheTextItsValueOrFillTheClipboard) {
  ASSERT_TRUE(Start());
  window().texts[kCopyField] = "#WM_PAINT = $F ";
  struct Case { int id; std::string delivered; std::optional<std::string> clipboard; };
  const Case cases[] = {
      {kMenuCopyToHost, std::string("#WM_PAINT = $F \0", 16), std::nullopt},
      {kMenuCopyValueToHost, std::string("$F\0", 3), std::nullopt},
      {kMenuCopyToClipboard, "", "#WM_PAINT = $F "},
  };
  for (const Case& c : cases) {
    platform.desktop.delivered.clear();
    platform.clipboard.content.reset();
    window().focus = kListView;
    app.HandleEvent({WindowEvent::Kind::Menu, c.id});
    if (c.delivered.empty()) {
      EXPECT_TRUE(platform.desktop.delivered.empty());
    } else {
      ASSERT_EQ(platform.desktop.delivered.size(), 1u);
      EXPECT_EQ(platform.desktop.delivered[0].target, kHost);
      EXPECT_EQ(platform.desktop.delivered[0].code, COPYDATA_TEXT_TO_HOST);
      EXPECT_EQ(platform.desktop.delivered[0].bytes, c.delivered);
    }
    EXPECT_EQ(platform.clipboard.content, c.clipboard);
    EXPECT_EQ(window().focus, kFindField) << c.id;
  }
  EXPECT_TRUE(window().boxes.empty());
}

TEST_F(HostFlowTest, AfterTheHostEndedEverythingSaysSo) {
  ASSERT_TRUE(Start());
  window().texts[kCopyField] = "#WM_PAINT = $F ";
  app.HandleEvent({WindowEvent::Kind::Gadget, kCopyButton});
  EXPECT_EQ(window().contextMenus.back(), (std::array<bool, 3>{true, true, true}));

  platform.desktop.windows[kHost].processAlive = false;
  platform.desktop.delivered.clear();
  app.OnListRightButtonDown();
  EXPECT_EQ(window().contextMenus.back(), (std::array<bool, 3>{false, false, true}));
  EXPECT_TRUE(window().disabled[kCopyButton]);
  for (const int id : {kMenuCopyToHost, kMenuCopyValueToHost}) {
    window().boxes.clear();
    app.HandleEvent({WindowEvent::Kind::Menu, id});
    ASSERT_EQ(window().boxes.size(), 1u);
    EXPECT_EQ(window().boxes[0].title, "ERROR");
    EXPECT_EQ(window().boxes[0].text, "jaPBe process not found!");
    EXPECT_EQ(window().boxes[0].type, kBoxStop);
  }
  EXPECT_NE(app.BuildAboutText().find("Plugin functions : \tDisabled\n"), std::string::npos);
  app.Shutdown();
  EXPECT_TRUE(platform.desktop.delivered.empty());  // no closing notice either
  EXPECT_EQ(platform.exitCode, 0);
}

TEST_F(HostFlowTest, ClosingNotifiesTheLiveHostBeforeTheWindowCloses) {
  ASSERT_TRUE(Start());
  EXPECT_NE(app.BuildAboutText().find("Plugin functions : \tEnabled\n"), std::string::npos);
  platform.desktop.calls.clear();
  app.OnCloseRequest();
  EXPECT_EQ(platform.desktop.delivered.back().message, MSG_PLUGIN_CLOSING);
  EXPECT_EQ(platform.desktop.calls, (std::vector<std::string>{"post", "focus 4242", "foreground 4242"}));
  EXPECT_EQ(platform.windowCloses, 1);
}

}  // namespace
}  // namespace mirravel
