// The end-to-end suites that drive a program from outside, each a section of one program:
//   e2e_suites SECTION PROGRAM [PEER]
#pragma once

#include <string>

namespace mirravel::e2e {

// The program under test and the peer its section needs: the catalogue text (find), the help-engine
// stand-in (help), the jaPBe stand-in (host_link, host_link_cross).
struct SuitePaths {
  std::string program;
  std::string peer;
};

void RunWindowSuite(const SuitePaths& paths);
void RunFindSuite(const SuitePaths& paths);
void RunRegistrationSuite(const SuitePaths& paths);
void RunHelpSuite(const SuitePaths& paths);
void RunHostLinkSuite(const SuitePaths& paths, bool crossBitness);
void RunViewSuite(const SuitePaths& paths);

}  // namespace mirravel::e2e
