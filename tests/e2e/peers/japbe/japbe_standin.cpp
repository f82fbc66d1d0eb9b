// A stand-in for the jaPBe editor: a top-level window that starts a tool with its own handle on the
// command line, answers the three text queries as configured, and logs every notice and copy-data record
// it receives, one line each, to its window and to a log file that the end-to-end suites read.
//
// Log lines (numbers in decimal, window handles in their low 32 bits, bytes in hexadecimal):
//   window handle=H
//   launched pid=P                       | launch-failed error=E
//   received tick=T message=M wParam=W lParam=L
//   copydata tick=T wParam=W dwData=D cbData=N bytes=HEX
//   replied tick=T code=C from=H answer=R  (answer "none" when the send failed)
//   activated tick=T                     | focus tick=T
#include <windows.h>

#include <string>

#include "tests/e2e/peers/japbe/standin_options.h"

namespace japbe_standin {
namespace {

constexpr UINT kQueryA = 0x040D;
constexpr UINT kQueryC = 0x0410;
constexpr UINT kSendLaterReply = WM_APP + 1;  // wParam: the query, lParam: the window to reply to
constexpr DWORD kReplySendTimeoutMs = 10000;
constexpr char kClassName[] = "JaPBeStandIn";

struct StandIn {
  Options options;
  HWND window = nullptr;
  HWND otherWindow = nullptr;  // a second window of ours, for replies that come from the wrong window
  HWND logView = nullptr;
  HANDLE logFile = INVALID_HANDLE_VALUE;
};

StandIn* gStandIn = nullptr;

unsigned long Low32(UINT_PTR value) { return static_cast<unsigned long>(value & 0xFFFFFFFFu); }
unsigned long Low32(HWND window) { return Low32(reinterpret_cast<UINT_PTR>(window)); }
std::string Number(unsigned long value) { return std::to_string(value); }
std::string Tick() { return " tick=" + Number(::GetTickCount()); }

void Log(const std::string& line) {
  StandIn& s = *gStandIn;
  const std::string withEnd = line + "\r\n";
  if (s.logFile != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    ::WriteFile(s.logFile, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
  }
  if (s.logView != nullptr) {
    const int end = ::GetWindowTextLengthA(s.logView);
    ::SendMessageA(s.logView, EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageA(s.logView, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(withEnd.c_str()));
  }
}

std::string Hex(const void* data, DWORD size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (DWORD i = 0; bytes != nullptr && i < size; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 15];
  }
  return hex;
}

const Reply& ReplyFor(UINT query) {
  return gStandIn->options.replies[query == kQueryA ? 0 : query == kQueryC ? 2 : 1];
}

void SendReply(UINT query, HWND target, HWND from) {
  const Reply& reply = ReplyFor(query);
  COPYDATASTRUCT record{};
  record.dwData = query;
  record.cbData = static_cast<DWORD>(reply.text.size() + (gStandIn->options.unterminated ? 0 : 1));
  record.lpData = const_cast<char*>(reply.text.c_str());
  DWORD_PTR answer = 0;
  const bool answered = ::SendMessageTimeoutA(target, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                                              reinterpret_cast<LPARAM>(&record), SMTO_NORMAL, kReplySendTimeoutMs,
                                              &answer) != 0;
  Log("replied" + Tick() + " code=" + Number(query) + " from=" + Number(Low32(from)) +
      " answer=" + (answered ? Number(Low32(answer)) : "none"));
}

LRESULT OnQuery(UINT query, LPARAM tool) {
  StandIn& s = *gStandIn;
  if (s.options.hangMs > 0) {
    ::Sleep(s.options.hangMs);  // not looking at the queue meanwhile: the system sees a hung window
    return 0;
  }
  const HWND target = reinterpret_cast<HWND>(tool);
  switch (ReplyFor(query).mode) {
    case ReplyMode::Inside: SendReply(query, target, s.window); return 1;
    case ReplyMode::OtherWindow: SendReply(query, target, s.otherWindow); return 1;
    case ReplyMode::After: ::PostMessageA(s.window, kSendLaterReply, query, tool); return 1;
    case ReplyMode::Never: return 1;
    case ReplyMode::Zero: return 0;
  }
  return 0;
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER && message < WM_APP) {
    Log("received" + Tick() + " message=" + Number(message) + " wParam=" + Number(Low32(wParam)) +
        " lParam=" + Number(Low32(static_cast<UINT_PTR>(lParam))));
    return message >= kQueryA && message <= kQueryC ? OnQuery(message, lParam) : 0;
  }
  switch (message) {
    case WM_COPYDATA: {
      const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (record == nullptr) return FALSE;
      Log("copydata" + Tick() + " wParam=" + Number(Low32(wParam)) + " dwData=" + Number(Low32(record->dwData)) +
          " cbData=" + Number(record->cbData) + " bytes=" + Hex(record->lpData, record->cbData));
      return TRUE;
    }
    case kSendLaterReply:
      SendReply(static_cast<UINT>(wParam), reinterpret_cast<HWND>(lParam), window);
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) Log("activated" + Tick());
      break;
    case WM_SETFOCUS:
      Log("focus" + Tick());
      return 0;
    case WM_SIZE:
      if (gStandIn->logView != nullptr) ::MoveWindow(gStandIn->logView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

bool CreateWindows(StandIn& s, HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
  windowClass.lpszClassName = kClassName;
  if (::RegisterClassA(&windowClass) == 0) return false;
  s.window = ::CreateWindowExA(0, kClassName, s.options.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 560,
                               300, nullptr, nullptr, instance, nullptr);
  s.otherWindow = ::CreateWindowExA(0, "STATIC", "other", 0, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
  if (s.window == nullptr || s.otherWindow == nullptr) return false;
  s.logView = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                                540, 260, s.window, nullptr, instance, nullptr);
  RECT client{};
  ::GetClientRect(s.window, &client);
  if (s.logView != nullptr) ::MoveWindow(s.logView, 0, 0, client.right, client.bottom, FALSE);
  return true;
}

void LaunchTool(const StandIn& s) {
  std::string arguments = s.options.arguments;
  const std::string handle = Number(Low32(s.window));
  for (std::size_t at = arguments.find("%h"); at != std::string::npos; at = arguments.find("%h", at + handle.size())) {
    arguments.replace(at, 2, handle);
  }
  std::string commandLine = "\"" + s.options.launch + "\" " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    Log("launch-failed error=" + Number(::GetLastError()));
    return;
  }
  Log("launched pid=" + Number(process.dwProcessId));
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace japbe_standin

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace japbe_standin;
  StandIn standIn;
  gStandIn = &standIn;
  standIn.options = ParseOptions(__argc, __argv);
  if (!standIn.options.error.empty()) {
    const std::string text = standIn.options.error + "\n\n" + kUsage;
    ::MessageBoxA(nullptr, text.c_str(), "jaPBe stand-in", MB_ICONERROR);
    return 2;
  }
  if (!standIn.options.logPath.empty()) {
    standIn.logFile = ::CreateFileA(standIn.options.logPath.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (!CreateWindows(standIn, instance)) return 1;
  Log("window handle=" + Number(Low32(standIn.window)));
  if (!standIn.options.launch.empty()) LaunchTool(standIn);
  MSG message{};
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  if (standIn.logFile != INVALID_HANDLE_VALUE) ::CloseHandle(standIn.logFile);
  return 0;
}
