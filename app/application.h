// The program's spine: start-up order, the polling event loop with its dispatch table, the About box,
// the message hook's handlers and the one way out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "ports/control_ids.h"
#include "ports/platform_port.h"
#include "ports/window_port.h"

namespace mirravel {

inline constexpr std::int32_t kLongestPickedSelection = 199;
inline constexpr std::int32_t kLongestKeptSelection = 200;

class Application : public MessageHook {
 public:
  explicit Application(PlatformPort& platform) : platform_(platform) {}

  // Start-up up to the event loop; false when the program ended during start-up (on a real platform
  // EndProcess does not return, so this only matters to tests).
  bool Start(std::string_view commandLine);
  // Runs loop turns until the process ends.
  void RunEventLoop();
  void RunLoopTurn();
  void HandleEvent(const WindowEvent& event);

  void CloseDown();
  void Shutdown();
  // The self-removal's way out: CloseDown, then beforeEnd (starting the removal batch), then the end.
  void ShutdownAfter(const std::function<void()>& beforeEnd);

  // Message hook.
  void OnListSelectionChanged(std::int32_t selectionMin, std::int32_t selectionMax) override;
  void OnListRightButtonDown() override;
  void OnCloseRequest() override { Shutdown(); }
  bool OnCopyData(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) override;
  void OnActivationChanged(bool active) override;

  std::string BuildAboutText();
  AppState& State() { return state_; }
  const char* PluginMarker() const { return pluginMarker_; }

 private:
  void OnFindFieldNotification();
  void OnFindButton();
  void OnAlwaysOnTopBox();
  void FollowAlwaysOnTopBox();
  void CatchUpWithControls();
  void OnReturnShortcut();
  void ShowAboutBox();
  void OnRegisterButton();

  PlatformPort& platform_;
  WindowPort* window_ = nullptr;
  AppState state_;
  const char* pluginMarker_ = nullptr;
  bool ended_ = false;
  int focusWhenDeactivated_ = kNoControl;
};

}  // namespace mirravel
