// Creates the main window's controls from the layout table, in the table's order, and wires the tab
// panel's container and pages so that their children's commands and notifications reach the window.
#include "platform/win32/main_window_controls.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/catalogue_view.h"

namespace mirravel::platform {

namespace {

constexpr UINT_PTR kForwardingSubclassId = 1;
constexpr int kPageId = 0xFFFF;  // pages are not controls of the program; keep them off its ids

HMENU IdAsMenu(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

// The panel's container and the pages are STATIC windows that would drop what their children send
// them; the program expects those commands and notifications at the main window, as if the children
// were its own.
LRESULT CALLBACK ForwardingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR data) {
  if (message == WM_COMMAND || message == WM_NOTIFY) {
    auto* main = reinterpret_cast<MainWindow*>(data);
    if (main->Window() != nullptr) return main->HandleMessage(main->Window(), message, wParam, lParam);
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

// Win32 class, styles and extended styles of each kind of control (all are visible child windows).
struct ControlClass {
  const char* className;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassOfKind(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::PushButton:
      return {"BUTTON", kChild | BS_PUSHBUTTON | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::CheckBox:
      return {"BUTTON", kChild | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 0};
    case ControlKind::TextField:
      return {"EDIT", kChild | ES_AUTOHSCROLL | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::ReadOnlyField:
      return {"EDIT", kChild | ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP | WS_GROUP, WS_EX_CLIENTEDGE};
    case ControlKind::Label:
      return {"STATIC", kChild | SS_RIGHT | WS_GROUP, 0};
    case ControlKind::TabPanel:
      // The container; the tab control inside it is made separately. Clipping children keeps the
      // panel from painting over the pages.
      return {"STATIC", kChild | SS_NOTIFY | WS_CLIPCHILDREN, 0};
    case ControlKind::ListView:
      break;
  }
  return {"", 0, 0};  // the list is the catalogue view, made by its own module
}

}  // namespace

class MainWindowBuilder {
 public:
  MainWindowBuilder(MainWindow& main, HINSTANCE instance)
      : main_(main), instance_(instance), font_(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))) {}

  void Build() {
    CreateShortcuts();
    for (const ControlLayout& layout : kMainWindowControls) CreateControl(layout);
    main_.ShowCurrentPage();
    ::SetFocus(main_.Control(kFindField));
  }

 private:
  void CreateShortcuts() {
    ACCEL table[kKeyboardShortcuts.size()] = {};
    for (std::size_t i = 0; i < kKeyboardShortcuts.size(); ++i) {
      table[i].fVirt = FVIRTKEY;
      table[i].key = static_cast<WORD>(kKeyboardShortcuts[i].virtualKey);
      table[i].cmd = static_cast<WORD>(kKeyboardShortcuts[i].menuId);
    }
    main_.shortcuts_ = ::CreateAcceleratorTableA(table, static_cast<int>(kKeyboardShortcuts.size()));
  }

  void CreateControl(const ControlLayout& layout) {
    HWND parent = ParentOf(layout.parent);
    HWND control = nullptr;
    if (layout.kind == ControlKind::TabPanel) {
      control = CreateTabPanel(layout);
    } else if (layout.kind == ControlKind::ListView) {
      control = CreateList(parent, layout);
    } else {
      const ControlClass kind = ClassOfKind(layout.kind);
      const std::string caption(layout.caption);
      control = ::CreateWindowExA(kind.exStyle, kind.className, caption.c_str(), kind.style, layout.place.x,
                                  layout.place.y, layout.place.width, layout.place.height, parent,
                                  IdAsMenu(layout.id), instance_, nullptr);
    }
    if (control == nullptr) return;
    main_.controls_[static_cast<unsigned>(layout.id)] = control;
    SetFont(control);
    if (layout.checked) ::SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
    if (layout.disabled) ::EnableWindow(control, FALSE);
    if (!layout.tooltip.empty()) SetTip(control, layout.tooltip);
    if (layout.id == kAlwaysOnTopBox) {
      ::SetWindowPos(main_.window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    }
  }

  HWND CreateList(HWND parent, const ControlLayout& layout) {
    if (!RegisterCatalogueViewClass(instance_)) return nullptr;
    HWND list = CreateCatalogueView(parent, layout.id, layout.place.x, layout.place.y, layout.place.width,
                                    layout.place.height);
    if (list != nullptr) AttachCatalogueText(list, &main_.listText_);
    return list;
  }

  HWND CreateTabPanel(const ControlLayout& layout) {
    const ControlClass container = ClassOfKind(ControlKind::TabPanel);
    HWND panel = ::CreateWindowExA(container.exStyle, container.className, "", container.style, layout.place.x,
                                   layout.place.y, layout.place.width, layout.place.height, main_.window_,
                                   IdAsMenu(layout.id), instance_, nullptr);
    if (panel == nullptr) return nullptr;
    ::SetWindowSubclass(panel, ForwardingProcedure, kForwardingSubclassId, reinterpret_cast<DWORD_PTR>(&main_));
    main_.tabControl_ = ::CreateWindowExA(0, WC_TABCONTROLA, "",
                                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_CLIPCHILDREN, 0, 0,
                                          layout.place.width, layout.place.height, panel, IdAsMenu(layout.id),
                                          instance_, nullptr);
    SetFont(main_.tabControl_);
    return panel;
  }

  // A tab and its page are made when the first control goes into them.
  HWND ParentOf(ControlParent parent) {
    if (parent == ControlParent::Window) return main_.window_;
    const std::size_t tab = parent == ControlParent::FindPage ? kFindTab : kOptionsTab;
    HWND& page = main_.pages_[tab];
    if (page != nullptr || main_.tabControl_ == nullptr) return page != nullptr ? page : main_.window_;
    std::string caption(kTabCaptions[tab]);
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageA(main_.tabControl_, TCM_INSERTITEMA, tab, reinterpret_cast<LPARAM>(&item));
    if (tab == kFindTab) ::SendMessageA(main_.tabControl_, TCM_SETCURSEL, kFindTab, 0);
    page = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 0, 0, main_.tabControl_, IdAsMenu(kPageId), instance_,
                             nullptr);
    ::SetWindowSubclass(page, ForwardingProcedure, kForwardingSubclassId, reinterpret_cast<DWORD_PTR>(&main_));
    main_.ShowCurrentPage();
    return page;
  }

  void SetFont(HWND control) { ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE); }

  // One tooltip control serves every control, made on first use. It has no owner: under Wine an owned
  // popup keeps the owner from becoming top-most again.
  void SetTip(HWND control, std::string_view text) {
    if (main_.tooltip_ == nullptr) {
      main_.tooltip_ = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                         instance_, nullptr);
      if (main_.tooltip_ == nullptr) return;
    }
    std::string tip(text);
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = ::GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = instance_;
    tool.lpszText = tip.data();
    ::SendMessageA(main_.tooltip_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageA(main_.tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }

  MainWindow& main_;
  HINSTANCE instance_;
  HFONT font_;
};

void BuildMainWindowControls(MainWindow& main, HINSTANCE instance) { MainWindowBuilder(main, instance).Build(); }

}  // namespace mirravel::platform
