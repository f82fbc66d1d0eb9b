// The find flow: the model searches, the window shows the hit or the message.
#include "app/find_flow.h"

#include <string>

#include "catalogue/find.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"
#include "ports/window_port.h"
#include "ui/control_focus.h"

namespace mirravel {

std::int32_t FindConstant(std::string_view text, AppState& state, WindowPort& window) {
  const bool onlyValue = window.GetControlState(kOnlyValueBox) == 1;
  const SearchPattern pattern = BuildSearchPattern(text, onlyValue);
  if (pattern.kind == kFindNeither) {
    window.ShowMessageBox("ERROR", kNeitherMessage, kBoxStop);
    FocusIfShown(window, kFindField);
    return 1;
  }
  const FoundEntry entry = FindEntry(window.ListText(), pattern, state.findNextPosition);
  if (entry.matchPosition < 0) {
    if (state.findNextPosition == 0) {
      window.ShowMessageBox(kFindTitle, std::string(pattern.kindWord) + " not found!", kBoxExclamation);
    } else {
      window.ShowMessageBox(kFindTitle, kNoMoreMessage, kBoxInformation);
    }
    state.findNextPosition = 0;
    FocusIfShown(window, kFindField);
    return 0;
  }
  state.findNextPosition = entry.matchPosition + 1;
  window.SelectInList(entry.selectionStart, entry.selectionEnd);
  return 1;
}

}  // namespace mirravel
