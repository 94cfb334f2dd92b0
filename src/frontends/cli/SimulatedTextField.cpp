#include "frontends/cli/SimulatedTextField.h"

#include <array>
#include <string_view>

#include "engine/composition/CompositionEngine.h"
#include "engine/text/Text.h"

namespace yakdrom::cli {
namespace {

struct TypingKey {
  std::uint16_t keyCode;
  std::string_view text;
};

constexpr std::array<TypingKey, 3> kTypingKeys = {{
    {CompositionEngine::Special::kSpace, " "},
    {CompositionEngine::Special::kReturn, "\n"},
    {CompositionEngine::Special::kTab, "\t"},
}};

}  // namespace

void SimulatedTextField::insertText(std::string_view text, TextRange /*replacement*/) {
  document_ += text;
  marked_.clear();
}

void SimulatedTextField::setMarkedText(std::string_view text, TextRange /*selection*/,
                                       TextRange /*replacement*/) {
  marked_ = text;
}

std::optional<std::string> SimulatedTextField::bundleIdentifier() const {
  return std::string(kSimulatedFieldIdentifier);
}

std::optional<Rect> SimulatedTextField::lineHeightRect(std::int64_t /*index*/) const {
  return caret_;
}

void SimulatedTextField::applyUnconsumedKey(std::uint16_t keyCode) {
  for (const auto& key : kTypingKeys) {
    if (key.keyCode == keyCode) {
      document_ += key.text;
      return;
    }
  }
  // A Tibetan stack is one character: Delete takes the whole cluster, as a text field does.
  if (keyCode == CompositionEngine::Special::kDelete) {
    if (const auto characters = text::characters(document_); !characters.empty()) {
      document_.resize(document_.size() - characters.back().size());
    }
  }
}

}  // namespace yakdrom::cli
