#include "frontends/cli/SettingAssignment.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "ime/settings/YakdromSettings.h"

namespace yakdrom::cli {
namespace {

enum class SettingType { integer, real, boolean, string };

struct SettingKey {
  std::string_view key;
  SettingType type;
};

// The types under which the settings window stores each key.
constexpr std::array<SettingKey, 10> kSettingKeys = {{
    {kCandidateFontNameKey, SettingType::string},
    {kCandidateFontSizeKey, SettingType::real},
    {kCandidateCountKey, SettingType::integer},
    {kPanelStyleKey, SettingType::integer},
    {kSuggestionEnabledKey, SettingType::boolean},
    {kShowExplanationKey, SettingType::boolean},
    {kAppearanceKey, SettingType::integer},
    {kExplanationLanguageKey, SettingType::integer},
    {kExplanationFontNameKey, SettingType::string},
    {kExplanationFontSizeKey, SettingType::real},
}};

constexpr std::array<std::string_view, 4> kTypeNames = {"an integer", "a number", "true or false",
                                                        "a string"};

template <class Number>
std::optional<Number> parseNumber(std::string_view text) {
  Number n{};
  const char* end = text.data() + text.size();
  const auto [ptr, error] = std::from_chars(text.data(), end, n);
  if (text.empty() || error != std::errc{} || ptr != end) return std::nullopt;
  return n;
}

// Stores `value` as `type`; returns false when the text is not of that type.
bool storeTyped(PreferenceStore& store, std::string_view key, SettingType type,
                std::string_view value) {
  switch (type) {
    case SettingType::integer:
      if (const auto n = parseNumber<std::int64_t>(value)) {
        store.setInteger(key, *n);
        return true;
      }
      return false;
    case SettingType::real:
      if (const auto d = parseNumber<double>(value); d && std::isfinite(*d)) {
        store.setReal(key, *d);
        return true;
      }
      return false;
    case SettingType::boolean:
      if (value != "true" && value != "false") return false;
      store.setBoolean(key, value == "true");
      return true;
    case SettingType::string:
      store.setString(key, value);
      return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> applySetting(std::string_view assignment, PreferenceStore& store) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos) {
    return "\"" + std::string(assignment) + "\" is not KEY=VALUE";
  }
  const std::string_view key = assignment.substr(0, equals);
  const std::string_view value = assignment.substr(equals + 1);
  for (const auto& setting : kSettingKeys) {
    if (setting.key != key) continue;
    if (storeTyped(store, key, setting.type, value)) return std::nullopt;
    return std::string(key) + " takes " +
           std::string(kTypeNames[static_cast<std::size_t>(setting.type)]) + ", not \"" +
           std::string(value) + "\"";
  }
  return "unknown settings key \"" + std::string(key) + "\"";
}

}  // namespace yakdrom::cli
