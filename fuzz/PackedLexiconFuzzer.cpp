// Feeds arbitrary bytes to the packed lexicon parser as unscrambled data, so the header and
// offsets are under the fuzzer's direct control. Whatever the offsets say, the parser must
// stay inside the data; whatever it accepts must have words and survive a rewrite.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/lexicon/DictionaryLoader.h"
#include "engine/lexicon/LexiconWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using yakdrom::DictionaryLoader;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (DictionaryLoader::deobfuscate(DictionaryLoader::deobfuscate(bytes)) != bytes) std::abort();
  const auto result = DictionaryLoader::parseBinary(bytes);
  if (!result) return 0;
  if (result->words.empty()) std::abort();
  const auto packed = yakdrom::LexiconWriter::pack(*result);
  if (!packed || DictionaryLoader::parseBinary(*packed) != result) std::abort();
  return 0;
}
