#include "engine/learning/ParticleEngine.h"

#include <algorithm>

#include "engine/text/Text.h"

namespace yakdrom {
namespace {

constexpr std::string_view kKyi = "\u0F40\u0FB1\u0F72";         // ཀྱི
constexpr std::string_view kGyi = "\u0F42\u0FB1\u0F72";         // གྱི
constexpr std::string_view kKyis = "\u0F40\u0FB1\u0F72\u0F66";  // ཀྱིས
constexpr std::string_view kGyis = "\u0F42\u0FB1\u0F72\u0F66";  // གྱིས
constexpr std::string_view kSu = "\u0F66\u0F74";                // སུ
constexpr std::string_view kTu = "\u0F4F\u0F74";                // ཏུ
constexpr std::string_view kDu = "\u0F51\u0F74";                // དུ

constexpr std::array<std::string_view, 7> kForms = {kKyi, kGyi, kKyis, kGyis, kSu, kTu, kDu};

struct ParticleRow {
  char32_t lastLetter;
  std::array<std::string_view, 3> forms;  // by Kind; empty for none
};

// Particle forms by the last letter of the previous word.
constexpr std::array<ParticleRow, 9> kParticleTable = {{
    {U'\u0F42', {kKyi, kKyis, kTu}},  // ག
    {U'\u0F44', {"", "", kDu}},       // ང
    {U'\u0F51', {kKyi, kKyis, kDu}},  // ད
    {U'\u0F53', {kGyi, kGyis, kDu}},  // ན
    {U'\u0F56', {kKyi, kKyis, kTu}},  // བ
    {U'\u0F58', {kGyi, kGyis, kDu}},  // མ
    {U'\u0F62', {kGyi, kGyis, kDu}},  // ར
    {U'\u0F63', {kGyi, kGyis, kDu}},  // ལ
    {U'\u0F66', {kKyi, kKyis, kSu}},  // ས
}};

constexpr std::array<std::string_view, 3> kRawValues = {"genitive", "ergative", "dative"};

bool isVowelSign(char32_t c) { return c >= 0x0F71 && c <= 0x0F7D; }

// Vowel signs, the signs that follow them and the two tshegs end a word without being
// its letter.
bool isSkippedMark(char32_t c) {
  return (c >= 0x0F71 && c <= 0x0F83) || c == 0x0F0B || c == 0x0F0C;
}

bool isSubjoined(char32_t c) { return c >= 0x0F90 && c <= 0x0FBC; }

// Each subjoined letter sits 0x50 above its base letter.
constexpr char32_t kSubjoinedOffset = 0x50;

}  // namespace

std::string_view ParticleEngine::rawValue(Kind kind) {
  return kRawValues[static_cast<std::size_t>(kind)];
}

std::optional<ParticleEngine::Kind> ParticleEngine::kind(std::string_view raw) {
  for (const Kind k : kAllKinds) {
    if (rawValue(k) == raw) return k;
  }
  return std::nullopt;
}

// A letter after the last vowel sign, or anywhere when there is none.
bool ParticleEngine::hasSuffix(std::string_view word) {
  bool letterAfterVowel = false;
  for (std::size_t i = 0; i < word.size();) {
    const char32_t c = text::decodeScalarAt(word, i);
    if (isVowelSign(c)) {
      letterAfterVowel = false;
    } else if (!isSkippedMark(c)) {
      letterAfterVowel = true;
    }
  }
  return letterAfterVowel;
}

std::optional<char32_t> ParticleEngine::lastLetter(std::string_view word) {
  std::optional<char32_t> letter;
  for (std::size_t i = 0; i < word.size();) {
    const char32_t c = text::decodeScalarAt(word, i);
    if (!isSkippedMark(c)) letter = isSubjoined(c) ? c - kSubjoinedOffset : c;
  }
  return letter;
}

std::optional<std::string> ParticleEngine::particle(Kind kind, std::string_view previousWord) {
  if (!hasSuffix(previousWord)) return std::nullopt;
  const auto letter = lastLetter(previousWord);
  if (!letter) return std::nullopt;
  const auto row = std::find_if(kParticleTable.begin(), kParticleTable.end(),
                                [&](const ParticleRow& r) { return r.lastLetter == *letter; });
  if (row == kParticleTable.end()) return std::nullopt;
  const std::string_view form = row->forms[static_cast<std::size_t>(kind)];
  if (form.empty()) return std::nullopt;
  return std::string(form);
}

bool ParticleEngine::isParticle(std::string_view text) {
  return std::any_of(kForms.begin(), kForms.end(),
                     [&](std::string_view form) { return text::canonicallyEqual(text, form); });
}

}  // namespace yakdrom
