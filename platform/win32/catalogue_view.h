// The catalogue list: a read-only, owner-drawn text view of window class "MirravelCatalogueView" over a
// CatalogueText that it does not own. It paints only the visible lines, never wraps, keeps its selection
// visible without the focus, and reports to its notify window (its parent unless set) like a rich edit
// control with ENM_SELCHANGE | ENM_MOUSEEVENTS:
//   WM_NOTIFY EN_SELCHANGE with a SELCHANGE record after every change of the selection, and after every
//     selection set by the program even when unchanged;
//   WM_NOTIFY EN_MSGFILTER with a MSGFILTER record before each mouse message; a non-zero answer makes the
//     view ignore that message.
// Messages it answers: EM_SETSEL, EM_EXSETSEL (select and scroll into view), EM_GETSEL, EM_EXGETSEL,
// EM_GETSELTEXT, EM_GETLINECOUNT, EM_LINEFROMCHAR, EM_EXLINEFROMCHAR, EM_LINEINDEX, EM_LINELENGTH,
// EM_GETFIRSTVISIBLELINE, EM_SCROLLCARET, WM_COPY, WM_GETTEXT, WM_GETTEXTLENGTH, WM_GETFONT.
#pragma once

#include <windows.h>

#include <cstdint>

#include "catalogue/catalogue_text.h"

namespace mirravel::platform {

inline constexpr char kCatalogueViewClassName[] = "MirravelCatalogueView";

bool RegisterCatalogueViewClass(HINSTANCE instance);

// A visible child with both scroll bars, a tab stop and a sunken edge.
HWND CreateCatalogueView(HWND parent, int id, int x, int y, int width, int height);

// Shows text (nullptr for none) from its top; call again after the text was replaced. The text must
// outlive the view or be detached first. Does not notify.
void AttachCatalogueText(HWND view, CatalogueText* text);

// Selects from anchor to caret (the caret at caret), scrolls the selection into view and notifies, like
// EM_SETSEL from the program.
void SelectInCatalogueView(HWND view, std::int32_t anchor, std::int32_t caret);

// Where the notifications go when the parent is only a container (for example a tab page).
void SetCatalogueViewNotifyWindow(HWND view, HWND target);

}  // namespace mirravel::platform
