// The window layer of the Win32 program: the program's logic reads and changes the main window's
// controls by id, shows message boxes and the context menu, and takes messages and events through it.
#pragma once

#include <windows.h>

#include "platform/win32/main_window.h"
#include "platform/win32/message_pump.h"
#include "ports/window_port.h"

namespace mirravel::platform {

class Win32WindowPort : public WindowPort {
 public:
  explicit Win32WindowPort(MainWindow& main) : main_(main), pump_(main) {}

  void SetContextMenu(HMENU menu) { contextMenu_ = menu; }

  std::string GetControlText(int id) override;
  void SetControlText(int id, std::string_view text) override;
  int GetControlState(int id) override;
  void SetControlState(int id, int state) override;
  void DisableControl(int id, bool disabled) override;
  void FocusControl(int id) override;
  int FocusedControl() override;

  std::uintptr_t MainWindowHandle() override { return reinterpret_cast<std::uintptr_t>(main_.Window()); }
  void SetTitle(std::string_view title) override;
  void SetTopMost(bool topMost) override;

  int ShowMessageBox(std::string_view title, std::string_view text, unsigned type) override;

  CatalogueLoad UnpackIntoList(const std::uint8_t* block, std::size_t blockSize) override;
  std::string_view ListText() override { return main_.ListText().Text(); }
  std::int32_t ListLineCount() override { return main_.ListText().LineCount(); }
  void SelectInList(std::int32_t start, std::int32_t end) override;

  void ShowContextMenu(const std::array<bool, 3>& available) override;

  void PumpOneMessage() override { pump_.PumpOne(); }
  WindowEvent FetchEvent() override { return pump_.FetchOne(); }

 private:
  bool IsCheckBox(int id) const;

  MainWindow& main_;
  MessagePump pump_;
  HMENU contextMenu_ = nullptr;
};

}  // namespace mirravel::platform
