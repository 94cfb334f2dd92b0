// Feeds arbitrary bytes to the comma-separated lexicon parser. Whatever it accepts must have
// trimmed, non-empty, well-formed words and NFC keys with explanations free of whitespace.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/lexicon/DictionaryLoader.h"
#include "engine/text/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using yakdrom::DictionaryLoader;
  namespace text = yakdrom::text;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto result = DictionaryLoader::parseCSV(bytes);
  if (!result) return 0;
  if (result->words.empty()) std::abort();
  for (const auto& word : result->words) {
    if (word.empty() || text::trimWhitespace(word) != word || word.find(',') != word.npos ||
        text::sanitizeUtf8(word) != word) {
      std::abort();
    }
  }
  for (const auto& [key, explanation] : result->explanations) {
    if (text::nfc(key) != key || text::sanitizeUtf8(key) != key || explanation.empty() ||
        text::removeWhitespace(explanation) != explanation) {
      std::abort();
    }
  }
  return 0;
}
