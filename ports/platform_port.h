// What start-up and shutdown need from the platform besides the window layer, and the message hook
// through which the main window hands its raw messages to the program first.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/clipboard_port.h"
#include "ports/clock_port.h"
#include "ports/desktop_port.h"
#include "ports/file_operations_port.h"
#include "ports/help_engine_port.h"
#include "ports/menu_item.h"
#include "ports/registry_port.h"
#include "ports/shell_port.h"

namespace mirravel {

class WindowPort;

// The program's handlers for raw messages of the main window; the window layer calls them before
// turning messages into events.
class MessageHook {
 public:
  virtual ~MessageHook() = default;
  virtual void OnListSelectionChanged(std::int32_t selectionMin, std::int32_t selectionMax) = 0;
  virtual void OnListRightButtonDown() = 0;
  virtual void OnCloseRequest() = 0;
  // A copy-data record from another program: the sending window, the record's code and its bytes (valid
  // only during the call). True when the program took the record in; the window then answers 0.
  virtual bool OnCopyData(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) = 0;
  // The main window became the active window (active) or another window did.
  virtual void OnActivationChanged(bool active) = 0;
};

class PlatformPort {
 public:
  virtual ~PlatformPort() = default;
  // The context menu, created once before the main window; false when it could not be made.
  virtual bool CreateContextMenu(const std::vector<MenuItem>& items) = 0;
  // Opens the main window with all its controls; null when it cannot be opened.
  virtual WindowPort* BuildMainWindow() = 0;
  // From now on every raw message of the main window reaches the hook first.
  virtual void InstallMessageHook(MessageHook& hook) = 0;
  // The packed catalogue carried by the executable.
  virtual const std::uint8_t* CatalogueBlock(std::size_t& size) = 0;
  // "SystemExclamation", asynchronously, no default sound, not waiting for a busy device.
  virtual void PlayFoundSound() = 0;
  // Destroys the main window, its controls and its keyboard shortcuts.
  virtual void CloseMainWindow() = 0;
  // Services of the system around the main window.
  virtual DesktopPort& Desktop() = 0;
  virtual RegistryPort& Registry() = 0;
  virtual ClockPort& Clock() = 0;
  virtual ClipboardPort& Clipboard() = 0;
  // Releases the support services and ends the process; never returns on a real platform.
  virtual void EndProcess(int exitCode) = 0;
  // Files and the shell, for registering the plug-in and removing it again.
  virtual FileOperationsPort& Files() = 0;
  virtual ShellPort& Shell() = 0;
  // The help engine that shows win32.hlp.
  virtual HelpEnginePort& HelpEngine() = 0;
};

}  // namespace mirravel
