// The comma-separated lexicon text form, read the same way by the loader, the word list and
// the explanations store.
#pragma once

#include <string_view>

#include "engine/text/Text.h"

namespace yakdrom::detail {

/// Calls `each(word, rest)` for every entry line of a comma-separated lexicon text: lines
/// split at LF, CR LF or a lone CR, empty lines dropped, the first remaining line skipped as a
/// header, each other line cut at its first comma. `word` is trimmed and never empty;
/// `rest` is everything after the comma, untouched. Lines without a comma are skipped.
template <typename Each>
void forEachLexiconLine(std::string_view text, Each&& each) {
  bool headerSeen = false;
  for (const std::string_view line : text::splitLines(text)) {
    if (line.empty()) continue;
    if (!headerSeen) {
      headerSeen = true;
      continue;
    }
    const auto comma = line.find(',');
    if (comma == std::string_view::npos) continue;
    const std::string_view word = text::trimWhitespace(line.substr(0, comma));
    if (!word.empty()) each(word, line.substr(comma + 1));
  }
}

}  // namespace yakdrom::detail
