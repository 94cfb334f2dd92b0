#include "frontends/support/TextFieldModel.h"

#include <algorithm>
#include <array>

namespace yakdrom::testing {
namespace {

// X keysyms of the keys an application acts on when the input method lets them through.
constexpr std::uint32_t kBackSpace = 0xff08;

struct PassedKey {
  std::uint32_t keysym;
  const char* inserted;
};

constexpr std::array<PassedKey, 2> kPassedKeys = {{{0xff0d, "\n"}, {0xff09, "\t"}}};

// Control, Alt (Mod1), Super as Mod4 and as IBus's own bit: chords, which type nothing.
constexpr std::uint32_t kCommandMask = (1U << 2) | (1U << 3) | (1U << 6) | (1U << 26);

bool startsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

}  // namespace

long TextFieldModel::length() const {
  return static_cast<long>(std::count_if(text_.begin(), text_.end(), startsCharacter));
}

std::size_t TextFieldModel::byteOffset(long index) const {
  long characters = std::max(0L, index);
  for (std::size_t i = 0; i < text_.size(); ++i) {
    if (startsCharacter(text_[i]) && characters-- == 0) return i;
  }
  return text_.size();
}

void TextFieldModel::deleteAroundCaret(long offset, std::uint32_t count) {
  const long start = length() + offset;
  const std::size_t from = byteOffset(start);
  text_.erase(from, byteOffset(start + static_cast<long>(count)) - from);
}

void TextFieldModel::applyKey(const KeyStroke& key) {
  if (key.keysym == kBackSpace) {
    text_.erase(byteOffset(length() - 1));
    return;
  }
  for (const PassedKey& passed : kPassedKeys) {
    if (key.keysym == passed.keysym) text_ += passed.inserted;
  }
  const bool plain = (key.state & kCommandMask) == 0;
  if (plain && key.keysym >= 0x20 && key.keysym < 0x7f) text_ += static_cast<char>(key.keysym);
}

std::string TextFieldModel::tail(long count) const {
  return text_.substr(byteOffset(length() - count));
}

}  // namespace yakdrom::testing
