#include "frontends/cli/SessionOptions.h"

namespace yakdrom::cli {

ParsedSessionOptions parseSessionOptions(const Args& args, bool switches) {
  ParsedSessionOptions parsed;
  SessionOptions& o = parsed.options;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded) {
      o.operands.push_back(a);
      continue;
    }
    if (a == "--") {
      optionsEnded = true;
    } else if (switches && a == "--json") {
      o.json = true;
    } else if (switches && a == "--trace") {
      o.trace = true;
    } else if (a == "--lexicon" || a == "--user-dictionary" || a == "--set") {
      if (i + 1 == args.size()) {
        parsed.error = a + " needs a value";
        return parsed;
      }
      const std::string& value = args[++i];
      if (a == "--lexicon") {
        o.lexicon = value;
      } else if (a == "--user-dictionary") {
        o.userDictionary = value;
      } else {
        o.settings.push_back(value);
      }
    } else {
      o.operands.push_back(a);
    }
  }
  return parsed;
}

}  // namespace yakdrom::cli
