// `yakdrom keys TEXT...`: prints, for each text, a key sequence that types it.
#include <ostream>
#include <string>

#include "engine/text/Text.h"
#include "frontends/cli/Commands.h"
#include "frontends/cli/Json.h"
#include "frontends/cli/KeySequenceFinder.h"

namespace yakdrom::cli {
namespace {

constexpr std::size_t kShownCharacters = 40;

// A long text would bury the message; its first characters tell which text failed, and
// the quoting keeps a line break in it from breaking the message's line.
std::string shown(std::string_view text) {
  const std::string wellFormed = text::sanitizeUtf8(text);
  const auto characters = text::characters(wellFormed);
  if (characters.size() <= kShownCharacters) return jsonQuoted(wellFormed);
  const std::string_view last = characters[kShownCharacters - 1];
  const auto end = static_cast<std::size_t>(last.data() + last.size() - wellFormed.data());
  return jsonQuoted(std::string_view(wellFormed).substr(0, end)) + "…";
}

}  // namespace

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
      err << "yakdrom keys: " << shown(text) << ": " << *result.error << "\n";
      status = 1;
      continue;
    }
    out << formatKeys(result.keys) << "\n";
  }
  return status;
}

}  // namespace yakdrom::cli
