#include "engine/store/IniValue.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace yakdrom::ini {
namespace {

constexpr std::string_view kStringPrefix = "@String(";
constexpr std::string_view kVariantPrefix = "@Variant(";
// The forms QSettings gives values that are not text.
constexpr std::array<std::string_view, 7> kTypedPrefixes = {
    "@ByteArray(", "@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point(", "@Invalid()"};

// Type ids in a Qt 4.0 data stream, the version QSettings writes.
constexpr std::uint32_t kIntType = 2;
constexpr std::uint32_t kUIntType = 3;
constexpr std::uint32_t kLongLongType = 4;
constexpr std::uint32_t kULongLongType = 5;
constexpr std::uint32_t kMapType = 8;
constexpr std::uint32_t kStringType = 10;
constexpr std::uint32_t kNullString = 0xFFFFFFFF;

constexpr std::string_view kWrittenEscapes = "\a\b\f\n\r\t\v";
constexpr std::string_view kWrittenEscapeNames = "abfnrtv";
constexpr std::string_view kReadEscapeNames = "abfnrtv\"?'\\";
constexpr std::string_view kReadEscapes = "\a\b\f\n\r\t\v\"?'\\";

icu::StringPiece piece(std::string_view text) {
  return {text.data(), static_cast<std::int32_t>(text.size())};
}

int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

std::string hexEscape(unsigned char c) {
  std::array<char, 2> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), c, 16).ptr;
  return "\\x" + std::string(digits.data(), end);
}

// Returns the file form of one byte and whether it ends in a numeric escape.
std::pair<std::string, bool> escapedByte(unsigned char c, bool binary) {
  if (c == '\0') return {"\\0", true};
  if (const auto at = kWrittenEscapes.find(static_cast<char>(c)); at != std::string_view::npos) {
    return {std::string{'\\', kWrittenEscapeNames[at]}, false};
  }
  if (c == '"' || c == '\\') return {std::string{'\\', static_cast<char>(c)}, false};
  if (c <= 0x1F || (binary && c >= 0x7F)) return {hexEscape(c), true};
  return {std::string(1, static_cast<char>(c)), false};
}

// Escapes `bytes` as QSettings does. A hex digit right after a numeric escape is escaped
// too, or a reader would take it into that escape. Text keeps bytes from 0x7F on (its
// UTF-8) as they are; serialised data (`binary`) escapes them.
std::string escaped(std::string_view bytes, bool binary) {
  std::string out;
  bool quote = false;
  bool afterNumericEscape = false;
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    quote = quote || c == ';' || c == ',' || c == '=';
    if (afterNumericEscape && digitValue(ch, 16) >= 0) {
      out += hexEscape(c);
      continue;
    }
    auto [form, numeric] = escapedByte(c, binary);
    out += form;
    afterNumericEscape = numeric;
  }
  if (quote || (!out.empty() && (out.front() == ' ' || out.back() == ' '))) out = '"' + out + '"';
  return out;
}

// Reads a file form as QSettings does: escapes, quoted runs, and commas outside quotes that
// split the value into a list. Spaces around an unquoted item are not part of it.
class Unescaper {
 public:
  explicit Unescaper(std::string_view raw) : raw_(raw) {}

  [[nodiscard]] std::vector<icu::UnicodeString> items() {
    skipSpaces();
    while (at_ < raw_.size()) step();
    if (!quoted_) chopSpaces();
    return std::move(items_);
  }

 private:
  void step() {
    const char c = raw_[at_];
    if (c == '\\') {
      ++at_;
      escape();
      keep_ = items_.back().length();
    } else if (c == '"') {
      ++at_;
      quoted_ = true;
      inQuotes_ = !inQuotes_;
      if (!inQuotes_) skipSpaces();
    } else if (c == ',' && !inQuotes_) {
      ++at_;
      if (!quoted_) chopSpaces();
      items_.emplace_back();
      quoted_ = false;
      skipSpaces();
    } else {
      const std::size_t end = std::min(raw_.find_first_of("\\\",", at_ + 1), raw_.size());
      items_.back().append(icu::UnicodeString::fromUTF8(piece(raw_.substr(at_, end - at_))));
      at_ = end;
    }
  }

  void escape() {
    if (at_ >= raw_.size()) return;
    const char c = raw_[at_++];
    if (const auto named = kReadEscapeNames.find(c); named != std::string_view::npos) {
      items_.back().append(static_cast<char16_t>(kReadEscapes[named]));
    } else if (c == 'x' && at_ < raw_.size() && digitValue(raw_[at_], 16) >= 0) {
      number(16);
    } else if (digitValue(c, 8) >= 0) {
      --at_;
      number(8);
    }
    // Any other escaped character is dropped.
  }

  // Reads digits in `base` into one UTF-16 unit, wrapping as QSettings does.
  void number(int base) {
    unsigned value = 0;
    for (int digit = 0; at_ < raw_.size() && (digit = digitValue(raw_[at_], base)) >= 0; ++at_) {
      value = (value * static_cast<unsigned>(base) + static_cast<unsigned>(digit)) & 0xFFFFU;
    }
    items_.back().append(static_cast<char16_t>(value));
  }

  void skipSpaces() {
    while (at_ < raw_.size() && (raw_[at_] == ' ' || raw_[at_] == '\t')) ++at_;
    keep_ = items_.back().length();
  }

  void chopSpaces() {
    icu::UnicodeString& item = items_.back();
    std::int32_t end = item.length();
    while (end > keep_ && (item.charAt(end - 1) == u' ' || item.charAt(end - 1) == u'\t')) --end;
    item.truncate(end);
  }

