// Stand-in for the catalogue view until it is wired in: holds the text model, reports selections and
// right-button presses to its parent with the records rich edit uses, and paints nothing but a frame.
#include "platform/win32/list_control.h"

#include <richedit.h>

namespace mirravel::platform {

namespace {

constexpr char kClassName[] = "MirravelListStandIn";
CatalogueText listText;

void NotifySelection(HWND list) {
  SELCHANGE change{};
  change.nmhdr.hwndFrom = list;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
  change.nmhdr.code = EN_SELCHANGE;
  change.chrg.cpMin = listText.SelectionStart();
  change.chrg.cpMax = listText.SelectionEnd();
  change.seltyp = change.chrg.cpMin == change.chrg.cpMax ? SEL_EMPTY : SEL_TEXT;
  ::SendMessageA(::GetParent(list), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

LRESULT NotifyMouse(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  MSGFILTER filter{};
  filter.nmhdr.hwndFrom = list;
  filter.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list));
  filter.nmhdr.code = EN_MSGFILTER;
  filter.msg = message;
  filter.wParam = wParam;
  filter.lParam = lParam;
  return ::SendMessageA(::GetParent(list), WM_NOTIFY, filter.nmhdr.idFrom, reinterpret_cast<LPARAM>(&filter));
}

LRESULT CALLBACK ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case EM_SETSEL:
      SelectInListControl(list, static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam));
      return 0;
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDOWN:
      NotifyMouse(list, message, wParam, lParam);
      if (message == WM_LBUTTONDOWN) ::SetFocus(list);
      return 0;
    default:
      return ::DefWindowProcA(list, message, wParam, lParam);
  }
}

}  // namespace

HWND CreateListControl(HINSTANCE instance, HWND page, const ControlLayout& layout) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = ListProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_IBEAM);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = kClassName;
  ::RegisterClassA(&windowClass);
  return ::CreateWindowExA(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL,
                           layout.place.x, layout.place.y, layout.place.width, layout.place.height, page,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), instance, nullptr);
}

CatalogueText& ListControlText(HWND) { return listText; }

void SelectInListControl(HWND list, std::int32_t start, std::int32_t end) {
  listText.Select(start, end);
  NotifySelection(list);
}

void ListControlTextChanged(HWND list) { ::InvalidateRect(list, nullptr, TRUE); }

}  // namespace mirravel::platform
