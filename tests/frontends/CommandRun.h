// Runs a `yakdrom` command in process and keeps its exit status and both outputs, for the
// command tests.
#pragma once

#include <sstream>
#include <string>

#include "frontends/cli/Commands.h"

namespace yakdrom::cli::testing {

struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

inline Outcome run(const Args& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCommandLine(args, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace yakdrom::cli::testing
