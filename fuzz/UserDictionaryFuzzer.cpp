// Feeds arbitrary bytes to the user dictionary's reader. Beyond not crashing, every entry
// must be storable as is (well-formed NFC, trimmed, on one line, frequency at least 1), and
// writing the entries out and reading them back must give the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/learning/UserDictionaryFormat.h"
#include "engine/text/Text.h"

namespace {

using yakdrom::UserDictionaryEntry;
using yakdrom::UserDictionaryFormat;

void check(bool condition) {
  if (!condition) std::abort();
}

void checkStorable(const UserDictionaryEntry& entry) {
  namespace text = yakdrom::text;
  check(!entry.word.empty());
  check(entry.freq >= 1);
  check(entry.word.find('\n') == std::string::npos);
  check(text::sanitizeUtf8(entry.word) == entry.word);
  check(text::nfc(entry.word) == entry.word);
  check(UserDictionaryFormat::trimWord(entry.word) == entry.word);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view firstLine = input.substr(0, input.find('\n'));
  if (const auto entry = UserDictionaryFormat::parseLine(firstLine)) checkStorable(*entry);

  const auto words = UserDictionaryFormat::parseWords(input);
  for (const auto& [word, freq] : words) checkStorable({std::string(word), freq});
  const std::string rendered = UserDictionaryFormat::render(words);
  check(UserDictionaryFormat::parseWords(rendered) == words);
  check(UserDictionaryFormat::render(UserDictionaryFormat::parseWords(rendered)) == rendered);
  return 0;
}
