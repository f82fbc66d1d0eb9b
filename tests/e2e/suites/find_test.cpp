// Finding in the real catalogue (Return, "Find [F3]", F3 in the list and the walk) and picking up from the list,
// the About box's line count, a close request inside a box. The rules themselves are the unit tests'; these
// rows follow each path through the real window once.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <string>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kName[] = "Constant to find :";
constexpr char kValue[] = "Value to find :";

std::int32_t LineStartOf(const std::string& text, const std::string& lineStart) {
  if (text.compare(0, lineStart.size(), lineStart) == 0) return 0;
  const std::size_t at = text.find("\n" + lineStart);
  return at == std::string::npos ? -1 : static_cast<std::int32_t>(at + 1);
}

// The list selects the line's definition (up to its first apostrophe) and the copy field shows it.
void ExpectHit(Session& session, const std::string& catalogue, const std::string& lineStart) {
  const std::int32_t line = LineStartOf(catalogue, lineStart);
  if (!CHECK_NOTE(line >= 0, "a line starting " + lineStart)) return;
  const auto start = static_cast<std::size_t>(line);
  const std::string definition = catalogue.substr(start, catalogue.find_first_of("\n'", start) - start);
  if (!CHECK(session.WaitForCopyField(definition))) return;
  CHECK_EQ(std::make_pair(line, line + static_cast<std::int32_t>(definition.size())), session.ListSelection());
}

// F3 in the list here finds nothing and gives the focus back to the find field; the walk runs unchecked.
void CheckSearches(Session& session, const std::string& catalogue) {
  enum class Press { ReturnInField, FindButton, F3InList, F3InField };
  // text nullptr: it stays; the label follows the text as typed; hit: the first hit's line, nullptr: not found.
  const struct { const char* text; const char* label; Press press; const char* hit; } cases[] = {
      {"wm_paint", kName, Press::ReturnInField, "#WM_PAINT ="},
      {"255", kValue, Press::FindButton, "#AC_LINE_UNKNOWN ="},
      {"NO_SUCH_CONSTANT_ANYWHERE", kName, Press::F3InList, nullptr},
      {"#WM_PAINT", kName, Press::F3InField, "#WM_PAINT ="},  // from here on "Only value" unchecked
      {nullptr, kName, Press::F3InField, "#WM_PAINTCLIPBOARD ="},
      {nullptr, kName, Press::F3InField, "#WM_PAINTICON ="},
  };
  for (const auto& c : cases) {
    SetContext(c.text ? "\"" + std::string(c.text) + "\"" : "walking on");
    if (c.press == Press::F3InField && c.text) Click(session.Control(kOnlyValueBox));
    HWND onlyValue = session.Control(kOnlyValueBox);
    CHECK(WaitUntil([&] { return Send(onlyValue, BM_GETCHECK) == (c.press != Press::F3InField); }));
    if (c.text && !CHECK(session.TypeFindText(c.text, c.label))) continue;
    session.MarkCopyField();
    HWND target = session.Control(c.press == Press::F3InList ? kListView : kFindField);
    CHECK(SetFocusTo(target));
    if (c.press == Press::FindButton) Click(session.Control(kFindButton));
    else PostKey(target, c.press == Press::ReturnInField ? VK_RETURN : VK_F3);
    if (c.hit) {
      ExpectHit(session, catalogue, c.hit);
    } else {
      session.AnswerBox("Find text", "Constant not found!");
      CHECK(session.WaitForFocusIn(kFindField));
    }
  }
}

// A selection too long for a pick-up is cut back from inside the list's own notification; then the About box.
void CheckPickUpAndAbout(Session& session, const std::string& catalogue) {
  HWND list = session.Control(kListView);
  SetContext("a whole line backwards, cut at the comment");
  const std::int32_t bottom = LineStartOf(catalogue, "#ABE_BOTTOM =");
  const auto bottomEnd = static_cast<std::int32_t>(catalogue.find('\n', static_cast<size_t>(bottom)));
  session.MarkCopyField();
  Send(list, EM_SETSEL, static_cast<WPARAM>(bottomEnd), bottom);
  CHECK(session.WaitForCopyField("#ABE_BOTTOM = $3 "));
  SetContext("5000 characters");
  const std::int32_t paint = LineStartOf(catalogue, "#WM_PAINT =");
  session.MarkCopyField();
  Send(list, EM_SETSEL, static_cast<WPARAM>(paint), paint + 5000);
  ::Sleep(300);
  session.Settle();
  CHECK_EQ(std::string("<unchanged>"), GetText(session.Control(kCopyField)));
  CHECK_EQ(std::make_pair(paint, paint + 200), session.ListSelection());
  SetContext("About box");
  Click(session.Control(kAboutButton));  // on the hidden Options page: the window suite changes tabs
  const std::string text = session.AnswerBox("About Mirravel");
  const auto lines = std::count(catalogue.begin(), catalogue.end() - 1, '\n') + 1;  // a final break adds none
  const std::string count = "\n\nConstants : \t" + std::to_string(lines) + "\n";
  CHECK_NOTE(text.find(count) != std::string::npos, "the line count in " + Describe(text));
  SetContext("close request while the About box is open");
  Click(session.Control(kAboutButton));
  CHECK(WaitForTopLevelWindow(session.Program().Id(), "#32770", nullptr) != nullptr);
  Post(session.Main(), WM_CLOSE);
  CHECK_EQ(0LL, session.Program().WaitForExit());
}

}  // namespace

void RunFindSuite(const SuitePaths& paths) {
  std::string catalogue;  // as the list holds it: each CR LF one '\n'
  for (const std::string& line : FileLines(paths.peer)) catalogue += line + "\n";
  Session session;
  if (!CHECK_NOTE(!catalogue.empty(), "the catalogue text " + paths.peer) || !session.Start(paths.program)) return;
  CheckSearches(session, catalogue);
  CheckPickUpAndAbout(session, catalogue);
}

}  // namespace mirravel::e2e
