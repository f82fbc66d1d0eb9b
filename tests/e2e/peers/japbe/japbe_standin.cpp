// A stand-in for the jaPBe editor: a top-level window that starts a tool with its own handle on the
// command line, answers the three text queries as configured, and logs every notice and copy-data record
// it receives, one line each, to its window and to a log file that the end-to-end suites read.
//
//   japbe_standin [--launch PROGRAM] [--arguments "x %h"] [--log FILE] [--title TITLE]
//                 [--reply-a MODE[:TEXT]] [--reply-b ...] [--reply-c ...] [--unterminated] [--hang MS]
// MODE: inside (the reply is sent while the query is handled), after, never (accepted, never answered),
// zero (refused) or other (answered from another window). %h in the arguments becomes the window handle.
//
// Log lines (numbers in decimal, window handles in their low 32 bits, bytes in hexadecimal):
//   window handle=H
//   launched pid=P                       | launch-failed error=E
//   received tick=T message=M wParam=W lParam=L
//   copydata tick=T wParam=W dwData=D cbData=N bytes=HEX
//   replied tick=T code=C from=H answer=R  (answer "none" when the send failed)
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr UINT kQueryA = 0x040D;
constexpr UINT kQueryC = 0x0410;
constexpr UINT kSendLaterReply = WM_APP + 1;  // wParam: the query, lParam: the window to reply to
constexpr char kDigits[] = "0123456789ABCDEF";

struct Reply {
  std::string mode = "zero";
  std::string text;
};

struct StandIn {
  std::string launch;
  std::string arguments = "x %h";
  std::string title = "jaPBe stand-in";
  Reply replies[3] = {{"inside", "SendMessage_(WindowID(), #WM_PAINT, 0, 0)"}, {}, {}};
  bool unterminated = false;  // replies without their NUL: cbData is the text's length
  DWORD hangMs = 0;           // > 0: every query blocks the window procedure that long
  HWND window = nullptr;
  HWND otherWindow = nullptr;  // a second window of ours, for replies from the wrong window
  HWND logView = nullptr;
  HANDLE logFile = INVALID_HANDLE_VALUE;
} standIn;

std::string Number(UINT_PTR value) { return std::to_string(value & 0xFFFFFFFFu); }
std::string Number(HWND window) { return Number(reinterpret_cast<UINT_PTR>(window)); }
std::string Tick() { return " tick=" + Number(::GetTickCount()); }

void Log(const std::string& line) {
  const std::string withEnd = line + "\r\n";
  DWORD written = 0;
  ::WriteFile(standIn.logFile, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
  const int end = ::GetWindowTextLengthA(standIn.logView);
  ::SendMessageA(standIn.logView, EM_SETSEL, static_cast<WPARAM>(end), end);
  ::SendMessageA(standIn.logView, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(withEnd.c_str()));
}

const Reply& ReplyFor(UINT query) { return standIn.replies[query == kQueryA ? 0 : query == kQueryC ? 2 : 1]; }

void SendReply(UINT query, HWND target, HWND from) {
  const std::string& text = ReplyFor(query).text;
  COPYDATASTRUCT record{query, static_cast<DWORD>(text.size() + (standIn.unterminated ? 0 : 1)),
                        const_cast<char*>(text.c_str())};
  DWORD_PTR answer = 0;
  const bool answered = ::SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                                              reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, 10000, &answer);
  Log("replied" + Tick() + " code=" + Number(query) + " from=" + Number(from) +
      " answer=" + (answered ? Number(answer) : "none"));
}

LRESULT OnQuery(UINT query, LPARAM tool) {
  if (standIn.hangMs > 0) {
    ::Sleep(standIn.hangMs);  // not looking at the queue meanwhile: the system sees a hung window
    return 0;
  }
  const std::string& mode = ReplyFor(query).mode;
  const auto target = reinterpret_cast<HWND>(tool);
  if (mode == "inside") SendReply(query, target, standIn.window);
  if (mode == "other") SendReply(query, target, standIn.otherWindow);
  if (mode == "after") ::PostMessageA(standIn.window, kSendLaterReply, query, tool);
  return mode == "zero" ? 0 : 1;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < WM_APP) {
    Log("received" + Tick() + " message=" + Number(message) + " wParam=" + Number(wParam) +
        " lParam=" + Number(static_cast<UINT_PTR>(lParam)));
    return message >= kQueryA && message <= kQueryC ? OnQuery(message, lParam) : 0;
  }
  switch (message) {
    case WM_COPYDATA: {
      const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (record == nullptr) return FALSE;
      const auto* bytes = static_cast<const unsigned char*>(record->lpData);
      std::string hex;
      for (DWORD i = 0; bytes != nullptr && i < record->cbData; ++i)
        hex += {kDigits[bytes[i] >> 4], kDigits[bytes[i] & 15]};
      Log("copydata" + Tick() + " wParam=" + Number(wParam) + " dwData=" + Number(record->dwData) +
          " cbData=" + Number(record->cbData) + " bytes=" + hex);
      return TRUE;
    }
    case kSendLaterReply: SendReply(static_cast<UINT>(wParam), reinterpret_cast<HWND>(lParam), window); return 0;
    case WM_SIZE: ::MoveWindow(standIn.logView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// The options; "" when they are all understood, otherwise what is wrong.
std::string ReadOptions(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--unterminated") {
      standIn.unterminated = true;
      continue;
    }
    if (i + 1 >= argc) return "missing value after " + name;
    const std::string value = argv[++i];
    const std::string mode = value.substr(0, value.find(':'));
    if (name == "--launch") {
      standIn.launch = value;
    } else if (name == "--arguments") {
      standIn.arguments = value;
    } else if (name == "--title") {
      standIn.title = value;
    } else if (name == "--hang") {
      standIn.hangMs = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
    } else if (name == "--log") {
      standIn.logFile =
          ::CreateFileA(value.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (name.size() == 9 && name.compare(0, 8, "--reply-") == 0 && name[8] >= 'a' && name[8] <= 'c' &&
               std::string(" inside after never zero other ").find(" " + mode + " ") != std::string::npos) {
      const std::size_t colon = value.find(':');
      standIn.replies[name[8] - 'a'] = {mode, colon == std::string::npos ? "" : value.substr(colon + 1)};
    } else {
      return "unknown option or reply " + name + " " + value;
    }
  }
  return {};
}

void LaunchTool() {
  std::string arguments = standIn.arguments;
  const std::string handle = Number(standIn.window);
  for (std::size_t at = arguments.find("%h"); at != std::string::npos; at = arguments.find("%h", at + handle.size())) {
    arguments.replace(at, 2, handle);
  }
  std::string commandLine = "\"" + standIn.launch + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    Log("launch-failed error=" + Number(::GetLastError()));
    return;
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
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = "JaPBeStandIn";
  if (::RegisterClassA(&windowClass) == 0) return 1;
  standIn.window = ::CreateWindowExA(0, "JaPBeStandIn", standIn.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20,
                                     20, 560, 300, nullptr, nullptr, instance, nullptr);
  standIn.otherWindow = ::CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  standIn.logView = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0,
                                      0, 540, 260, standIn.window, nullptr, instance, nullptr);
  if (standIn.window == nullptr || standIn.otherWindow == nullptr) return 1;
  RECT client{};
  ::GetClientRect(standIn.window, &client);
  ::MoveWindow(standIn.logView, 0, 0, client.right, client.bottom, FALSE);
  Log("window handle=" + Number(standIn.window));
  if (!standIn.launch.empty()) LaunchTool();
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ::CloseHandle(standIn.logFile);
  return 0;
}
