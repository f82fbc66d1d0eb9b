// catpack: the build-time packer of the constant catalogue (not part of the program itself).
#include <iostream>
#include <string>
#include <vector>

#include "tools/catpack/catpack_command.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  return mirravel::catpack::RunCatpack(arguments, std::cout, std::cerr);
}