  std::string_view raw_;
  std::size_t at_ = 0;
  std::vector<icu::UnicodeString> items_ = std::vector<icu::UnicodeString>(1);
  bool inQuotes_ = false;
  bool quoted_ = false;
  // Trailing spaces before this length came from quotes or escapes and stay.
  std::int32_t keep_ = 0;
};

// Returns the one value `raw` holds, or nothing for a list.
std::optional<icu::UnicodeString> single(std::string_view raw) {
  std::vector<icu::UnicodeString> items = Unescaper(raw).items();
  if (items.size() != 1) return std::nullopt;
  return std::move(items.front());
}

// Reads the QDataStream form of a map of integers, big-endian as QSettings writes it.
class StreamReader {
 public:
  explicit StreamReader(std::string_view bytes) : bytes_(bytes) {}

  [[nodiscard]] std::optional<IntegerMap> integerMap() {
    if (number(4) != kMapType) return std::nullopt;
    IntegerMap map;
    for (auto count = number(4); count > 0 && !failed_; --count) {
      std::string key = string();
      const auto value = integer();
      if (!value) return std::nullopt;
      map.insert_or_assign(std::move(key), *value);
    }
    if (failed_) return std::nullopt;
    return map;
  }

 private:
  std::uint64_t number(std::size_t size) {
    if (bytes_.size() - at_ < size) {
      failed_ = true;
      at_ = bytes_.size();
      return 0;
    }
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < size; ++k) {
      value = (value << 8) | static_cast<unsigned char>(bytes_[at_++]);
    }
    return value;
  }

  std::string string() {
    const auto size = number(4);
    if (size == kNullString) return {};
    if (size % 2 != 0 || size > bytes_.size() - at_) {
      failed_ = true;
      return {};
    }
    icu::UnicodeString units;
    for (std::uint64_t k = 0; k < size; k += 2) units.append(static_cast<char16_t>(number(2)));
    std::string text;
    units.toUTF8String(text);
    return text;
  }

  // Reads a variant that holds an integer, or an integer's text.
  std::optional<std::int64_t> integer() {
    std::optional<std::int64_t> value;
    switch (number(4)) {
      case kIntType:
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(number(4)));
        break;
      case kUIntType:
        value = static_cast<std::int64_t>(number(4));
        break;
      case kLongLongType:
        value = static_cast<std::int64_t>(number(8));
        break;
      case kULongLongType:
        if (const auto n = number(8); n <= std::numeric_limits<std::int64_t>::max()) {
          value = static_cast<std::int64_t>(n);
        }
        break;
      case kStringType:
        value = wholeNumber(string());
        break;
      default:
        break;
    }
    return failed_ ? std::nullopt : value;
  }

  static std::optional<std::int64_t> wholeNumber(const std::string& text) {
    std::int64_t n = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, n);
    if (error != std::errc{} || ptr != end) return std::nullopt;
    return n;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

void appendNumber(std::string& out, std::uint64_t value, int size) {
  for (int shift = 8 * (size - 1); shift >= 0; shift -= 8) {
    out += static_cast<char>((value >> shift) & 0xFF);
  }
}

void appendString(std::string& out, std::string_view text) {
  const icu::UnicodeString units = icu::UnicodeString::fromUTF8(piece(text));
  appendNumber(out, 2 * static_cast<std::uint64_t>(units.length()), 4);
  for (std::int32_t k = 0; k < units.length(); ++k) appendNumber(out, units.charAt(k), 2);
}

}  // namespace

std::string encodeText(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) {
    return escaped(std::string(kStringPrefix) + std::string(text) + ")", false);
  }
  if (text.starts_with('@')) return escaped("@" + std::string(text), false);
  return escaped(text, false);
}

std::optional<std::string> decodeText(std::string_view raw) {
  const auto value = single(raw);
  if (!value) return std::nullopt;
  std::string text;
  value->toUTF8String(text);
  if (!text.starts_with('@')) return text;
  if (text.starts_with(kStringPrefix) && text.ends_with(')')) {
    return text.substr(kStringPrefix.size(), text.size() - kStringPrefix.size() - 1);
  }
  for (const std::string_view prefix : kTypedPrefixes) {
    if (text.starts_with(prefix) && text.ends_with(')')) return std::nullopt;
  }
  return text.starts_with("@@") ? text.substr(1) : text;
}

std::string encodeIntegerMap(const IntegerMap& map) {
  std::string data(kVariantPrefix);
  appendNumber(data, kMapType, 4);
  appendNumber(data, map.size(), 4);
  for (const auto& [key, value] : map) {
    appendString(data, key);
    appendNumber(data, kLongLongType, 4);
    appendNumber(data, static_cast<std::uint64_t>(value), 8);
  }
  return escaped(data + ")", true);
}

std::optional<IntegerMap> decodeIntegerMap(std::string_view raw) {
  const auto value = single(raw);
  const auto prefix = static_cast<std::int32_t>(kVariantPrefix.size());
  if (!value || !value->startsWith(icu::UnicodeString::fromUTF8(piece(kVariantPrefix))) ||
      !value->endsWith(icu::UnicodeString(u')'))) {
    return std::nullopt;
  }
  std::string bytes;
  for (std::int32_t k = prefix; k + 1 < value->length(); ++k) {
    const char16_t unit = value->charAt(k);
    if (unit > 0xFF) return std::nullopt;
    bytes += static_cast<char>(unit);
  }
  return StreamReader(bytes).integerMap();
}

}  // namespace yakdrom::ini
