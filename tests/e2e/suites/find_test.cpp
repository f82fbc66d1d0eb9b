// Finding in the real catalogue and picking up from the list: Return, F3 and the "Find [F3]" button, the
// label beside the find field, walking the hits to "No more entry found" and round to the top, the
// messages for texts that are neither or not found; a selection in the list put into the copy field (cut at
// the comment, long ones cut back), a click that selects nothing, the About box with the catalogue's line
// count, and a close request inside a message box. The finding and pick-up rules themselves (case, "$"
// forms, whole words, where a pick-up is cut) are pinned by the unit tests; these rows follow each path
// through the real window once.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kName[] = "Constant to find :";
constexpr char kValue[] = "Value to find :";
constexpr char kNeither[] = "????? to find :";

// The catalogue text as the program's list holds it: each line break (CR LF, CR or LF) one '\n', and
// nothing from the first zero byte on.
std::string ListText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string text;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i] == '\r' ? '\n' : bytes[i];
  }
  return text;
}

std::int32_t LineStartOf(const std::string& text, const std::string& lineStart) {
  if (text.compare(0, lineStart.size(), lineStart) == 0) return 0;
  const std::size_t at = text.find("\n" + lineStart);
  return at == std::string::npos ? -1 : static_cast<std::int32_t>(at + 1);
}

// Checks that the list selects the definition of the line starting so (from the line's start up to its first
// apostrophe or its end), and the copy field shows it.
void ExpectHit(Session& session, const std::string& catalogue, const std::string& lineStart) {
  const std::int32_t line = LineStartOf(catalogue, lineStart);
  if (!CHECK_NOTE(line >= 0, "a line starting " + lineStart)) return;
  const auto start = static_cast<std::size_t>(line);
  const std::string definition = catalogue.substr(start, catalogue.find_first_of("\n'", start) - start);
  if (!CHECK(session.WaitForCopyField(definition))) return;
  CHECK_EQ(std::make_pair(line, line + static_cast<std::int32_t>(definition.size())), session.ListSelection());
}

