// The text an application's field holds as a test client models it from what an input
// method sends: commits, deletions around the caret (always at the end), the keys let
// through, and the preedit shown after the text. Positions count characters. Any thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frontends/support/KeyStroke.h"

namespace yakdrom::testing {

class TextFieldModel {
 public:
  void commit(std::string_view text) { text_ += text; }
  void setPreedit(std::string_view preedit) { preedit_.assign(preedit); }
  /// Deletes `count` characters starting `offset` characters from the caret.
  void deleteAroundCaret(long offset, std::uint32_t count);
  /// Applies a key the input method let through: Backspace, Return, Tab, and printable
  /// ASCII typed without Control, Alt or Super.
  void applyKey(const KeyStroke& key);

  [[nodiscard]] const std::string& text() const { return text_; }
  [[nodiscard]] const std::string& preedit() const { return preedit_; }
  /// Returns the last `count` characters of the text, or all of it when shorter.
  [[nodiscard]] std::string tail(long count) const;

 private:
  [[nodiscard]] long length() const;
  [[nodiscard]] std::size_t byteOffset(long index) const;

  std::string text_;
  std::string preedit_;
};

}  // namespace yakdrom::testing
