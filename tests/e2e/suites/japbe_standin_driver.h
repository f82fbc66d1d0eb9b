// The jaPBe stand-in as the host suite drives it: started with its options and a fresh log file, its
// window and the program it launched, and its log read back as records.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/e2e/harness/harness.h"

namespace mirravel::e2e {

// One log line: its kind ("received", "copydata", ...) and its name=value fields.
struct StandInRecord {
  std::string kind;
  std::map<std::string, std::string> fields;
  unsigned long Number(const std::string& name) const;
  std::string Field(const std::string& name) const;
};

class StandInDriver {
 public:
  ~StandInDriver();
  // Starts the stand-in with the options (a command-line tail) and waits for its window and, when it
  // launches a program, for that program's process id.
  bool Start(const std::string& standInPath, const std::string& options);
  Process& Program() { return process_; }
  HWND Window() const { return window_; }
  DWORD LaunchedProcessId() const { return launched_; }

  std::vector<StandInRecord> Records() const;
  // Records of a kind, optionally only those whose field `name` reads `value`.
  std::vector<StandInRecord> RecordsOf(const std::string& kind, const std::string& name = "",
                                       const std::string& value = "") const;
  // Waits until such a record is logged; returns it (kind "" when none came in time).
  StandInRecord WaitFor(const std::string& kind, const std::string& name = "", const std::string& value = "",
                        DWORD timeoutMs = kDefaultTimeoutMs) const;

 private:
  Process process_;
  std::string logPath_;
  HWND window_ = nullptr;
  DWORD launched_ = 0;
};

// Bytes as the stand-in logs them: upper-case hexadecimal, two digits each.
std::string HexBytes(const std::string& bytes);

// A window handle as the stand-in logs it: its low 32 bits in decimal.
std::string HandleText(HWND window);

}  // namespace mirravel::e2e
