// What the view host and its test agree on: control ids, the window title and the query messages.
#pragma once

#include <windows.h>

namespace mirravel::e2e {

inline constexpr char kViewHostTitle[] = "Mirravel view host";
inline constexpr int kHostEditId = 6;
inline constexpr int kHostViewId = 8;
inline constexpr int kHostSelectionLogId = 100;  // "SELCHANGE <count> <cpMin> <cpMax> <seltyp>"
inline constexpr int kHostMouseLogId = 101;      // "MSGFILTER <count> <message in hex>" (moves left out)

// Queries answered in the host's process (scroll information is not readable across processes).
inline constexpr UINT kHostQuery = WM_APP + 1;
inline constexpr WPARAM kQueryVerticalMax = 0;
inline constexpr WPARAM kQueryVerticalPage = 1;
inline constexpr WPARAM kQueryVerticalPosition = 2;
inline constexpr WPARAM kQueryHorizontalMax = 3;
inline constexpr WPARAM kQueryHorizontalPage = 4;
inline constexpr WPARAM kQueryHorizontalPosition = 5;
inline constexpr WPARAM kQueryLineHeight = 6;
inline constexpr WPARAM kQueryCharWidth = 7;
inline constexpr WPARAM kQueryViewFocused = 8;
// wParam 1: the host answers EN_MSGFILTER for WM_LBUTTONDOWN with 1 (the view then ignores the press).
inline constexpr UINT kHostBlockLeftButton = WM_APP + 2;
// Selects wParam (anchor) to lParam (caret) through the view's C++ interface.
inline constexpr UINT kHostSelect = WM_APP + 3;

}  // namespace mirravel::e2e
