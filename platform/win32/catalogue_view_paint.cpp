// Painting of the catalogue view: only the rows in the paint rectangle, each clipped to the visible
// columns, in a fixed-pitch font with every character advanced by the same width so that columns are
// exact. Comments (from a line's first apostrophe) are drawn in a quieter colour.
#include <windows.h>

#include <algorithm>
#include <array>

#include "platform/win32/catalogue_view_internal.h"

namespace mirravel::platform {

namespace {

constexpr int kFontPoints = 9;

// Blends b into a by weight (0-256) per colour channel.
COLORREF Mix(COLORREF a, COLORREF b, unsigned weight) {
  const auto channel = [&](unsigned shift) {
    const unsigned x = (a >> shift) & 0xFFu;
    const unsigned y = (b >> shift) & 0xFFu;
    return ((x * (256 - weight) + y * weight) / 256) << shift;
  };
  return static_cast<COLORREF>(channel(0) | channel(8) | channel(16));
}

struct Palette {
  COLORREF paper;
  COLORREF ink;
  COLORREF comment;
  COLORREF selectionPaper;
  COLORREF selectionInk;
};

Palette CurrentPalette(bool focused) {
  Palette palette{};
  palette.paper = ::GetSysColor(COLOR_WINDOW);
  palette.ink = ::GetSysColor(COLOR_WINDOWTEXT);
  palette.comment = Mix(palette.ink, palette.paper, 110);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  // Without the focus the selection stays visible in a light tint of the highlight.
  palette.selectionPaper = focused ? highlight : Mix(palette.paper, highlight, 90);
  palette.selectionInk = focused ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : palette.ink;
  return palette;
}

}  // namespace

void CatalogueView::CreateViewFont() {
  HDC screen = ::GetDC(window_);
  const int height = -::MulDiv(kFontPoints, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  font_ = ::CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
  HGDIOBJ previous = ::SelectObject(screen, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA metrics{};
  if (::GetTextMetricsA(screen, &metrics)) {
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    SIZE widest{};
    // A font that is not really fixed-pitch still gets one advance for all: that of its widest letter.
    const bool fixedPitch = (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
    if (!fixedPitch && ::GetTextExtentPoint32A(screen, "W", 1, &widest)) {
      charWidth_ = std::max(1, static_cast<int>(widest.cx));
    } else {
      charWidth_ = std::max(1, static_cast<int>(metrics.tmAveCharWidth));
    }
  }
  ::SelectObject(screen, previous);
  ::ReleaseDC(window_, screen);
}

LRESULT CatalogueView::OnPaint() {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(window_, &paint);
  HGDIOBJ previous = ::SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(ANSI_FIXED_FONT));
  const std::int32_t lineCount = ViewLineCount(Text());
  const int firstRow = std::max(0, static_cast<int>(paint.rcPaint.top) / lineHeight_);
  const int lastRow = static_cast<int>(paint.rcPaint.bottom - 1) / lineHeight_;
  const Palette palette = CurrentPalette(focused_);
  HBRUSH paper = ::CreateSolidBrush(palette.paper);
  for (int row = firstRow; row <= lastRow; ++row) {
    const std::int64_t line = static_cast<std::int64_t>(firstLine_) + row;
    const int top = row * lineHeight_;
    if (line < lineCount) {
      PaintLine(dc, static_cast<std::int32_t>(line), top, paint.rcPaint.right);
    } else {
      const RECT empty{paint.rcPaint.left, top, paint.rcPaint.right, top + lineHeight_};
      ::FillRect(dc, &empty, paper);
    }
  }
  // The margin left of the first column.
  const RECT margin{0, paint.rcPaint.top, kTextMargin, paint.rcPaint.bottom};
  ::FillRect(dc, &margin, paper);
  ::DeleteObject(paper);
  ::SelectObject(dc, previous);
  ::EndPaint(window_, &paint);
  return 0;
}

// One row: the visible columns of the line split into runs of one style (plain, comment, selected), a
// selected line break shown as one selected cell, and paper to the right edge.
void CatalogueView::PaintLine(HDC dc, std::int32_t line, int top, int right) {
  const CatalogueText& text = Text();
  const std::string_view characters = line < text.LineCount() ? text.LineText(line) : std::string_view();
  const auto length = static_cast<std::int32_t>(characters.size());
  const std::int32_t lineStart = ViewLineStart(text, line);
  const Palette palette = CurrentPalette(focused_);

  const std::int32_t selectionFrom = std::clamp(text.SelectionStart() - lineStart, 0, length + 1);
  const std::int32_t selectionTo = std::clamp(text.SelectionEnd() - lineStart, 0, length + 1);
  const auto apostrophe = characters.find('\'');
  const std::int32_t commentFrom = apostrophe == std::string_view::npos ? length : static_cast<std::int32_t>(apostrophe);

  const std::int32_t visibleFrom = std::min(firstColumn_, length);
  const std::int32_t visibleTo = static_cast<std::int32_t>(
      std::min<std::int64_t>(length, static_cast<std::int64_t>(firstColumn_) + VisibleColumns() + 1));
  std::array<std::int32_t, 5> cuts{visibleFrom, visibleTo, std::clamp(selectionFrom, visibleFrom, visibleTo),
                                   std::clamp(selectionTo, visibleFrom, visibleTo),
                                   std::clamp(commentFrom, visibleFrom, visibleTo)};
  std::sort(cuts.begin(), cuts.end());
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    const std::int32_t from = cuts[i];
    const std::int32_t to = cuts[i + 1];
    if (from >= to) continue;
    const bool selected = from >= selectionFrom && from < selectionTo;
    const COLORREF ink = selected ? palette.selectionInk : (from >= commentFrom ? palette.comment : palette.ink);
    const int x = kTextMargin + (from - firstColumn_) * charWidth_;
    PaintRun(dc, characters.data() + from, to - from, x, top, ink, selected ? palette.selectionPaper : palette.paper);
  }

  int paperFrom = kTextMargin + (std::max(visibleTo, firstColumn_) - firstColumn_) * charWidth_;
  const bool breakSelected = selectionFrom <= length && selectionTo > length && length >= firstColumn_ &&
                             line < text.LineCount();
  if (breakSelected) {
    const RECT cell{paperFrom, top, paperFrom + charWidth_, top + lineHeight_};
    HBRUSH brush = ::CreateSolidBrush(palette.selectionPaper);
    ::FillRect(dc, &cell, brush);
    ::DeleteObject(brush);
    paperFrom += charWidth_;
  }
  if (paperFrom < right) {
    const RECT rest{paperFrom, top, right, top + lineHeight_};
    HBRUSH brush = ::CreateSolidBrush(palette.paper);
    ::FillRect(dc, &rest, brush);
    ::DeleteObject(brush);
  }
}

void CatalogueView::PaintRun(HDC dc, const char* characters, std::int32_t count, int x, int top, COLORREF ink,
                             COLORREF paper) {
  if (advances_.size() < static_cast<std::size_t>(count)) advances_.resize(static_cast<std::size_t>(count));
  std::fill_n(advances_.begin(), count, charWidth_);
  const RECT cell{x, top, x + count * charWidth_, top + lineHeight_};
  ::SetTextColor(dc, ink);
  ::SetBkColor(dc, paper);
  ::ExtTextOutA(dc, x, top, ETO_OPAQUE | ETO_CLIPPED, &cell, characters, static_cast<UINT>(count), advances_.data());
}

}  // namespace mirravel::platform
