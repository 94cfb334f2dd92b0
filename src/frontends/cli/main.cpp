#include <iostream>

#include "frontends/cli/Commands.h"

int main(int argc, char** argv) {
  namespace cli = yakdrom::cli;
  // The arguments are copied inside the guard: even that copy may run out of memory.
  return cli::runCatchingOutOfMemory(
      [&] { return cli::runCommandLine(cli::Args(argv + 1, argv + argc), std::cout, std::cerr); },
      std::cerr);
}
