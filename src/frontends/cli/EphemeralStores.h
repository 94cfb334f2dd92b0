// The stores `yakdrom type` and `yakdrom replay` type with: settings and statistics held in
// memory, and the user dictionary read from and written to a named file, or a fresh one
// whose writes go to a scratch folder that is removed with the stores. Main thread.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "engine/store/InMemoryPreferenceStore.h"
#include "frontends/cli/SessionOptions.h"
#include "frontends/cli/TypingSession.h"

namespace yakdrom::cli {

class EphemeralStores;

struct OpenedStores {
  std::unique_ptr<EphemeralStores> stores;
  /// When `stores` is null: the exit status (2 for a bad setting, 1 otherwise) and why.
  int status = 0;
  std::string error;
  /// One line for each setting stored with a value the input method replaces.
  std::vector<std::string> warnings;
};

class EphemeralStores {
 public:
  /// Opens the stores `options` name and stores their settings, with a warning for each
  /// value out of range. Fails for a setting that --set cannot store, for a dictionary file
  /// that is no regular file or cannot be read (it is then never written over) and when no
  /// scratch folder can be made.
  [[nodiscard]] static OpenedStores open(const SessionOptions& options);

  /// Writes the dictionary's pending changes, then removes the scratch folder, if any.
  ~EphemeralStores();
  EphemeralStores(const EphemeralStores&) = delete;
  EphemeralStores& operator=(const EphemeralStores&) = delete;

  /// Returns the stores for a TypingSession that finds its words in `lexicon`.
  [[nodiscard]] SessionStores stores(DictionaryStore& lexicon);
  [[nodiscard]] InMemoryPreferenceStore& preferences() { return *preferences_; }
  [[nodiscard]] UserDictionary& userDictionary() { return *userDictionary_; }

  /// Writes a named dictionary file out now; returns the error message when that fails.
  /// A fresh dictionary has nothing to save.
  [[nodiscard]] std::optional<std::string> save();

 private:
  EphemeralStores() = default;

  std::shared_ptr<InMemoryPreferenceStore> preferences_ =
      std::make_shared<InMemoryPreferenceStore>();
  std::optional<std::filesystem::path> scratch_;
  std::unique_ptr<UserDictionary> userDictionary_;
  std::unique_ptr<InputStatistics> statistics_;
};

}  // namespace yakdrom::cli
