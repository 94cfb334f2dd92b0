#include <iostream>

#include "frontends/cli/Commands.h"

int main(int argc, char** argv) {
  return yakdrom::cli::runCommandLine(yakdrom::cli::Args(argv + 1, argv + argc), std::cout,
                                      std::cerr);
}
