// The host link against a simulated desktop: liveness and its side effects, the queries with their wait,
// reply intake, texts handed over and the closing notice.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "host/host_link.h"
#include "host/host_protocol.h"
#include "ports/control_ids.h"

namespace mirravel {
namespace {

constexpr WindowHandle kHost = 0x5150;
using How = testing::DeliveredMessage::How;

class HostLinkTest : public ::testing::Test {
 protected:
  HostLinkTest() { platform.desktop.windows[kHost] = {}; }
  HostLink Link(WindowHandle host = kHost) { return HostLink(platform, platform.window, host, pluginMode, replies); }
  void HostAlive(bool alive) { platform.desktop.windows[kHost].processAlive = alive; }

  testing::FakePlatform platform{"#A = $1\r\n"};
  std::int32_t pluginMode = 0;
  ReplyBuffers replies;
};

TEST(ReplyBuffers, KeepExactlyTheBytesReceived) {
  struct Case { std::string bytes; std::string text; };
  const Case cases[] = {
      {std::string("#WM_PAINT\0junk", 14), "#WM_PAINT"},  // text ends at the first NUL
      {"no terminator", "no terminator"},                 // all bytes, nothing past them
      {"", ""},
      {std::string("\0", 1), ""},
  };
  for (const Case& c : cases) {
    ReplyBuffers buffers;
    EXPECT_TRUE(buffers.Store(MSG_QUERY_TEXT_B, c.bytes));
    EXPECT_TRUE(buffers.Holds(MSG_QUERY_TEXT_B));
    EXPECT_EQ(buffers.Text(MSG_QUERY_TEXT_B), c.text) << c.bytes;
    EXPECT_FALSE(buffers.Holds(MSG_QUERY_TEXT_A));
  }
  ReplyBuffers buffers;
  EXPECT_FALSE(buffers.Store(0x411, "x"));
  EXPECT_FALSE(buffers.Store(0x1000040D, "x"));  // only the code itself, not its low bits
  ASSERT_TRUE(buffers.Store(MSG_QUERY_TEXT_C, "first"));
  ASSERT_TRUE(buffers.Store(MSG_QUERY_TEXT_C, "2nd"));
  EXPECT_EQ(buffers.Text(MSG_QUERY_TEXT_C), "2nd");
  buffers.Release(MSG_QUERY_TEXT_C);
  EXPECT_FALSE(buffers.Holds(MSG_QUERY_TEXT_C));
}

TEST_F(HostLinkTest, LivenessSetsTheFlagAndTheCopyButton) {
  struct Case { WindowHandle host; bool alive; int startMode; int result; int mode; };
  const Case cases[] = {
      {kHost, true, 0, 1, 1},  {kHost, false, 1, 0, 0},
      {0, true, 0, 0, 0},      {0, true, 1, 0, 1},  // no host window: the flag is left as it was
      {0x999, true, 1, 0, 0},                       // no such window: no process
  };
  for (const Case& c : cases) {
    HostAlive(c.alive);
    pluginMode = c.startMode;
    EXPECT_EQ(Link(c.host).IsHostAlive(), c.result) << c.host;
    EXPECT_EQ(pluginMode, c.mode) << c.host;
    EXPECT_EQ(platform.window.disabled[kCopyButton], c.mode != 1) << c.host;
    EXPECT_EQ(Link(c.host).PluginFunctionsState(), c.result == 1 ? "Enabled" : "Disabled");
  }
  EXPECT_TRUE(platform.desktop.delivered.empty());
}

TEST_F(HostLinkTest, ReplyIntakeOnlyFromTheHostInPluginMode) {
  struct Case { int mode; WindowHandle sender; std::uintptr_t code; bool stored; };
  const Case cases[] = {
      {1, kHost, MSG_QUERY_TEXT_A, true},
      {1, kHost | 0xFFFFFFFF00000000u, MSG_QUERY_TEXT_C, true},  // the same handle, sign-extended
      {0, kHost, MSG_QUERY_TEXT_A, false},
      {1, 0x777, MSG_QUERY_TEXT_A, false},
      {1, kHost, 0x411, false},
      {1, kHost, COPYDATA_TEXT_TO_HOST, false},
  };
  for (const Case& c : cases) {
    replies = ReplyBuffers();
    pluginMode = c.mode;
    EXPECT_EQ(Link().AcceptReply(static_cast<std::uintptr_t>(c.sender), c.code, "#X"), c.stored) << c.sender;
    EXPECT_EQ(replies.Holds(c.code), c.stored);
  }
  pluginMode = 1;
  EXPECT_FALSE(Link(0).AcceptReply(0, MSG_QUERY_TEXT_A, "#X"));
}

// How the simulated host answers a query, and how long the program then waits.
TEST_F(HostLinkTest, QueryWaitsUpToFiveSecondsForTheReply) {
  enum class Answer { Inside, AfterMs, Never, Zero, SendTimesOut };
  struct Case { Answer answer; std::uint32_t replyAfterMs; std::uint32_t startTick; std::string text; std::uint32_t waitedMs; };
  const Case cases[] = {
      {Answer::Inside, 0, 1000, "#WM_PAINT", 1},  // already there: one turn
      {Answer::AfterMs, 40, 1000, "#WM_PAINT", 41},
      {Answer::Never, 0, 1000, "", 5001},
      {Answer::Never, 0, 0xFFFFF000u, "", 5001},  // the tick count wraps during the wait
      {Answer::Zero, 0, 1000, "", 0},
      {Answer::SendTimesOut, 0, 1000, "", 0},
  };
  for (const Case& c : cases) {
    replies = ReplyBuffers();
    replies.Store(MSG_QUERY_TEXT_B, "#STALE");  // an earlier reply is not taken for this query's
    pluginMode = 1;
    platform.clock.now = c.startTick;
    HostLink link = Link();
    platform.desktop.onSend = [&](const testing::DeliveredMessage&) -> std::optional<std::intptr_t> {
      if (c.answer == Answer::SendTimesOut) return std::nullopt;
      if (c.answer == Answer::Inside) link.AcceptReply(kHost, MSG_QUERY_TEXT_B, std::string("#WM_PAINT\0", 10));
      return c.answer == Answer::Zero ? 0 : 1;
    };
    const std::uint32_t replyAt = c.startTick + c.replyAfterMs;
    platform.window.onFetch = [&] {
      if (c.answer == Answer::AfterMs && platform.clock.now == replyAt) link.AcceptReply(kHost, MSG_QUERY_TEXT_B, "#WM_PAINT");
    };
    EXPECT_EQ(link.QueryHostText(MSG_QUERY_TEXT_B), c.text);
    EXPECT_EQ(platform.clock.now - c.startTick, c.waitedMs) << static_cast<int>(c.answer);
    const testing::DeliveredMessage& sent = platform.desktop.delivered.back();
    EXPECT_EQ(sent.message, MSG_QUERY_TEXT_B);
    EXPECT_EQ(sent.wParam, 0u);
    EXPECT_EQ(static_cast<std::uintptr_t>(sent.lParam), platform.window.handle);
  }
}

TEST_F(HostLinkTest, QueryCFirstChecksThatTheHostRuns) {
  pluginMode = 1;
  HostAlive(false);
  EXPECT_EQ(Link().QueryHostText(MSG_QUERY_TEXT_C), "");
  EXPECT_TRUE(platform.desktop.delivered.empty());
  EXPECT_EQ(pluginMode, 0);
  HostAlive(true);
  Link().QueryHostText(MSG_QUERY_TEXT_C);
  EXPECT_EQ(platform.desktop.delivered.size(), 1u);
}

TEST_F(HostLinkTest, NoticesAndTextsCarryTheMainWindow) {
  HostAlive(true);
  Link().NotifyHostStarted();
  Link().SendTextToHost("#WM_PAINT = $F ");
  Link().NotifyHostClosing();
  const auto& delivered = platform.desktop.delivered;
  ASSERT_EQ(delivered.size(), 3u);
  EXPECT_EQ(delivered[0].how, How::Posted);
  EXPECT_EQ(delivered[0].message, MSG_PLUGIN_STARTED);
  EXPECT_EQ(delivered[1].how, How::CopyData);
  EXPECT_EQ(delivered[1].code, COPYDATA_TEXT_TO_HOST);
  EXPECT_EQ(delivered[1].bytes, std::string("#WM_PAINT = $F \0", 16));
  EXPECT_EQ(delivered[1].wParam, platform.window.handle);
  EXPECT_EQ(delivered[2].message, MSG_PLUGIN_CLOSING);
  for (const std::size_t i : {0u, 2u}) {
    EXPECT_EQ(delivered[i].target, kHost);
    EXPECT_EQ(delivered[i].wParam, 0u);
    EXPECT_EQ(static_cast<std::uintptr_t>(delivered[i].lParam), platform.window.handle);
  }
  const std::string host = std::to_string(kHost);
  EXPECT_EQ(platform.desktop.calls, (std::vector<std::string>{"post", "send", "post", "focus " + host, "foreground " + host}));

  HostAlive(false);
  Link().NotifyHostClosing();
  EXPECT_EQ(delivered.size(), 3u);
}

}  // namespace
}  // namespace mirravel
