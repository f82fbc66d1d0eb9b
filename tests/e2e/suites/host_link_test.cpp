// The jaPBe link: the program started as a tool by the jaPBe stand-in, as jaPBe starts it. The typical
// plug-in run (the start-up search, both texts handed to jaPBe, the clipboard, the closing notice and the
// focus), a jaPBe that is slow, replies from the wrong window and then ends, one that hangs, and the host
// window as the command line gives it. Against a stand-in of the other bitness: the typical and hung runs.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
namespace {

constexpr char kStarted[] = " message=1044";  // the notices and queries as the stand-in logs them
constexpr char kClosing[] = " message=1042";
constexpr char kQueryA[] = " message=1037";
constexpr char kQueryB[] = " message=1038";
constexpr char kQueryC[] = " message=1040";
constexpr char kPaint[] = "#WM_PAINT = $F ";

// The value of " name=" in a stand-in log line, up to the next blank.
std::string Field(const std::string& line, const std::string& name) {
  const std::size_t at = line.find(" " + name + "=");
  if (at == std::string::npos) return {};
  const std::size_t start = at + name.size() + 2;
  return line.substr(start, line.find(' ', start) - start);
}
long long Tick(const std::string& line) { return std::stoll("0" + Field(line, "tick")); }

// The jaPBe stand-in, started with its options and a fresh log file that it writes line by line.
class StandIn {
 public:
  ~StandIn() {
    process_.Terminate();
    ::DeleteFileA(log_.c_str());
  }
  // Starts it launching the program, then attaches the session to the program; false after a failed check.
  bool Launch(const SuitePaths& paths, const std::string& options, Session& session) {
    char directory[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, directory);
    ::GetTempFileNameA(directory, "jsi", 0, path);
    log_ = path;
    if (!CHECK(process_.Start(Quoted(paths.peer) + " --log " + Quoted(log_) + " " + options + " --launch " +
                              Quoted(paths.program)))) {
      return false;
    }
    window_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull("0" + Field(WaitFor("window"), "handle"))));
    const std::string launched = Field(WaitFor("launched"), "pid");
    return CHECK_NOTE(window_ != nullptr && !launched.empty(), "the stand-in's window and the program it launched") &&
           session.Attach(static_cast<DWORD>(std::stoul(launched)));
  }
  Process& Program() { return process_; }
  HWND Window() const { return window_; }
  // The log lines that start with `kind` and hold `part` followed by a blank or the line's end.
  std::vector<std::string> Lines(const std::string& kind, const std::string& part = "") const {
    std::vector<std::string> lines;
    for (const std::string& line : FileLines(log_)) {
      const std::size_t at = line.find(part);
      if (line.compare(0, kind.size(), kind) == 0 && at != std::string::npos &&
          (at + part.size() == line.size() || line[at + part.size()] == ' ' || part.empty())) {
        lines.push_back(line);
      }
    }
    return lines;
  }
  // The first such line once logged; "" when none came in time.
  std::string WaitFor(const std::string& kind, const std::string& part = "",
                      DWORD timeoutMs = kDefaultTimeoutMs) const {
    WaitUntil([&] { return !Lines(kind, part).empty(); }, timeoutMs);
    const std::vector<std::string> lines = Lines(kind, part);
    return lines.empty() ? std::string() : lines.front();
  }

 private:
  Process process_;
  std::string log_;
  HWND window_ = nullptr;
};

// A window handle as the stand-in logs it: its low 32 bits in decimal.
std::string Handle(HWND window) { return std::to_string(reinterpret_cast<UINT_PTR>(window) & 0xFFFFFFFFu); }

void ChooseMenuItem(Session& session, int id) { Post(session.Main(), WM_COMMAND, MAKEWPARAM(id, 0)); }

std::string AboutText(Session& session) {
  Click(session.Control(kAboutButton));
  return session.AnswerBox("About Mirravel");
}

// Sends to the program's window every 200 ms for the time given; every answer must come within a second.
void CheckAnswersThroughout(Session& session, DWORD forMs) {
  int late = 0;
  for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < forMs; ::Sleep(200)) {
    late += Send(session.Main(), WM_GETTEXTLENGTH, 0, 0, 1000) < 0;
  }
  CHECK_EQ(0, late);
}

