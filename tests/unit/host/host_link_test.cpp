// The host link against a simulated desktop (liveness, reply intake, the query's wait, the closing notice),
// and the texts it takes apart: the start-up search word and the value part "Copy value only to jaPBe" sends.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "host/copy_menu.h"
#include "host/host_link.h"
#include "host/host_protocol.h"
#include "host/search_word.h"
#include "ports/control_ids.h"

namespace mirravel {
namespace {

constexpr WindowHandle kHost = 0x5150;

class HostLinkTest : public ::testing::Test {
 protected:
  HostLinkTest() { platform.desktop.windows[kHost] = {}; }
  HostLink Link(WindowHandle host = kHost) { return HostLink(platform, platform.window, host, pluginMode, replies); }

  testing::FakePlatform platform{"#A = $1\r\n"};
  std::int32_t pluginMode = 0;
  ReplyBuffers replies;
};

TEST_F(HostLinkTest, LivenessSetsTheFlagTheCopyButtonAndTheAboutWordAndGatesTheClosingNotice) {
  const struct { WindowHandle host; bool alive; int startMode; int result; int mode; } cases[] = {
      {kHost, true, 0, 1, 1}, {kHost, false, 1, 0, 0},
      {0, true, 1, 0, 1} /* no host window: the flag is left as it was */, {0x999, true, 1, 0, 0} /* no such window */,
  };
  for (const auto& c : cases) {
    platform.desktop.windows[kHost].processAlive = c.alive;
    pluginMode = c.startMode;
    EXPECT_EQ(Link(c.host).PluginFunctionsState(), c.result == 1 ? "Enabled" : "Disabled") << c.host;
    EXPECT_EQ(std::tuple(pluginMode, platform.window.disabled[kCopyButton]), std::tuple(c.mode, c.mode != 1)) << c.host;
  }
  platform.desktop.calls.clear();
  platform.desktop.windows[kHost].processAlive = true;
  Link().NotifyHostClosing();  // the notice, then focus, then foreground
  EXPECT_EQ(platform.desktop.delivered.back().message, MSG_PLUGIN_CLOSING);
  EXPECT_EQ(platform.desktop.calls, (std::vector<std::string>{"post", "focus 20816", "foreground 20816"}));
  platform.desktop.windows[kHost].processAlive = false;
  Link().NotifyHostClosing();
  EXPECT_EQ(platform.desktop.calls.size(), 3u);
}

TEST_F(HostLinkTest, RepliesKeepExactlyTheBytesReceivedOnlyFromTheHostInPluginMode) {
  struct Case { int mode; WindowHandle host, sender; std::uintptr_t code; std::string bytes, text; bool stored; };
  const Case cases[] = {
      {1, kHost, kHost, MSG_QUERY_TEXT_B, std::string("#WM_PAINT\0junk", 14), "#WM_PAINT", true},
      {1, kHost, kHost, MSG_QUERY_TEXT_B, "no terminator", "no terminator", true},  // nothing past the bytes is read
      {1, kHost, kHost | ~WindowHandle{0xFFFFFFFF}, MSG_QUERY_TEXT_C, "#X", "#X", true},  // kHost, sign-extended
      {0, kHost, kHost, MSG_QUERY_TEXT_A, "#X", "", false},
      {1, kHost, kHost, 0x1000040D, "#X", "", false},  // the code itself, not its low bits
      {1, kHost, 0x777, MSG_QUERY_TEXT_A, "#X", "", false},
  };
  for (const auto& c : cases) {
    replies = ReplyBuffers();
    pluginMode = c.mode;
    EXPECT_EQ(Link(c.host).AcceptReply(c.sender, c.code, c.bytes), c.stored) << c.bytes << ' ' << c.sender;
    EXPECT_EQ(std::tuple(replies.Holds(c.code), replies.Text(c.code)), std::tuple(c.stored, c.text));
  }
}

TEST_F(HostLinkTest, QueryWaitsUpToFiveSecondsForTheReply) {
  // The send's answer (none: it timed out); a text is replied 40 ms after the send.
  const struct { std::optional<std::intptr_t> answer; std::uint32_t startTick, waitedMs; std::string text; } cases[] = {
      {1, 1000, 41, "#WM_PAINT"}, {1, 1000, 5001, ""}, {1, 0xFFFFF000u, 5001, ""} /* the tick count wraps */,
      {0, 1000, 0, ""}, {std::nullopt, 1000, 0, ""},
  };
  for (const auto& c : cases) {
    replies = ReplyBuffers();
    replies.Store(MSG_QUERY_TEXT_B, "#STALE");  // released when the query is sent again
    pluginMode = 1;
    platform.clock.now = c.startTick;
    HostLink link = Link();
    platform.desktop.onSend = [&](const testing::DeliveredMessage&) { return c.answer; };
    platform.window.onFetch = [&] {
      if (!c.text.empty() && platform.clock.now == c.startTick + 40) link.AcceptReply(kHost, MSG_QUERY_TEXT_B, c.text);
    };
    EXPECT_EQ(link.QueryHostText(MSG_QUERY_TEXT_B), c.text);
    EXPECT_EQ(platform.clock.now - c.startTick, c.waitedMs) << c.startTick << ' ' << c.answer.value_or(-1);
    EXPECT_EQ(static_cast<std::uintptr_t>(platform.desktop.delivered.back().lParam), platform.window.handle);
  }
  platform.desktop.windows[kHost].processAlive = false;  // query C first tests the host: nothing is sent
  platform.desktop.delivered.clear();
  EXPECT_EQ(Link().QueryHostText(MSG_QUERY_TEXT_C), "");
  EXPECT_TRUE(platform.desktop.delivered.empty());
}

TEST(HostTexts, TheSearchWordTheValuePartAndTheCopyMenuFollowTheirRules) {
  // The start-up word runs from the first "#" over name characters.
  const std::pair<std::string, std::string> words[] = {
      {"SendMessage(h, #WM_SETTEXT, 0, t)", "#WM_SETTEXT"}, {"x = #Abc_09+#Other", "#Abc_09"}, {"##A", "#"}, {"", ""},
      {"#A\x10\x19\x7F\x5F!", "#A\x10\x19\x7F\x5F"},  // the OR-0x20 rule also keeps these control codes
      {"#A@[`{", "#A"}, {"#caf\xE9", "#caf"},
  };
  for (const auto& [text, word] : words) EXPECT_EQ(PickSearchWord(text), word) << text;
  // The value part follows the first "=", with blanks (only) trimmed; without "=" it is the whole text.
  const std::pair<std::string, std::string> values[] = {
      {"#WM_PAINT = $F ", "$F"}, {"  W P  ", "  W P  "}, {"#A = B = C ", "B = C"}, {"#A = $1\t ", "$1\t"},
  };
  for (const auto& [text, value] : values) EXPECT_EQ(ValueOnlyPart(text), value) << text;
  using A = std::array<bool, 3>;  // host items need plug-in mode, every item a text
  const std::tuple<bool, bool, A> cases[] = {
      {true, false, {true, true, true}}, {false, false, {false, false, true}}, {true, true, {}}, {false, true, {}}};
  for (const auto& [plugin, empty, items] : cases) EXPECT_EQ(CopyMenuAvailability(plugin, empty), items) << plugin << empty;
}

}  // namespace
}  // namespace mirravel
