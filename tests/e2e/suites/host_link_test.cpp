// The jaPBe link, the program launched by the jaPBe stand-in: a typical run, a late reply from a jaPBe that
// then ends, and a hung jaPBe; against a stand-in of the other bitness, the typical and hung runs. Which query
// the word comes from and the waits' deadlines are the unit tests'.
#include <windows.h>

#include <algorithm>
#include <string>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kPaint[] = "#WM_PAINT = $F ";

// The value of " name=" in a stand-in log line, up to the next blank.
std::string Field(const std::string& line, const std::string& name) {
  const std::size_t at = line.find(" " + name + "=");
  if (at == std::string::npos) return {};
  const std::size_t start = at + name.size() + 2;
  return line.substr(start, line.find(' ', start) - start);
}

// The first log line that holds `part` followed by a blank or the line's end; "" when none came in time.
std::string WaitFor(const Peer& jaPBe, const std::string& part) {
  std::string found;
  WaitUntil([&] {
    for (const std::string& line : jaPBe.Log()) {
      if ((line + " ").find(part + " ") != std::string::npos) return !(found = line).empty();
    }
    return false;
  });
  return found;
}

bool Launch(const SuitePaths& paths, const std::string& options, Peer& jaPBe, Session& session) {
  if (!jaPBe.Start(paths.peer, options + " --launch " + Quoted(paths.program), "JaPBeStandIn")) return false;
  const std::string launched = Field(WaitFor(jaPBe, "launched"), "pid");
  return CHECK_NOTE(!launched.empty(), "the program launched") && session.Attach(static_cast<DWORD>(std::stoul(launched)));
}

// A window handle as the stand-in logs it: its low 32 bits in decimal.
std::string Handle(HWND window) { return std::to_string(reinterpret_cast<UINT_PTR>(window) & 0xFFFFFFFFu); }

// #WM_PAINT found at start-up, handed to jaPBe and put on the clipboard; closing hands jaPBe notice and focus.
void CheckTypicalRun(Peer& jaPBe, Session& session) {
  CHECK(session.WaitForCopyField(kPaint));
  CHECK_NOTE(::IsWindowEnabled(session.Control(kCopyButton)), "Copy to jaPBe is enabled in plugin mode");
  // Which text each command hands over is the unit tests'; here the record's bytes and sender.
  SetContext("typical run, copies");
  Post(session.Main(), WM_COMMAND, MAKEWPARAM(1, 0));
  const std::string record = WaitFor(jaPBe, "copydata");
  CHECK_EQ(" wParam=" + Handle(session.Main()) + " dwData=2 cbData=16 bytes=23574D5F5041494E54203D2024462000",
           record.substr(std::min(record.find(" wParam="), record.size())));
  ClearClipboard();
  Post(session.Main(), WM_COMMAND, MAKEWPARAM(3, 0));
  CHECK(WaitUntil([] { return ClipboardText() == kPaint; }));
  SetContext("typical run, closing");
  session.CloseAndExpectExitCode0();
  CHECK(!WaitFor(jaPBe, " message=1042 wParam=0 lParam=" + Handle(session.Main())).empty());
  CHECK_NOTE(WaitUntil([&] { return ::GetForegroundWindow() == jaPBe.Window(); }), "jaPBe is in the foreground");
}

// Query A answered only once the send has returned: the reply comes in while the program waits for it. Then
// jaPBe ends: About says "Disabled", the copy button greys.
void CheckLateReplyThenGone(Peer& jaPBe, Session& session) {
  CHECK(session.WaitForCopyField("#WM_PAINTICON = $26 "));
  jaPBe.Program().Terminate();
  Click(session.Control(kAboutButton));
  const std::string about = session.AnswerBox("About Mirravel");
  CHECK_NOTE(about.find("Plugin functions : \tDisabled\n") != std::string::npos, "About says Disabled");
  CHECK_NOTE(!::IsWindowEnabled(session.Control(kCopyButton)), "Copy to jaPBe is greyed");
  session.CloseAndExpectExitCode0();
}

// A jaPBe hung inside query A: the sends give up, the program answers meanwhile and runs before the hang ends.
void CheckHungHost(Peer& jaPBe, Session& session) {
  const std::string a = WaitFor(jaPBe, " message=1037");  // query A as the stand-in logs it
  if (!CHECK_NOTE(!a.empty(), "query A sent")) return;
  int late = 0;  // answers to a send each 200 ms, each due within a second
  for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 3000; ::Sleep(200)) {
    late += Send(session.Main(), WM_GETTEXTLENGTH, 0, 0, 1000) < 0;
  }
  CHECK_EQ(0, late);
  Click(session.Control(kAboutButton));
  HWND about = WaitForTopLevelWindow(session.Program().Id(), "#32770", nullptr, true, 20000);
  const long long loopAfter = static_cast<long long>(::GetTickCount()) - std::stoll("0" + Field(a, "tick"));
  CHECK_NOTE(loopAfter >= 4500 && loopAfter < 20000, "start-up ends after the send's time-out: " + std::to_string(loopAfter));
  CHECK_NOTE(MessageBoxText(about).find("Plugin functions : \tEnabled\n") != std::string::npos, "the hung host's process runs");
  Click(::GetDlgItem(about, IDOK));
  session.CloseAndExpectExitCode0();
}

}  // namespace

void RunHostLinkSuite(const SuitePaths& paths, bool crossBitness) {
  const struct { const char* context; const char* options; void (*check)(Peer&, Session&); } runs[] = {
      {"typical run", "--reply-a \"inside:  SendMessage_(h, #WM_PAINT, 0, 0)  \"", CheckTypicalRun},
      {"hung host", "--hang 40000", CheckHungHost},
      {"late reply, then gone", "--reply-a \"after:x = #WM_PAINTICON\"", CheckLateReplyThenGone}};
  for (const auto& run : runs) {
    if (crossBitness && run.check == CheckLateReplyThenGone) continue;
    SetContext(run.context);
    Peer jaPBe;
    Session session;
    if (Launch(paths, run.options, jaPBe, session)) run.check(jaPBe, session);
  }
}

}  // namespace mirravel::e2e