// A copy-data record from the program: code 2, exactly the bytes, the main window as the sender.
void CheckCopyData(const std::string& line, Session& session, const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : bytes) hex += {kDigits[(c >> 4) & 15], kDigits[c & 15]};
  CHECK_EQ(" wParam=" + Handle(session.Main()) + " dwData=2 cbData=" + std::to_string(bytes.size()) + " bytes=" + hex,
           line.substr(line.find(" wParam=")));
}

// #WM_PAINT found at start-up, its value and its definition handed to jaPBe, the definition on the
// clipboard, and closing hands jaPBe the notice and the focus.
void CheckTypicalRun(const SuitePaths& paths) {
  SetContext("typical run");
  StandIn standIn;
  Session session;
  if (!standIn.Launch(paths, "--reply-a \"inside:  SendMessage_(h, #WM_PAINT, 0, 0)  \"", session)) return;
  CHECK(session.WaitForCopyField(kPaint));
  CHECK_EQ(std::string("#WM_PAINT"), GetText(session.Control(kFindField)));
  CHECK(WaitUntil([&] { return GetText(session.Main()) == "Mirravel"; }));
  CHECK_NOTE(::IsWindowEnabled(session.Control(kCopyButton)), "Copy to jaPBe is enabled in plugin mode");
  // The posted notice and the sent query A, in either order (a sent message overtakes a posted one); query
  // A found a name, so B and C are not sent; a reply stored by the program is answered 0.
  const std::string fromMain = " wParam=0 lParam=" + Handle(session.Main());
  CHECK_EQ(static_cast<size_t>(2), standIn.Lines("received").size());
  CHECK_EQ(static_cast<size_t>(1), standIn.Lines("received", kStarted + fromMain).size());
  CHECK_EQ(static_cast<size_t>(1), standIn.Lines("received", kQueryA + fromMain).size());
  CHECK_EQ(std::string("0"), Field(standIn.WaitFor("replied"), "answer"));

  const struct {
    int menuItem;
    std::string bytes;  // "": the clipboard
  } copies[] = {{2, std::string("$F\0", 3)}, {1, std::string(kPaint) + '\0'}, {3, ""}};
  ClearClipboard();
  for (const auto& copy : copies) {
    SetContext("typical run, menu item " + std::to_string(copy.menuItem));
    const size_t before = standIn.Lines("copydata").size();
    ChooseMenuItem(session, copy.menuItem);
    if (copy.bytes.empty()) {
      CHECK(WaitUntil([] { return ClipboardText() == kPaint; }));
    } else if (CHECK(WaitUntil([&] { return standIn.Lines("copydata").size() == before + 1; }))) {
      CheckCopyData(standIn.Lines("copydata").back(), session, copy.bytes);
    }
    CHECK(session.WaitForFocusIn(kFindField));
  }
  SetContext("typical run, closing");
  session.CloseAndExpectExitCode0();
  CHECK(!standIn.WaitFor("received", kClosing + fromMain).empty());
  CHECK_NOTE(WaitUntil([&] { return ::GetForegroundWindow() == standIn.Window(); }), "jaPBe is in the foreground");
}

