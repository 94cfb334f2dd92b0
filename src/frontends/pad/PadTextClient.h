// The pad's text area as the input controller's client. Marked text is the area's preedit
// (underlined at the caret, never part of the document until committed) and committed text
// its commit string, both sent as input-method events, as a desktop input method would;
// the caret rectangle is the area's own, on screen. Main thread.
#pragma once

#include <QPlainTextEdit>
#include <string>

#include "ime/platform/TextInputClient.h"

namespace yakdrom {

class PadTextClient final : public TextInputClient {
 public:
  /// Types into `editor`, which must outlive the client.
  explicit PadTextClient(QPlainTextEdit& editor) : editor_(editor) {}

  void insertText(std::string_view text, TextRange replacement) override;
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override;
  /// Returns nothing: the pad is no other program's window.
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const override {
    return std::nullopt;
  }
  /// Does nothing: the pad reads key positions, whatever the layout.
  void overrideKeyboard(std::string_view /*layoutIdentifier*/) override {}
  [[nodiscard]] std::optional<Rect> lineHeightRect(std::int64_t index) const override;
  [[nodiscard]] TextRange selectedRange() const override;
  [[nodiscard]] std::optional<Rect> firstRect(TextRange range) const override;

  /// Returns the marked text shown now.
  [[nodiscard]] const std::string& markedText() const { return marked_; }

 private:
  [[nodiscard]] std::optional<Rect> caretRect() const;

  QPlainTextEdit& editor_;
  std::string marked_;
};

}  // namespace yakdrom
