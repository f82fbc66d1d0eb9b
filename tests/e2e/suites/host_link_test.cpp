// Host link suite: mirravel.exe started as a tool by the jaPBe stand-in, as jaPBe starts it. The typical
// plugin run (the start-up search, both texts handed to jaPBe, the clipboard, the closing notice and the
// focus), a jaPBe that is slow, replies from the wrong window and then ends, one that hangs, and the host
// window as the command line gives it.
//
// Arguments: mirravel.exe, the stand-in, and "cross" when the stand-in has the other bitness (then only
// the typical and the hung runs, and none at all where this machine runs no 32-bit programs).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/e2e/harness/checks.h"
#include "tests/e2e/suites/japbe_standin_driver.h"
#include "tests/e2e/suites/mirravel_session.h"

namespace {

using namespace mirravel::e2e;

constexpr int kSkipped = 77;
constexpr UINT kStarted = 0x414;
constexpr UINT kClosing = 0x412;
constexpr UINT kQueryA = 0x40D;
constexpr UINT kQueryB = 0x40E;
constexpr UINT kQueryC = 0x410;
constexpr char kPaint[] = "#WM_PAINT = $F ";

struct Paths {
  std::string program;
  std::string standIn;
};

void SetContext(const std::string& context) { CheckCounter::Instance().SetContext(context); }
std::string Message(UINT message) { return std::to_string(message); }

// Starts the stand-in, which launches the program; false after a failed check.
bool StartAsTool(const Paths& paths, const std::string& options, StandInDriver& standIn, MirravelSession& session) {
  return standIn.Start(paths.standIn, options + " --launch " + Quoted(paths.program)) &&
         session.Attach(standIn.LaunchedProcessId());
}

void ChooseMenuItem(MirravelSession& session, int id) {
  ::PostMessageA(session.Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool FocusIsInFindField(MirravelSession& session) {
  return WaitUntil([&] { return FocusOf(session.Main()) == session.Control(kFindFieldId); });
}

std::string ClipboardText() {
  std::string text = "<no text>";
  if (!WaitUntil([] { return ::OpenClipboard(nullptr) != 0; }, 2000)) return "<clipboard busy>";
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const auto* bytes = static_cast<const char*>(::GlobalLock(data))) {
      text.assign(bytes, strnlen(bytes, ::GlobalSize(data)));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  return text;
}

void PutClipboardMarker() {
  if (!WaitUntil([] { return ::OpenClipboard(nullptr) != 0; }, 2000)) return;
  ::EmptyClipboard();
  if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, 9)) {
    std::memcpy(::GlobalLock(block), "<marker>", 9);
    ::GlobalUnlock(block);
    if (!::SetClipboardData(CF_TEXT, block)) ::GlobalFree(block);
  }
  ::CloseClipboard();
}

// The About box's text, answered with OK; "" when none showed.
std::string AboutText(MirravelSession& session, DWORD timeoutMs = kDefaultTimeoutMs) {
  Click(session.Control(kAboutButtonId));
  const MessageBoxInfo box = WaitForMessageBox(session.Program().Id(), timeoutMs);
  if (!CHECK_NOTE(box.window != nullptr, "the About box")) return {};
  CHECK_EQ(std::string("About Mirravel"), box.title);
  AnswerMessageBox(box.window, IDOK);
  WaitUntil([&] { return !::IsWindowVisible(box.window); });
  session.Settle();
  return box.text;
}

// Sends to the program's window every 200 ms for the time given; every answer must come within a second.
void CheckAnswersThroughout(MirravelSession& session, DWORD forMs) {
  int late = 0;
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < forMs) {
    if (!SendWithTimeout(session.Main(), WM_GETTEXTLENGTH, 0, 0, nullptr, 1000)) ++late;
    ::Sleep(200);
  }
  CHECK_EQ(0, late);
}

void CheckCopyData(const StandInRecord& record, MirravelSession& session, const std::string& bytes) {
  CHECK_EQ(std::string("2"), record.Field("dwData"));
  CHECK_EQ(std::to_string(bytes.size()), record.Field("cbData"));
  CHECK_EQ(HexBytes(bytes), record.Field("bytes"));
  CHECK_EQ(HandleText(session.Main()), record.Field("wParam"));
}