// Query A is answered from another window (ignored), B never, C after its send and without a NUL: each of
// the first two costs the full wait, the program answers throughout, and the word comes from exactly the
// bytes of C. Then jaPBe ends: the copy button greys, the About box says "Disabled" and a host command
// says that jaPBe is gone.
void CheckSlowHostThenGone(const SuitePaths& paths) {
  SetContext("slow host, then gone");
  StandIn standIn;
  Session session;
  if (!standIn.Launch(paths,
                      "--unterminated --reply-a other:#WM_PAINT --reply-b never --reply-c \"after:x = #WM_PAINTICON\"",
                      session)) {
    return;
  }
  CheckAnswersThroughout(session, 4000);
  const long long a = Tick(standIn.WaitFor("received", kQueryA));
  const long long b = Tick(standIn.WaitFor("received", kQueryB, 12000));
  const long long c = Tick(standIn.WaitFor("received", kQueryC, 12000));
  CHECK(session.WaitForCopyField("#WM_PAINTICON = $26 "));
  CHECK_EQ(std::string("#WM_PAINTICON"), GetText(session.Control(kFindField)));
  CHECK_NOTE(b - a >= 4900 && b - a < 8000, "query A waits about 5 s: " + std::to_string(b - a));
  CHECK_NOTE(c - b >= 4900 && c - b < 8000, "query B waits about 5 s: " + std::to_string(c - b));

  standIn.Program().Terminate();
  CHECK_NOTE(AboutText(session).find("Plugin functions : \tDisabled\n") != std::string::npos, "About says Disabled");
  CHECK_NOTE(!::IsWindowEnabled(session.Control(kCopyButton)), "Copy to jaPBe is greyed");
  ChooseMenuItem(session, 2);
  session.AnswerBox("ERROR", "jaPBe process not found!");
  CHECK(session.WaitForFocusIn(kFindField));
  session.CloseAndExpectExitCode0();
}

// A jaPBe whose window procedure hangs inside query A: the send gives up after its time-out, later sends
// give up on the hung window, and the program answers meanwhile; its loop runs long before the hang ends.
void CheckHungHost(const SuitePaths& paths) {
  SetContext("hung host");
  StandIn standIn;
  Session session;
  if (!standIn.Launch(paths, "--hang 40000 --reply-a inside:#WM_PAINT", session)) return;
  const std::string a = standIn.WaitFor("received", kQueryA);
  if (!CHECK_NOTE(!a.empty(), "query A sent")) return;
  CheckAnswersThroughout(session, 3000);
  Click(session.Control(kAboutButton));
  const MessageBoxInfo about = WaitForMessageBox(session.Program().Id(), 20000);
  const long long loopAfter = static_cast<long long>(::GetTickCount()) - Tick(a);
  CHECK_NOTE(loopAfter >= 4500 && loopAfter < 20000,
             "start-up ends after the send's time-out: " + std::to_string(loopAfter));
  CHECK_NOTE(about.text.find("Plugin functions : \tEnabled\n") != std::string::npos, "the hung host's process runs");
  AnswerMessageBox(about.window, IDOK);
  CHECK_EQ(std::string(""), GetText(session.Control(kFindField)));
  session.CloseAndExpectExitCode0();
}

// The host window handle as the second parameter: a sign before it and blanks inside quotes are read, a
// hexadecimal form is not. A name not found is told while the title shows the search.
void CheckCommandLines(const SuitePaths& paths) {
  const struct {
    const char* arguments;
    bool pluginMode;
  } cases[] = {{"x +%h", true}, {"x 0x1A", false}, {"x \\\"   %h\\\"", true}};
  for (const auto& c : cases) {
    SetContext(std::string("command line ") + c.arguments);
    StandIn standIn;
    Session session;
    if (!standIn.Launch(paths, std::string("--reply-a inside:#NO_SUCH_NAME --arguments \"") + c.arguments + "\"",
                        session)) {
      continue;
    }
    if (c.pluginMode) {
      const MessageBoxInfo box = WaitForMessageBox(session.Program().Id());
      CHECK_EQ(std::string("Constant not found!"), box.text);
      CHECK_EQ(std::string("Mirravel - Searching for '#NO_SUCH_NAME' ..."), GetText(session.Main()));
      AnswerMessageBox(box.window, IDOK);
      CHECK(WaitUntil([&] { return GetText(session.Main()) == "Mirravel"; }));
      CHECK_EQ(static_cast<size_t>(1), standIn.Lines("received", kStarted).size());
    } else {
      CHECK(session.NoBoxWithin(500));
      CHECK(standIn.Lines("received").empty());
    }
    CHECK_EQ(c.pluginMode, ::IsWindowEnabled(session.Control(kCopyButton)) != 0);
    session.CloseAndExpectExitCode0();
  }
}

}  // namespace

void RunHostLinkSuite(const SuitePaths& paths, bool crossBitness) {
  CheckTypicalRun(paths);
  CheckHungHost(paths);
  if (crossBitness) return;
  CheckSlowHostThenGone(paths);
  CheckCommandLines(paths);
}

}  // namespace mirravel::e2e
