// The catalogue view's state and its handlers, shared by the view's source files (messages, input,
// painting). Not for use outside the view.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/catalogue_text.h"
#include "ui/text_view_navigation.h"

namespace mirravel::platform {

enum class SelectionOrigin { User, Program };

class CatalogueView {
 public:
  explicit CatalogueView(HWND window);
  ~CatalogueView();
  CatalogueView(const CatalogueView&) = delete;
  CatalogueView& operator=(const CatalogueView&) = delete;

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  void Attach(CatalogueText* text);
  void SetNotifyWindow(HWND target) { notifyWindow_ = target; }
  void Select(std::int32_t anchor, std::int32_t caret, SelectionOrigin origin);

 private:
  // Messages (catalogue_view.cpp).
  LRESULT OnSetSel(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetSel(WPARAM wParam, LPARAM lParam) const;
  LRESULT OnGetSelText(LPARAM lParam) const;
  LRESULT OnGetText(WPARAM wParam, LPARAM lParam) const;
  LRESULT OnGetTextLength() const;
  void CopyToClipboard() const;
  void NotifySelectionChanged();
  bool MouseMessageFiltered(UINT message, WPARAM wParam, LPARAM lParam);
  HWND NotifyWindow() const;

  // Input (catalogue_view_input.cpp).
  LRESULT OnKeyDown(WPARAM key);
  LRESULT OnChar(WPARAM character);
  LRESULT OnLeftButtonDown(LPARAM lParam, bool doubleClick);
  LRESULT OnMouseMove(LPARAM lParam);
  LRESULT OnLeftButtonUp();
  LRESULT OnTimer();
  LRESULT OnWheel(int delta, bool sideways);
  LRESULT OnScroll(int bar, WPARAM wParam);
  void MoveCaretBy(CaretKey key, bool extending);
  void ExtendSelectionTo(POINT point);
  std::int32_t PositionFromPoint(POINT point) const;
  void StopDragging();

  // Layout, scrolling and caret (catalogue_view.cpp).
  void UpdateLayout();
  void UpdateScrollBars();
  void ScrollTo(std::int32_t firstLine, std::int32_t firstColumn);
  void ScrollCaretIntoView();
  void ScrollSelectionIntoView();
  void PlaceCaret();
  const CatalogueText& Text() const { return text_ ? *text_ : empty_; }
  CatalogueText& Text() { return text_ ? *text_ : empty_; }
  std::int32_t VisibleLines() const;
  std::int32_t VisibleColumns() const;
  std::int32_t ColumnCount() const { return Text().LongestLineLength() + 1; }

  // Painting (catalogue_view_paint.cpp).
  void CreateViewFont();
  LRESULT OnPaint();
  void PaintLine(HDC dc, std::int32_t line, int top, int right);
  void PaintRun(HDC dc, const char* characters, std::int32_t count, int x, int top, COLORREF ink,
                COLORREF paper);

  HWND window_;
  HWND notifyWindow_ = nullptr;
  CatalogueText* text_ = nullptr;
  CatalogueText empty_;
  HFONT font_ = nullptr;
  int lineHeight_ = 16;
  int charWidth_ = 8;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  std::int32_t firstLine_ = 0;
  std::int32_t firstColumn_ = 0;
  std::int32_t goalColumn_ = 0;
  bool focused_ = false;
  bool dragging_ = false;
  bool autoScrolling_ = false;
  int wheelRemainder_ = 0;
  int sideWheelRemainder_ = 0;
  std::vector<INT> advances_;
};

// Space left of the first column, so the caret at column 0 is not hidden by the edge.
inline constexpr int kTextMargin = 2;

}  // namespace mirravel::platform
