// The program's one top-level window: its window class, its placement on the screen and its window
// procedure, a dispatcher that lets the installed hook see every message first.
#pragma once

#include <windows.h>

namespace mirravel::platform {

inline constexpr char kMainWindowClassName[] = "MirravelMainWindow";
inline constexpr char kMainWindowTitle[] = "Mirravel";
inline constexpr int kMainClientWidth = 425;
inline constexpr int kMainClientHeight = 303;
inline constexpr DWORD kMainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
inline constexpr int kProgramIconId = 1;

// Sees each message of the main window before the window's own handlers. Returns true when it handled
// the message, with the message's result in *result.
using MainWindowHook = bool (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Program icon, arrow cursor, button-face background, double clicks reported.
bool RegisterMainWindowClass(HINSTANCE instance);

// Opens the window centred on the screen and top-most; nullptr when it cannot be opened.
HWND OpenMainWindow(HINSTANCE instance);

void SetMainWindowHook(MainWindowHook hook);

// Start of a window of size `outer` centred on a screen of size `screen` along one axis; a window larger
// than the screen starts at the screen's edge, never before it.
int CenteredStart(int screen, int outer);

}  // namespace mirravel::platform
