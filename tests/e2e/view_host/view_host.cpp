// A window holding one catalogue view over generated lines, for the end-to-end tests of the view. It
// mirrors the view's notifications into two static controls and answers a few queries by message.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "catalogue/catalogue_text.h"
#include "platform/win32/catalogue_view.h"
#include "tests/e2e/view_host/view_host_protocol.h"
#include "tests/e2e/view_host/sample_text.h"

namespace {

using namespace mirravel::e2e;

mirravel::CatalogueText sampleText;
HWND view = nullptr;
int selectionChanges = 0;
int mouseFilters = 0;
bool blockLeftButton = false;

void Log(HWND host, int id, const char* text) { ::SetWindowTextA(::GetDlgItem(host, id), text); }

LRESULT OnNotify(HWND host, const NMHDR* header) {
  char line[160];
  if (header->code == EN_SELCHANGE) {
    const auto* change = reinterpret_cast<const SELCHANGE*>(header);
    std::snprintf(line, sizeof line, "SELCHANGE %d %ld %ld %u", ++selectionChanges, change->chrg.cpMin,
                  change->chrg.cpMax, change->seltyp);
    Log(host, kHostSelectionLogId, line);
    return 0;
  }
  if (header->code == EN_MSGFILTER) {
    const auto* filter = reinterpret_cast<const MSGFILTER*>(header);
    if (filter->msg == WM_MOUSEMOVE) return 0;
    std::snprintf(line, sizeof line, "MSGFILTER %d %04X", ++mouseFilters, filter->msg);
    Log(host, kHostMouseLogId, line);
    return blockLeftButton && filter->msg == WM_LBUTTONDOWN ? 1 : 0;
  }
  return 0;
}

LRESULT Query(WPARAM what) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  const int bar = what >= kQueryHorizontalMax && what <= kQueryHorizontalPosition ? SB_HORZ : SB_VERT;
  if (what <= kQueryHorizontalPosition) ::GetScrollInfo(view, bar, &info);
  HDC dc = ::GetDC(view);
  HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(view, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(dc, &metrics);
  ::SelectObject(dc, previous);
  ::ReleaseDC(view, dc);
  switch (what) {
    case kQueryVerticalMax: case kQueryHorizontalMax: return info.nMax;
    case kQueryVerticalPage: case kQueryHorizontalPage: return static_cast<LRESULT>(info.nPage);
    case kQueryVerticalPosition: case kQueryHorizontalPosition: return info.nPos;
    case kQueryLineHeight: return metrics.tmHeight + metrics.tmExternalLeading;
    case kQueryCharWidth: return metrics.tmAveCharWidth;
    case kQueryViewFocused: return ::GetFocus() == view ? 1 : 0;
    default: return -1;
  }
}

void CreateChildren(HWND host) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(host, GWLP_HINSTANCE));
  const auto child = [&](const char* cls, DWORD style, int id, int x, int y, int w, int h) {
    HWND made = ::CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, host,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageA(made, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
    return made;
  };
  child("EDIT", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kHostEditId, 3, 6, 180, 20);
  view = mirravel::platform::CreateCatalogueView(host, kHostViewId, 3, 32, 414, 214);
  child("STATIC", 0, kHostSelectionLogId, 3, 252, 414, 16);
  child("STATIC", 0, kHostMouseLogId, 3, 270, 414, 16);
  sampleText.Assign(SampleText());
  mirravel::platform::AttachCatalogueText(view, &sampleText);
}

LRESULT CALLBACK HostProcedure(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: CreateChildren(host); return 0;
    case WM_NOTIFY: return OnNotify(host, reinterpret_cast<const NMHDR*>(lParam));
    case kHostQuery: return Query(wParam);
    case kHostBlockLeftButton: blockLeftButton = wParam != 0; return 0;
    case kHostSelect: mirravel::platform::SelectInCatalogueView(view, static_cast<std::int32_t>(wParam),
                                                               static_cast<std::int32_t>(lParam));
      return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcA(host, message, wParam, lParam);
  }
}

}  // namespace

// Optional arguments: anchor and caret of a first selection (for looking at the painting).
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  if (!mirravel::platform::RegisterCatalogueViewClass(instance)) return 1;
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = HostProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = "MirravelViewHost";
  if (!::RegisterClassExA(&windowClass)) return 1;
  RECT outer{0, 0, 420, 290};
  ::AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
  HWND host = ::CreateWindowExA(0, "MirravelViewHost", kViewHostTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
  if (host == nullptr) return 1;
  ::SetFocus(view);
  long anchor = 0;
  long caret = 0;
  if (commandLine && std::sscanf(commandLine, "%ld %ld", &anchor, &caret) == 2) {
    mirravel::platform::SelectInCatalogueView(view, static_cast<std::int32_t>(anchor), static_cast<std::int32_t>(caret));
  }
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
