#include "ime/platform/TextInputClient.h"

#include "engine/text/Text.h"

namespace yakdrom {

std::string describe(TextRange range) {
  return "{" + std::to_string(range.location) + ", " + std::to_string(range.length) + "}";
}

std::int64_t utf16Length(std::string_view text) {
  std::int64_t units = 0;
  for (std::size_t i = 0; i < text.size();) units += text::decodeScalarAt(text, i) > 0xFFFF ? 2 : 1;
  return units;
}

}  // namespace yakdrom
