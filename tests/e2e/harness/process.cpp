// Starting and ending the program under test.
#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

Process::~Process() {
  Terminate();
  if (info_.hThread) ::CloseHandle(info_.hThread);
  if (info_.hProcess) ::CloseHandle(info_.hProcess);
}

bool Process::Start(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string writable = commandLine;
  return ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &info_) != 0;
}

bool Process::Attach(DWORD processId) {
  info_.hProcess = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
  info_.dwProcessId = info_.hProcess != nullptr ? processId : 0;
  return info_.hProcess != nullptr;
}

bool Process::IsRunning() const {
  return info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

long long Process::WaitForExit(DWORD timeoutMs) {
  if (info_.hProcess == nullptr) return -1;
  if (::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  if (!::GetExitCodeProcess(info_.hProcess, &code)) return -1;
  return code;
}

void Process::Terminate() {
  if (IsRunning()) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
}

std::string Quoted(const std::string& argument) { return "\"" + argument + "\""; }

}  // namespace mirravel::e2e
