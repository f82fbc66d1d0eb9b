// The catalogue view's window class, message dispatch, selection, scrolling, caret, notifications and the
// text it hands out (clipboard, WM_GETTEXT, EM_GETSELTEXT).
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/catalogue_view.h"
#include "platform/win32/catalogue_view_internal.h"

namespace mirravel::platform {

namespace {

CatalogueView* ViewOf(HWND window) {
  return reinterpret_cast<CatalogueView*>(::GetWindowLongPtrA(window, 0));
}

LRESULT CALLBACK CatalogueViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    ::SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(new CatalogueView(window)));
  }
  CatalogueView* view = ViewOf(window);
  if (view == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrA(window, 0, 0);
    delete view;
    return ::DefWindowProcA(window, message, wParam, lParam);
  }
  return view->Handle(message, wParam, lParam);
}

std::int32_t ClampToInt32(LPARAM value) {
  return static_cast<std::int32_t>(std::clamp<LPARAM>(value, INT32_MIN, INT32_MAX));
}

// Break characters handed out per line break: CR LF for WM_GETTEXT and the clipboard, CR alone for
// EM_GETSELTEXT, whose result must keep the view's positions (one character per line break).
std::size_t CopyWithBreaks(std::string_view text, const char* lineBreak, char* out, std::size_t room) {
  const std::size_t breakLength = std::strlen(lineBreak);
  std::size_t written = 0;
  for (char c : text) {
    const bool isBreak = c == CatalogueText::kLineBreak;
    const std::size_t need = isBreak ? breakLength : 1;
    if (written + need > room) break;
    if (isBreak) {
      std::memcpy(out + written, lineBreak, breakLength);
    } else {
      out[written] = c;
    }
    written += need;
  }
  return written;
}

std::size_t BreakCount(const CatalogueText& text) {
  const bool endsWithBreak = text.Length() > 0 && text.Text().back() == CatalogueText::kLineBreak;
  return static_cast<std::size_t>(text.LineCount() - 1) + (endsWithBreak ? 1 : 0);
}

}  // namespace

bool RegisterCatalogueViewClass(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = CatalogueViewProcedure;
  windowClass.cbWndExtra = sizeof(CatalogueView*);
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_IBEAM);
  windowClass.lpszClassName = kCatalogueViewClassName;
  return ::RegisterClassExA(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CreateCatalogueView(HWND parent, int id, int x, int y, int width, int height) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(parent, GWLP_HINSTANCE));
  return ::CreateWindowExA(WS_EX_CLIENTEDGE, kCatalogueViewClassName, "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void AttachCatalogueText(HWND view, CatalogueText* text) {
  if (CatalogueView* state = ViewOf(view)) state->Attach(text);
}

void SelectInCatalogueView(HWND view, std::int32_t anchor, std::int32_t caret) {
  if (CatalogueView* state = ViewOf(view)) state->Select(anchor, caret, SelectionOrigin::Program);
}

void SetCatalogueViewNotifyWindow(HWND view, HWND target) {
  if (CatalogueView* state = ViewOf(view)) state->SetNotifyWindow(target);
}

CatalogueView::CatalogueView(HWND window) : window_(window) { CreateViewFont(); }

CatalogueView::~CatalogueView() {
  if (font_) ::DeleteObject(font_);
}

