// The text field that the input controller types into: committing text, showing the marked
// (provisional, underlined) text, the client's identity, and where its caret is on screen.
// Positions and lengths count UTF-16 code units, as Qt's do. Main thread.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "ime/platform/Geometry.h"

namespace yakdrom {

struct TextRange {
  /// The location of a range that the client is to choose itself.
  static constexpr std::int64_t kNotFound = std::numeric_limits<std::int64_t>::max();

  std::int64_t location = kNotFound;
  std::int64_t length = 0;

  friend bool operator==(const TextRange&, const TextRange&) = default;
};

/// Returns "{location, length}", as the log lines print ranges.
[[nodiscard]] std::string describe(TextRange range);

/// Returns the length of `text` in UTF-16 code units, the unit clients count positions in.
[[nodiscard]] std::int64_t utf16Length(std::string_view text);

class TextInputClient {
 public:
  virtual ~TextInputClient() = default;

  /// Inserts `text` at the insertion point, replacing the marked text if there is any, and
  /// ends the marked state. A `replacement` at kNotFound leaves the place to the client.
  virtual void insertText(std::string_view text, TextRange replacement) = 0;

  /// Shows `text` as marked text in place of any earlier marked text, with the caret or
  /// selection at `selection` inside it; an empty text removes the marked text.
  virtual void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) = 0;

  /// Returns the identifier of the application that owns the field, when it has one.
  [[nodiscard]] virtual std::optional<std::string> bundleIdentifier() const = 0;

  /// Makes the client use the keyboard layout named `layoutIdentifier` while this input
  /// method is active.
  virtual void overrideKeyboard(std::string_view layoutIdentifier) = 0;

  /// Returns the screen rectangle of the line around the character at `index`, or nothing
  /// when the client cannot tell.
  [[nodiscard]] virtual std::optional<Rect> lineHeightRect(std::int64_t index) const = 0;

  /// Returns the selection, or a range at kNotFound when the client cannot tell.
  [[nodiscard]] virtual TextRange selectedRange() const = 0;

  /// Returns the screen rectangle of the first line of `range`, or nothing.
  [[nodiscard]] virtual std::optional<Rect> firstRect(TextRange range) const = 0;
};

}  // namespace yakdrom
