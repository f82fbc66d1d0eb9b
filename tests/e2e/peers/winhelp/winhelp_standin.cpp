// Help-engine stand-in for the help suite: a top-level window of class "MS_WINHELP", the window WinHelpA
// hands its requests to (a synchronous WM_COPYDATA tagged 0xA1DE505 under Wine). It logs each request as
// one line "command<TAB>keyword<TAB>file" and, after the first request that opens the help, takes the title
// "Win32 Programmer's Reference" and shows itself: at once, after a delay, or never. HELP_QUIT or WM_CLOSE
// ends it with exit code 0.
//
//   winhelp_standin.exe LOG [late MS | never]
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The record WinHelpA sends: this header, then the file name and the keyword at the given offsets.
struct WinHelpRecord {
  WORD size;
  WORD command;
  LONG data;
  LONG reserved;
  WORD ofsFilename;
  WORD ofsData;
};

HANDLE logFile = INVALID_HANDLE_VALUE;
int showDelayMs = 0;  // -1: never
bool shown = false;

void Log(const std::string& line) {
  DWORD written = 0;
  const std::string text = line + "\r\n";
  ::WriteFile(logFile, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// The NUL-terminated text at the offset inside the record; "" when the offset is 0 or outside it.
std::string TextAt(const char* bytes, DWORD size, WORD offset) {
  if (offset == 0 || offset >= size) return {};
  return std::memchr(bytes + offset, '\0', size - offset) ? std::string(bytes + offset) : "<unterminated>";
}

void ShowAsHelp(HWND window) {
  ::SetWindowTextA(window, "Win32 Programmer's Reference");
  ::ShowWindow(window, SW_SHOWNORMAL);
  shown = true;
}

LRESULT OnRequest(HWND window, const COPYDATASTRUCT* data) {
  if (data == nullptr || data->dwData != 0xA1DE505 || data->lpData == nullptr || data->cbData < sizeof(WinHelpRecord)) {
    Log("bad request");
    return FALSE;
  }
  const auto* bytes = static_cast<const char*>(data->lpData);
  WinHelpRecord record{};
  std::memcpy(&record, bytes, sizeof record);
  Log(std::to_string(record.command) + "\t" + TextAt(bytes, data->cbData, record.ofsData) + "\t" +
      TextAt(bytes, data->cbData, record.ofsFilename));
  if (record.command == HELP_QUIT) {
    ::DestroyWindow(window);
  } else if (!shown && showDelayMs == 0) {
    ShowAsHelp(window);
  } else if (!shown && showDelayMs > 0) {
    ::SetTimer(window, 1, static_cast<UINT>(showDelayMs), nullptr);
  }
  return TRUE;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COPYDATA: return OnRequest(window, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_TIMER:
      ::KillTimer(window, 1);
      ShowAsHelp(window);
      return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (argc >= 3 && std::strcmp(argv[2], "never") == 0) showDelayMs = -1;
  if (argc >= 4 && std::strcmp(argv[2], "late") == 0) showDelayMs = std::atoi(argv[3]);
  logFile = ::CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "MS_WINHELP";
  // Hidden and untitled as the help until a request asks for the help.
  if (logFile == INVALID_HANDLE_VALUE || !::RegisterClassA(&windowClass) ||
      !::CreateWindowExA(0, "MS_WINHELP", "Help engine stand-in", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, nullptr,
                         nullptr, windowClass.hInstance, nullptr)) {
    return 3;
  }
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  ::CloseHandle(logFile);
  return 0;
}
