// Where the candidate window gets a word's explanation: a function the controller installs,
// and the language choice with its fallbacks, read from the settings on every call.
// Main thread.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ime/settings/YakdromSettings.h"

namespace yakdrom {

/// Returns the explanation text of a word, or nothing.
using ExplanationProvider = std::function<std::optional<std::string>(std::string_view word)>;

/// The three explanation tables of the lexicon, each looked up by word.
struct ExplanationSources {
  ExplanationProvider tibetan;
  ExplanationProvider chinese;
  ExplanationProvider english;
};

/// Returns the explanation of `word` in `language`; a word without one falls back to the
/// Chinese explanation when Tibetan is asked for, and to the Tibetan one otherwise.
[[nodiscard]] std::optional<std::string> chooseExplanation(std::string_view word,
                                                           ExplanationLanguage language,
                                                           const ExplanationSources& sources);

/// Returns a provider that gives nothing while the settings hide explanations and otherwise
/// chooses in the language the settings name at the time of the call. `settings` must
/// outlive the provider.
[[nodiscard]] ExplanationProvider settingsExplanationProvider(const YakdromSettings& settings,
                                                              ExplanationSources sources);

}  // namespace yakdrom
