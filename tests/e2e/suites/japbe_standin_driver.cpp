// Starting the jaPBe stand-in and reading its log, which it writes line by line as things happen.
#include "tests/e2e/suites/japbe_standin_driver.h"

#include <fstream>
#include <sstream>

#include "tests/e2e/harness/checks.h"

namespace mirravel::e2e {

namespace {

std::string FreshLogPath() {
  char directory[MAX_PATH] = {};
  char path[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, directory);
  ::GetTempFileNameA(directory, "jsi", 0, path);
  return path;
}

StandInRecord ParseRecord(const std::string& line) {
  StandInRecord record;
  std::istringstream words(line);
  words >> record.kind;
  std::string word;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    if (equals != std::string::npos) record.fields[word.substr(0, equals)] = word.substr(equals + 1);
  }
  return record;
}

}  // namespace

unsigned long StandInRecord::Number(const std::string& name) const { return std::stoul("0" + Field(name)); }

std::string StandInRecord::Field(const std::string& name) const {
  const auto found = fields.find(name);
  return found == fields.end() ? std::string() : found->second;
}

StandInDriver::~StandInDriver() {
  process_.Terminate();
  if (!logPath_.empty()) ::DeleteFileA(logPath_.c_str());
}

bool StandInDriver::Start(const std::string& standInPath, const std::string& options) {
  logPath_ = FreshLogPath();
  if (!CHECK_NOTE(process_.Start(Quoted(standInPath) + " --log " + Quoted(logPath_) + " " + options),
                  "start " + standInPath)) {
    return false;
  }
  const StandInRecord window = WaitFor("window");
  window_ = reinterpret_cast<HWND>(static_cast<UINT_PTR>(window.Number("handle")));
  if (!CHECK_NOTE(window_ != nullptr, "the stand-in's window")) return false;
  if (options.find("--launch") == std::string::npos) return true;
  launched_ = WaitFor("launched").Number("pid");
  return CHECK_NOTE(launched_ != 0, "the stand-in launched the program");
}

std::vector<StandInRecord> StandInDriver::Records() const {
  std::vector<StandInRecord> records;
  std::ifstream log(logPath_, std::ios::binary);
  std::string line;
  while (std::getline(log, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) records.push_back(ParseRecord(line));
  }
  return records;
}

std::vector<StandInRecord> StandInDriver::RecordsOf(const std::string& kind, const std::string& name,
                                                    const std::string& value) const {
  std::vector<StandInRecord> matching;
  for (StandInRecord& record : Records()) {
    if (record.kind == kind && (name.empty() || record.Field(name) == value)) matching.push_back(std::move(record));
  }
  return matching;
}

StandInRecord StandInDriver::WaitFor(const std::string& kind, const std::string& name, const std::string& value,
                                     DWORD timeoutMs) const {
  StandInRecord found;
  WaitUntil(
      [&] {
        const std::vector<StandInRecord> matching = RecordsOf(kind, name, value);
        if (!matching.empty()) found = matching.front();
        return !matching.empty();
      },
      timeoutMs);
  return found;
}

std::string HexBytes(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 15];
  }
  return hex;
}

std::string HandleText(HWND window) {
  return std::to_string(static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window) & 0xFFFFFFFFu));
}

}  // namespace mirravel::e2e
