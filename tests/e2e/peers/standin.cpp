// Stand-ins for the two peers the program talks to, one role per run, each a top-level window that logs what
// it receives, one line each, to the file given by --log, which the end-to-end suites read.
//
// jaPBe (the default role): starts the --launch program with "x" and its own handle, answers text query A as
// configured (B and C are refused) and logs every notice and copy-data record:
//   japbe_standin [--launch PROGRAM] [--log FILE] [--reply-a MODE:TEXT] [--hang MS]
// MODE: inside (replied while the query is handled) or after (once it has returned). Log lines
// (numbers in decimal, window handles in their low 32 bits, bytes in hexadecimal):
//   launched pid=P | received tick=T message=M wParam=W lParam=L
//   copydata tick=T wParam=W dwData=D cbData=N bytes=HEX
//
// Help engine (--help-engine): a hidden window of class "MS_WINHELP", to which Wine's WinHelpA sends each
// request as a WM_COPYDATA tagged 0xA1DE505. It logs "command<TAB>keyword<TAB>file" a request and, at the
// next turn of its loop after the first that opens the help, takes the title "Win32 Programmer's Reference"
// and shows itself. HELP_QUIT or WM_CLOSE ends it with exit code 0.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr UINT kQueryA = 0x040D;
constexpr UINT kQueryC = 0x0410;
constexpr UINT kSendLaterReply = WM_APP + 1;  // wParam: the query, lParam: the window to reply to
constexpr char kDigits[] = "0123456789ABCDEF";

// The record WinHelpA sends: this header, then the file name and the keyword at the given offsets.
struct WinHelpRecord {
  WORD size, command;
  LONG data, reserved;
  WORD ofsFilename, ofsData;
};

struct StandIn {
  bool helpEngine = false;
  std::string launch;
  std::string replyMode, replyText;  // to query A
  UINT hangMs = 0;                   // > 0: every query blocks the window procedure that long
  HWND window = nullptr;
  HANDLE logFile = INVALID_HANDLE_VALUE;
} standIn;

std::string Number(UINT_PTR value) { return std::to_string(value & 0xFFFFFFFFu); }
std::string Tick() { return " tick=" + Number(::GetTickCount()); }

