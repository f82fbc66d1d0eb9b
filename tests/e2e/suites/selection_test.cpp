// Selection suite: what a selection in the list puts into the copy field (cut at the line break and at
// the comment; 199 characters picked up, 200 kept but not picked up, longer ones cut back to 200), the
// context menu on a right click, the About box with the catalogue's line count, and ending the program
// from inside a message box.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/suites/mirravel_session.h"

namespace {

using namespace mirravel::e2e;

constexpr char kMarker[] = "<unchanged>";

void SetContext(const std::string& context) { CheckCounter::Instance().SetContext(context); }

void Select(MirravelSession& session, std::int32_t start, std::int32_t end) {
  SendWithTimeout(session.Control(kListId), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end), nullptr);
  session.Settle();
}

// What the copy field receives for a selection: its text up to the first line break, then up to the
// first apostrophe.
std::string PickedText(const ExpectedCatalogue& catalogue, std::int32_t start, std::int32_t end) {
  std::string text = catalogue.Text().substr(static_cast<size_t>(start), static_cast<size_t>(end - start));
  text = text.substr(0, text.find('\n'));
  return text.substr(0, text.find('\''));
}

void CheckPickUp(MirravelSession& session, const ExpectedCatalogue& catalogue) {
  const std::int32_t paint = catalogue.LineStartOf("#WM_PAINT =");
  const std::int32_t bottom = catalogue.LineStartOf("#ABE_BOTTOM =");
  if (!CHECK_NOTE(paint >= 0 && bottom >= 0, "the catalogue holds #WM_PAINT and #ABE_BOTTOM")) return;
  const std::int32_t bottomLineLength =
      static_cast<std::int32_t>(catalogue.Text().find('\n', static_cast<size_t>(bottom))) - bottom;
  struct Case {
    const char* name;
    std::int32_t start;
    std::int32_t end;
    std::string expected;
  };
  const Case cases[] = {
      {"a name inside its line", paint, paint + 9, "#WM_PAINT"},
      {"a whole line with its comment", bottom, bottom + bottomLineLength, "#ABE_BOTTOM = $3 "},
      {"the same line selected backwards", bottom + bottomLineLength, bottom, "#ABE_BOTTOM = $3 "},
      {"a selection over two lines", paint + 1, paint + 60, PickedText(catalogue, paint + 1, paint + 60)},
      {"199 characters", paint, paint + 199, PickedText(catalogue, paint, paint + 199)},
  };
  for (const Case& c : cases) {
    SetContext(c.name);
    session.MarkCopyField(kMarker);
    Select(session, c.start, c.end);
    CHECK(session.WaitForCopyField(c.expected));
  }

  // 200 characters are the most the list keeps and are not picked up; longer ones are cut back to their
  // first 200 characters, which are not picked up either.
  struct LongCase {
    std::int32_t length;
    std::int32_t kept;
  };
  for (const LongCase& c : {LongCase{200, 200}, LongCase{201, 200}, LongCase{5000, 200}}) {
    SetContext(std::to_string(c.length) + " characters");
    session.MarkCopyField(kMarker);
    Select(session, paint, paint + c.length);
    ::Sleep(300);
    session.Settle();
    CHECK_EQ(std::string(kMarker), GetText(session.Control(kCopyFieldId)));
    std::int32_t start = -1;
    std::int32_t end = -1;
    CHECK(session.ListSelection(start, end));
    CHECK_EQ(paint, start);
    CHECK_EQ(paint + c.kept, end);
  }
}

// Clicking into the list without selecting changes nothing; a right click opens the context menu.
void CheckMouse(MirravelSession& session) {
  HWND list = session.Control(kListId);
  SetContext("click without selecting");
  session.MarkCopyField(kMarker);
  const LPARAM point = MAKELPARAM(40, 30);
  ::PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  ::PostMessageA(list, WM_LBUTTONUP, 0, point);
  session.Settle();
  ::Sleep(200);
  CHECK_EQ(std::string(kMarker), GetText(session.Control(kCopyFieldId)));
  std::int32_t start = -1;
  std::int32_t end = -2;
  CHECK(session.ListSelection(start, end));
  CHECK_EQ(start, end);

  SetContext("right click");
  ::PostMessageA(list, WM_RBUTTONDOWN, MK_RBUTTON, point);
  ::PostMessageA(list, WM_RBUTTONUP, 0, point);
  HWND menu = WaitForTopLevelWindow(session.Program().Id(), "#32768", nullptr, 5000);
  if (!CHECK_NOTE(menu != nullptr, "the context menu opens")) return;
  ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  CHECK_NOTE(WaitUntil([&] { return !::IsWindowVisible(menu); }), "Escape closes it");
  CHECK_NOTE(session.NoMessageBoxWithin(300), "dismissing the menu does nothing else");
}

void OpenAboutBox(MirravelSession& session) {
  if (::IsWindowVisible(session.Control(kAboutButtonId)) == 0) session.ClickTab(1);
  CHECK(WaitUntil([&] { return ::IsWindowVisible(session.Control(kAboutButtonId)) != 0; }));
  Click(session.Control(kAboutButtonId));
}

void CheckAboutBox(MirravelSession& session, const ExpectedCatalogue& catalogue) {
  SetContext("About box");
  OpenAboutBox(session);
  const MessageBoxInfo box = WaitForMessageBox(session.Program().Id());
  if (!CHECK_NOTE(box.window != nullptr, "the About box opens")) return;
  CHECK_EQ(std::string("About Mirravel"), box.title);
  const std::string start = "Windows API constants viewer jaPBe plugin\nfor the PureBasic community.\n\n";
  CHECK_EQ(start, box.text.substr(0, start.size()));
  const std::string counts = "\n\nConstants : \t" + std::to_string(catalogue.LineCount()) +
                             "\nPlugin functions : \tDisabled\nPlugin registered : \t";
  CHECK_NOTE(box.text.find(counts) != std::string::npos, "line count and plug-in state in \"" + box.text + "\"");
  CHECK_NOTE(!IsEnabled(session.Main()), "the main window is disabled while the box is open");
  AnswerMessageBox(box.window, IDOK);
  CHECK_NOTE(WaitUntil([&] { return IsEnabled(session.Main()); }), "and enabled again after it");
}

// A close request reaches the program inside a modal message box too, and ends it with exit code 0.
void CheckCloseFromInsideBox(MirravelSession& session) {
  SetContext("close while the About box is open");
  OpenAboutBox(session);
  if (!CHECK(WaitForMessageBox(session.Program().Id()).window != nullptr)) return;
  PostClose(session.Main());
  CHECK_EQ(0LL, session.Program().WaitForExit());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: e2e_selection <path of mirravel.exe> <path of the catalogue text>\n");
    return 2;
  }
  ExpectedCatalogue catalogue;
  MirravelSession session;
  if (catalogue.Load(argv[2]) && session.Start(argv[1])) {
    CheckPickUp(session, catalogue);
    CheckMouse(session);
    CheckAboutBox(session, catalogue);
    CheckCloseFromInsideBox(session);
  }
  return CheckCounter::Instance().Summary("e2e_selection");
}
