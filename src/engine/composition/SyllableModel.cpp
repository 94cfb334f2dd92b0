#include "engine/composition/SyllableModel.h"

#include <vector>

#include "engine/composition/Letters.h"
#include "engine/composition/TibetanNormalizer.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

// ཾ ཿ ྀ ཱྀ ྂ ྃ: signs that belong after the vowels even when typed into `free` earlier.
constexpr char32_t kFirstTrailingMark = 0x0F7E;
constexpr char32_t kLastTrailingMark = 0x0F83;

void appendSubjoined(std::string& out, const std::string& letter,
                     std::optional<std::string_view> root) {
  const auto form = TibetanNormalizer::subjoinedForm(letter, root);
  out += form ? *form : letter;
}

// Appends the body characters of `free` to `body` and its trailing marks to `marks`.
void splitFree(std::string_view free, std::string& body, std::string& marks) {
  // Kept by the thread: a syllable is serialised on every key.
  thread_local std::vector<std::string_view> characters;
  text::charactersInto(free, characters);
  for (const std::string_view character : characters) {
    const char32_t first = text::firstScalar(character);
    const bool mark = first >= kFirstTrailingMark && first <= kLastTrailingMark;
    (mark ? marks : body) += character;
  }
}

}  // namespace

bool SyllableModel::isEmpty() const {
  return !prefix && !superscript && !root && !suffix && !postsuffix && subjoined.empty() &&
         vowels.empty() && free.empty();
}

bool SyllableModel::manualStackActive() const {
  return !free.empty() && detail::letters::isSubjoinedScalar(text::lastScalar(free));
}

bool SyllableModel::stackWindowOpen() const { return root && vowels.empty() && !suffix; }

std::string SyllableModel::serialized() const {
  if (isEmpty()) return {};
  std::string out;
  if (prefix) out += *prefix;
  if (superscript) {
    out += *superscript;
    if (root) appendSubjoined(out, *root, std::nullopt);
  } else if (root) {
    out += *root;
  }
  for (const std::string& letter : subjoined) appendSubjoined(out, letter, root);
  std::string marks;
  if (!free.empty()) splitFree(free, out, marks);
  out += TibetanNormalizer::orderVowels(vowels);
  out += marks;
  if (suffix) out += *suffix;
  if (postsuffix) out += *postsuffix;
  return TibetanNormalizer::normalize(out);
}

}  // namespace yakdrom