LRESULT CatalogueView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && MouseMessageFiltered(message, wParam, lParam)) {
    return 0;
  }
  switch (message) {
    case WM_PAINT: return OnPaint();
    case WM_ERASEBKGND: return 1;  // every pixel is painted by OnPaint
    case WM_SIZE: UpdateLayout(); return 0;
    case WM_SETFOCUS:
      focused_ = true;
      ::CreateCaret(window_, nullptr, 2, lineHeight_);
      PlaceCaret();
      ::ShowCaret(window_);
      ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      ::DestroyCaret();
      StopDragging();
      ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN: return OnKeyDown(wParam);
    case WM_CHAR: return OnChar(wParam);
    case WM_LBUTTONDOWN: return OnLeftButtonDown(lParam, false);
    case WM_LBUTTONDBLCLK: return OnLeftButtonDown(lParam, true);
    case WM_MOUSEMOVE: return OnMouseMove(lParam);
    case WM_LBUTTONUP: return OnLeftButtonUp();
    case WM_CAPTURECHANGED: StopDragging(); return 0;
    case WM_TIMER: return OnTimer();
    case WM_MOUSEWHEEL: {
      // Shift turns the wheel sideways: rolling up (a positive delta) then scrolls left.
      const bool shifted = (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0;
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      return OnWheel(shifted ? -delta : delta, shifted);
    }
    case WM_MOUSEHWHEEL: return OnWheel(GET_WHEEL_DELTA_WPARAM(wParam), true);
    case WM_VSCROLL: return OnScroll(SB_VERT, wParam);
    case WM_HSCROLL: return OnScroll(SB_HORZ, wParam);
    case WM_COPY: CopyToClipboard(); return 0;
    case WM_GETTEXT: return OnGetText(wParam, lParam);
    case WM_GETTEXTLENGTH: return OnGetTextLength();
    case WM_SETTEXT: return FALSE;  // read-only: the text comes from AttachCatalogueText
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETFONT: return 0;  // keeps its fixed-pitch font: columns are the layout unit
    case EM_SETSEL: return OnSetSel(wParam, lParam);
    case EM_EXSETSEL: {
      const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
      if (range) Select(range->cpMin, range->cpMax, SelectionOrigin::Program);
      return Text().SelectionEnd();
    }
    case EM_GETSEL: return OnGetSel(wParam, lParam);
    case EM_EXGETSEL: {
      if (auto* range = reinterpret_cast<CHARRANGE*>(lParam)) {
        range->cpMin = Text().SelectionStart();
        range->cpMax = Text().SelectionEnd();
      }
      return 0;
    }
    case EM_GETSELTEXT: return OnGetSelText(lParam);
    case EM_GETLINECOUNT: return Text().LineCount();
    case EM_LINEFROMCHAR:
    case EM_EXLINEFROMCHAR: {
      const LPARAM position = message == EM_LINEFROMCHAR ? static_cast<LPARAM>(static_cast<INT_PTR>(wParam)) : lParam;
      return Text().LineFromPosition(position < 0 ? Text().Caret() : ClampToInt32(position));
    }
    case EM_LINEINDEX: {
      const auto line = static_cast<INT_PTR>(wParam);
      if (line < 0) return Text().LineStart(Text().LineFromPosition(Text().Caret()));
      return line < Text().LineCount() ? Text().LineStart(static_cast<std::int32_t>(line)) : -1;
    }
    case EM_LINELENGTH: {
      const auto position = static_cast<INT_PTR>(wParam);
      return static_cast<LRESULT>(Text().LineText(Text().LineFromPosition(ClampToInt32(position))).size());
    }
    case EM_GETFIRSTVISIBLELINE: return firstLine_;
    case EM_SCROLLCARET: ScrollCaretIntoView(); return 0;
    default: return ::DefWindowProcA(window_, message, wParam, lParam);
  }
}

void CatalogueView::Attach(CatalogueText* text) {
  text_ = text;
  firstLine_ = firstColumn_ = goalColumn_ = 0;
  StopDragging();
  UpdateLayout();
  ::InvalidateRect(window_, nullptr, FALSE);
}

void CatalogueView::Select(std::int32_t anchor, std::int32_t caret, SelectionOrigin origin) {
  CatalogueText& text = Text();
  const std::int32_t oldAnchor = text.Anchor();
  const std::int32_t oldCaret = text.Caret();
  text.Select(anchor, caret);
  if (origin == SelectionOrigin::Program) {
    goalColumn_ = ColumnOf(text, text.Caret());
    ScrollSelectionIntoView();
  }
  PlaceCaret();
  if (text.Anchor() == oldAnchor && text.Caret() == oldCaret && origin == SelectionOrigin::User) return;
  ::InvalidateRect(window_, nullptr, FALSE);
  // Last, because the receiver may set another selection from inside the notification.
  NotifySelectionChanged();
}

LRESULT CatalogueView::OnSetSel(WPARAM wParam, LPARAM lParam) {
  const auto start = static_cast<INT_PTR>(wParam);
  const auto end = static_cast<INT_PTR>(lParam);
  const CatalogueText& text = Text();
  if (start < 0) {
    Select(text.Caret(), text.Caret(), SelectionOrigin::Program);  // removes the selection
  } else if (start == 0 && end == -1) {
    Select(0, text.Length(), SelectionOrigin::Program);
  } else {
    Select(ClampToInt32(start), end < 0 ? text.Length() : ClampToInt32(end), SelectionOrigin::Program);
  }
  return 0;
}