// The run the user sees: #WM_PAINT found at start-up, its value and its definition handed to jaPBe, the
// definition on the clipboard, and closing hands jaPBe the focus.
void CheckTypicalRun(const Paths& paths) {
  SetContext("typical run");
  StandInDriver standIn;
  MirravelSession session;
  if (!StartAsTool(paths, "--reply-a \"inside:  SendMessage_(h, #WM_PAINT, 0, 0)  \"", standIn, session)) return;
  CHECK(session.WaitForCopyField(kPaint));
  CHECK_EQ(std::string("#WM_PAINT"), GetText(session.Control(kFindFieldId)));
  CHECK(WaitUntil([&] { return GetText(session.Main()) == "Mirravel"; }));
  CHECK_NOTE(IsEnabled(session.Control(kCopyButtonId)), "Copy to jaPBe is enabled in plugin mode");

  const std::string main = HandleText(session.Main());
  // The posted notice and the sent query A, in either order (a sent message overtakes a posted one);
  // query A found a name, so B and C are not sent.
  CHECK_EQ(static_cast<size_t>(2), standIn.RecordsOf("received").size());
  for (const UINT message : {kStarted, kQueryA}) {
    const auto records = standIn.RecordsOf("received", "message", Message(message));
    if (!CHECK_NOTE(records.size() == 1, "one message " + Message(message))) continue;
    CHECK_EQ(std::string("0"), records[0].Field("wParam"));
    CHECK_EQ(main, records[0].Field("lParam"));
  }
  CHECK_EQ(std::string("0"), standIn.WaitFor("replied").Field("answer"));  // a stored reply is answered 0

  ChooseMenuItem(session, 2);
  CheckCopyData(standIn.WaitFor("copydata"), session, std::string("$F\0", 3));
  CHECK_NOTE(FocusIsInFindField(session), "focus back in the find field after command 2");
  ChooseMenuItem(session, 1);
  WaitUntil([&] { return standIn.RecordsOf("copydata").size() == 2; });
  const auto copies = standIn.RecordsOf("copydata");
  if (CHECK_EQ(static_cast<size_t>(2), copies.size())) CheckCopyData(copies[1], session, std::string(kPaint) + '\0');
  CHECK_NOTE(FocusIsInFindField(session), "focus back in the find field after command 1");
  PutClipboardMarker();
  ChooseMenuItem(session, 3);
  CHECK(WaitUntil([] { return ClipboardText() == kPaint; }));
  CHECK_NOTE(FocusIsInFindField(session), "focus back in the find field after command 3");

  session.CloseAndExpectExitCode0();
  const StandInRecord closing = standIn.WaitFor("received", "message", Message(kClosing));
  CHECK_EQ(std::string("0"), closing.Field("wParam"));
  CHECK_EQ(main, closing.Field("lParam"));
  CHECK_NOTE(WaitUntil([&] { return ::GetForegroundWindow() == standIn.Window(); }), "jaPBe is in the foreground");
}

// Query A is accepted but answered from another window (ignored), B is accepted and never answered, C
// answers after its send, without a NUL: each of the first two costs the full wait, the program answers
// throughout, and the word comes from exactly the bytes of C. Then jaPBe ends: the copy button greys at
// the next liveness test, the About box says "Disabled" and a host command says that jaPBe is gone.
void CheckSlowHostThenGone(const Paths& paths) {
  SetContext("slow host, then gone");
  StandInDriver standIn;
  MirravelSession session;
  const char* options = "--unterminated --reply-a other:#WM_PAINT --reply-b never --reply-c \"after:x = #WM_PAINTICON\"";
  if (!StartAsTool(paths, options, standIn, session)) return;
  CheckAnswersThroughout(session, 4000);
  const StandInRecord a = standIn.WaitFor("received", "message", Message(kQueryA));
  const StandInRecord b = standIn.WaitFor("received", "message", Message(kQueryB), 12000);
  const StandInRecord c = standIn.WaitFor("received", "message", Message(kQueryC), 12000);
  CHECK(session.WaitForCopyField("#WM_PAINTICON = $26 "));
  CHECK_EQ(std::string("#WM_PAINTICON"), GetText(session.Control(kFindFieldId)));
  const long long waitA = static_cast<long long>(b.Number("tick")) - static_cast<long long>(a.Number("tick"));
  const long long waitB = static_cast<long long>(c.Number("tick")) - static_cast<long long>(b.Number("tick"));
  std::printf("slow host: query A waited %lld ms, query B %lld ms\n", waitA, waitB);
  CHECK_NOTE(waitA >= 4900 && waitA < 8000, "query A waits about 5 s: " + std::to_string(waitA));
  CHECK_NOTE(waitB >= 4900 && waitB < 8000, "query B waits about 5 s: " + std::to_string(waitB));

  standIn.Program().Terminate();
  CHECK_NOTE(AboutText(session).find("Plugin functions : \tDisabled\n") != std::string::npos, "About says Disabled");
  CHECK_NOTE(!IsEnabled(session.Control(kCopyButtonId)), "Copy to jaPBe is greyed");
  ChooseMenuItem(session, 2);
  CHECK(session.ExpectMessageBox("ERROR", "jaPBe process not found!"));
  CHECK_NOTE(FocusIsInFindField(session), "focus back in the find field");
  session.CloseAndExpectExitCode0();
}

