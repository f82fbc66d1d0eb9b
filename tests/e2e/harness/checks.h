// Checks for the end-to-end suites: each failure prints where it happened, what was checked and the
// expected and actual values; the suite's exit code says whether any check failed.
#pragma once

#include <cstdio>
#include <sstream>
#include <string>

namespace mirravel::e2e {

class CheckCounter {
 public:
  static CheckCounter& Instance();

  void Pass() { ++passed_; }
  void Fail(const char* file, int line, const std::string& what);
  // Context prefixed to every failure message until it is replaced (for example the table row).
  void SetContext(std::string context) { context_ = std::move(context); }
  int Passed() const { return passed_; }
  int Failed() const { return failed_; }
  // Prints the totals and returns the process exit code (0 when every check passed).
  int Summary(const char* suite) const;

 private:
  int passed_ = 0;
  int failed_ = 0;
  std::string context_;
};

template <typename T>
std::string Describe(const T& value) {
  std::ostringstream out;
  out << value;
  return out.str();
}
inline std::string Describe(const std::string& value) { return "\"" + value + "\""; }
inline std::string Describe(const char* value) { return value ? "\"" + std::string(value) + "\"" : "(null)"; }

template <typename E, typename A>
bool CheckEqual(const char* file, int line, const char* expression, const E& expected, const A& actual) {
  if (expected == actual) {
    CheckCounter::Instance().Pass();
    return true;
  }
  CheckCounter::Instance().Fail(file, line, std::string(expression) + ": expected " + Describe(expected) +
                                                ", actual " + Describe(actual));
  return false;
}

inline bool CheckTrue(const char* file, int line, const char* expression, bool value, const std::string& note) {
  if (value) {
    CheckCounter::Instance().Pass();
    return true;
  }
  CheckCounter::Instance().Fail(file, line, std::string(expression) + " is false" + (note.empty() ? "" : " (" + note + ")"));
  return false;
}

}  // namespace mirravel::e2e

// CHECK(condition) or CHECK_NOTE(condition, note); CHECK_EQ(expected, actual). Each yields true on success,
// so a suite can stop early when a later check would only repeat the failure.
#define CHECK(condition) ::mirravel::e2e::CheckTrue(__FILE__, __LINE__, #condition, (condition), std::string())
#define CHECK_NOTE(condition, note) ::mirravel::e2e::CheckTrue(__FILE__, __LINE__, #condition, (condition), (note))
#define CHECK_EQ(expected, actual) \
  ::mirravel::e2e::CheckEqual(__FILE__, __LINE__, #actual, (expected), (actual))
