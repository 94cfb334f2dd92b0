#include "engine/learning/UserDictionaryFormat.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "engine/text/Text.h"

namespace yakdrom {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Reads the frequency field: an optional sign and ASCII digits only, within 64 bits. Only
// a value of at least 1 is a frequency; anything else makes the field part of the word.
std::optional<std::int64_t> frequencyField(std::string_view field) {
  bool negative = false;
  if (!field.empty() && (field.front() == '+' || field.front() == '-')) {
    negative = field.front() == '-';
    field.remove_prefix(1);
  }
  if (field.empty() || negative) return std::nullopt;
  if (!std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::int64_t value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size() || value < 1) return std::nullopt;
  return value;
}

bool isAsciiSpaceOrBreak(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isTibetanLead(std::string_view pair) {
  return pair[0] == '\xE0' && (static_cast<unsigned char>(pair[1]) & 0xFC) == 0xBC;
}

// Whitespace, line breaks and the byte-order mark are neither ASCII letters, digits and
// signs nor Tibetan (E0 BC-BF ..), and nearly every word begins and ends with one of those:
// such ends need no decoding. Ill-formed bytes behind a Tibetan lead read as U+FFFD, which
// is no whitespace either.
bool hasPlainStart(std::string_view text) {
  const auto first = static_cast<unsigned char>(text.front());
  if (first < 0x80) return !isAsciiSpaceOrBreak(first);
  return text.size() >= 2 && isTibetanLead(text.substr(0, 2));
}

bool hasPlainEnd(std::string_view text) {
  const auto last = static_cast<unsigned char>(text.back());
  if (last < 0x80) return !isAsciiSpaceOrBreak(last);
  return text.size() >= 3 && isTibetanLead(text.substr(text.size() - 3, 2));
}

// The word of a line, not yet in NFC, and its frequency; nothing for a blank line.
std::optional<std::pair<std::string_view, std::int64_t>> fieldsOf(std::string_view line) {
  const std::string_view trimmed = UserDictionaryFormat::trimWord(line);
  if (trimmed.empty()) return std::nullopt;
  const std::size_t space = trimmed.rfind(' ');
  if (space != std::string_view::npos) {
    if (const auto freq = frequencyField(trimmed.substr(space + 1))) {
      const std::string_view word = UserDictionaryFormat::trimWord(trimmed.substr(0, space));
      if (!word.empty()) return std::pair{word, *freq};
    }
  }
  return std::pair{trimmed, std::int64_t{1}};
}

std::string normalizedWord(std::string_view word) { return text::nfc(text::sanitizeUtf8(word)); }

// Calls `take` with each line of `text` as text::splitLines() cuts it, without collecting
// the lines first.
template <typename Take>
void forEachLine(std::string_view text, Take take) {
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      take(text);
      return;
    }
    take(text.substr(0, end));
    text.remove_prefix(text.substr(end).starts_with("\r\n") ? end + 2 : end + 1);
  }
}

}  // namespace

std::string_view UserDictionaryFormat::trimWord(std::string_view text, bool andNewlines) {
  if (text.empty() || (hasPlainStart(text) && hasPlainEnd(text))) return text;
  for (;;) {
    text = andNewlines ? text::trimWhitespaceAndNewlines(text) : text::trimWhitespace(text);
    if (!text.starts_with(kByteOrderMark)) return text;
    text.remove_prefix(kByteOrderMark.size());
  }
}

std::optional<UserDictionaryEntry> UserDictionaryFormat::parseLine(std::string_view line) {
  const auto fields = fieldsOf(line);
  if (!fields) return std::nullopt;
  return UserDictionaryEntry{normalizedWord(fields->first), fields->second};
}

std::vector<UserDictionaryEntry> UserDictionaryFormat::parseText(std::string_view text) {
  std::vector<UserDictionaryEntry> out;
  for (const std::string_view line : text::splitLines(text)) {
    if (auto entry = parseLine(line)) out.push_back(std::move(*entry));
  }
  return out;
}

UserWords UserDictionaryFormat::parseWords(std::string_view text) {
  return readWords(std::make_shared<const detail::LargeString>(text)).words;
}

ParsedWords UserDictionaryFormat::readWords(std::shared_ptr<const detail::LargeString> bytes) {
  // A bound, not a count: CR LF counts twice.
  const auto lines =
      static_cast<std::size_t>(std::count_if(bytes->begin(), bytes->end(),
                                             [](char c) { return c == '\n' || c == '\r'; })) +
      1;
  UserWords::Builder builder(std::move(bytes), lines);
  ParsedWords parsed;
  forEachLine(builder.text(), [&](std::string_view line) {
    const auto fields = fieldsOf(line);
    if (!fields) return;
    const auto [word, freq] = *fields;
    // Most words are plain Tibetan in NFC already and stay views into the text.
    if (text::isPlainNfc(word)) {
      builder.add(word, freq);
      return;
    }
    // What lies around the words (whitespace, byte-order marks, frequencies, line breaks)
    // is well-formed whenever it is recognised as such, so the text is well-formed exactly
    // when all its words are.
    parsed.wellFormed = parsed.wellFormed && text::isWellFormedUtf8(word);
    builder.add(normalizedWord(word), freq);
  });
  parsed.lines = builder.added();
  parsed.words = std::move(builder).build();
  return parsed;
}

bool UserDictionaryFormat::inEntryOrder(const UserDictionaryEntry& a,
                                        const UserDictionaryEntry& b) {
  // Words are NFC, so byte order is the lexicon order.
  return a.freq != b.freq ? a.freq > b.freq : a.word < b.word;
}

std::vector<UserDictionaryEntry> UserDictionaryFormat::entries(const UserWords& words) {
  std::vector<UserDictionaryEntry> out;
  out.reserve(words.size());
  for (const auto& [word, freq] : words) out.push_back({std::string(word), freq});
  // The table is already in word order, so a stable sort by frequency alone gives entry order.
  std::stable_sort(out.begin(), out.end(),
                   [](const auto& a, const auto& b) { return a.freq > b.freq; });
  return out;
}

std::string UserDictionaryFormat::render(const UserWords& words) {
  std::vector<const UserWord*> order;
  order.reserve(words.size());
  std::size_t bytes = 0;
  for (const UserWord& entry : words) {
    order.push_back(&entry);
    bytes += entry.word.size() + 22;
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const UserWord* a, const UserWord* b) { return a->freq > b->freq; });
  std::string out;
  out.reserve(bytes);
  char digits[24];
  for (const UserWord* entry : order) {
    out += entry->word;
    out += ' ';
    const auto end = std::to_chars(digits, digits + sizeof digits, entry->freq).ptr;
    out.append(digits, end);
    out += '\n';
  }
  return out;
}

}  // namespace yakdrom
