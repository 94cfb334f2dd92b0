#include "engine/text/GraphemeBreaker.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>

namespace yakdrom::text::detail {
namespace {

enum class Join : unsigned char { breaks, joins, unknown };

// ICU gives break positions as 32-bit offsets.
constexpr std::size_t kLongestForIcu = std::numeric_limits<int32_t>::max();
constexpr char32_t kTibetanFirst = 0x0F00;
constexpr char32_t kTibetanLast = 0x0FFF;

// Inside the Tibetan block and printable ASCII the only rules of UAX #29 that apply are
// "no break before Extend, ZWJ or SpacingMark" (GB9, GB9a) and "break everywhere else"
// (GB999). Classes that would bring in other rules (Prepend, controls, Hangul, regional
// indicators) send the text to ICU instead.
Join classify(char32_t c) {
  switch (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GRAPHEME_CLUSTER_BREAK)) {
    case U_GCB_OTHER:
      return Join::breaks;
    case U_GCB_EXTEND:
    case U_GCB_SPACING_MARK:
    case U_GCB_ZWJ:
      return Join::joins;
    default:
      return Join::unknown;
  }
}

const std::array<Join, 0x1000>& tibetanTable() {
  static const auto table = [] {
    std::array<Join, 0x1000> t{};
    for (char32_t c = kTibetanFirst; c <= kTibetanLast; ++c) t[c - kTibetanFirst] = classify(c);
    return t;
  }();
  return table;
}

// Decodes one scalar of well-formed UTF-8 at `i`, advancing it.
char32_t next(std::string_view s, std::size_t& i) {
  auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) {
    ++i;
    return b;
  }
  const int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
  char32_t c = b & (0x7F >> len);
  for (int k = 1; k < len && i + k < s.size(); ++k) {
    c = (c << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  }
  i += len;
  return c;
}

// Takes the table from the caller: a loop fetches it once rather than per scalar.
Join fastJoin(const std::array<Join, 0x1000>& tibetan, char32_t c) {
  if (c >= 0x20 && c < 0x7F) return Join::breaks;
  if (c >= kTibetanFirst && c <= kTibetanLast) return tibetan[c - kTibetanFirst];
  return Join::unknown;
}

struct ThreadIterator {
  std::unique_ptr<icu::BreakIterator> iterator;  // null when ICU could not make one
  UText text = UTEXT_INITIALIZER;

  ThreadIterator() {
    UErrorCode status = U_ZERO_ERROR;
    iterator.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) iterator.reset();
  }
  ~ThreadIterator() { utext_close(&text); }
  ThreadIterator(const ThreadIterator&) = delete;
  ThreadIterator& operator=(const ThreadIterator&) = delete;

  // Returns the iterator set to `s`, or null when ICU fails or cannot count that far.
  icu::BreakIterator* attach(std::string_view s) {
    if (!iterator || s.size() > kLongestForIcu) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    utext_openUTF8(&text, s.data(), static_cast<int64_t>(s.size()), &status);
    if (U_FAILURE(status)) return nullptr;
    iterator->setText(&text, status);
    return U_SUCCESS(status) ? iterator.get() : nullptr;
  }
};

ThreadIterator& threadIterator() {
  thread_local ThreadIterator it;
  return it;
}

// Replaces `out` with the boundaries ICU finds; leaves it empty when ICU fails.
void icuBoundariesInto(std::string_view text, std::vector<std::size_t>& out) {
  out.clear();
  if (text.empty()) {
    out.push_back(0);
    return;
  }
  icu::BreakIterator* it = threadIterator().attach(text);
  if (it == nullptr) return;
  for (int32_t p = it->first(); p != icu::BreakIterator::DONE; p = it->next()) {
    out.push_back(static_cast<std::size_t>(p));
  }
}

// Counts what icuBoundaries would list, less the final boundary, without a list.
std::size_t icuCount(std::string_view text) {
  icu::BreakIterator* it = threadIterator().attach(text);
  if (it == nullptr) return 0;
  std::size_t clusters = 0;
  it->first();
  while (it->next() != icu::BreakIterator::DONE) ++clusters;
  return clusters;
}

}  // namespace

std::vector<std::size_t> GraphemeBreaker::icuBoundaries(std::string_view text) {
  std::vector<std::size_t> out;
  icuBoundariesInto(text, out);
  return out;
}

std::vector<std::size_t> GraphemeBreaker::boundaries(std::string_view text) {
  std::vector<std::size_t> out;
  boundariesInto(text, out);
  return out;
}

void GraphemeBreaker::boundariesInto(std::string_view text, std::vector<std::size_t>& out) {
  out.clear();
  out.reserve(text.size() / 3 + 2);
  const auto& tibetan = tibetanTable();
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    const Join j = fastJoin(tibetan, next(text, i));
    if (j == Join::unknown) {
      icuBoundariesInto(text, out);
      return;
    }
    if (j == Join::breaks || start == 0) out.push_back(start);
  }
  out.push_back(text.size());
}

std::size_t GraphemeBreaker::count(std::string_view text) {
  std::size_t clusters = 0;
  const auto& tibetan = tibetanTable();
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    const Join j = fastJoin(tibetan, next(text, i));
    if (j == Join::unknown) return icuCount(text);
    if (j == Join::breaks || start == 0) ++clusters;
  }
  return clusters;
}

bool GraphemeBreaker::isBoundary(std::string_view text, std::size_t offset) {
  if (offset == 0 || offset >= text.size()) return true;
  const auto& tibetan = tibetanTable();
  std::size_t i = offset;
  const Join here = fastJoin(tibetan, next(text, i));
  std::size_t back = offset - 1;
  while (back > 0 && (static_cast<unsigned char>(text[back]) & 0xC0) == 0x80) --back;
  const Join before = fastJoin(tibetan, next(text, back));
  if (here != Join::unknown && before != Join::unknown) return here == Join::breaks;
  icu::BreakIterator* it = threadIterator().attach(text);
  return it != nullptr && it->isBoundary(static_cast<int32_t>(offset)) != 0;
}

}  // namespace yakdrom::text::detail
