// The fake window raises the same notifications the real controls do, in the same order.
#include "fakes/fake_window.h"

#include "ports/message_box.h"

namespace mirravel::testing {

FakeWindow::FakeWindow() {
  states[kAlwaysOnTopBox] = 1;
  states[kOnlyValueBox] = 1;
  states[kTabPanel] = 0;
  disabled[kHelpButton] = true;  // the real window creates "?" greyed
}

static bool IsTextField(int id) { return id == kFindField || id == kCopyField; }

void FakeWindow::SetControlText(int id, std::string_view text) {
  texts[id] = std::string(text);
  if (IsTextField(id) && onFieldNotification) onFieldNotification(id);
}

void FakeWindow::FocusControl(int id) {
  if (id == focus) return;
  const int previous = focus;
  focus = id;
  if (IsTextField(previous) && onFieldNotification) onFieldNotification(previous);
  if (IsTextField(id) && onFieldNotification) onFieldNotification(id);
}

void FakeWindow::SetTitle(std::string_view newTitle) {
  title = std::string(newTitle);
  titles.push_back(title);
}

int FakeWindow::ShowMessageBox(std::string_view boxTitle, std::string_view text, unsigned type) {
  boxes.push_back({std::string(boxTitle), std::string(text), type, title});
  if (onMessageBox) onMessageBox(boxes.back());
  if (boxAnswers.empty()) return kAnswerOk;
  const int answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

void FakeWindow::AssignListText(std::string_view sourceText) {
  list.Assign(sourceText);
  ++listChanges;
}

void FakeWindow::SelectInList(std::int32_t start, std::int32_t end) {
  list.Select(start, end);
  selections.emplace_back(list.SelectionStart(), list.SelectionEnd());
  if (onListSelectionChanged) onListSelectionChanged(list.SelectionStart(), list.SelectionEnd());
}

WindowEvent FakeWindow::FetchEvent() {
  if (onFetch) onFetch();
  if (events.empty()) return {};
  const WindowEvent event = events.front();
  events.pop_front();
  return event;
}

}  // namespace mirravel::testing