void Log(std::string line) {
  line += "\r\n";
  DWORD written = 0;
  ::WriteFile(standIn.logFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

void SendReply(UINT query, HWND target) {
  const std::string& text = standIn.replyText;
  COPYDATASTRUCT record{query, static_cast<DWORD>(text.size() + 1), const_cast<char*>(text.c_str())};
  ::SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(standIn.window),
                        reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, 10000, nullptr);
}

LRESULT OnQuery(UINT query, LPARAM tool) {
  if (standIn.hangMs > 0) {
    ::Sleep(standIn.hangMs);  // not looking at the queue meanwhile: the system sees a hung window
    return 0;
  }
  const std::string mode = query == kQueryA ? standIn.replyMode : "";
  if (mode == "inside") SendReply(query, reinterpret_cast<HWND>(tool));
  if (mode == "after") ::PostMessageA(standIn.window, kSendLaterReply, query, tool);
  return mode.empty() ? 0 : 1;
}

LRESULT OnCopyData(WPARAM sender, const COPYDATASTRUCT& record) {
  const auto* bytes = static_cast<const unsigned char*>(record.lpData);
  std::string hex;
  for (DWORD i = 0; bytes != nullptr && i < record.cbData; ++i) hex += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
  Log("copydata" + Tick() + " wParam=" + Number(sender) + " dwData=" + Number(record.dwData) +
      " cbData=" + Number(record.cbData) + " bytes=" + hex);
  return TRUE;
}

// The NUL-terminated text at the offset inside the record; "" when the offset is 0 or outside it.
std::string TextAt(const char* bytes, DWORD size, WORD offset) {
  if (offset == 0 || offset >= size) return {};
  return std::memchr(bytes + offset, '\0', size - offset) ? std::string(bytes + offset) : "<unterminated>";
}

LRESULT OnHelpRequest(const COPYDATASTRUCT& data) {
  WinHelpRecord record{};
  if (data.dwData != 0xA1DE505 || data.lpData == nullptr || data.cbData < sizeof record) {
    Log("bad request");
    return FALSE;
  }
  const auto* bytes = static_cast<const char*>(data.lpData);
  std::memcpy(&record, bytes, sizeof record);
  Log(std::to_string(record.command) + "\t" + TextAt(bytes, data.cbData, record.ofsData) + "\t" +
      TextAt(bytes, data.cbData, record.ofsFilename));
  if (record.command == HELP_QUIT) {
    ::DestroyWindow(standIn.window);
  } else if (!::IsWindowVisible(standIn.window)) {
    ::SetTimer(standIn.window, 1, 0, nullptr);
  }
  return TRUE;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < WM_APP) {
    Log("received" + Tick() + " message=" + Number(message) + " wParam=" + Number(wParam) +
        " lParam=" + Number(static_cast<UINT_PTR>(lParam)));
    return message >= kQueryA && message <= kQueryC ? OnQuery(message, lParam) : 0;
  }
  const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  switch (message) {
    case WM_COPYDATA:
      if (record == nullptr) return FALSE;
      return standIn.helpEngine ? OnHelpRequest(*record) : OnCopyData(wParam, *record);
    case WM_TIMER:
      ::KillTimer(window, 1);
      ::SetWindowTextA(window, "Win32 Programmer's Reference");
      ::ShowWindow(window, SW_SHOWNORMAL);
      return 0;
    case kSendLaterReply: SendReply(static_cast<UINT>(wParam), reinterpret_cast<HWND>(lParam)); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

// The options; "" when they are all understood, otherwise what is wrong.
std::string ReadOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--help-engine") {
      standIn.helpEngine = true;
      continue;
    }
    if (i + 1 >= argc) return "missing value after " + name;
    const std::string value = argv[++i];
    const std::string mode = value.substr(0, value.find(':'));
    if (name == "--launch") {
      standIn.launch = value;
    } else if (name == "--hang") {
      standIn.hangMs = static_cast<UINT>(std::strtoul(value.c_str(), nullptr, 10));
    } else if (name == "--log") {
      standIn.logFile = ::CreateFileA(value.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (name == "--reply-a" && (mode == "inside" || mode == "after") && mode.size() < value.size()) {
      standIn.replyMode = mode;
      standIn.replyText = value.substr(mode.size() + 1);
    } else {
      return "unknown option or reply " + name + " " + value;
    }
  }
  return {};
}

void LaunchTool() {
  std::string commandLine = "\"" + standIn.launch + "\" x " + Number(reinterpret_cast<UINT_PTR>(standIn.window));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return;  // the suites see no "launched" line
  }
  Log("launched pid=" + Number(process.dwProcessId));
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const std::string error = ReadOptions(__argc, __argv);
  if (!error.empty()) {
    ::MessageBoxA(nullptr, error.c_str(), "jaPBe stand-in", MB_ICONERROR);
    return 2;
  }
  const char* className = standIn.helpEngine ? "MS_WINHELP" : "JaPBeStandIn";
  const WNDCLASSA windowClass{0, WindowProcedure, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, className};
  if (::RegisterClassA(&windowClass) == 0) return 1;
  // The help engine stays hidden, and not titled as the help, until a request asks for the help.
  standIn.window = ::CreateWindowExA(0, className, standIn.helpEngine ? "Help engine stand-in" : "jaPBe stand-in",
                                     WS_OVERLAPPEDWINDOW | (standIn.helpEngine ? 0 : WS_VISIBLE), 20, 20, 560, 300,
                                     nullptr, nullptr, instance, nullptr);
  if (standIn.window == nullptr) return 1;
  if (!standIn.launch.empty()) LaunchTool();
  for (MSG message{}; ::GetMessageA(&message, nullptr, 0, 0) > 0;) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ::CloseHandle(standIn.logFile);
  return 0;
}