// A search started in each way finds the first hit, or tells why not and gives the focus back to the find
// field. Return acts only while the find field has the focus; F3 wherever it is; the button with an empty
// field only moves the focus.
void CheckSearches(Session& session, const std::string& catalogue) {
  enum class Press { ReturnInField, FindButton, ReturnInList, F3InList };
  const struct {
    const char* text;
    const char* label;  // follows the text as typed, before any upper-casing
    Press press;
    const char* hit;  // the line of the first hit ("Only value" checked: whole words); nullptr: none
    const char* title;  // the box instead; nullptr: none
    const char* message;
  } cases[] = {
      {"wm_paint", kName, Press::ReturnInField, "#WM_PAINT =", nullptr, nullptr},
      {"255", kValue, Press::FindButton, "#AC_LINE_UNKNOWN =", nullptr, nullptr},
      {"12AB", kNeither, Press::ReturnInField, nullptr, "ERROR", "Text is not a constant nor a value"},
      {"NO_SUCH_CONSTANT_ANYWHERE", kName, Press::ReturnInField, nullptr, "Find text", "Constant not found!"},
      {"$0FF", kValue, Press::ReturnInField, nullptr, "Find text", "Value not found!"},
      {"NO_SUCH_CONSTANT_ANYWHERE", kName, Press::ReturnInList, nullptr, nullptr, nullptr},
      {"NO_SUCH_CONSTANT_ANYWHERE", kName, Press::F3InList, nullptr, "Find text", "Constant not found!"},
      {"", kName, Press::FindButton, nullptr, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    const char* ways[] = {"Return in the field", "the Find button", "Return in the list", "F3 in the list"};
    SetContext("\"" + std::string(c.text) + "\" by " + ways[static_cast<int>(c.press)]);
    if (!CHECK(session.TypeFindText(c.text, c.label))) continue;
    session.MarkCopyField();
    const bool inList = c.press == Press::ReturnInList || c.press == Press::F3InList || *c.text == '\0';
    HWND target = session.Control(inList ? kListView : kFindField);
    CHECK(SetFocusTo(target));
    if (c.press == Press::FindButton) Click(session.Control(kFindButton));
    else PostKeyPress(target, c.press == Press::F3InList ? VK_F3 : VK_RETURN);
    if (c.hit != nullptr) ExpectHit(session, catalogue, c.hit);
    if (c.title != nullptr) session.AnswerBox(c.title, c.message);
    if (c.hit == nullptr && c.title == nullptr) CHECK(session.NoBoxWithin(700));
    if (c.title != nullptr || *c.text == '\0') CHECK(session.WaitForFocusIn(kFindField));
  }
}

// F3 with "Only value" unchecked walks every hit from the top, then says "No more entry found", then starts
// at the top again.
void CheckWalk(Session& session, const std::string& catalogue) {
  SetContext("walk #WM_PAINT without Only value");
  const char* hits[] = {"#WM_PAINT =", "#WM_PAINTCLIPBOARD =", "#WM_PAINTICON ="};
  HWND field = session.Control(kFindField);
  Click(session.Control(kOnlyValueBox));
  CHECK(WaitUntil([&] { return CheckState(session.Control(kOnlyValueBox)) == BST_UNCHECKED; }));
  CHECK(session.TypeFindText("#WM_PAINT", kName));
  for (const char* hit : hits) {
    session.MarkCopyField();
    PostKeyPress(field, VK_F3);
    ExpectHit(session, catalogue, hit);
  }
  PostKeyPress(field, VK_F3);
  session.AnswerBox("Find text", "No more entry found");
  CHECK(session.WaitForFocusIn(kFindField));
  session.MarkCopyField();
  PostKeyPress(field, VK_F3);
  ExpectHit(session, catalogue, hits[0]);
}

// A selection made in the list is picked up as far as the comment, a long one cut back instead; a click
// that selects nothing changes nothing.
void CheckPickUp(Session& session, const std::string& catalogue) {
  const std::int32_t paint = LineStartOf(catalogue, "#WM_PAINT =");
  const std::int32_t bottom = LineStartOf(catalogue, "#ABE_BOTTOM =");
  const auto bottomEnd = static_cast<std::int32_t>(catalogue.find('\n', static_cast<size_t>(bottom)));
  const struct {
    const char* name;
    std::int32_t start;
    std::int32_t end;
    const char* picked;  // nullptr: nothing picked up, the selection cut back to 200 characters
  } cases[] = {
      {"a whole line backwards, cut at the comment", bottomEnd, bottom, "#ABE_BOTTOM = $3 "},
      {"5000 characters", paint, paint + 5000, nullptr},
  };
  for (const auto& c : cases) {
    SetContext(c.name);
    session.MarkCopyField();
    Send(session.Control(kListView), EM_SETSEL, static_cast<WPARAM>(c.start), c.end);
    if (c.picked != nullptr) {
      CHECK(session.WaitForCopyField(c.picked));
      continue;
    }
    ::Sleep(300);
    session.Settle();
    CHECK_EQ(std::string("<unchanged>"), GetText(session.Control(kCopyField)));
    CHECK_EQ(std::make_pair(c.start, c.start + 200), session.ListSelection());
  }
  SetContext("click without selecting");
  session.MarkCopyField();
  ClickAt(session.Control(kListView), {40, 30});
  session.Settle();
  ::Sleep(200);
  CHECK_EQ(std::string("<unchanged>"), GetText(session.Control(kCopyField)));
  const auto [start, end] = session.ListSelection();
  CHECK_NOTE(start >= 0 && start == end, Describe(std::make_pair(start, end)));
}

// The About box; a close request inside it ends the program with exit code 0.
void CheckAboutBoxAndCloseInside(Session& session, const std::string& catalogue) {
  SetContext("About box");
  CHECK(session.ClickTab(1));
  CHECK(WaitUntil([&] { return ::IsWindowVisible(session.Control(kAboutButton)) != 0; }));
  Click(session.Control(kAboutButton));
  const std::string text = session.AnswerBox("About Mirravel");
  const auto lines = std::count(catalogue.begin(), catalogue.end() - 1, '\n') + 1;  // a final break adds none
  const std::string counts = "\n\nConstants : \t" + std::to_string(lines) +
                             "\nPlugin functions : \tDisabled\nPlugin registered : \t";
  CHECK_NOTE(text.find(counts) != std::string::npos, "line count and plug-in state in " + Describe(text));

  SetContext("close request while the About box is open");
  Click(session.Control(kAboutButton));
  CHECK(WaitForMessageBox(session.Program().Id()).window != nullptr);
  Post(session.Main(), WM_CLOSE);
  CHECK_EQ(0LL, session.Program().WaitForExit());
}

}  // namespace

void RunFindSuite(const SuitePaths& paths) {
  const std::string catalogue = ListText(paths.peer);
  Session session;
  if (!CHECK_NOTE(!catalogue.empty(), "the catalogue text " + paths.peer) || !session.Start(paths.program)) return;
  CheckSearches(session, catalogue);
  CheckWalk(session, catalogue);
  CheckPickUp(session, catalogue);
  CheckAboutBoxAndCloseInside(session, catalogue);
}

}  // namespace mirravel::e2e
