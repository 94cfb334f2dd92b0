// Tibetan case particles: the genitive, ergative and dative form that fits the last letter
// of the previous word, offered by the candidate window right after a commit. Pure
// functions on constant tables; any thread may call them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace yakdrom {

class ParticleEngine {
 public:
  enum class Kind { genitive, ergative, dative };

  /// Every kind, in the order the candidate window offers them.
  static constexpr std::array<Kind, 3> kAllKinds = {Kind::genitive, Kind::ergative, Kind::dative};

  ParticleEngine() = delete;

  /// Returns the kind's raw value: "genitive", "ergative" or "dative".
  [[nodiscard]] static std::string_view rawValue(Kind kind);

  /// Returns the kind whose raw value is exactly `raw`, or nothing.
  [[nodiscard]] static std::optional<Kind> kind(std::string_view raw);

  /// Returns the particle of `kind` that follows `previousWord`, or nothing when the word
  /// ends in a vowel sign or in a letter that takes no particle of that kind.
  [[nodiscard]] static std::optional<std::string> particle(Kind kind,
                                                           std::string_view previousWord);

  /// Returns true when `word` holds a letter after its last vowel sign (marks and tshegs
  /// aside); a word without vowel sign has one as soon as it holds any letter.
  [[nodiscard]] static bool hasSuffix(std::string_view word);

  /// Returns the last letter of `word`, marks and tshegs skipped; a subjoined letter comes
  /// back as its base letter.
  [[nodiscard]] static std::optional<char32_t> lastLetter(std::string_view word);

  /// Returns true when `text` is, canonically, one of the seven particle forms.
  [[nodiscard]] static bool isParticle(std::string_view text);
};

}  // namespace yakdrom
