// What an IBus client hears from the engine, one entry per signal, in the order it arrived,
// and the answer to each key press, so a test can tell a commit before a key let through
// from one after it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace yakdrom::testing {

enum class IBusEventKind {
  commitText,
  updatePreeditText,
  hidePreeditText,
  forwardKeyEvent,
  updateLookupTable,
  hideLookupTable,
  updateAuxiliaryText,
  hideAuxiliaryText,
  registerProperties,
  updateProperty,
  deleteSurroundingText,
  keyHandled,
  keyPassedThrough,
};

/// One signal or key answer; the fields its kind does not use keep their defaults.
struct IBusEvent {
  IBusEventKind kind = IBusEventKind::commitText;
  /// Committed, preedit or auxiliary text.
  std::string text;
  /// The preedit's or the lookup table's cursor.
  std::uint32_t cursor = 0;
  bool visible = false;
  /// Whether one underline attribute spans the whole preedit.
  bool underlined = false;
  /// The forwarded or pressed key.
  std::uint32_t keyval = 0;
  std::uint32_t keycode = 0;
  std::uint32_t state = 0;
  std::vector<std::string> candidates;
  std::vector<std::string> labels;
  std::uint32_t pageSize = 0;
  /// IBusOrientation: 0 horizontal, 1 vertical, 2 the panel's choice.
  int orientation = 0;
  /// Keys and labels of registered or updated properties.
  std::vector<std::pair<std::string, std::string>> properties;
  /// Where deleted surrounding text starts, in characters from the cursor, and how much.
  int offset = 0;
  std::uint32_t count = 0;

  friend bool operator==(const IBusEvent&, const IBusEvent&) = default;
};

/// Returns the name of `kind` as the signal is called ("commit-text"), or "handled" and
/// "passed-through" for key answers.
[[nodiscard]] const char* eventName(IBusEventKind kind);

/// Returns one line describing `event`, for failure messages.
[[nodiscard]] std::string describe(const IBusEvent& event);
/// Returns the events one per indented line, after a line break, for failure messages.
[[nodiscard]] std::string describe(const std::vector<IBusEvent>& events);
/// Returns the kinds of `events`, in order.
[[nodiscard]] std::vector<IBusEventKind> kindsOf(const std::vector<IBusEvent>& events);

}  // namespace yakdrom::testing
