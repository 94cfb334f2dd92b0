// The dead-key action table: for each key text and dead-key mode, the text the key
// produces or the mode it switches to. Its "m" column doubles as the table of subjoined
// letter forms. Built once on first use, thread-safely; never changed.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace yakdrom {

struct LegacyTransition {
  enum class Kind { output, next };

  Kind kind = Kind::output;
  std::string text{};  // the text to append (output) or the mode to enter (next)

  /// Returns a transition that appends `text` and leaves the mode.
  [[nodiscard]] static LegacyTransition makeOutput(std::string text);
  /// Returns a transition that switches to mode `mode`.
  [[nodiscard]] static LegacyTransition makeNext(std::string mode);

  friend bool operator==(const LegacyTransition&, const LegacyTransition&) = default;
};

namespace LegacyTables {

/// Mode name ("m", "M", "none") -> transition.
using ModeTransitions = std::map<std::string, LegacyTransition, std::less<>>;
/// Key text (an action name or a key's character) -> its transitions.
using Actions = std::map<std::string, ModeTransitions, std::less<>>;

/// Returns the whole table (49 key texts).
[[nodiscard]] const Actions& actions();

/// Returns the transition for `keyText` (compared by canonical equivalence) in `mode`,
/// or nothing when the table has none.
[[nodiscard]] std::optional<LegacyTransition> transition(std::string_view keyText,
                                                         std::string_view mode);

}  // namespace LegacyTables
}  // namespace yakdrom
