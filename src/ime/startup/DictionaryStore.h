// The process-wide lexicon: the one word list that candidate lookup uses and the explanation
// store, filled once by a background load of the lexicon file the bundle carries. Until the
// load has finished, lookups simply find nothing. preloadIfNeeded and useLexiconFile are for
// the main thread; engine(), explanations() and waitUntilLoaded() for any thread.
#pragma once

#include <array>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/lexicon/DictionaryEngine.h"
#include "engine/lexicon/TibetanDictionary.h"
#include "ime/platform/Log.h"
#include "ime/startup/ApplicationBundle.h"

namespace yakdrom {

/// The lexicon files looked for, packed form first.
inline constexpr std::array<ResourceName, 2> kLexiconResources = {{
    {"lex", "dat"},
    {"tbtotb", "csv"},
}};

class DictionaryStore {
 public:
  /// Loads from the lexicon that `bundle` carries into its own word list and into
  /// `explanations`; logs to `log`. `log` and `explanations` must outlive the store.
  DictionaryStore(ApplicationBundle bundle, Log& log, TibetanDictionary& explanations);

  /// Waits for a load in progress, so that it never writes into a store that is gone.
  ~DictionaryStore();

  DictionaryStore(const DictionaryStore&) = delete;
  DictionaryStore& operator=(const DictionaryStore&) = delete;

  /// Returns the process-wide store: the running executable's bundle, the system log and
  /// TibetanDictionary::shared(), created on first use.
  [[nodiscard]] static DictionaryStore& shared();

  /// Returns the word list that candidate lookup uses; empty until a load has installed it.
  [[nodiscard]] DictionaryEngine& engine() { return engine_; }
  [[nodiscard]] const DictionaryEngine& engine() const { return engine_; }

  /// Returns the explanation store the load fills.
  [[nodiscard]] TibetanDictionary& explanations() { return explanations_; }
  [[nodiscard]] const TibetanDictionary& explanations() const { return explanations_; }

  /// Makes the load read `file` instead of looking in the bundle (for tools and tests);
  /// has no effect once a load was started.
  void useLexiconFile(std::filesystem::path file);

  /// Returns the lexicon file to load, the first that exists: "lex.dat", then "tbtotb.csv"
  /// among the bundle's resources, then the same two in "../Resources" beside the
  /// executable; the file given to useLexiconFile replaces that search.
  [[nodiscard]] std::optional<std::filesystem::path> locateLexicon() const;

  /// Starts the one load of this store on a background thread and returns at once; does
  /// nothing after the first call, whatever came of it. A missing or unreadable lexicon is
  /// logged and leaves the word list empty.
  void preloadIfNeeded();

  /// Returns true once preloadIfNeeded has been called.
  [[nodiscard]] bool started() const;

  /// Waits until a started load has ended and returns true when it installed the lexicon;
  /// returns false at once when no load is under way or done.
  [[nodiscard]] bool waitUntilLoaded() const;

 private:
  enum class LoadState { notStarted, loading, loaded, failed };

  void load(const std::filesystem::path& file);
  void finish(LoadState state);

  const ApplicationBundle bundle_;
  Log& log_;
  TibetanDictionary& explanations_;
  DictionaryEngine engine_;

  mutable std::mutex mutex_;
  mutable std::condition_variable loadEnded_;
  LoadState state_ = LoadState::notStarted;           // guarded by mutex_
  bool started_ = false;                              // guarded by mutex_
  std::optional<std::filesystem::path> lexiconFile_;  // guarded by mutex_

  // Last, so that the members above exist for as long as the load runs.
  std::thread loader_;
};

}  // namespace yakdrom
