#include "engine/learning/UserDictionaryFormat.h"

#include <algorithm>
#include <charconv>

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

UserDictionaryEntry makeEntry(std::string_view word, std::int64_t freq) {
  return {text::nfc(text::sanitizeUtf8(word)), freq};
}

}  // namespace

std::string_view UserDictionaryFormat::trimWord(std::string_view text, bool andNewlines) {
  for (;;) {
    text = andNewlines ? text::trimWhitespaceAndNewlines(text) : text::trimWhitespace(text);
    if (!text.starts_with(kByteOrderMark)) return text;
    text.remove_prefix(kByteOrderMark.size());
  }
}

std::optional<UserDictionaryEntry> UserDictionaryFormat::parseLine(std::string_view line) {
  const std::string_view trimmed = trimWord(line);
  if (trimmed.empty()) return std::nullopt;
  const std::size_t space = trimmed.rfind(' ');
  if (space != std::string_view::npos) {
    if (const auto freq = frequencyField(trimmed.substr(space + 1))) {
      const std::string_view word = trimWord(trimmed.substr(0, space));
      if (!word.empty()) return makeEntry(word, *freq);
    }
  }
  return makeEntry(trimmed, 1);
}

std::vector<UserDictionaryEntry> UserDictionaryFormat::parseText(std::string_view text) {
  std::vector<UserDictionaryEntry> out;
  for (const std::string_view line : text::splitLines(text)) {
    if (auto entry = parseLine(line)) out.push_back(std::move(*entry));
  }
  return out;
}

UserWords UserDictionaryFormat::parseWords(std::string_view text) {
  UserWords words;
  for (const auto& entry : parseText(text)) mergeKeepingLarger(words, entry);
  return words;
}

bool UserDictionaryFormat::mergeKeepingLarger(UserWords& words, const UserDictionaryEntry& entry) {
  const auto [it, inserted] = words.try_emplace(entry.word, entry.freq);
  if (inserted) return true;
  if (it->second >= entry.freq) return false;
  it->second = entry.freq;
  return true;
}

bool UserDictionaryFormat::inEntryOrder(const UserDictionaryEntry& a,
                                        const UserDictionaryEntry& b) {
  // Words are NFC, so byte order is the lexicon order.
  return a.freq != b.freq ? a.freq > b.freq : a.word < b.word;
}

std::vector<UserDictionaryEntry> UserDictionaryFormat::entries(const UserWords& words) {
  std::vector<UserDictionaryEntry> out;
  out.reserve(words.size());
  for (const auto& [word, freq] : words) out.push_back({word, freq});
  // The map is already in word order, so a stable sort by frequency alone gives entry order.
  std::stable_sort(out.begin(), out.end(),
                   [](const auto& a, const auto& b) { return a.freq > b.freq; });
  return out;
}

std::string UserDictionaryFormat::render(const UserWords& words) {
  std::vector<std::pair<std::int64_t, const std::string*>> order;
  order.reserve(words.size());
  std::size_t bytes = 0;
  for (const auto& [word, freq] : words) {
    order.emplace_back(freq, &word);
    bytes += word.size() + 22;
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::string out;
  out.reserve(bytes);
  char digits[24];
  for (const auto& [freq, word] : order) {
    out += *word;
    out += ' ';
    const auto end = std::to_chars(digits, digits + sizeof digits, freq).ptr;
    out.append(digits, end);
    out += '\n';
  }
  return out;
}

}  // namespace yakdrom
