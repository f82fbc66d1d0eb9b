// The list (control 8) as the main window uses it: created in the find page, holding the catalogue
// text model, selecting a range the way a user would, so that it reports the change to its parent.
#pragma once

#include <windows.h>

#include <cstdint>

#include "catalogue/catalogue_text.h"
#include "ui/main_window_layout.h"

namespace mirravel::platform {

HWND CreateListControl(HINSTANCE instance, HWND page, const ControlLayout& layout);
CatalogueText& ListControlText(HWND list);
// Selects and scrolls into view; the list then sends its parent EN_SELCHANGE.
void SelectInListControl(HWND list, std::int32_t start, std::int32_t end);
// The whole text was replaced: the list shows it from the top.
void ListControlTextChanged(HWND list);

}  // namespace mirravel::platform