LRESULT CatalogueView::OnGetSel(WPARAM wParam, LPARAM lParam) const {
  const std::int32_t start = Text().SelectionStart();
  const std::int32_t end = Text().SelectionEnd();
  if (auto* out = reinterpret_cast<DWORD*>(wParam)) *out = static_cast<DWORD>(start);
  if (auto* out = reinterpret_cast<DWORD*>(lParam)) *out = static_cast<DWORD>(end);
  if (end > 0xFFFF) return -1;
  return static_cast<LRESULT>(MAKELONG(start, end));
}

// Like rich edit: the caller provides room for the selection and its terminating zero.
LRESULT CatalogueView::OnGetSelText(LPARAM lParam) const {
  auto* out = reinterpret_cast<char*>(lParam);
  if (out == nullptr) return 0;
  const std::string_view selected = Text().SelectedText();
  const std::size_t written = CopyWithBreaks(selected, "\r", out, selected.size());
  out[written] = '\0';
  return static_cast<LRESULT>(written);
}

// Positions in the view count a line break as one character; the text handed out here has CR LF, so its
// length (WM_GETTEXTLENGTH) exceeds the view's positions by one per line break.
LRESULT CatalogueView::OnGetText(WPARAM wParam, LPARAM lParam) const {
  auto* out = reinterpret_cast<char*>(lParam);
  if (out == nullptr || wParam == 0) return 0;
  const std::size_t written = CopyWithBreaks(Text().Text(), "\r\n", out, static_cast<std::size_t>(wParam) - 1);
  out[written] = '\0';
  return static_cast<LRESULT>(written);
}

LRESULT CatalogueView::OnGetTextLength() const {
  return static_cast<LRESULT>(static_cast<std::size_t>(Text().Length()) + BreakCount(Text()));
}

// Another program (a clipboard manager, a test reading the clipboard) may hold the clipboard for a
// moment; a short bounded retry keeps Ctrl+C from being lost without stalling the window noticeably.
static bool OpenClipboardPatiently(HWND owner) {
  constexpr int kAttempts = 20;
  constexpr DWORD kPauseMs = 5;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (::OpenClipboard(owner)) return true;
    ::Sleep(kPauseMs);
  }
  return false;
}

void CatalogueView::CopyToClipboard() const {
  const std::string_view selected = Text().SelectedText();
  if (selected.empty()) return;
  const std::size_t breaks = static_cast<std::size_t>(std::count(selected.begin(), selected.end(), '\n'));
  const std::size_t size = selected.size() + breaks + 1;
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return;
  auto* out = static_cast<char*>(::GlobalLock(memory));
  if (out == nullptr) {
    ::GlobalFree(memory);
    return;
  }
  out[CopyWithBreaks(selected, "\r\n", out, size - 1)] = '\0';
  ::GlobalUnlock(memory);
  if (!OpenClipboardPatiently(window_)) {
    ::GlobalFree(memory);
    return;
  }
  ::EmptyClipboard();
  if (::SetClipboardData(CF_TEXT, memory) == nullptr) ::GlobalFree(memory);
  ::CloseClipboard();
}

HWND CatalogueView::NotifyWindow() const { return notifyWindow_ ? notifyWindow_ : ::GetParent(window_); }

void CatalogueView::NotifySelectionChanged() {
  SELCHANGE change{};
  change.nmhdr.hwndFrom = window_;
  change.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(window_));
  change.nmhdr.code = EN_SELCHANGE;
  change.chrg.cpMin = Text().SelectionStart();
  change.chrg.cpMax = Text().SelectionEnd();
  const std::int32_t length = change.chrg.cpMax - change.chrg.cpMin;
  change.seltyp = static_cast<WORD>(length == 0 ? SEL_EMPTY : (length == 1 ? SEL_TEXT : SEL_TEXT | SEL_MULTICHAR));
  ::SendMessageA(NotifyWindow(), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

bool CatalogueView::MouseMessageFiltered(UINT message, WPARAM wParam, LPARAM lParam) {
  MSGFILTER filter{};
  filter.nmhdr.hwndFrom = window_;
  filter.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(window_));
  filter.nmhdr.code = EN_MSGFILTER;
  filter.msg = message;
  filter.wParam = wParam;
  filter.lParam = lParam;
  return ::SendMessageA(NotifyWindow(), WM_NOTIFY, filter.nmhdr.idFrom, reinterpret_cast<LPARAM>(&filter)) != 0;
}

