// The jaPBe link, the program launched by the jaPBe stand-in: a typical run, a slow jaPBe that then ends and a
// hung one; against a stand-in of the other bitness, the typical and hung runs.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kQueryA[] = " message=1037";  // the queries and notices as the stand-in logs them
constexpr char kPaint[] = "#WM_PAINT = $F ";

// The value of " name=" in a stand-in log line, up to the next blank.
std::string Field(const std::string& line, const std::string& name) {
  const std::size_t at = line.find(" " + name + "=");
  if (at == std::string::npos) return {};
  const std::size_t start = at + name.size() + 2;
  return line.substr(start, line.find(' ', start) - start);
}
long long Tick(const std::string& line) { return std::stoll("0" + Field(line, "tick")); }

// The log lines that hold `part` followed by a blank or the line's end.
std::vector<std::string> Lines(const Peer& jaPBe, const std::string& part) {
  std::vector<std::string> lines;
  for (const std::string& line : jaPBe.Log()) {
    if ((line + " ").find(part + " ") != std::string::npos) lines.push_back(line);
  }
  return lines;
}

// The first such line; "" when none came in time.
std::string WaitFor(const Peer& jaPBe, const std::string& part, DWORD timeoutMs = kDefaultTimeoutMs) {
  WaitUntil([&] { return !Lines(jaPBe, part).empty(); }, timeoutMs);
  const std::vector<std::string> lines = Lines(jaPBe, part);
  return lines.empty() ? std::string() : lines.front();
}

bool Launch(const SuitePaths& paths, const std::string& options, Peer& jaPBe, Session& session) {
  if (!jaPBe.Start(paths.peer, options + " --launch " + Quoted(paths.program), "JaPBeStandIn")) return false;
  const std::string launched = Field(WaitFor(jaPBe, "launched"), "pid");
  return CHECK_NOTE(!launched.empty(), "the program launched") && session.Attach(static_cast<DWORD>(std::stoul(launched)));
}

// A window handle as the stand-in logs it: its low 32 bits in decimal.
std::string Handle(HWND window) { return std::to_string(reinterpret_cast<UINT_PTR>(window) & 0xFFFFFFFFu); }

// Every answer to a send each 200 ms must come within a second.
void CheckAnswersThroughout(Session& session, DWORD forMs) {
  int late = 0;
  for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < forMs; ::Sleep(200)) {
    late += Send(session.Main(), WM_GETTEXTLENGTH, 0, 0, 1000) < 0;
  }
  CHECK_EQ(0, late);
}

// #WM_PAINT found at start-up, handed to jaPBe and put on the clipboard; closing hands jaPBe notice and focus.
void CheckTypicalRun(Peer& jaPBe, Session& session) {
  CHECK(session.WaitForCopyField(kPaint));
  CHECK_NOTE(::IsWindowEnabled(session.Control(kCopyButton)), "Copy to jaPBe is enabled in plugin mode");
  // The start notice and query A, in either order (a sent message overtakes a posted one); a stored reply gets 0.
  const std::string fromMain = " wParam=0 lParam=" + Handle(session.Main());
  CHECK_EQ(static_cast<size_t>(1), Lines(jaPBe, " message=1044" + fromMain).size());
  CHECK_EQ(static_cast<size_t>(1), Lines(jaPBe, kQueryA + fromMain).size());
  CHECK_EQ(std::string("0"), Field(WaitFor(jaPBe, "replied"), "answer"));
  // Which text each command hands over is the unit tests'; here the record's bytes and sender.
  SetContext("typical run, copies");
  Post(session.Main(), WM_COMMAND, MAKEWPARAM(1, 0));
  const std::string record = WaitFor(jaPBe, "copydata");
  CHECK_EQ(" wParam=" + Handle(session.Main()) + " dwData=2 cbData=16 bytes=23574D5F5041494E54203D2024462000",
           record.substr(std::min(record.find(" wParam="), record.size())));
  ClearClipboard();
  Post(session.Main(), WM_COMMAND, MAKEWPARAM(3, 0));
  CHECK(WaitUntil([] { return ClipboardText() == kPaint; }));
  CHECK(session.WaitForFocusIn(kFindField));
  SetContext("typical run, closing");
  session.CloseAndExpectExitCode0();
  CHECK(!WaitFor(jaPBe, " message=1042" + fromMain).empty());
  CHECK_NOTE(WaitUntil([&] { return ::GetForegroundWindow() == jaPBe.Window(); }), "jaPBe is in the foreground");
}

// Query A never answered, B answered late without a NUL: A costs the full wait, the program answers
// throughout, the word ends where B's bytes end. Then jaPBe ends: About says "Disabled", the copy button greys.
void CheckSlowHostThenGone(Peer& jaPBe, Session& session) {
  CheckAnswersThroughout(session, 4000);
  const long long a = Tick(WaitFor(jaPBe, kQueryA));
  const long long b = Tick(WaitFor(jaPBe, " message=1038", 12000));
  CHECK(session.WaitForCopyField("#WM_PAINTICON = $26 "));
  CHECK_NOTE(b - a >= 4900 && b - a < 8000, "query A waits about 5 s: " + std::to_string(b - a));
  jaPBe.Program().Terminate();
  Click(session.Control(kAboutButton));
  const std::string about = session.AnswerBox("About Mirravel");
  CHECK_NOTE(about.find("Plugin functions : \tDisabled\n") != std::string::npos, "About says Disabled");
  CHECK_NOTE(!::IsWindowEnabled(session.Control(kCopyButton)), "Copy to jaPBe is greyed");
  session.CloseAndExpectExitCode0();
}

// A jaPBe hung inside query A: the sends give up, the program answers meanwhile and runs before the hang ends.
void CheckHungHost(Peer& jaPBe, Session& session) {
  const std::string a = WaitFor(jaPBe, kQueryA);
  if (!CHECK_NOTE(!a.empty(), "query A sent")) return;
  CheckAnswersThroughout(session, 3000);
  Click(session.Control(kAboutButton));
  HWND about = WaitForTopLevelWindow(session.Program().Id(), "#32770", nullptr, true, 20000);
  const long long loopAfter = static_cast<long long>(::GetTickCount()) - Tick(a);
  CHECK_NOTE(loopAfter >= 4500 && loopAfter < 20000, "start-up ends after the send's time-out: " + std::to_string(loopAfter));
  CHECK_NOTE(MessageBoxText(about).find("Plugin functions : \tEnabled\n") != std::string::npos, "the hung host's process runs");
  Click(::GetDlgItem(about, IDOK));
  CHECK_EQ(std::string(""), GetText(session.Control(kFindField)));
  session.CloseAndExpectExitCode0();
}

}  // namespace

void RunHostLinkSuite(const SuitePaths& paths, bool crossBitness) {
  const struct { const char* context; const char* options; void (*check)(Peer&, Session&); } runs[] = {
      {"typical run", "--reply-a \"inside:  SendMessage_(h, #WM_PAINT, 0, 0)  \"", CheckTypicalRun},
      {"hung host", "--hang 40000", CheckHungHost},
      {"slow host, then gone", "--unterminated --reply-a never --reply-b \"after:x = #WM_PAINTICON\"",
       CheckSlowHostThenGone}};
  for (const auto& run : runs) {
    if (crossBitness && run.check == CheckSlowHostThenGone) continue;
    SetContext(run.context);
    Peer jaPBe;
    Session session;
    if (Launch(paths, run.options, jaPBe, session)) run.check(jaPBe, session);
  }
}

}  // namespace mirravel::e2e
