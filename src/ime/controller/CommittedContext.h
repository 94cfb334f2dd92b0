// The committed text that candidates continue, with where each of its characters starts.
// Both are kept up to date as text is committed, so that neither a commit nor a key has to
// break the whole context into characters again. A plain value; one per controller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace yakdrom {

class CommittedContext {
 public:
  /// Most characters kept.
  static constexpr std::size_t kMaxCharacters = 60;

  /// Appends `committed`; a context longer than kMaxCharacters is then cut to its last
  /// kMaxCharacters characters, starting after the first separator among them when they
  /// hold one.
  void append(std::string_view committed);
  void clear();

  [[nodiscard]] const std::string& text() const { return text_; }
  /// Returns the byte offsets at which the characters of text() start.
  [[nodiscard]] const std::vector<std::size_t>& characterStarts() const { return starts_; }
  /// Returns a number that changes whenever text() does.
  [[nodiscard]] std::uint64_t version() const { return version_; }

  /// What the characters of text() followed by more text tell.
  struct Continuation {
    /// The text after the context's characters: what was added, unless its start joins
    /// the context's last character.
    std::string_view afterContext;
    /// Where the text after the last tsheg or shad character starts, in bytes; nothing
    /// without one.
    std::optional<std::size_t> afterLastSeparator;
  };

  /// Returns the continuation of `joined`, which is text() followed by more text, breaking
  /// only the text from the context's last character on into characters.
  [[nodiscard]] Continuation continuation(std::string_view joined) const;

 private:
  void trim();

  std::string text_;
  std::vector<std::size_t> starts_;
  // Just past the last separator before the last character, which text added later can
  // join and so make no separator.
  std::optional<std::size_t> afterSeparatorBeforeLast_;
  std::uint64_t version_ = 0;
};

}  // namespace yakdrom
