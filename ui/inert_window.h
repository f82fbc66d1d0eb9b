// A window layer with no window: the list's model and nothing else. Programs without a user interface
// (the command-line lookup, benchmarks) run the window's loading and find code on it.
#pragma once

#include "ui/control_ids.h"
#include "ui/window_port.h"

namespace mirravel {

class InertWindow : public WindowPort {
 public:
  std::string GetControlText(int) override { return {}; }
  void SetControlText(int, std::string_view) override {}
  int GetControlState(int) override { return 0; }
  void SetControlState(int, int) override {}
  void DisableControl(int, bool) override {}
  void FocusControl(int) override {}
  int FocusedControl() override { return kNoControl; }
  void SetTitle(std::string_view) override {}
  void SetTopMost(bool) override {}
  int ShowMessageBox(std::string_view, std::string_view, unsigned) override { return 1; }
  CatalogueText& ListText() override { return list_; }
  void SelectInList(std::int32_t start, std::int32_t end) override { list_.Select(start, end); }
  void ListTextChanged() override {}
  void ShowContextMenu(const std::array<bool, 3>&) override {}
  void PumpOneMessage() override {}
  WindowEvent FetchEvent() override { return {}; }

 private:
  CatalogueText list_;
};

}  // namespace mirravel
