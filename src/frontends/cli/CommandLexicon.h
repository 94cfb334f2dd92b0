// The lexicon as the command line loads it: the input method's store, filled in the
// background from a named file or from the Resources folder beside the program, with its
// log kept in memory so that the commands can say what went wrong. Main thread, except
// where DictionaryStore says otherwise.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/lexicon/TibetanDictionary.h"
#include "ime/platform/Log.h"
#include "ime/startup/DictionaryStore.h"

namespace yakdrom::cli {

class CommandLexicon {
 public:
  /// Prepares to load `file`, or the input method's lexicon beside the program without one.
  explicit CommandLexicon(std::optional<std::filesystem::path> file);
  CommandLexicon(const CommandLexicon&) = delete;
  CommandLexicon& operator=(const CommandLexicon&) = delete;

  /// Returns the store, whose preloadIfNeeded starts the load.
  [[nodiscard]] DictionaryStore& store() { return store_; }

  /// Returns why no lexicon was loaded, naming the file, for a message.
  [[nodiscard]] std::string failure() const;

  /// Returns the lines the load logged.
  [[nodiscard]] const std::vector<std::string>& logLines() const { return log_.lines(); }

 private:
  class MemoryLog final : public Log {
   public:
    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

   protected:
    void writeLine(std::string_view line) override { lines_.emplace_back(line); }

   private:
    std::vector<std::string> lines_;
  };

  std::optional<std::filesystem::path> requested_;
  MemoryLog log_;
  TibetanDictionary explanations_;
  DictionaryStore store_;
};

}  // namespace yakdrom::cli
