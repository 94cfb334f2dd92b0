// A text field held in memory, for the command line: committed text accumulates at the end,
// the marked text is kept apart, and there is no screen geometry. Main thread.
#pragma once

#include <string>

#include "ime/platform/TextInputClient.h"

namespace yakdrom {

class BufferTextInputClient final : public TextInputClient {
 public:
  /// Makes a field of the application `bundleIdentifier`, or of none.
  explicit BufferTextInputClient(std::optional<std::string> bundleIdentifier = std::nullopt);

  /// Appends `text` to the committed text and clears the marked text.
  void insertText(std::string_view text, TextRange replacement) override;
  /// Replaces the marked text.
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override;
  /// Returns the identifier given at construction.
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const override;
  /// Remembers the layout, which changes nothing here.
  void overrideKeyboard(std::string_view layoutIdentifier) override;
  /// Returns nothing: the field is not on a screen.
  [[nodiscard]] std::optional<Rect> lineHeightRect(std::int64_t index) const override;
  /// Returns a range at kNotFound.
  [[nodiscard]] TextRange selectedRange() const override;
  /// Returns nothing.
  [[nodiscard]] std::optional<Rect> firstRect(TextRange range) const override;

  /// Returns everything inserted so far.
  [[nodiscard]] const std::string& committedText() const { return committed_; }
  /// Returns the marked text shown now.
  [[nodiscard]] const std::string& markedText() const { return marked_; }
  /// Returns the layout last forced on the field.
  [[nodiscard]] const std::string& keyboardLayout() const { return keyboardLayout_; }

 private:
  std::optional<std::string> bundleIdentifier_;
  std::string committed_;
  std::string marked_;
  std::string keyboardLayout_;
};

}  // namespace yakdrom
