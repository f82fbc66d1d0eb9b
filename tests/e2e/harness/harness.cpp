// Counting and reporting checks; starting and ending processes.
#include "tests/e2e/harness/harness.h"

#include <cstdio>

namespace mirravel::e2e {

namespace {
int passed = 0;
int failed = 0;
std::string currentContext;
}  // namespace

void SetContext(const std::string& context) { currentContext = context; }

bool Report(bool ok, const char* file, int line, const std::string& what) {
  if (ok) {
    ++passed;
    return true;
  }
  ++failed;
  std::printf("FAIL %s:%d: [%s] %s\n", file, line, currentContext.c_str(), what.c_str());
  std::fflush(stdout);
  return false;
}

int Summary(const char* suite) {
  std::printf("%s: %d checks passed, %d failed\n", suite, passed, failed);
  std::fflush(stdout);
  return failed == 0 && passed > 0 ? 0 : 1;
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

Process::~Process() {
  Terminate();
  if (info_.hThread) ::CloseHandle(info_.hThread);
  if (info_.hProcess) ::CloseHandle(info_.hProcess);
}

bool Process::Start(const std::string& commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  std::string writable = commandLine;
  return ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
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
  DWORD code = 0;
  if (info_.hProcess == nullptr || ::WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(info_.hProcess, &code)) {
    return -1;
  }
  return code;
}

void Process::Terminate() {
  if (!IsRunning()) return;
  ::TerminateProcess(info_.hProcess, 99);
  ::WaitForSingleObject(info_.hProcess, 5000);
}

}  // namespace mirravel::e2e
