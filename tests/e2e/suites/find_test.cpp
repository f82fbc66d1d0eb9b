// Find suite: finding constants by name and by value in the real catalogue, the label beside the find
// field, Return and F3 and the "Find [F3]" button, walking the hits to "No more entry found" and back to
// the top, and the messages for texts that are neither or not found. Expected hits are computed here
// from the catalogue text the program was built with.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/suites/mirravel_session.h"

namespace {

using namespace mirravel::e2e;

constexpr char kNameLabel[] = "Constant to find :";
constexpr char kValueLabel[] = "Value to find :";
constexpr char kNeitherLabel[] = "????? to find :";

void SetContext(const std::string& context) { CheckCounter::Instance().SetContext(context); }

// Return acts only while the find field has the focus (a click on the button, for one, takes it away).
void PressReturnInFindField(MirravelSession& session) {
  HWND field = session.Control(kFindFieldId);
  CHECK_NOTE(SetFocusTo(field), "focus into the find field");
  session.PressKey(field, VK_RETURN);
}

// The label follows the text as typed, before any upper-casing.
void CheckLabels(MirravelSession& session) {
  struct Case {
    const char* text;
    const char* label;
  };
  const Case cases[] = {
      {"WM_PAINT", kNameLabel}, {"255", kValueLabel},   {"$FF", kValueLabel},  {"$ff", kNeitherLabel},
      {"12AB", kNeitherLabel},  {"-1", kNameLabel},     {"$", kValueLabel},    {"0x10", kNeitherLabel},
      {"", kNameLabel},
  };
  for (const Case& c : cases) {
    SetContext(std::string("label for \"") + c.text + "\"");
    CHECK_NOTE(session.TypeFindText(c.text, c.label), std::string("label \"") + c.label + "\"");
  }
}

// A search started by Return in the find field or by the "Find [F3]" button selects the definition of
// the first hit, which the copy field then shows.
void CheckFirstHits(MirravelSession& session, const ExpectedCatalogue& catalogue) {
  struct Case {
    const char* text;
    const char* label;
    const char* pattern;  // what the program searches for with "Only value" checked
    bool byButton;
  };
  const Case cases[] = {
      {"WM_PAINT", kNameLabel, "#WM_PAINT =", false},
      {"#wm_paint", kNameLabel, "#WM_PAINT =", true},
      {"255", kValueLabel, "= $FF", true},
      {"$FF", kValueLabel, "= $FF", false},
      {"$ff", kNeitherLabel, "= $FF", false},  // the label says neither; the search upper-cases first
      {"abe_bottom", kNameLabel, "#ABE_BOTTOM =", false},
  };
  for (const Case& c : cases) {
    SetContext(std::string("first hit for \"") + c.text + "\"");
    const std::vector<std::int32_t> hits = catalogue.Matches(c.pattern, true);
    if (!CHECK_NOTE(!hits.empty(), std::string("the catalogue holds ") + c.pattern)) continue;
    if (!CHECK(session.TypeFindText(c.text, c.label))) continue;
    session.MarkCopyField();
    if (c.byButton) {
      Click(session.Control(kFindButtonId));
    } else {
      PressReturnInFindField(session);
    }
    CHECK(session.WaitForCopyField(catalogue.DefinitionAt(hits.front())));
  }
  SetContext("the entry of the description");
  CHECK(session.TypeFindText("WM_PAINT", kNameLabel));
  PressReturnInFindField(session);
  CHECK(session.WaitForCopyField("#WM_PAINT = $F "));
}

// F3 walks every hit from the top, then says "No more entry found", then starts at the top again.
void CheckWalk(MirravelSession& session, const ExpectedCatalogue& catalogue, const char* text, const char* pattern,
               bool onlyValue) {
  SetContext(std::string("walk \"") + text + "\"" + (onlyValue ? "" : " without Only value"));
  HWND box = session.Control(kOnlyValueId);
  if ((CheckState(box) == BST_CHECKED) != onlyValue) Click(box);
  CHECK(WaitUntil([&] { return (CheckState(box) == BST_CHECKED) == onlyValue; }));
  const std::vector<std::int32_t> hits = catalogue.Matches(pattern, onlyValue);
  if (!CHECK_NOTE(!hits.empty() && hits.size() <= 40, "a walk of 1 to 40 hits")) return;
  CHECK(session.TypeFindText(text, kNameLabel));
  HWND field = session.Control(kFindFieldId);
  for (size_t i = 0; i < hits.size(); ++i) {
    session.MarkCopyField();
    session.PressKey(field, VK_F3);
    if (!CHECK_NOTE(session.WaitForCopyField(catalogue.DefinitionAt(hits[i])), "hit " + std::to_string(i + 1))) return;
    std::int32_t start = -1;
    std::int32_t end = -1;
    if (session.ListSelection(start, end)) {
      CHECK_EQ(catalogue.LineStartAt(hits[i]), start);
      CHECK_EQ(static_cast<std::int32_t>(catalogue.DefinitionAt(hits[i]).size()), end - start);
    }
  }
  session.PressKey(field, VK_F3);
  CHECK(session.ExpectMessageBox("Find text", "No more entry found"));
  CHECK_NOTE(WaitUntil([&] { return FocusOf(session.Main()) == field; }), "focus back in the find field");
  session.MarkCopyField();
  session.PressKey(field, VK_F3);
  CHECK_NOTE(session.WaitForCopyField(catalogue.DefinitionAt(hits.front())), "the next F3 starts at the top");
  if (!onlyValue) Click(box);
  CHECK(WaitUntil([&] { return CheckState(box) == BST_CHECKED; }));
}

void CheckMessages(MirravelSession& session) {
  HWND field = session.Control(kFindFieldId);
  struct Case {
    const char* text;
    const char* label;
    const char* title;
    const char* message;
  };
  const Case cases[] = {
      {"12AB", kNeitherLabel, "ERROR", "Text is not a constant nor a value"},
      {"$12 ", kNeitherLabel, "ERROR", "Text is not a constant nor a value"},
      {"NO_SUCH_CONSTANT_ANYWHERE", kNameLabel, "Find text", "Constant not found!"},
      {"$0FF", kValueLabel, "Find text", "Value not found!"},
  };
  for (const Case& c : cases) {
    SetContext(std::string("message for \"") + c.text + "\"");
    if (!CHECK(session.TypeFindText(c.text, c.label))) continue;
    PressReturnInFindField(session);
    CHECK(session.ExpectMessageBox(c.title, c.message));
    CHECK_NOTE(WaitUntil([&] { return FocusOf(session.Main()) == field; }), "focus back in the find field");
  }
}

// Return searches only from the find field; F3 searches wherever the focus is; the button with an
// empty field only moves the focus.
void CheckWhereKeysWork(MirravelSession& session) {
  HWND field = session.Control(kFindFieldId);
  HWND list = session.Control(kListId);
  SetContext("Return in the list");
  CHECK(session.TypeFindText("NO_SUCH_CONSTANT_ANYWHERE", kNameLabel));
  CHECK(SetFocusTo(list));
  session.PressKey(list, VK_RETURN);
  CHECK_NOTE(session.NoMessageBoxWithin(700), "Return outside the find field does nothing");

  SetContext("F3 in the list");
  CHECK(FocusOf(session.Main()) == list);
  session.PressKey(list, VK_F3);
  CHECK(session.ExpectMessageBox("Find text", "Constant not found!"));

  SetContext("Find button with an empty field");
  CHECK(session.TypeFindText("", kNameLabel));
  CHECK(SetFocusTo(list));
  Click(session.Control(kFindButtonId));
  CHECK_NOTE(WaitUntil([&] { return FocusOf(session.Main()) == field; }), "the focus moves to the find field");
  CHECK_NOTE(session.NoMessageBoxWithin(500), "and nothing is searched");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: e2e_find <path of mirravel.exe> <path of the catalogue text>\n");
    return 2;
  }
  ExpectedCatalogue catalogue;
  MirravelSession session;
  if (catalogue.Load(argv[2]) && session.Start(argv[1])) {
    CheckLabels(session);
    CheckFirstHits(session, catalogue);
    CheckMessages(session);
    CheckWalk(session, catalogue, "#WM_PAINT", "#WM_PAINT", false);
    CheckWalk(session, catalogue, "WM_PAINT", "#WM_PAINT =", true);
    CheckWhereKeysWork(session);
    SetContext("close");
    session.CloseAndExpectExitCode0();
  }
  return CheckCounter::Instance().Summary("e2e_find");
}
