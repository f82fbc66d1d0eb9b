// Start-up, event dispatch, About box and shutdown. Everything runs on the one GUI thread; waits poll.
#include "app/application.h"

#include "app/find_flow.h"
#include "app/help_flow.h"
#include "app/host_flow.h"
#include "app/load_catalogue.h"
#include "app/registration_flow.h"
#include "catalogue/catalogue_text.h"
#include "host/copy_menu.h"
#include "registration/registration_state.h"
#include "support/command_line.h"
#include "ports/control_ids.h"
#include "ports/message_box.h"
#include "ui/control_focus.h"

namespace mirravel {

// The executable's data carries the marker; a volatile reference keeps the linker from dropping it.
static const char kPluginMarkerText[] = "! This is a JaPBe Plugin !";
static const char* volatile gPluginMarker = kPluginMarkerText;

bool Application::Start(std::string_view commandLine) {
  state_ = AppState{};
  pluginMarker_ = gPluginMarker;
  platform_.CreateContextMenu(CopyMenuItems());  // start-up goes on without a menu
  window_ = platform_.BuildMainWindow();
  if (window_ == nullptr) {
    platform_.EndProcess(0);
    return false;
  }
  state_.alwaysOnTop = 1;
  platform_.InstallMessageHook(*this);

  std::size_t blockSize = 0;
  const std::uint8_t* block = platform_.CatalogueBlock(blockSize);
  if (!LoadCatalogue(block, blockSize, state_, *window_)) {
    Shutdown();
    return false;
  }
  LocateHelpFile(state_, *window_, platform_);

  CommandLine parameters(commandLine);
  parameters.NextParameter();  // the first parameter is not used
  state_.hostWindow = static_cast<std::uint32_t>(ParseSignedDecimal(parameters.NextParameter()));
  StartHostLink(state_, platform_, *window_);
  CatchUpWithControls();
  return !ended_;
}

void Application::RunEventLoop() {
  while (!ended_) RunLoopTurn();
}

void Application::RunLoopTurn() {
  window_->PumpOneMessage();
  if (ended_) return;
  const WindowEvent event = window_->FetchEvent();
  if (ended_) return;
  CheckHelpClosed(state_, *window_, platform_);
  HandleEvent(event);
}

void Application::HandleEvent(const WindowEvent& event) {
  switch (event.kind) {
    case WindowEvent::Kind::Gadget:
      switch (event.id) {
        case kHelpButton:
          OpenHelp(state_, *window_, platform_);
          FocusIfShown(*window_, kFindField);
          break;
        case kTabPanel: FocusIfShown(*window_, kFindField); break;
        case kAlwaysOnTopBox: OnAlwaysOnTopBox(); break;
        case kCopyButton: ShowCopyMenu(state_, platform_, *window_); break;
        case kFindField: OnFindFieldNotification(); break;
        case kFindButton: OnFindButton(); break;
        case kAboutButton: ShowAboutBox(); break;
        case kRegisterButton: OnRegisterButton(); break;
        default: break;
      }
      break;
    case WindowEvent::Kind::Menu:
      if (event.id == kShortcutF3) FindConstant(state_.findText, state_, *window_);
      if (event.id == kShortcutReturn) OnReturnShortcut();
      if (event.id >= kMenuCopyToHost && event.id <= kMenuCopyToClipboard) {
        RunCopyCommand(window_->GetControlText(kCopyField), event.id, state_, platform_, *window_);
        FocusIfShown(*window_, kFindField);
      }
      break;
    case WindowEvent::Kind::Close:
      Shutdown();
      break;
    case WindowEvent::Kind::None:
      break;
  }
}

void Application::OnFindFieldNotification() {
  state_.findText = window_->GetControlText(kFindField);
  state_.findKind = ClassifyFindText(state_.findText);
  const char* label = state_.findKind == kFindName    ? "Constant to find :"
                      : state_.findKind == kFindValue ? "Value to find :"
                                                      : "????? to find :";
  window_->SetControlText(kFindLabel, label);
  state_.findNextPosition = 0;
}

void Application::OnFindButton() {
  if (state_.findText.empty()) {
    FocusIfShown(*window_, kFindField);
    return;
  }
  FindConstant(state_.findText, state_, *window_);
}

void Application::OnReturnShortcut() {
  if (window_->FocusedControl() == kFindField) FindConstant(state_.findText, state_, *window_);
}

void Application::OnAlwaysOnTopBox() {
  FollowAlwaysOnTopBox();
  FocusIfShown(*window_, kFindField);
}

void Application::FollowAlwaysOnTopBox() {
  state_.alwaysOnTop = window_->GetControlState(kAlwaysOnTopBox) == 1 ? 1 : 0;
  window_->SetTopMost(state_.alwaysOnTop == 1);
}

// The start-up wait for jaPBe's replies drops the events it fetches: what the user typed or clicked
// meanwhile is read back from the controls.
void Application::CatchUpWithControls() {
  if (ended_) return;
  OnFindFieldNotification();
  FollowAlwaysOnTopBox();
}

std::string Application::BuildAboutText() {
  state_.aboutText = "Windows API constants viewer jaPBe plugin\n";
  state_.aboutText += "for the PureBasic community.\n\n";
  state_.aboutText += "by the Mirravel authors\n\n";
  state_.aboutText += "Constants : \t" + std::to_string(state_.lineCount) + "\n";
  state_.aboutText += "Plugin functions : \t" + MakeHostLink(state_, platform_, *window_).PluginFunctionsState() + "\n";
  state_.aboutText += "Plugin registered : \t" + std::string(PluginRegistrationState(platform_.Registry()));
  return state_.aboutText;
}

void Application::ShowAboutBox() { window_->ShowMessageBox("About Mirravel", BuildAboutText(), kBoxInformation); }

void Application::OnListSelectionChanged(std::int32_t selectionMin, std::int32_t selectionMax) {
  const std::int32_t length = selectionMax - selectionMin;
  if (length >= 1 && length <= kLongestPickedSelection) {
    std::string_view picked = window_->ListText();
    if (selectionMin < 0 || static_cast<std::size_t>(selectionMax) > picked.size()) return;
    picked = picked.substr(static_cast<std::size_t>(selectionMin), static_cast<std::size_t>(length));
    picked = picked.substr(0, picked.find(CatalogueText::kLineBreak));
    picked = picked.substr(0, picked.find('\''));
    window_->SetControlText(kCopyField, picked);
  } else if (length > kLongestKeptSelection) {
    window_->SelectInList(selectionMin, selectionMin + kLongestKeptSelection);
  }
}

void Application::OnListRightButtonDown() { ShowCopyMenu(state_, platform_, *window_); }

bool Application::OnCopyData(std::uintptr_t sender, std::uintptr_t code, std::string_view bytes) {
  return MakeHostLink(state_, platform_, *window_).AcceptReply(sender, code, bytes);
}

// As a dialog does: the control that had the focus when another window became active gets it back.
void Application::OnActivationChanged(bool active) {
  if (!active) {
    focusWhenDeactivated_ = window_->FocusedControl();
    return;
  }
  FocusIfShown(*window_, focusWhenDeactivated_ == kNoControl ? kFindField : focusWhenDeactivated_);
}

void Application::CloseDown() {
  if (window_ != nullptr) {
    QuitHelp(state_, *window_, platform_);
    MakeHostLink(state_, platform_, *window_).NotifyHostClosing();
  }
  platform_.CloseMainWindow();
}

void Application::Shutdown() {
  if (ended_) return;
  ended_ = true;
  CloseDown();
  platform_.EndProcess(0);
}

void Application::OnRegisterButton() {
  RegisterOrUnregisterPlugin(platform_, *window_, [this](const std::function<void()>& beforeEnd) { ShutdownAfter(beforeEnd); });
}

void Application::ShutdownAfter(const std::function<void()>& beforeEnd) {
  if (ended_) return;
  ended_ = true;
  CloseDown();
  beforeEnd();
  platform_.EndProcess(0);
}

}  // namespace mirravel
