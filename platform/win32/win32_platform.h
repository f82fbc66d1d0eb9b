// What start-up and shutdown need from Win32 besides the window layer: the context menu, the main
// window, the hook, the packed catalogue, the found sound and the end of the process.
#pragma once

#include <windows.h>

#include "ports/platform_port.h"
#include "platform/win32/main_window.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_file_operations.h"
#include "platform/win32/win32_help_engine.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_window_port.h"

namespace mirravel::platform {

class Win32Platform : public PlatformPort {
 public:
  explicit Win32Platform(HINSTANCE instance) : instance_(instance), windowPort_(mainWindow_) {}

  bool CreateContextMenu(const std::vector<MenuItem>& items) override;
  WindowPort* BuildMainWindow() override;
  void InstallMessageHook(MessageHook& hook) override { mainWindow_.SetHook(&hook); }
  const std::uint8_t* CatalogueBlock(std::size_t& size) override;
  void PlayFoundSound() override;
  void CloseMainWindow() override { mainWindow_.Close(); }
  DesktopPort& Desktop() override { return desktop_; }
  RegistryPort& Registry() override { return registry_; }
  ClockPort& Clock() override { return clock_; }
  ClipboardPort& Clipboard() override { return clipboard_; }
  [[noreturn]] void EndProcess(int exitCode) override;
  FileOperationsPort& Files() override { return files_; }
  ShellPort& Shell() override { return shell_; }
  HelpEnginePort& HelpEngine() override { return helpEngine_; }

 private:
  HINSTANCE instance_;
  HMENU contextMenu_ = nullptr;
  MainWindow mainWindow_;
  Win32WindowPort windowPort_;
  Win32Desktop desktop_;
  Win32Registry registry_;
  Win32Clock clock_;
  Win32FileOperations files_;
  Win32Shell shell_;
  Win32HelpEngine helpEngine_;
  Win32Clipboard clipboard_;
};

}  // namespace mirravel::platform
