// `yakdrom keys TEXT...`: prints, for each text, a key sequence that types it.
#include <ostream>

#include "frontends/cli/Commands.h"
#include "frontends/cli/KeySequenceFinder.h"

namespace yakdrom::cli {

int runKeys(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "usage: yakdrom keys TEXT...\n";
    return 2;
  }
  KeySequenceFinder finder;
  int status = 0;
  for (const auto& text : args) {
    const auto result = finder.find(text);
    if (result.error) {
      err << "yakdrom keys: " << *result.error << " of \"" << text << "\"\n";
      status = 1;
      continue;
    }
    out << formatKeys(result.keys) << "\n";
  }
  return status;
}

}  // namespace yakdrom::cli
