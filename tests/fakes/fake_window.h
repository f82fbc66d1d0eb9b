// A scripted stand-in for the main window: controls by id, a list model, message boxes and events.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "catalogue/catalogue_text.h"
#include "ports/control_ids.h"
#include "ports/window_port.h"

namespace mirravel::testing {

struct ShownBox {
  std::string title;
  std::string text;
  unsigned type = 0;
  std::string windowTitleWhileShown;
};

class FakeWindow : public WindowPort {
 public:
  FakeWindow();

  std::string GetControlText(int id) override { return texts[id]; }
  void SetControlText(int id, std::string_view text) override;
  int GetControlState(int id) override { return states[id]; }
  void SetControlState(int id, int state) override { states[id] = state; }
  void DisableControl(int id, bool isDisabled) override { disabled[id] = isDisabled; }
  void FocusControl(int id) override;
  int FocusedControl() override { return focus; }
  std::uintptr_t MainWindowHandle() override { return handle; }
  void SetTitle(std::string_view newTitle) override;
  void SetTopMost(bool value) override { topMost = value; }
  int ShowMessageBox(std::string_view title, std::string_view text, unsigned type) override;
  void AssignListText(std::string_view sourceText) override;
  std::string_view ListText() override { return list.Text(); }
  std::int32_t ListLineCount() override { return list.LineCount(); }
  void SelectInList(std::int32_t start, std::int32_t end) override;
  void ShowContextMenu(const std::array<bool, 3>& available) override { contextMenus.push_back(available); }
  void PumpOneMessage() override {
    ++pumps;
    if (onPump) onPump();
  }
  WindowEvent FetchEvent() override;

  // What the fake saw or holds.
  std::map<int, std::string> texts;
  std::map<int, int> states;
  std::map<int, bool> disabled;
  std::uintptr_t handle = 0x1A2B;
  int focus = kNoControl;
  std::string title = "Mirravel";
  std::vector<std::string> titles;
  bool topMost = false;
  std::vector<ShownBox> boxes;
  std::deque<int> boxAnswers;  // answers in order; kAnswerOk when empty
  CatalogueText list;
  std::vector<std::pair<std::int32_t, std::int32_t>> selections;
  int listChanges = 0;
  std::vector<std::array<bool, 3>> contextMenus;
  int pumps = 0;
  std::deque<WindowEvent> events;
  // Called on every notification a field raises (text change, focus gained or lost), with its id.
  std::function<void(int)> onFieldNotification;
  // Called after the list's selection changed, as the list reports it to the main window.
  std::function<void(std::int32_t, std::int32_t)> onListSelectionChanged;
  std::function<void(const ShownBox&)> onMessageBox;
  std::function<void()> onPump;
  std::function<void()> onFetch;  // called on every FetchEvent, before it takes an event
};

}  // namespace mirravel::testing
