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

/// Most characters of committed text kept as context for candidates.
inline constexpr std::size_t kMaxContextCharacters = 60;

/// Each candidate source is asked for this many pages of words.
inline constexpr int kPagesPerSource = 5;

/// Returns true when the last character of `text` is a tsheg or a shad.
[[nodiscard]] bool endsWithSeparator(std::string_view text);

/// Returns true when the last character of `text` is a tsheg.
[[nodiscard]] bool endsWithTsheg(std::string_view text);

/// Returns the text after the last tsheg or shad character of `text`, or nothing when it
/// holds none.
[[nodiscard]] std::optional<std::string_view> textAfterLastSeparator(std::string_view text);

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

/// Returns the genitive, ergative and dative forms that can follow `syllable`, each as the
/// syllable, a tsheg, the particle and a tsheg; nothing when none fits.
[[nodiscard]] std::optional<std::vector<std::string>> particleForms(std::string_view syllable);

/// Puts in front of `merged` the particle forms it lacks, in their order and without
/// repeats.
void putParticlesInFront(const std::vector<std::string>& particles,
                         std::vector<std::string>& merged);

/// What the rules below need of the committed context, worked out once for each context
/// rather than for every key typed after it.
struct ContextFacts {
  /// The context described.
  std::string base;
  /// The number of its characters.
  std::size_t characters = 0;
  /// Where the text after its last separator starts, in bytes; nothing without one.
  std::optional<std::size_t> afterSeparator;
  /// particleLead() of the context.
  std::optional<std::string> lead;
  /// The particle forms of the lead's syllable, when there is a lead.
  std::optional<std::vector<std::string>> forms;
};

/// Returns the facts of the committed context `base`.
[[nodiscard]] ContextFacts contextFacts(std::string_view base);

/// Returns textAfterLastSeparator() of `text`, whose characters are `characters`.
[[nodiscard]] std::optional<std::string_view> textAfterLastSeparator(
    std::string_view text, const std::vector<std::string_view>& characters);

/// Returns dropCharacters() of `text`, whose characters are `characters`.
[[nodiscard]] std::string_view dropCharacters(std::string_view text,
                                              const std::vector<std::string_view>& characters,
                                              std::size_t count);

/// Returns particleSuggestions() of the context that `facts` describe.
[[nodiscard]] std::optional<std::vector<std::string>> particleSuggestions(const ContextFacts& facts,
                                                                          std::string_view marked);

/// Returns the particle forms of the syllable that `base` (committed context) ends with,
/// narrowed to those that continue with `marked` (the text being composed). Returns all of
/// them when `marked` matches none but is itself a particle, and nothing when `base` does
/// not end with a tsheg, no form fits, or `marked` fits no form and is no particle.
[[nodiscard]] std::optional<std::vector<std::string>> particleSuggestions(std::string_view base,
                                                                          std::string_view marked);

/// Returns the syllable and tsheg that the particle forms offered after `base` begin with,
/// or nothing when `base` does not end with a tsheg after a syllable.
[[nodiscard]] std::optional<std::string> particleLead(std::string_view base);

/// Returns `context` cut to its last 60 characters when it is longer, starting after the
/// first separator among them when they hold one.
[[nodiscard]] std::string trimmedContext(std::string context);

}  // namespace yakdrom
