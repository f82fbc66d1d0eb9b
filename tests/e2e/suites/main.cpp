// The end-to-end suites that drive a program from outside, each a section of this one program:
//   e2e_suites SECTION PROGRAM [PEER]
// Exit code 0 when every check passed, 77 when the section cannot run on this machine (a 32-bit peer where
// 32-bit programs do not run), 2 on bad usage.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/e2e/suites/session.h"

namespace mirravel::e2e {
void RunWindowSuite(const SuitePaths& paths);
void RunRegistrationSuite(const SuitePaths& paths);
void RunHelpSuite(const SuitePaths& paths);
void RunHostLinkSuite(const SuitePaths& paths, bool crossBitness);
}  // namespace mirravel::e2e

int main(int argc, char** argv) {
  using namespace mirravel::e2e;
  const struct { const char* name; void (*run)(const SuitePaths&); } sections[] = {
      {"window", RunWindowSuite},
      {"registration", RunRegistrationSuite},
      {"help", RunHelpSuite},
      {"host_link", [](const SuitePaths& paths) { RunHostLinkSuite(paths, false); }},
      {"host_link_cross", [](const SuitePaths& paths) { RunHostLinkSuite(paths, true); }},
  };
  const char* runs32Bit = std::getenv("MIRRAVEL_RUNS_32BIT");
  if (argc >= 3 && std::strcmp(argv[1], "host_link_cross") == 0 && runs32Bit && std::strcmp(runs32Bit, "0") == 0) {
    std::printf("host_link_cross: skipped, this machine runs no 32-bit programs\n");
    return 77;
  }
  for (const auto& section : sections) {
    if (argc < 3 || std::strcmp(argv[1], section.name) != 0) continue;
    section.run({argv[2], argc > 3 ? argv[3] : ""});
    return Summary(section.name);
  }
  std::printf("usage: e2e_suites window|registration|help|host_link|host_link_cross PROGRAM [PEER]\n");
  return 2;
}
