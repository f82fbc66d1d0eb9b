// A window holding one catalogue view over the sample text, for the view suite: it mirrors the view's
// notifications into two static controls and answers the suite's queries about scrolling and metrics.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "catalogue/catalogue_text.h"
#include "platform/win32/catalogue_view.h"
#include "tests/e2e/view_host/view_host_protocol.h"

namespace {

using namespace mirravel::e2e;

mirravel::CatalogueText sampleText;
HWND view = nullptr;
int selectionChanges = 0;
int mouseFilters = 0;
bool blockLeftButton = false;

LRESULT OnNotify(HWND host, const NMHDR* header) {
  char line[160];
  if (header->code == EN_SELCHANGE) {
    const auto* change = reinterpret_cast<const SELCHANGE*>(header);
    std::snprintf(line, sizeof line, "SELCHANGE %d %ld %ld %u", ++selectionChanges, change->chrg.cpMin,
                  change->chrg.cpMax, change->seltyp);
    ::SetDlgItemTextA(host, kHostSelectionLogId, line);
  } else if (header->code == EN_MSGFILTER && reinterpret_cast<const MSGFILTER*>(header)->msg != WM_MOUSEMOVE) {
    const UINT message = reinterpret_cast<const MSGFILTER*>(header)->msg;
    std::snprintf(line, sizeof line, "MSGFILTER %d %04X", ++mouseFilters, message);
    ::SetDlgItemTextA(host, kHostMouseLogId, line);
    return blockLeftButton && message == WM_LBUTTONDOWN ? 1 : 0;
  }
  return 0;
}

LRESULT Query(WPARAM what) {
  SCROLLINFO vertical{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  SCROLLINFO horizontal = vertical;
  ::GetScrollInfo(view, SB_VERT, &vertical);
  ::GetScrollInfo(view, SB_HORZ, &horizontal);
  HDC dc = ::GetDC(view);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(view, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, previous);
  ::ReleaseDC(view, dc);
  const LRESULT answers[] = {vertical.nPos, horizontal.nPos, vertical.nMax, horizontal.nMax,
                             static_cast<LRESULT>(vertical.nPage), static_cast<LRESULT>(horizontal.nPage),
                             metrics.tmHeight + metrics.tmExternalLeading, metrics.tmAveCharWidth};
  return what < std::size(answers) ? answers[what] : -1;
}

void CreateChildren(HWND host) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(host, GWLP_HINSTANCE));
  const auto child = [&](const char* cls, DWORD style, int id, int y, int height) {
    HWND made = ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 3, y, 414, height, host,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
  };
  child("EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kHostEditId, 6, 20);
  view = mirravel::platform::CreateCatalogueView(host, kHostViewId, 3, 32, 414, 214);
  child("STATIC", 0, kHostSelectionLogId, 252, 16);
  child("STATIC", 0, kHostMouseLogId, 270, 16);
  sampleText.Assign(SampleText());
  mirravel::platform::AttachCatalogueText(view, &sampleText);
}

LRESULT CALLBACK HostProcedure(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateChildren(host); return 0;
    case WM_NOTIFY: return OnNotify(host, reinterpret_cast<const NMHDR*>(lParam));
    case kHostQuery: return Query(wParam);
    case kHostBlockLeftButton: blockLeftButton = wParam != 0; return 0;
    case kHostSelect:
      mirravel::platform::SelectInCatalogueView(view, static_cast<std::int32_t>(wParam), static_cast<std::int32_t>(lParam));
      return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcA(host, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = "MirravelViewHost";
  RECT outer{0, 0, 420, 290};
  ::AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
  if (!mirravel::platform::RegisterCatalogueViewClass(instance) || !::RegisterClassA(&windowClass) ||
      !::CreateWindowExA(0, "MirravelViewHost", kViewHostTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                         outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr)) {
    return 1;
  }
  ::SetFocus(view);
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
