// The link with the jaPBe editor that started the program: whether its process still runs, the start and
// closing notices, the three text queries with their polling wait, texts handed to it, and the intake of
// its replies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/reply_buffers.h"
#include "ports/platform_port.h"
#include "ports/window_port.h"

namespace mirravel {

class HostLink {
 public:
  // hostWindow, pluginMode and replies are the program's own state; the link reads and updates them.
  HostLink(PlatformPort& platform, WindowPort& window, std::uintptr_t hostWindow, std::int32_t& pluginMode,
           ReplyBuffers& replies)
      : platform_(platform), window_(window), hostWindow_(hostWindow), pluginMode_(pluginMode), replies_(replies) {}

  // 1 while the process of the host window runs, else 0. Sets the plugin mode flag (left alone when there
  // is no host window) and enables the "Copy to jaPBe" button exactly in plugin mode.
  std::int32_t IsHostAlive();
  // "Enabled" or "Disabled", by a fresh liveness test.
  std::string PluginFunctionsState();
  void NotifyHostStarted();
  // Sends a query (MSG_QUERY_TEXT_A, _B or _C) and waits for its reply; the reply's text, or "" when none
  // came in time. Query C first makes sure the host still runs.
  std::string QueryHostText(std::uint32_t query);
  // Hands jaPBe the text with its NUL in a copy-data record.
  void SendTextToHost(std::string_view text);
  // When the host runs: the closing notice, then the keyboard focus and the foreground go to it.
  void NotifyHostClosing();
  // A copy-data record that reached the main window: stored when it is a reply of the host in plugin mode.
  bool AcceptReply(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes);

 private:
  void WaitForReply(std::uint32_t query);

  PlatformPort& platform_;
  WindowPort& window_;
  std::uintptr_t hostWindow_;
  std::int32_t& pluginMode_;
  ReplyBuffers& replies_;
};

}  // namespace mirravel
