// The application behind one IBus input context as the input controller's client: marked
// text is the context's preedit (underlined, the caret at its end), inserted text its commit,
// the caret the rectangle the application last reported, converted once into the model's
// coordinates. Main thread.
#pragma once

#include <ibus.h>

#include <optional>
#include <string>

#include "ime/platform/TextInputClient.h"

namespace yakdrom {

class IBusTextClient final : public TextInputClient {
 public:
  /// Types through `engine`, which must outlive the client.
  explicit IBusTextClient(IBusEngine* engine) : engine_(engine) {}

  /// Hides the preedit first: a commit landing before a preedit that is still shown would
  /// leave the preedit where the application puts its next key.
  void insertText(std::string_view text, TextRange replacement) override;
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override;
  /// Returns the client name the application gave IBus (for example "gtk3-im:gedit").
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const override { return name_; }
  /// Does nothing: the engine reads key positions, and IBus gives it the US layout.
  void overrideKeyboard(std::string_view /*layoutIdentifier*/) override {}
  [[nodiscard]] std::optional<Rect> lineHeightRect(std::int64_t /*index*/) const override {
    return caret_;
  }
  /// Returns an empty selection at the caret: IBus reports no selection.
  [[nodiscard]] TextRange selectedRange() const override { return {0, 0}; }
  [[nodiscard]] std::optional<Rect> firstRect(TextRange /*range*/) const override { return caret_; }

  /// Stops (`false`) or resumes (`true`) sending text: once the context has lost focus the
  /// daemon commits the preedit itself, and a commit of ours arriving after the next focus
  /// would type the syllable twice.
  void setConnected(bool connected) { connected_ = connected; }

  /// Takes the client name IBus reports for the focused context; empty means none.
  void setName(std::string_view name);
  /// Takes the caret rectangle IBus reports: X11 root-window coordinates in device pixels,
  /// y growing downwards.
  void setCaret(int x, int y, int width, int height);

  /// Returns the preedit shown now.
  [[nodiscard]] const std::string& markedText() const { return marked_; }

 private:
  IBusEngine* engine_;
  std::string marked_;
  std::optional<std::string> name_;
  std::optional<Rect> caret_;
  bool connected_ = true;
};

}  // namespace yakdrom
