// The rules that decide which words the candidate window offers and what the controller
// keeps as context: merging learnt and lexicon words, the particle forms that fit the
// previous syllable, and the separator tests they rely on. Texts are compared by whole
// user-perceived characters, so a separator carrying a combining mark is no separator.
// Stateless; the stores they read are safe to call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/Letters.h"
#include "engine/learning/UserDictionary.h"
#include "engine/lexicon/DictionaryEngine.h"

namespace yakdrom {

/// Each candidate source is asked for this many pages of words.
inline constexpr int kPagesPerSource = 5;

/// Returns true when `character` is a tsheg or a shad.
[[nodiscard]] bool isSeparator(std::string_view character);

/// Returns the `k`th character of `text`, whose characters start at the byte offsets
/// `starts`.
[[nodiscard]] std::string_view characterAt(std::string_view text,
                                           const std::vector<std::size_t>& starts, std::size_t k);

/// Returns where the text after the last tsheg or shad among the first `count` characters
/// of `text` starts, in bytes (its characters start at `starts`); nothing without one.
[[nodiscard]] std::optional<std::size_t> endOfLastSeparator(std::string_view text,
                                                            const std::vector<std::size_t>& starts,
                                                            std::size_t count);

/// Returns true when the last character of `text` is a tsheg or a shad.
[[nodiscard]] bool endsWithSeparator(std::string_view text);

/// Returns true when the last character of `text` is a tsheg.
[[nodiscard]] bool endsWithTsheg(std::string_view text);

/// Returns `text` without its first `count` characters.
[[nodiscard]] std::string_view dropCharacters(std::string_view text, std::size_t count);

/// Returns up to `limit` words that begin with `prefix`: the learnt words first, in the user
/// dictionary's order, then lexicon words in list order; no word twice. The lexicon is not
/// asked when the learnt words fill the limit.
[[nodiscard]] std::vector<std::string> mergedCandidates(const UserDictionary& learnt,
                                                        const DictionaryEngine& lexicon,
                                                        std::string_view prefix,
                                                        std::int64_t limit);

/// Writes the words mergedCandidates() returns into the first strings of `room`, adding
/// strings when it holds too few, and returns their number; the strings after them are left
/// as they are, so that their room serves the next query.
std::size_t mergedCandidatesInto(const UserDictionary& learnt, const DictionaryEngine& lexicon,
                                 std::string_view prefix, std::int64_t limit,
                                 std::vector<std::string>& room);

/// What the rules below need of the committed context, worked out once for each context
/// rather than for every key typed after it.
struct ContextFacts {
  /// Where the text after its last separator starts, in bytes; nothing without one.
  std::optional<std::size_t> afterSeparator;
  /// The syllable and tsheg that the particle forms offered after the context begin with;
  /// empty when the context does not end with a tsheg after a syllable.
  std::string lead;
  /// The genitive, ergative and dative forms that can follow the lead's syllable, each as
  /// the lead, the particle and a tsheg; empty without a lead or when none fits.
  std::vector<std::string> forms;
  /// Strings the forms of an earlier context left over, kept for those of a later one.
  std::vector<std::string> spareForms;
};

/// Returns the facts of the committed context `base`.
[[nodiscard]] ContextFacts contextFacts(std::string_view base);

/// Sets `facts` to those of the committed context `base`, whose characters start at the
/// byte offsets `starts`, reusing the strings `facts` holds.
void contextFactsInto(std::string_view base, const std::vector<std::size_t>& starts,
                      ContextFacts& facts);

/// Returns the particle forms of the syllable that `base` (committed context) ends with,
/// narrowed to those that continue with `marked` (the text being composed). Returns all of
/// them when `marked` matches none but is itself a particle, and none when `base` does not
/// end with a tsheg, no form fits, or `marked` fits no form and is no particle.
[[nodiscard]] std::vector<std::string> particleSuggestions(std::string_view base,
                                                           std::string_view marked);

/// Replaces `out` with particleSuggestions() of the context that `facts` describe, as views
/// into `facts`.
void particleSuggestionsInto(const ContextFacts& facts, std::string_view marked,
                             std::vector<std::string_view>& out);

/// Puts in front of `merged` the particle forms it lacks, in their order and without
/// repeats, in strings taken from `spare` while it has any.
void putParticlesInFront(const std::vector<std::string_view>& particles,
                         std::vector<std::string>& merged, std::vector<std::string>& spare);

}  // namespace yakdrom
