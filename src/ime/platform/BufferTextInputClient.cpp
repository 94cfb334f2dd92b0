#include "ime/platform/BufferTextInputClient.h"

namespace yakdrom {

BufferTextInputClient::BufferTextInputClient(std::optional<std::string> bundleIdentifier)
    : bundleIdentifier_(std::move(bundleIdentifier)) {}

void BufferTextInputClient::insertText(std::string_view text, TextRange /*replacement*/) {
  committed_ += text;
  marked_.clear();
}

void BufferTextInputClient::setMarkedText(std::string_view text, TextRange /*selection*/,
                                          TextRange /*replacement*/) {
  marked_ = text;
}

std::optional<std::string> BufferTextInputClient::bundleIdentifier() const {
  return bundleIdentifier_;
}

void BufferTextInputClient::overrideKeyboard(std::string_view layoutIdentifier) {
  keyboardLayout_ = layoutIdentifier;
}

std::optional<Rect> BufferTextInputClient::lineHeightRect(std::int64_t /*index*/) const {
  return std::nullopt;
}

TextRange BufferTextInputClient::selectedRange() const { return {}; }

std::optional<Rect> BufferTextInputClient::firstRect(TextRange /*range*/) const {
  return std::nullopt;
}

}  // namespace yakdrom
