#include "engine/store/IniDocument.h"

#include <unicode/unistr.h>

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace yakdrom {
namespace {

icu::StringPiece piece(std::string_view text) {
  return {text.data(), static_cast<std::int32_t>(text.size())};
}

bool isPlainKeyCharacter(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
         (unit >= u'0' && unit <= u'9') || unit == u'_' || unit == u'-' || unit == u'.';
}

std::string upperHex(unsigned value, int digits) {
  constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::string out(static_cast<std::size_t>(digits), '0');
  for (auto k = out.rbegin(); k != out.rend(); ++k, value >>= 4) *k = kDigits[value & 0xF];
  return out;
}

// QSettings' form of a key: '/' becomes '\', and any character but a letter, a digit, '_',
// '-' and '.' becomes %XX or, above U+00FF, %UXXXX of its UTF-16 units.
std::string escapedKey(std::string_view key) {
  const icu::UnicodeString units = icu::UnicodeString::fromUTF8(piece(key));
  std::string out;
  for (std::int32_t k = 0; k < units.length(); ++k) {
    const char16_t unit = units.charAt(k);
    if (unit == u'/') {
      out += '\\';
    } else if (isPlainKeyCharacter(unit)) {
      out += static_cast<char>(unit);
    } else {
      out += unit <= 0xFF ? "%" + upperHex(unit, 2) : "%U" + upperHex(unit, 4);
    }
  }
  return out;
}

// Reads the %XX or %UXXXX at `at` into `units` and returns the position after it, or returns
// nothing when it is not well formed.
std::optional<std::size_t> readPercentEscape(std::string_view key, std::size_t at,
                                             icu::UnicodeString& units) {
  const bool wide = at + 1 < key.size() && key[at + 1] == 'U';
  const std::size_t first = at + (wide ? 2 : 1);
  const std::size_t end = first + (wide ? 4 : 2);
  if (end > key.size()) return std::nullopt;
  unsigned value = 0;
  const auto [ptr, error] = std::from_chars(key.data() + first, key.data() + end, value, 16);
  if (error != std::errc{} || ptr != key.data() + end) return std::nullopt;
  units.append(static_cast<char16_t>(value));
  return end;
}

std::string unescapedKey(std::string_view key) {
  icu::UnicodeString units;
  for (std::size_t at = 0; at < key.size();) {
    if (key[at] == '\\') {
      units.append(u'/');
      ++at;
      continue;
    }
    if (key[at] == '%') {
      if (const auto next = readPercentEscape(key, at, units)) {
        at = *next;
        continue;
      }
    }
    const std::size_t end = std::min(key.find_first_of("%\\", at + 1), key.size());
    units.append(icu::UnicodeString::fromUTF8(piece(key.substr(at, end - at))));
    at = end;
  }
  std::string out;
  units.toUTF8String(out);
  return out;
}

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Drops a comment: ';' and what follows, outside quotes and escapes.
std::string_view withoutComment(std::string_view line) {
  bool inQuotes = false;
  for (std::size_t k = 0; k < line.size(); ++k) {
    if (line[k] == '\\') {
      ++k;
    } else if (line[k] == '"') {
      inQuotes = !inQuotes;
    } else if (line[k] == ';' && !inQuotes) {
      return line.substr(0, k);
    }
  }
  return line;
}

// QSettings keeps keys without a group in [General], whatever its case.
bool isGeneralHeader(std::string_view header) {
  const std::string_view name = trimmed(header.substr(1, header.find(']') - 1));
  return std::equal(name.begin(), name.end(), std::string_view("general").begin(),
                    std::string_view("general").end(),
                    [](char a, char b) { return (a | 0x20) == b; });
}

}  // namespace

IniDocument IniDocument::parse(std::string_view text) {
  IniDocument document;
  bool inGeneral = true;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (trimmed(line).starts_with('[')) inGeneral = isGeneralHeader(trimmed(line));
    if (!inGeneral) {
      document.otherSections_.append(line).append("\n");
      continue;
    }
    const std::string_view entry = withoutComment(line);
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos || trimmed(entry).starts_with('[')) continue;
    document.general_.insert_or_assign(unescapedKey(trimmed(entry.substr(0, equals))),
                                       std::string(entry.substr(equals + 1)));
  }
  return document;
}

std::string IniDocument::text() const {
  std::string out;
  if (!general_.empty()) out += "[General]\n";
  for (const auto& [key, raw] : general_) out += escapedKey(key) + "=" + raw + "\n";
  const std::size_t last = otherSections_.find_last_not_of("\n \t");
  if (last == std::string::npos) return out;
  if (!out.empty()) out += "\n";
  return out.append(otherSections_, 0, last + 1).append("\n");
}

std::optional<std::string> IniDocument::value(std::string_view key) const {
  const auto it = general_.find(key);
  if (it == general_.end()) return std::nullopt;
  return it->second;
}

void IniDocument::set(std::string_view key, std::string raw) {
  general_.insert_or_assign(std::string(key), std::move(raw));
}

bool IniDocument::remove(std::string_view key) {
  const auto it = general_.find(key);
  if (it == general_.end()) return false;
  general_.erase(it);
  return true;
}

}  // namespace yakdrom
