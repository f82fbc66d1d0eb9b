// A scripted stand-in for the main window: controls by id, a list model, message boxes and events. Its
// fields raise the same notifications the real controls do, in the same order, as gadget events.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/catalogue_text.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"
#include "ports/window_port.h"

namespace mirravel::testing {

struct ShownBox {
  std::string title;
  std::string text;
  unsigned type = 0;
  std::string windowTitleWhileShown;
  bool topMostWhileShown = false;
};

class FakeWindow : public WindowPort {
 public:
  std::string GetControlText(int id) override { return texts[id]; }
  void SetControlText(int id, std::string_view text) override {
    texts[id] = std::string(text);
    Notify(id);
  }
  int GetControlState(int id) override { return states[id]; }
  void SetControlState(int id, int state) override { states[id] = state; }
  void DisableControl(int id, bool isDisabled) override { disabled[id] = isDisabled; }
  void FocusControl(int id) override {
    if (id == focus) return;
    std::swap(focus, id);
    Notify(id);  // the field that lost the focus, then the one that gained it
    Notify(focus);
  }
  int FocusedControl() override { return focus; }
  std::uintptr_t MainWindowHandle() override { return handle; }
  void SetTitle(std::string_view newTitle) override { titles.push_back(title = std::string(newTitle)); }
  void SetTopMost(bool value) override { topMost = value; }
  int ShowMessageBox(std::string_view boxTitle, std::string_view text, unsigned type) override {
    boxes.push_back({std::string(boxTitle), std::string(text), type, title, topMost});
    if (auto hook = std::exchange(onNextBox, nullptr)) hook();
    return TakeFirst<int>(boxAnswers, kAnswerOk);
  }
  CatalogueLoad UnpackIntoList(const std::uint8_t* block, std::size_t blockSize) override {
    return list.Unpack(block, blockSize);
  }
  std::string_view ListText() override { return list.Text(); }
  std::int32_t ListLineCount() override { return list.LineCount(); }
  void SelectInList(std::int32_t start, std::int32_t end) override {
    list.Select(start, end);
    selections.emplace_back(list.SelectionStart(), list.SelectionEnd());
    if (onListSelectionChanged) onListSelectionChanged(list.SelectionStart(), list.SelectionEnd());
  }
  void ShowContextMenu(const std::array<bool, 3>& available) override { contextMenus.push_back(available); }
  void PumpOneMessage() override {
    if (onPump) onPump();
  }
  WindowEvent FetchEvent() override {
    if (onFetch) onFetch();
    return TakeFirst(events, WindowEvent{});
  }

  // The boxes shown so far, each as "title: text".
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> shown;
    for (const ShownBox& box : boxes) shown.push_back(box.title + ": " + box.text);
    return shown;
  }

  // What the fake saw or holds; the controls start as the real window creates them.
  std::map<int, std::string> texts;
  std::map<int, int> states = {{kAlwaysOnTopBox, 1}, {kOnlyValueBox, 1}, {kTabPanel, 0}};
  std::map<int, bool> disabled = {{kHelpButton, true}};
  std::uintptr_t handle = 0x1A2B;
  int focus = kNoControl;
  std::string title = "Mirravel";
  std::vector<std::string> titles;
  bool topMost = true;
  std::vector<ShownBox> boxes;
  std::deque<int> boxAnswers;  // answers in order; kAnswerOk when empty
  std::function<void()> onNextBox;  // runs once, while the next box is open
  CatalogueText list;
  std::vector<std::pair<std::int32_t, std::int32_t>> selections;
  std::vector<std::array<bool, 3>> contextMenus;
  std::deque<WindowEvent> events;
  // Called after the list's selection changed, as the list reports it to the main window.
  std::function<void(std::int32_t, std::int32_t)> onListSelectionChanged;
  std::function<void()> onPump;
  std::function<void()> onFetch;  // called on every FetchEvent, before it takes an event

 private:
  template <typename T>
  static T TakeFirst(std::deque<T>& queue, T otherwise) {
    if (!queue.empty()) otherwise = queue.front(), queue.pop_front();
    return otherwise;
  }
  void Notify(int id) {
    if (id == kFindField || id == kCopyField) events.push_back({WindowEvent::Kind::Gadget, id});
  }
};

}  // namespace mirravel::testing
