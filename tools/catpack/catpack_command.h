// The catpack command line: "pack IN OUT" and "unpack IN OUT".
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace mirravel::catpack {

// Runs one command (arguments without the program name); reports to out and errors to err.
// Returns the exit code: 0 done, 1 failed, 2 wrong usage.
int RunCatpack(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace mirravel::catpack
