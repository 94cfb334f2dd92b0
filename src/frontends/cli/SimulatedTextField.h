// A plain text field held in memory, for the command line: committed text accumulates in the
// document, marked text is kept apart, and keys that reach the field act as they do in an
// ordinary text field. Main thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "ime/platform/TextInputClient.h"

namespace yakdrom::cli {

/// The application identifier the simulated field reports: any application but the input
/// method itself, whose own windows the controller leaves alone.
inline constexpr std::string_view kSimulatedFieldIdentifier = "org.yakdrom.cli.TextField";

class SimulatedTextField : public TextInputClient {
 public:
  /// Appends `text` to the document and removes the marked text.
  void insertText(std::string_view text, TextRange replacement) override;
  /// Replaces the marked text.
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override;
  /// Returns kSimulatedFieldIdentifier.
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const override;
  /// Does nothing: the field reads no layout.
  void overrideKeyboard(std::string_view /*layoutIdentifier*/) override {}
  /// Returns the caret rectangle set with setCaretRect, if any.
  [[nodiscard]] std::optional<Rect> lineHeightRect(std::int64_t index) const override;
  /// Returns a range at kNotFound: the field keeps no selection.
  [[nodiscard]] TextRange selectedRange() const override { return {}; }
  /// Returns nothing.
  [[nodiscard]] std::optional<Rect> firstRect(TextRange /*range*/) const override {
    return std::nullopt;
  }

  /// Acts on a key that the input method let through: Space, Return and Tab type " ", a
  /// line feed and a tab; Delete removes the last character of the document; other keys
  /// do nothing.
  void applyUnconsumedKey(std::uint16_t keyCode);

  /// Makes the field report `caret` as where its caret is on screen.
  void setCaretRect(Rect caret) { caret_ = caret; }

  [[nodiscard]] const std::string& document() const { return document_; }
  [[nodiscard]] const std::string& marked() const { return marked_; }
  /// Returns the document followed by the marked text.
  [[nodiscard]] std::string text() const { return document_ + marked_; }

 private:
  std::string document_;
  std::string marked_;
  std::optional<Rect> caret_;
};

}  // namespace yakdrom::cli
