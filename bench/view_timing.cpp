// Times the catalogue view over a catalogue-sized text (20,000 lines, about 1 MB): attaching it,
// scrolling through it page by page with a paint after each step, program-set selections far apart with
// a paint after each, and handing the whole text out with WM_GETTEXT. Prints the figures; not a test.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/catalogue_text.h"
#include "platform/win32/catalogue_view.h"

namespace {

constexpr int kLines = 20000;

std::string CatalogueSizedText() {
  std::string text;
  char line[400];
  for (int i = 0; i < kLines; ++i) {
    const int nameLength = 8 + (i * 7) % 40;
    std::string name(static_cast<std::size_t>(nameLength), static_cast<char>('A' + i % 26));
    std::snprintf(line, sizeof line, "#%s_%d = $%X%s\r\n", name.c_str(), i, i * 31,
                  i % 3 == 0 ? " ' A description of this constant, as long as many in the catalogue." : "");
    text += line;
  }
  return text;
}

class Stopwatch {
 public:
  Stopwatch() { ::QueryPerformanceCounter(&start_); }
  double Milliseconds() const {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_{};
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!mirravel::platform::RegisterCatalogueViewClass(instance)) return 1;
  HWND frame = ::CreateWindowExA(0, "STATIC", "view timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 440, 280,
                                 nullptr, nullptr, instance, nullptr);
  HWND view = mirravel::platform::CreateCatalogueView(frame, 8, 3, 3, 414, 214);
  if (view == nullptr) return 1;
  const std::string source = CatalogueSizedText();
  mirravel::CatalogueText text;

  Stopwatch attach;
  text.Assign(source);
  mirravel::platform::AttachCatalogueText(view, &text);
  ::UpdateWindow(view);
  std::printf("text: %zu bytes, %d lines; assign, attach and first paint: %.1f ms\n", source.size(),
              text.LineCount(), attach.Milliseconds());

  int pages = 0;
  Stopwatch scrolling;
  while (::SendMessageA(view, EM_GETFIRSTVISIBLELINE, 0, 0) + 20 < text.LineCount() && pages < 5000) {
    ::SendMessageA(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    ::UpdateWindow(view);
    ++pages;
  }
  std::printf("page down through the text: %d pages, %.3f ms per scroll and paint\n", pages,
              scrolling.Milliseconds() / pages);

  constexpr int kSelections = 2000;
  Stopwatch selecting;
  for (int i = 0; i < kSelections; ++i) {
    const int line = (i * 7919) % text.LineCount();
    mirravel::platform::SelectInCatalogueView(view, text.LineStart(line), text.LineStart(line) + 17);
    ::UpdateWindow(view);
  }
  std::printf("program-set selections far apart: %.3f ms per selection, scroll and paint\n",
              selecting.Milliseconds() / kSelections);

  std::vector<char> all(static_cast<std::size_t>(::SendMessageA(view, WM_GETTEXTLENGTH, 0, 0)) + 1);
  Stopwatch copying;
  const LRESULT copied = ::SendMessageA(view, WM_GETTEXT, all.size(), reinterpret_cast<LPARAM>(all.data()));
  std::printf("WM_GETTEXT of %ld characters: %.1f ms\n", static_cast<long>(copied), copying.Milliseconds());
  std::fflush(stdout);
  ::DestroyWindow(frame);
  return 0;
}
