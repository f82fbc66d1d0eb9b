// Control operations by id on the real controls; the list goes through its own module.
#include "platform/win32/win32_window_port.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/catalogue_view.h"
#include "platform/win32/modal_message_box.h"
#include "ports/control_ids.h"

namespace mirravel::platform {

bool Win32WindowPort::IsCheckBox(int id) const {
  const ControlLayout* layout = FindControlLayout(id);
  return layout != nullptr && layout->kind == ControlKind::CheckBox;
}

std::string Win32WindowPort::GetControlText(int id) {
  HWND control = main_.Control(id);
  if (control == nullptr) return {};
  const int length = ::GetWindowTextLengthA(control);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = ::GetWindowTextA(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void Win32WindowPort::SetControlText(int id, std::string_view text) {
  HWND control = main_.Control(id);
  if (control == nullptr) return;
  const std::string value(text);
  ::SetWindowTextA(control, value.c_str());  // a text field raises EN_CHANGE, which becomes its event
}

int Win32WindowPort::GetControlState(int id) {
  if (id == kTabPanel) {
    const LRESULT current = main_.TabControl() ? ::SendMessageA(main_.TabControl(), TCM_GETCURSEL, 0, 0) : 0;
    return static_cast<int>(current);
  }
  if (!IsCheckBox(id)) return 0;
  return ::SendMessageA(main_.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32WindowPort::SetControlState(int id, int state) {
  if (id == kTabPanel && main_.TabControl() != nullptr) {
    ::SendMessageA(main_.TabControl(), TCM_SETCURSEL, static_cast<WPARAM>(state), 0);
    main_.ShowCurrentPage();
  } else if (IsCheckBox(id)) {
    ::SendMessageA(main_.Control(id), BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Win32WindowPort::DisableControl(int id, bool disabled) {
  if (HWND control = main_.Control(id)) ::EnableWindow(control, disabled ? FALSE : TRUE);
}

void Win32WindowPort::FocusControl(int id) {
  HWND control = id == kTabPanel ? main_.TabControl() : main_.Control(id);
  if (control != nullptr) FocusAsDialogsDo(control);
}

int Win32WindowPort::FocusedControl() { return main_.ControlId(::GetFocus()); }

void Win32WindowPort::SetTitle(std::string_view title) {
  const std::string value(title);
  ::SetWindowTextA(main_.Window(), value.c_str());
}

void Win32WindowPort::SetTopMost(bool topMost) {
  ::SetWindowPos(main_.Window(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

int Win32WindowPort::ShowMessageBox(std::string_view title, std::string_view text, unsigned type) {
  return ShowModalMessageBox(title, text, type);
}

void Win32WindowPort::SelectInList(std::int32_t start, std::int32_t end) {
  if (main_.List() != nullptr) SelectInCatalogueView(main_.List(), start, end);
}

CatalogueLoad Win32WindowPort::UnpackIntoList(const std::uint8_t* block, std::size_t blockSize) {
  const CatalogueLoad result = main_.ListText().Unpack(block, blockSize);
  if (result == CatalogueLoad::Loaded && main_.List() != nullptr) AttachCatalogueText(main_.List(), &main_.ListText());
  return result;
}

void Win32WindowPort::ShowContextMenu(const std::array<bool, 3>& available) {
  if (contextMenu_ == nullptr) return;
  const UINT firstItem = kMenuCopyToHost;
  for (UINT i = 0; i < available.size(); ++i) {
    const auto state = static_cast<UINT>(MF_BYCOMMAND | (available[i] ? MF_ENABLED : MF_GRAYED));
    ::EnableMenuItem(contextMenu_, firstItem + i, state);
  }
  ::SetForegroundWindow(main_.Window());
  POINT mouse{};
  ::GetCursorPos(&mouse);
  // The chosen item comes back as WM_COMMAND, which the window turns into a menu event.
  ::TrackPopupMenu(contextMenu_, TPM_RIGHTBUTTON, mouse.x - 1, mouse.y - 1, 0, main_.Window(), nullptr);
}

}  // namespace mirravel::platform