// A jaPBe whose window procedure hangs inside query A: the send gives up after its time-out, later sends
// give up on the hung window, the program answers meanwhile and its loop runs long before the hang ends.
void CheckHungHost(const Paths& paths) {
  SetContext("hung host");
  StandInDriver standIn;
  MirravelSession session;
  if (!StartAsTool(paths, "--hang 40000 --reply-a inside:#WM_PAINT", standIn, session)) return;
  const StandInRecord a = standIn.WaitFor("received", "message", Message(kQueryA));
  if (!CHECK_NOTE(!a.kind.empty(), "query A sent")) return;
  CheckAnswersThroughout(session, 3000);
  const std::string about = AboutText(session, 20000);
  const long long loopAfter = static_cast<long long>(::GetTickCount()) - static_cast<long long>(a.Number("tick"));
  std::printf("hung host: the loop ran %lld ms after query A was sent\n", loopAfter);
  CHECK_NOTE(loopAfter >= 4500 && loopAfter < 20000, "start-up ends after the send's time-out: " + std::to_string(loopAfter));
  CHECK_NOTE(about.find("Plugin functions : \tEnabled\n") != std::string::npos, "the hung host's process runs");
  CHECK_EQ(std::string(""), GetText(session.Control(kFindFieldId)));
  const DWORD closeStart = ::GetTickCount();
  session.CloseAndExpectExitCode0();
  std::printf("hung host: closing took %lu ms\n", ::GetTickCount() - closeStart);
}

// The host window handle as the second parameter: a sign before it and blanks inside quotes are read,
// a hexadecimal form is not. A name not found is told while the title shows the search.
void CheckCommandLines(const Paths& paths) {
  struct Case {
    const char* arguments;
    bool pluginMode;
  };
  const Case cases[] = {{"x +%h", true}, {"x 0x1A", false}, {"x \\\"   %h\\\"", true}};
  for (const Case& c : cases) {
    SetContext(std::string("command line ") + c.arguments);
    StandInDriver standIn;
    MirravelSession session;
    if (!StartAsTool(paths, std::string("--reply-a inside:#NO_SUCH_NAME --arguments \"") + c.arguments + "\"", standIn,
                     session)) {
      continue;
    }
    if (c.pluginMode) {
      const MessageBoxInfo box = WaitForMessageBox(session.Program().Id());
      CHECK_EQ(std::string("Constant not found!"), box.text);
      CHECK_EQ(std::string("Mirravel - Searching for '#NO_SUCH_NAME' ..."), GetText(session.Main()));
      AnswerMessageBox(box.window, IDOK);
      CHECK(WaitUntil([&] { return GetText(session.Main()) == "Mirravel"; }));
      CHECK_EQ(static_cast<size_t>(1), standIn.RecordsOf("received", "message", Message(kStarted)).size());
    } else {
      CHECK(session.NoMessageBoxWithin(500));
      CHECK(standIn.RecordsOf("received").empty());
    }
    CHECK_EQ(c.pluginMode, IsEnabled(session.Control(kCopyButtonId)));
    session.CloseAndExpectExitCode0();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: e2e_host_link MIRRAVEL.EXE JAPBE_STANDIN.EXE [cross]\n");
    return 2;
  }
  const Paths paths{argv[1], argv[2]};
  const bool cross = argc > 3 && std::strcmp(argv[3], "cross") == 0;
  const char* runs32Bit = std::getenv("MIRRAVEL_RUNS_32BIT");
  if (cross && runs32Bit != nullptr && std::strcmp(runs32Bit, "0") == 0) {
    std::printf("e2e_host_link: skipped, this machine runs no 32-bit programs\n");
    return kSkipped;
  }
  CheckTypicalRun(paths);
  CheckHungHost(paths);
  if (!cross) {
    CheckSlowHostThenGone(paths);
    CheckCommandLines(paths);
  }
  return CheckCounter::Instance().Summary(cross ? "e2e_host_link_cross_bitness" : "e2e_host_link");
}
