// The input method as the command line runs it: one input session typing into a simulated
// text field, its candidate window kept in memory, and the lexicon loaded in the background
// from a given file or from the Resources folder beside the program. `yakdrom type`,
// `replay` and `pad` send their keys through it. Main thread.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "engine/store/PreferenceStore.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/SimulatedTextField.h"
#include "ime/platform/CandidateWindowView.h"
#include "ime/session/KeyResult.h"
#include "ime/settings/SettingChoices.h"
#include "ime/startup/DictionaryStore.h"

namespace yakdrom::cli {

/// What the candidate window shows.
struct CandidateView {
  bool visible = false;
  CandidatePanelStyle style = CandidatePanelStyle::singleColumn;
  /// The whole list, all pages; empty while the window is hidden.
  std::vector<std::string> candidates;
  /// The index of the selected candidate in `candidates`; nothing while the window is hidden.
  std::optional<std::size_t> selection;
  /// The rows of the current page, the explanation line and the page label.
  CandidateWindowContent content;
  /// The full explanation, while its box is open.
  std::optional<std::string> explanationBox;

  /// Returns the explanation the selected row or the explanation line shows, if any.
  [[nodiscard]] std::optional<std::string> explanation() const;

  friend bool operator==(const CandidateView&, const CandidateView&) = default;
};

/// The stores the controller reads its settings from, finds words in, and learns and
/// counts into.
struct SessionStores {
  PreferenceStore& preferences;
  UserDictionary& userDictionary;
  InputStatistics& statistics;
  DictionaryStore& lexicon;
};

class TypingSession {
 public:
  /// Makes an input session over `stores`, which must outlive this one.
  explicit TypingSession(SessionStores stores);
  ~TypingSession();
  TypingSession(const TypingSession&) = delete;
  TypingSession& operator=(const TypingSession&) = delete;

  /// Activates the field, which starts the lexicon load, if nothing has yet, and returns at
  /// once.
  void start();

  /// Sends `key` to the input method as a key event with its modifier flags; a key it does
  /// not consume then acts on the field.
  KeyResult press(const KeyPress& key);

  /// Deactivates the field, which commits the syllable being composed unchanged.
  void finish();

  /// Returns the field typed into.
  [[nodiscard]] const SimulatedTextField& field() const;
  /// Returns what the candidate window shows now.
  [[nodiscard]] CandidateView candidates() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace yakdrom::cli
