// The application behind one Fcitx input context as the input controller's client: marked
// text is the context's preedit (underlined, the caret at its end), in the application when
// it draws preedits and in Fcitx's panel otherwise; inserted text is the context's commit.
// Fcitx places its panel at the caret itself, so no caret is reported. Main thread.
#pragma once

#include <fcitx/inputcontext.h>

#include <optional>
#include <string>

#include "ime/platform/TextInputClient.h"

namespace yakdrom {

class FcitxTextClient final : public TextInputClient {
 public:
  /// Types into `context`, which must outlive the client.
  explicit FcitxTextClient(fcitx::InputContext& context) : context_(context) {}

  /// Hides the preedit first, so the application never holds both. After focus out, text
  /// that the application showed as its preedit is not committed again: Fcitx commits the
  /// preedit itself then, or leaves it to a client that commits on focus out.
  void insertText(std::string_view text, TextRange replacement) override;
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override;
  /// Returns the program Fcitx names for the context; nothing when it names none.
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const override;
  /// Does nothing: the engine reads key positions, whatever layout Fcitx uses.
  void overrideKeyboard(std::string_view /*layoutIdentifier*/) override {}
  /// Returns nothing: Fcitx places its own panel.
  [[nodiscard]] std::optional<Rect> lineHeightRect(std::int64_t /*index*/) const override {
    return std::nullopt;
  }
  /// Returns an empty selection: the addon does not read the surrounding text.
  [[nodiscard]] TextRange selectedRange() const override { return {0, 0}; }
  [[nodiscard]] std::optional<Rect> firstRect(TextRange /*range*/) const override {
    return std::nullopt;
  }

  /// Marks whether the context has the focus: the addon learns it loses it only after Fcitx
  /// has dealt with the preedit.
  void setFocused(bool focused) { focused_ = focused; }

  /// Returns the preedit shown now.
  [[nodiscard]] const std::string& markedText() const { return marked_; }

 private:
  [[nodiscard]] bool drawsPreedit() const;

  fcitx::InputContext& context_;
  std::string marked_;
  // Where the preedit went: the application's text or Fcitx's panel.
  bool markedInClient_ = false;
  bool focused_ = true;
};

}  // namespace yakdrom
