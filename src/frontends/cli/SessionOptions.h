// The options `yakdrom type` and `yakdrom replay` share: which lexicon and user dictionary to
// type with, settings to store first, and the output switches. Any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "frontends/cli/Commands.h"

namespace yakdrom::cli {

struct SessionOptions {
  /// --lexicon FILE; without it the lexicon beside the program.
  std::optional<std::filesystem::path> lexicon;
  /// --user-dictionary FILE; without it a fresh dictionary that is never saved.
  std::optional<std::filesystem::path> userDictionary;
  /// Each --set KEY=VALUE, in the order given.
  std::vector<std::string> settings;
  bool json = false;
  bool trace = false;
  /// The arguments that are no options, in order; after "--" every argument is one.
  std::vector<std::string> operands;
};

struct ParsedSessionOptions {
  SessionOptions options;
  /// The usage problem, for an option without its value.
  std::optional<std::string> error;
};

/// Parses `args`; "--json" and "--trace" are options only when `switches` is true.
[[nodiscard]] ParsedSessionOptions parseSessionOptions(const Args& args, bool switches);

}  // namespace yakdrom::cli
