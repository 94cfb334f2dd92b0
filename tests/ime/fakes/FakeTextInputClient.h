// A text-input client for tests: records every insertion and marked-text call in order and
// answers the caret queries with scripted rectangles.
#pragma once

#include <string>
#include <vector>

#include "ime/platform/TextInputClient.h"

namespace yakdrom::testing {

class FakeTextInputClient final : public TextInputClient {
 public:
  struct Call {
    enum class Kind { insert, mark } kind;
    std::string text;
    TextRange selection;
    TextRange replacement;

    friend bool operator==(const Call&, const Call&) = default;
  };

  void insertText(std::string_view text, TextRange replacement) override {
    calls.push_back({Call::Kind::insert, std::string(text), {}, replacement});
  }
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override {
    calls.push_back({Call::Kind::mark, std::string(text), selection, replacement});
  }
  [[nodiscard]] std::optional<std::string> bundleIdentifier() const override { return identifier; }
  void overrideKeyboard(std::string_view layout) override { keyboardLayout = layout; }
  [[nodiscard]] std::optional<Rect> lineHeightRect(std::int64_t) const override { return lineRect; }
  [[nodiscard]] TextRange selectedRange() const override { return selection; }
  [[nodiscard]] std::optional<Rect> firstRect(TextRange) const override {
    ++firstRectQueries;
    return firstLineRect;
  }

  std::vector<Call> calls;
  std::optional<std::string> identifier;
  std::string keyboardLayout;
  std::optional<Rect> lineRect;
  TextRange selection;
  std::optional<Rect> firstLineRect;
  mutable int firstRectQueries = 0;
};

}  // namespace yakdrom::testing
