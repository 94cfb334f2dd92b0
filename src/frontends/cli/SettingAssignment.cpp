#include "frontends/cli/SettingAssignment.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/NullFontSystem.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom::cli {
namespace {

enum class SettingType { integer, real, boolean, string };

std::string numberText(double value) {
  char buffer[32];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return {buffer, end};
}

using ReadBack = std::string (*)(const YakdromSettings&);

struct SettingKey {
  std::string_view key;
  SettingType type;
  // The value the input method uses, written as the stored value would be; null for keys
  // that take every value of their type.
  ReadBack readBack;
};

template <class Choice>
std::string rawText(Choice choice) {
  return std::to_string(rawValue(choice));
}

// The types under which the settings window stores each key, and how the settings read it.
constexpr std::array<SettingKey, 11> kSettingKeys = {{
    {kCandidateFontNameKey, SettingType::string, nullptr},
    {kCandidateFontSizeKey, SettingType::real,
     [](const YakdromSettings& s) { return numberText(s.candidateFontSize()); }},
    {kCandidateCountKey, SettingType::integer,
     [](const YakdromSettings& s) { return std::to_string(s.candidateCount()); }},
    {kPanelStyleKey, SettingType::integer,
     [](const YakdromSettings& s) { return rawText(s.panelStyle()); }},
    {kSuggestionEnabledKey, SettingType::boolean, nullptr},
    {kShowExplanationKey, SettingType::boolean, nullptr},
    {kAppearanceKey, SettingType::integer,
     [](const YakdromSettings& s) { return rawText(s.appearancePreference()); }},
    {kExplanationLanguageKey, SettingType::integer,
     [](const YakdromSettings& s) { return rawText(s.explanationLanguage()); }},
    {kExplanationFontNameKey, SettingType::string, nullptr},
    {kExplanationFontSizeKey, SettingType::real,
     [](const YakdromSettings& s) { return numberText(s.explanationFontSize()); }},
    {kCandidateDisplayKey, SettingType::integer,
     [](const YakdromSettings& s) { return rawText(s.candidateDisplay()); }},
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

std::string storedText(const PreferenceStore& store, const SettingKey& setting) {
  return setting.type == SettingType::real ? numberText(store.real(setting.key).value_or(0))
                                           : std::to_string(store.integer(setting.key).value_or(0));
}

// Reads the stored value back through the settings themselves, so the warning follows
// their rules wherever they change.
std::optional<std::string> readBackWarning(PreferenceStore& store, const SettingKey& setting,
                                           std::string_view assignment) {
  if (!setting.readBack) return std::nullopt;
  NullFontSystem fonts;
  const BundleResourceLocator noResources({});
  const std::string used = setting.readBack(YakdromSettings(store, fonts, noResources));
  if (used == storedText(store, setting)) return std::nullopt;
  return std::string(assignment) + " is out of range; the input method uses " + used;
}

}  // namespace

AppliedSetting applySetting(std::string_view assignment, PreferenceStore& store) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos) {
    return {"\"" + std::string(assignment) + "\" is not KEY=VALUE", std::nullopt};
  }
  const std::string_view key = assignment.substr(0, equals);
  const std::string_view value = assignment.substr(equals + 1);
  for (const auto& setting : kSettingKeys) {
    if (setting.key != key) continue;
    if (storeTyped(store, key, setting.type, value)) {
      return {std::nullopt, readBackWarning(store, setting, assignment)};
    }
    return {std::string(key) + " takes " +
                std::string(kTypeNames[static_cast<std::size_t>(setting.type)]) + ", not \"" +
                std::string(value) + "\"",
            std::nullopt};
  }
  return {"unknown settings key \"" + std::string(key) + "\"", std::nullopt};
}

}  // namespace yakdrom::cli