std::int32_t CatalogueView::VisibleLines() const { return std::max(1, clientHeight_ / lineHeight_); }

std::int32_t CatalogueView::VisibleColumns() const {
  return std::max(1, (clientWidth_ - kTextMargin) / charWidth_);
}

void CatalogueView::UpdateLayout() {
  RECT client{};
  ::GetClientRect(window_, &client);
  clientWidth_ = client.right - client.left;
  clientHeight_ = client.bottom - client.top;
  firstLine_ = ClampScrollStart(firstLine_, ViewLineCount(Text()), VisibleLines());
  firstColumn_ = ClampScrollStart(firstColumn_, ColumnCount(), VisibleColumns());
  UpdateScrollBars();
  PlaceCaret();
}

void CatalogueView::UpdateScrollBars() {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
  info.nMax = ViewLineCount(Text()) - 1;
  info.nPage = static_cast<UINT>(VisibleLines());
  info.nPos = firstLine_;
  ::SetScrollInfo(window_, SB_VERT, &info, TRUE);
  info.nMax = ColumnCount() - 1;
  info.nPage = static_cast<UINT>(VisibleColumns());
  info.nPos = firstColumn_;
  ::SetScrollInfo(window_, SB_HORZ, &info, TRUE);
}

void CatalogueView::ScrollTo(std::int32_t firstLine, std::int32_t firstColumn) {
  const std::int32_t line = ClampScrollStart(firstLine, ViewLineCount(Text()), VisibleLines());
  const std::int32_t column = ClampScrollStart(firstColumn, ColumnCount(), VisibleColumns());
  if (line == firstLine_ && column == firstColumn_) return;
  firstLine_ = line;
  firstColumn_ = column;
  UpdateScrollBars();
  PlaceCaret();
  ::InvalidateRect(window_, nullptr, FALSE);
}

void CatalogueView::ScrollCaretIntoView() {
  const CatalogueText& text = Text();
  ScrollTo(ScrollStartToShow(firstLine_, VisibleLines(), ViewLineOf(text, text.Caret())),
           ScrollStartToShow(firstColumn_, VisibleColumns(), ColumnOf(text, text.Caret())));
}

// A selection set by the program (a search hit) comes into view with its start, centred vertically
// when it was out of sight so that the lines around it show too.
void CatalogueView::ScrollSelectionIntoView() {
  const CatalogueText& text = Text();
  const std::int32_t caretLine = ViewLineOf(text, text.Caret());
  const std::int32_t visible = VisibleLines();
  std::int32_t line = firstLine_;
  if (caretLine < firstLine_ || caretLine >= firstLine_ + visible) line = caretLine - visible / 2;
  const std::int32_t startColumn = ColumnOf(text, text.SelectionStart());
  const std::int32_t endColumn = ColumnOf(text, text.SelectionEnd());
  const bool oneLine = ViewLineOf(text, text.SelectionStart()) == ViewLineOf(text, text.SelectionEnd());
  const std::int32_t column =
      oneLine ? ScrollStartToShowRange(firstColumn_, VisibleColumns(), startColumn, endColumn)
              : ScrollStartToShow(firstColumn_, VisibleColumns(), ColumnOf(text, text.Caret()));
  ScrollTo(line, column);
}

void CatalogueView::PlaceCaret() {
  if (!focused_) return;
  const CatalogueText& text = Text();
  const std::int64_t line = ViewLineOf(text, text.Caret()) - static_cast<std::int64_t>(firstLine_);
  const std::int64_t column = ColumnOf(text, text.Caret()) - static_cast<std::int64_t>(firstColumn_);
  // Off-screen carets are parked just outside the client area rather than at wrapped-around coordinates.
  const auto x = static_cast<int>(std::clamp<std::int64_t>(kTextMargin + column * charWidth_ - 1, -4, clientWidth_ + 4));
  const auto y = static_cast<int>(std::clamp<std::int64_t>(line * lineHeight_, -lineHeight_ - 4, clientHeight_ + 4));
  ::SetCaretPos(x, y);
}

}  // namespace mirravel::platform
