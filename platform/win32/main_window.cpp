// The main window's class, placement and dispatcher: the message hook sees each message first, then
// commands, the tab change and the close request become events for the loop; activation changes go to
// the hook.
#include "platform/win32/main_window.h"

#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <string_view>

#include "platform/win32/main_window_controls.h"

namespace mirravel::platform {

namespace {

LRESULT CALLBACK MainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* main = reinterpret_cast<MainWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (main == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  return main->HandleMessage(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = MainWindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(kProgramIconId));
  windowClass.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON,
                                                        ::GetSystemMetrics(SM_CXSMICON),
                                                        ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kMainWindowClassName;
  return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

void FocusAsDialogsDo(HWND control) {
  ::SetFocus(control);
  if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageA(control, EM_SETSEL, 0, -1);
}

int CenteredStart(int screen, int outer) {
  const int shown = outer < screen ? outer : screen;
  // Floor division on both halves, so an odd size rounds the same way as the screen's.
  const auto floorHalf = [](int value) { return value >= 0 ? value / 2 : -((1 - value) / 2); };
  return floorHalf(screen) - floorHalf(shown);
}

bool MainWindow::Open(HINSTANCE instance) {
  if (!RegisterMainWindowClass(instance)) return false;
  RECT outer{0, 0, kMainClientWidth, kMainClientHeight};
  ::AdjustWindowRect(&outer, kMainWindowStyle, FALSE);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int x = CenteredStart(::GetSystemMetrics(SM_CXSCREEN), width);
  const int y = CenteredStart(::GetSystemMetrics(SM_CYSCREEN), height);
  const std::string title(kMainWindowTitle);
  window_ = ::CreateWindowExA(0, kMainWindowClassName, title.c_str(), kMainWindowStyle, x, y, width, height, nullptr,
                              nullptr, instance, this);
  if (window_ == nullptr) return false;
  BuildMainWindowControls(*this, instance);
  return true;
}

void MainWindow::Close() {
  hook_ = nullptr;  // the program is ending: what destruction raises is nobody's business any more
  if (window_ != nullptr) ::DestroyWindow(window_);
  if (tooltip_ != nullptr) ::DestroyWindow(tooltip_);  // it has no owner, so it does not go with the window
  if (shortcuts_ != nullptr) ::DestroyAcceleratorTable(shortcuts_);
  window_ = tabControl_ = tooltip_ = nullptr;
  shortcuts_ = nullptr;
  controls_.fill(nullptr);
  pages_.fill(nullptr);
}

HWND MainWindow::Control(int id) const {
  return id >= 0 && id < kControlCount ? controls_[static_cast<unsigned>(id)] : nullptr;
}

int MainWindow::ControlId(HWND window) const {
  for (HWND w = window; w != nullptr && w != window_; w = ::GetParent(w)) {
    if (w == tabControl_) return kTabPanel;
    for (int id = 0; id < kControlCount; ++id) {
      if (controls_[static_cast<unsigned>(id)] == w) return id;
    }
  }
  return kNoControl;
}

std::array<HWND, MainWindow::kControlCount> MainWindow::TabOrder() const {
  std::array<HWND, kControlCount> order{};
  for (std::size_t i = 0; i < order.size(); ++i) {
    const int id = kMainWindowControls[i].id;
    order[i] = id == kTabPanel ? tabControl_ : Control(id);
  }
  return order;
}

void MainWindow::ShowCurrentPage() {
  if (tabControl_ == nullptr) return;
  const auto current = static_cast<int>(::SendMessageA(tabControl_, TCM_GETCURSEL, 0, 0));
  RECT client{};
  ::GetClientRect(tabControl_, &client);
  RECT tab{};
  ::SendMessageA(tabControl_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  const auto rows = static_cast<int>(::SendMessageA(tabControl_, TCM_GETROWCOUNT, 0, 0));
  const LayoutRect place = TabPageRect(client.right, client.bottom, (tab.bottom - tab.top) * rows);
  // Hide before show, so the two pages never stand on screen together.
  for (const bool showing : {false, true}) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      const bool isCurrent = static_cast<int>(i) == current;
      if (pages_[i] == nullptr || isCurrent != showing) continue;
      ::SetWindowPos(pages_[i], nullptr, place.x, place.y, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | (showing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
  }
}

LRESULT MainWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Every message the hook handles answers 0.
  if (hook_ != nullptr && RunHook(message, wParam, lParam)) return 0;
  switch (message) {
    case WM_COMMAND:
      // From a control: any notification (click, change, focus gained or lost); without one, a menu
      // item or a keyboard shortcut.
      events_.Push({lParam != 0 ? WindowEvent::Kind::Gadget : WindowEvent::Kind::Menu, LOWORD(wParam)});
      return 0;
    case WM_NOTIFY:
      return OnNotify(window, wParam, lParam);
    case WM_CLOSE:
      events_.Push({WindowEvent::Kind::Close, 0});
      return 0;
    case WM_ACTIVATE: {
      // The default gives the focus to the window itself; the program then hands it back to a control.
      const LRESULT result = ::DefWindowProcA(window, message, wParam, lParam);
      if (hook_ != nullptr) hook_->OnActivationChanged(LOWORD(wParam) != WA_INACTIVE);
      return result;
    }
    default:
      return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

bool MainWindow::RunHook(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      hook_->OnCloseRequest();
      return true;
    case WM_NOTIFY:
      return lParam != 0 && HookListNotification(*reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_COPYDATA:
      return lParam != 0 && HookCopyData(wParam, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    default:
      return false;
  }
}

bool MainWindow::HookCopyData(WPARAM sender, const COPYDATASTRUCT& record) {
  // The sender's bytes are valid only during this call; the hook copies what it keeps.
  if (record.lpData == nullptr && record.cbData != 0) return false;
  const std::string_view bytes =
      record.cbData == 0 ? std::string_view() : std::string_view(static_cast<const char*>(record.lpData), record.cbData);
  return hook_->OnCopyData(static_cast<std::uintptr_t>(sender), static_cast<std::uintptr_t>(record.dwData), bytes);
}

bool MainWindow::HookListNotification(const NMHDR& header, LPARAM lParam) {
  if (header.hwndFrom == nullptr || header.hwndFrom != List()) return false;
  if (header.code == EN_SELCHANGE) {
    const auto* change = reinterpret_cast<const SELCHANGE*>(lParam);
    hook_->OnListSelectionChanged(change->chrg.cpMin, change->chrg.cpMax);
    return true;
  }
  // Of the list's other notifications only EN_MSGFILTER carries a message field to look at.
  if (header.code == EN_MSGFILTER && reinterpret_cast<const MSGFILTER*>(lParam)->msg == WM_RBUTTONDOWN) {
    hook_->OnListRightButtonDown();
    return true;
  }
  return false;
}

LRESULT MainWindow::OnNotify(HWND window, WPARAM wParam, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header != nullptr && tabControl_ != nullptr && header->hwndFrom == tabControl_ && header->code == TCN_SELCHANGE) {
    ShowCurrentPage();
    events_.Push({WindowEvent::Kind::Gadget, kTabPanel});
    return 0;
  }
  return ::DefWindowProcA(window, WM_NOTIFY, wParam, lParam);
}

}  // namespace mirravel::platform
