// The host protocol. Sends are bounded (kHostSendTimeoutMs): a hung jaPBe costs a few seconds, never the
// program. Waits poll the window on this one thread, so the message hook keeps taking replies in.
#include "host/host_link.h"

#include "host/host_protocol.h"
#include "ports/control_ids.h"

namespace mirravel {

std::int32_t HostLink::IsHostAlive() {
  std::int32_t alive = 0;
  if (hostWindow_ != 0) {
    alive = platform_.Desktop().IsWindowProcessAlive(hostWindow_) ? 1 : 0;
    pluginMode_ = alive;
  }
  window_.DisableControl(kCopyButton, pluginMode_ != 1);
  return alive;
}

std::string HostLink::PluginFunctionsState() { return IsHostAlive() == 1 ? "Enabled" : "Disabled"; }

void HostLink::NotifyHostStarted() {
  platform_.Desktop().PostMessageTo(hostWindow_, MSG_PLUGIN_STARTED, 0, static_cast<std::intptr_t>(window_.MainWindowHandle()));
}

std::string HostLink::QueryHostText(std::uint32_t query) {
  if (query == MSG_QUERY_TEXT_C && IsHostAlive() == 0) return {};
  replies_.Release(query);
  const auto accepted = platform_.Desktop().SendMessageWithin(
      hostWindow_, query, 0, static_cast<std::intptr_t>(window_.MainWindowHandle()), kHostSendTimeoutMs);
  // A send that timed out counts as a refusal: no reply is waited for.
  if (accepted.value_or(0) != 0) WaitForReply(query);
  return replies_.Text(query);
}

void HostLink::WaitForReply(std::uint32_t query) {
  ClockPort& clock = platform_.Clock();
  const std::uint32_t deadline = clock.TickCount() + kHostReplyWaitMs;
  for (;;) {
    static_cast<void>(window_.FetchEvent());  // events that arrive meanwhile are dropped
    clock.Sleep(1);
    if (replies_.Holds(query)) return;
    if (IsTickPast(clock.TickCount(), deadline)) return;
  }
}

void HostLink::SendTextToHost(std::string_view text) {
  std::string bytes(text);
  bytes.push_back('\0');
  static_cast<void>(platform_.Desktop().SendCopyDataWithin(hostWindow_, window_.MainWindowHandle(), COPYDATA_TEXT_TO_HOST,
                                                           bytes, kHostSendTimeoutMs));
}

void HostLink::NotifyHostClosing() {
  if (IsHostAlive() == 0) return;
  DesktopPort& desktop = platform_.Desktop();
  desktop.PostMessageTo(hostWindow_, MSG_PLUGIN_CLOSING, 0, static_cast<std::intptr_t>(window_.MainWindowHandle()));
  desktop.SetFocusTo(hostWindow_);
  desktop.BringToForeground(hostWindow_);
}

bool HostLink::AcceptReply(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) {
  // Window handles are compared in their 32 significant bits: a 32-bit jaPBe and a 64-bit Mirravel may
  // extend the same handle differently.
  const bool fromHost = static_cast<std::uint32_t>(sender) == static_cast<std::uint32_t>(hostWindow_);
  if (pluginMode_ != 1 || hostWindow_ == 0 || !fromHost) return false;
  return replies_.Store(code, bytes);
}

}  // namespace mirravel
