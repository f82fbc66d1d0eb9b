// The jaPBe link's flows: what the user sees of the handshake, the start-up search and the copy commands.
#include "app/host_flow.h"

#include <string>

#include "app/find_flow.h"
#include "host/copy_menu.h"
#include "host/host_protocol.h"
#include "host/search_word.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"
#include "support/text.h"
#include "ui/main_window_layout.h"

namespace mirravel {

namespace {

// Queries A, B and C in turn until a reply holds a "#"; the word taken from it, or "".
std::string PickWordFromHost(AppState& state, HostLink& host) {
  for (const std::uint32_t query : {MSG_QUERY_TEXT_A, MSG_QUERY_TEXT_B, MSG_QUERY_TEXT_C}) {
    state.hostText = Trim(host.QueryHostText(query));
    if (state.hostText.find('#') != std::string::npos) break;
  }
  return PickSearchWord(state.hostText);
}

void SearchWordFromHost(AppState& state, PlatformPort& platform, WindowPort& window, HostLink& host) {
  const std::string word = PickWordFromHost(state, host);
  if (word.empty()) return;
  state.findText = word;
  window.SetControlText(kFindField, word);
  window.SetTitle(std::string(kMainWindowTitle) + " - Searching for '" + word + "' ...");
  // A word always starts with "#", so 1 means that an entry was found and selected.
  if (FindConstant(word, state, window) == 1) platform.PlayFoundSound();
  window.SetTitle(kMainWindowTitle);
}

}  // namespace

HostLink MakeHostLink(AppState& state, PlatformPort& platform, WindowPort& window) {
  return HostLink(platform, window, state.hostWindow, state.pluginMode, state.hostReplies);
}

void StartHostLink(AppState& state, PlatformPort& platform, WindowPort& window) {
  HostLink host = MakeHostLink(state, platform, window);
  if (host.IsHostAlive() == 1) host.NotifyHostStarted();
  if (state.pluginMode == 1) SearchWordFromHost(state, platform, window, host);
}

void ShowCopyMenu(AppState& state, PlatformPort& platform, WindowPort& window) {
  MakeHostLink(state, platform, window).IsHostAlive();
  const bool copyFieldEmpty = window.GetControlText(kCopyField).empty();
  window.ShowContextMenu(CopyMenuAvailability(state.pluginMode == 1, copyFieldEmpty));
}

void RunCopyCommand(std::string_view text, int id, AppState& state, PlatformPort& platform, WindowPort& window) {
  if (id == kMenuCopyToClipboard) {
    static_cast<void>(platform.Clipboard().PutText(text));  // a busy clipboard is not reported
    return;
  }
  if (id != kMenuCopyToHost && id != kMenuCopyValueToHost) return;
  HostLink host = MakeHostLink(state, platform, window);
  if (host.IsHostAlive() == 0) {
    window.ShowMessageBox("ERROR", kHostNotFoundMessage, kBoxStop);
    return;
  }
  host.SendTextToHost(id == kMenuCopyToHost ? std::string(text) : ValueOnlyPart(text));
}

}  // namespace mirravel
