// The catalogue view's keyboard, mouse, wheel and scroll-bar input. Read-only: typing changes nothing.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/catalogue_view_internal.h"

namespace mirravel::platform {

namespace {

constexpr UINT_PTR kAutoScrollTimer = 1;
constexpr UINT kAutoScrollIntervalMs = 50;
constexpr WPARAM kCtrlA = 0x01;
constexpr WPARAM kCtrlC = 0x03;

bool IsDown(int virtualKey) { return ::GetKeyState(virtualKey) < 0; }

int FloorDivide(int value, int divisor) {
  return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

UINT WheelSetting(UINT action, UINT fallback) {
  UINT value = fallback;
  if (!::SystemParametersInfoA(action, 0, &value, 0)) value = fallback;
  return value;
}

}  // namespace

LRESULT CatalogueView::OnKeyDown(WPARAM key) {
  const bool control = IsDown(VK_CONTROL);
  const bool shift = IsDown(VK_SHIFT);
  switch (key) {
    case VK_LEFT: MoveCaretBy(control ? CaretKey::WordLeft : CaretKey::Left, shift); break;
    case VK_RIGHT: MoveCaretBy(control ? CaretKey::WordRight : CaretKey::Right, shift); break;
    case VK_UP:
      if (control) ScrollTo(firstLine_ - 1, firstColumn_); else MoveCaretBy(CaretKey::Up, shift);
      break;
    case VK_DOWN:
      if (control) ScrollTo(firstLine_ + 1, firstColumn_); else MoveCaretBy(CaretKey::Down, shift);
      break;
    case VK_PRIOR: MoveCaretBy(CaretKey::PageUp, shift); break;
    case VK_NEXT: MoveCaretBy(CaretKey::PageDown, shift); break;
    case VK_HOME: MoveCaretBy(control ? CaretKey::TextStart : CaretKey::LineStart, shift); break;
    case VK_END: MoveCaretBy(control ? CaretKey::TextEnd : CaretKey::LineEnd, shift); break;
    case VK_INSERT:
      if (control) CopyToClipboard();
      break;
    case VK_TAB: {
      // Reached only when no dialog manager or shortcut handling took Tab first.
      HWND next = ::GetNextDlgTabItem(::GetParent(window_), window_, shift);
      if (next && next != window_) ::SetFocus(next);
      break;
    }
    default: break;
  }
  return 0;
}

LRESULT CatalogueView::OnChar(WPARAM character) {
  if (character == kCtrlC) CopyToClipboard();
  if (character == kCtrlA) Select(0, Text().Length(), SelectionOrigin::User);
  return 0;
}

void CatalogueView::MoveCaretBy(CaretKey key, bool extending) {
  CatalogueText& text = Text();
  const CaretMove move = MoveCaret(text, text.Caret(), goalColumn_, key, VisibleLines(), extending);
  goalColumn_ = move.goalColumn;
  Select(extending ? text.Anchor() : move.caret, move.caret, SelectionOrigin::User);
  ScrollCaretIntoView();
}

std::int32_t CatalogueView::PositionFromPoint(POINT point) const {
  const std::int64_t line = firstLine_ + static_cast<std::int64_t>(FloorDivide(point.y, lineHeight_));
  const std::int64_t column =
      firstColumn_ + static_cast<std::int64_t>(FloorDivide(point.x - kTextMargin + charWidth_ / 2, charWidth_));
  return PositionAt(Text(), static_cast<std::int32_t>(std::clamp<std::int64_t>(line, -1, INT32_MAX)),
                    static_cast<std::int32_t>(std::clamp<std::int64_t>(column, -1, INT32_MAX)));
}

LRESULT CatalogueView::OnLeftButtonDown(LPARAM lParam, bool doubleClick) {
  ::SetFocus(window_);
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const std::int32_t position = PositionFromPoint(point);
  CatalogueText& text = Text();
  if (doubleClick) {
    const TextRange word = WordAt(text, position);
    goalColumn_ = ColumnOf(text, word.end);
    Select(word.start, word.end, SelectionOrigin::User);
    return 0;
  }
  goalColumn_ = ColumnOf(text, position);
  Select(IsDown(VK_SHIFT) ? text.Anchor() : position, position, SelectionOrigin::User);
  dragging_ = true;
  ::SetCapture(window_);
  return 0;
}

void CatalogueView::ExtendSelectionTo(POINT point) {
  CatalogueText& text = Text();
  const std::int32_t position = PositionFromPoint(point);
  goalColumn_ = ColumnOf(text, position);
  Select(text.Anchor(), position, SelectionOrigin::User);
}

LRESULT CatalogueView::OnMouseMove(LPARAM lParam) {
  if (!dragging_) return 0;
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ExtendSelectionTo(point);
  const bool outside = point.x < 0 || point.y < 0 || point.x >= clientWidth_ || point.y >= clientHeight_;
  if (outside && !autoScrolling_) {
    autoScrolling_ = ::SetTimer(window_, kAutoScrollTimer, kAutoScrollIntervalMs, nullptr) != 0;
  } else if (!outside && autoScrolling_) {
    ::KillTimer(window_, kAutoScrollTimer);
    autoScrolling_ = false;
  }
  return 0;
}

// While dragging outside the view, each tick scrolls towards the mouse (faster the farther it is) and
// extends the selection to the point under it.
LRESULT CatalogueView::OnTimer() {
  if (!dragging_) return 0;
  POINT point{};
  ::GetCursorPos(&point);
  ::ScreenToClient(window_, &point);
  std::int32_t lines = 0;
  if (point.y < 0) lines = FloorDivide(point.y, lineHeight_);
  if (point.y >= clientHeight_) lines = (point.y - clientHeight_) / lineHeight_ + 1;
  std::int32_t columns = 0;
  if (point.x < 0) columns = FloorDivide(point.x, charWidth_);
  if (point.x >= clientWidth_) columns = (point.x - clientWidth_) / charWidth_ + 1;
  ScrollTo(firstLine_ + lines, firstColumn_ + columns);
  ExtendSelectionTo(point);
  return 0;
}

LRESULT CatalogueView::OnLeftButtonUp() {
  StopDragging();
  return 0;
}

void CatalogueView::StopDragging() {
  if (autoScrolling_) ::KillTimer(window_, kAutoScrollTimer);
  autoScrolling_ = false;
  if (dragging_) {
    dragging_ = false;
    if (::GetCapture() == window_) ::ReleaseCapture();
  }
}

// delta as the wheel reports it; sideways, a positive delta scrolls right.
LRESULT CatalogueView::OnWheel(int delta, bool sideways) {
  int& remainder = sideways ? sideWheelRemainder_ : wheelRemainder_;
  remainder += delta;
  const int notches = remainder / WHEEL_DELTA;
  remainder -= notches * WHEEL_DELTA;
  if (notches == 0) return 0;
  if (sideways) {
    const auto perNotch = static_cast<int>(WheelSetting(SPI_GETWHEELSCROLLCHARS, 3));
    ScrollTo(firstLine_, firstColumn_ + notches * perNotch);
    return 0;
  }
  const UINT setting = WheelSetting(SPI_GETWHEELSCROLLLINES, 3);
  const int perNotch = setting == WHEEL_PAGESCROLL ? VisibleLines() : static_cast<int>(setting);
  ScrollTo(firstLine_ - notches * perNotch, firstColumn_);
  return 0;
}

LRESULT CatalogueView::OnScroll(int bar, WPARAM wParam) {
  const bool vertical = bar == SB_VERT;
  const std::int32_t current = vertical ? firstLine_ : firstColumn_;
  const std::int32_t page = vertical ? VisibleLines() : VisibleColumns();
  std::int32_t target = current;
  switch (LOWORD(wParam)) {
    case SB_LINEUP: target = current - 1; break;
    case SB_LINEDOWN: target = current + 1; break;
    case SB_PAGEUP: target = current - page; break;
    case SB_PAGEDOWN: target = current + page; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = INT32_MAX; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      // The 32-bit track position: the 16 bits in wParam cannot hold line numbers above 65535.
      SCROLLINFO info{};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      if (::GetScrollInfo(window_, bar, &info)) target = info.nTrackPos;
      break;
    }
    default: return 0;
  }
  if (vertical) {
    ScrollTo(target, firstColumn_);
  } else {
    ScrollTo(firstLine_, target);
  }
  return 0;
}

}  // namespace mirravel::platform
