// Counting and reporting of end-to-end checks.
#include "tests/e2e/harness/checks.h"

namespace mirravel::e2e {

CheckCounter& CheckCounter::Instance() {
  static CheckCounter counter;
  return counter;
}

void CheckCounter::Fail(const char* file, int line, const std::string& what) {
  ++failed_;
  std::printf("FAIL %s:%d: %s%s%s\n", file, line, context_.empty() ? "" : "[", context_.c_str(),
              context_.empty() ? "" : "] ");
  std::printf("     %s\n", what.c_str());
  std::fflush(stdout);
}

int CheckCounter::Summary(const char* suite) const {
  std::printf("%s: %d checks passed, %d failed\n", suite, passed_, failed_);
  std::fflush(stdout);
  return failed_ == 0 && passed_ > 0 ? 0 : 1;
}

}  // namespace mirravel::e2e
