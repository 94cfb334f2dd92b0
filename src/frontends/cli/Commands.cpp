#include "frontends/cli/Commands.h"

#include <new>
#include <ostream>

namespace yakdrom::cli {

// Each command lives in its own source file; their entry points are listed here once.
int runType(const Args& args, std::ostream& out, std::ostream& err);
int runReplay(const Args& args, std::ostream& out, std::ostream& err);
int runPad(const Args& args, std::ostream& out, std::ostream& err);
int runKeys(const Args& args, std::ostream& out, std::ostream& err);
int runLexicon(const Args& args, std::ostream& out, std::ostream& err);
int runUserDict(const Args& args, std::ostream& out, std::ostream& err);

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"type", "type [--json] [--trace] [SESSION OPTIONS] KEYS...", runType},
      {"replay", "replay FILE [SESSION OPTIONS]", runReplay},
      {"pad", "pad [--output FILE] [--lexicon FILE]", runPad},
      {"keys", "keys TEXT...", runKeys},
      {"lexicon", "lexicon build|info|lookup ARGS...", runLexicon},
      {"userdict", "userdict show|learn|import|export|backup FILE ARGS...", runUserDict},
  };
  return table;
}

int runCommandLine(const Args& args, std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    for (const auto& c : commands()) {
      if (args[0] == c.name) {
        return runCatchingOutOfMemory(
            [&] { return c.run(Args(args.begin() + 1, args.end()), out, err); }, err);
      }
    }
    err << "yakdrom: unknown command \"" << args[0] << "\"\n";
  }
  err << "usage:\n";
  for (const auto& c : commands()) err << "  yakdrom " << c.usage << "\n";
  err << "session options: --lexicon FILE, --user-dictionary FILE, --set KEY=VALUE\n";
  return 2;
}

int runCatchingOutOfMemory(const std::function<int()>& run, std::ostream& err) {
  // A lexicon or word list too large for memory is an input problem like any other: it
  // deserves a message and a status, not an abort.
  try {
    return run();
  } catch (const std::bad_alloc&) {
    err << "yakdrom: out of memory\n";
    return 1;
  }
}

}  // namespace yakdrom::cli
