// A stand-in platform for start-up and shutdown: a fake window, a packed catalogue, recorded calls.
#pragma once

#include <optional>
#include <vector>

#include "ports/platform_port.h"
#include "fakes/fake_files.h"
#include "fakes/fake_system.h"
#include "fakes/fake_window.h"
#include "helpers/packed_stream.h"

namespace mirravel::testing {

class FakePlatform : public PlatformPort {
 public:
  explicit FakePlatform(std::string_view catalogue) : block(LiteralBlock(catalogue)) {
    window.onPump = [this] { clock.Sleep(1); };  // an idle pump sleeps 1 ms, as on the real platform
  }

  bool CreateContextMenu(const std::vector<MenuItem>& items) override {
    menuItems = items;
    return menuCanBeCreated;
  }
  WindowPort* BuildMainWindow() override { return windowCanBeOpened ? &window : nullptr; }
  void InstallMessageHook(MessageHook& hook) override {
    messageHook = &hook;
    window.onListSelectionChanged = [&hook](std::int32_t min, std::int32_t max) { hook.OnListSelectionChanged(min, max); };
  }
  const std::uint8_t* CatalogueBlock(std::size_t& size) override {
    size = block.size();
    return block.data();
  }
  void PlayFoundSound() override { ++sounds; }
  void CloseMainWindow() override { ++windowCloses; }
  DesktopPort& Desktop() override { return desktop; }
  RegistryPort& Registry() override { return registry; }
  ClockPort& Clock() override { return clock; }
  ClipboardPort& Clipboard() override { return clipboard; }
  void EndProcess(int code) override { exitCode = code; }
  FileOperationsPort& Files() override { return files; }
  ShellPort& Shell() override { return shell; }
  HelpEnginePort& HelpEngine() override { return helpEngine; }

  FakeWindow window;
  FakeDesktop desktop;
  FakeRegistry registry;
  FakeClock clock;
  FaultyFileOperations files;
  FakeShell shell;
  FakeHelpEngine helpEngine;
  FakeClipboard clipboard;
  MessageHook* messageHook = nullptr;  // the program's hook once installed, to hand it raw messages
  std::vector<std::uint8_t> block;
  std::vector<MenuItem> menuItems;
  bool menuCanBeCreated = true;
  bool windowCanBeOpened = true;
  int sounds = 0;
  int windowCloses = 0;
  std::optional<int> exitCode;
};

}  // namespace mirravel::testing
