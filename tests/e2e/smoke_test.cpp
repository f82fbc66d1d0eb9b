// Smoke suite: mirravel.exe opens its one window as described (title, size, style, top-most, centred,
// class icon), carries the plug-in marker, and ends with exit code 0 however it is closed.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/harness/harness.h"

namespace {

using namespace mirravel::e2e;

constexpr char kTitle[] = "Mirravel";
constexpr int kClientWidth = 425;
constexpr int kClientHeight = 303;

int CenteredStart(int screen, int outer) { return screen / 2 - (outer < screen ? outer : screen) / 2; }

void CheckStyle(HWND window) {
  struct StyleBit {
    const char* name;
    DWORD bit;
    bool set;
  };
  const StyleBit bits[] = {
      {"WS_CAPTION", WS_CAPTION, true},         {"WS_SYSMENU", WS_SYSMENU, true},
      {"WS_VISIBLE", WS_VISIBLE, true},         {"WS_MINIMIZEBOX", WS_MINIMIZEBOX, false},
      {"WS_MAXIMIZEBOX", WS_MAXIMIZEBOX, false}, {"WS_THICKFRAME", WS_THICKFRAME, false},
      {"WS_CHILD", WS_CHILD, false},            {"WS_POPUP", WS_POPUP, false},
  };
  const DWORD style = static_cast<DWORD>(Style(window));
  for (const auto& bit : bits) {
    CheckCounter::Instance().SetContext(bit.name);
    CHECK_EQ(bit.set, (style & bit.bit) == bit.bit);
  }
  CheckCounter::Instance().SetContext("");
  CHECK_NOTE((ExStyle(window) & WS_EX_TOPMOST) != 0, "the window starts top-most");
  CHECK_NOTE(::GetWindow(window, GW_OWNER) == nullptr, "no owner window");
}

void CheckGeometry(HWND window) {
  const RECT client = ClientRect(window);
  CHECK_EQ(kClientWidth, client.right - client.left);
  CHECK_EQ(kClientHeight, client.bottom - client.top);

  RECT expectedOuter{0, 0, kClientWidth, kClientHeight};
  ::AdjustWindowRect(&expectedOuter, static_cast<DWORD>(Style(window)), FALSE);
  const RECT outer = WindowRect(window);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  CHECK_EQ(expectedOuter.right - expectedOuter.left, width);
  CHECK_EQ(expectedOuter.bottom - expectedOuter.top, height);

  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  CHECK_EQ(CenteredStart(screenWidth, width), static_cast<int>(outer.left));
  CHECK_EQ(CenteredStart(screenHeight, height), static_cast<int>(outer.top));
}

// Class data of another process is not readable under Wine (GetClassLongPtr answers only the class style
// across processes), so the icon is looked up in the executable and the background colour is read from
// the screen.
void CheckIconAndBackground(HWND window, const std::string& programPath) {
  CHECK_NOTE((::GetClassLongPtrA(window, GCL_STYLE) & CS_DBLCLKS) != 0, "double clicks reported");
  HMODULE image = ::LoadLibraryExA(programPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (CHECK_NOTE(image != nullptr, "executable opens as data: " + programPath)) {
    for (int size : {32, 16}) {
      HANDLE icon = ::LoadImageA(image, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0);
      CHECK_NOTE(icon != nullptr, "icon resource 1 at " + std::to_string(size) + " pixels");
      ICONINFO info{};
      BITMAP bitmap{};
      if (icon && ::GetIconInfo(static_cast<HICON>(icon), &info)) {
        ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        CHECK_EQ(size, static_cast<int>(bitmap.bmWidth));
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
      }
      if (icon) ::DestroyIcon(static_cast<HICON>(icon));
    }
    ::FreeLibrary(image);
  }

  // A client point that no control covers: between the tab panel (height 275) and the bottom row (y 280).
  // The first paint may still be on its way, so the pixel gets a moment to settle.
  POINT free{200, 277};
  ::ClientToScreen(window, &free);
  const auto pixelAt = [](POINT point) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF color = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(nullptr, screen);
    return color;
  };
  WaitUntil([&] { return pixelAt(free) == ::GetSysColor(COLOR_BTNFACE); }, 3000);
  const COLORREF pixel = pixelAt(free);
  CHECK_EQ(static_cast<unsigned long>(::GetSysColor(COLOR_BTNFACE)), static_cast<unsigned long>(pixel));
}

void CheckPluginMarker(const std::string& programPath) {
  std::ifstream file(programPath, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  CHECK_NOTE(!bytes.empty(), "the executable can be read: " + programPath);
  const std::string marker = std::string("! This is a JaPBe Plugin !") + '\0';
  CHECK_NOTE(bytes.find(marker) != std::string::npos, "marker text in the executable's data");
}

void CheckOpenWindow(const std::string& programPath) {
  Process program;
  if (!CHECK_NOTE(program.Start(Quoted(programPath)), "start " + programPath)) return;
  HWND window = WaitForTopLevelWindow(program.Id(), nullptr, kTitle);
  if (!CHECK_NOTE(window != nullptr, "a visible window titled Mirravel")) return;
  CHECK_EQ(std::string(kTitle), GetText(window));
  CHECK_EQ(1u, TopLevelWindows(program.Id(), nullptr, nullptr, true).size());
  CheckStyle(window);
  CheckGeometry(window);
  CheckIconAndBackground(window, programPath);
  PostClose(window);
  CHECK_EQ(0LL, program.WaitForExit());
}

// Each way of closing the window ends the process with exit code 0.
void CheckCloseRequests(const std::string& programPath) {
  struct CloseWay {
    const char* name;
    void (*request)(HWND);
  };
  const CloseWay ways[] = {
      {"WM_CLOSE", [](HWND w) { PostClose(w); }},
      {"SC_CLOSE", [](HWND w) { PostSysCommand(w, SC_CLOSE); }},
      {"Alt+F4", [](HWND w) {
         // Key down with the Alt context bit, as the system delivers Alt+F4.
         ::PostMessageA(w, WM_SYSKEYDOWN, VK_F4, static_cast<LPARAM>(0x20000001 | (0x3E << 16)));
       }},
  };
  for (const auto& way : ways) {
    CheckCounter::Instance().SetContext(way.name);
    Process program;
    if (!CHECK(program.Start(Quoted(programPath)))) continue;
    HWND window = WaitForTopLevelWindow(program.Id(), nullptr, kTitle);
    if (!CHECK(window != nullptr)) continue;
    way.request(window);
    CHECK_EQ(0LL, program.WaitForExit());
  }
  CheckCounter::Instance().SetContext("");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: e2e_smoke <path of mirravel.exe>\n");
    return 2;
  }
  const std::string programPath = argv[1];
  CheckPluginMarker(programPath);
  CheckOpenWindow(programPath);
  CheckCloseRequests(programPath);
  return CheckCounter::Instance().Summary("e2e_smoke");
}
