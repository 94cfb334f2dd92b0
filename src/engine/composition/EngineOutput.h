// What the input controller must do with the client after one key: show marked text,
// insert text, both, or let the key through.
#pragma once

#include <string>

namespace yakdrom {

struct EngineOutput {
  enum class Kind { marked, commit, commitThenMark, commitThenPassthrough, passthrough };

  Kind kind = Kind::passthrough;
  std::string committed{};  // commit, commitThenMark, commitThenPassthrough
  std::string marked{};     // marked, commitThenMark

  /// Returns an instruction to show `text` as the marked text ("" removes it).
  [[nodiscard]] static EngineOutput makeMarked(std::string text);
  /// Returns an instruction to insert `text` and consume the key.
  [[nodiscard]] static EngineOutput makeCommit(std::string text);
  /// Returns an instruction to insert `committed`, then show `marked` as marked text.
  [[nodiscard]] static EngineOutput makeCommitThenMark(std::string committed, std::string marked);
  /// Returns an instruction to insert `text`, then let the key reach the client.
  [[nodiscard]] static EngineOutput makeCommitThenPassthrough(std::string text);
  /// Returns an instruction to let the key reach the client untouched.
  [[nodiscard]] static EngineOutput makePassthrough();

  friend bool operator==(const EngineOutput&, const EngineOutput&) = default;
};

}  // namespace yakdrom
