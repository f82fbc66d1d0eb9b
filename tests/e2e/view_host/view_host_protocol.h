// What the view host and the view suite agree on: the window title, control ids, the query messages and
// the text the view shows (a few hundred catalogue-like lines with CR LF breaks, every third with a comment,
// and one much longer line).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace mirravel::e2e {

inline constexpr char kViewHostTitle[] = "Mirravel view host";
inline constexpr int kHostEditId = 6;
inline constexpr int kHostViewId = 8;
inline constexpr int kHostSelectionLogId = 100;  // "SELCHANGE <count> <cpMin> <cpMax> <seltyp>"
inline constexpr int kHostMouseLogId = 101;      // "MSGFILTER <count> <message in hex>" (moves left out)

// Queries answered in the host's process (scroll information is not readable across processes).
inline constexpr UINT kHostQuery = WM_APP + 1;
enum HostQuery : WPARAM { kFirstLine, kFirstColumn, kLastLine, kLastColumn, kLinesPerPage, kColumnsPerPage, kLineHeight, kCharWidth };
// wParam 1: the host answers EN_MSGFILTER for WM_LBUTTONDOWN with 1 (the view then ignores the press).
inline constexpr UINT kHostBlockLeftButton = WM_APP + 2;
// Selects wParam (anchor) to lParam (caret) through the view's C++ interface.
inline constexpr UINT kHostSelect = WM_APP + 3;

inline constexpr int kSampleLines = 300;
inline constexpr int kSampleLongLine = 150;

inline std::string SampleLine(int index) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "#VIEW_CONST_%03d = $%X", index, index * 17);
  if (index == kSampleLongLine) return buffer + (" ' " + std::string(240, 'w') + " end");
  return index % 3 == 0 ? buffer + (" ' comment " + std::to_string(index)) : buffer;
}

inline std::string SampleText() {
  std::string text;
  for (int i = 0; i < kSampleLines; ++i) text += SampleLine(i) + "\r\n";
  return text;
}

// The view's position (one character per line break) of a column of a line.
inline int SamplePosition(int line, int column) {
  int position = column;
  for (int i = 0; i < line; ++i) position += static_cast<int>(SampleLine(i).size()) + 1;
  return position;
}

}  // namespace mirravel::e2e
