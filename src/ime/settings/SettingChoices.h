// The enumerated settings (panel style, explanation language, appearance): their stored raw
// values, the order the menus list them in, and their Chinese and English labels. Constant
// data; any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

enum class CandidatePanelStyle : std::int64_t { singleColumn = 1, grid = 2, singleRow = 3 };
enum class ExplanationLanguage : std::int64_t { tibetan = 1, chinese = 2, english = 3 };
enum class AppearancePreference : std::int64_t { system = 0, light = 1, dark = 2 };
/// Where the candidates appear: our own window beside the caret, or the desktop's own
/// candidate panel, which alone can be placed at the caret on Wayland.
enum class CandidateDisplay : std::int64_t { automatic = 0, ownWindow = 1, desktopPanel = 2 };

template <class Choice>
struct ChoiceLabel {
  Choice choice;
  std::string_view chinese;
  std::string_view english;
};

namespace detail {

inline constexpr std::array<ChoiceLabel<CandidatePanelStyle>, 3> kPanelStyleLabels = {{
    {CandidatePanelStyle::singleColumn, "单列", "Single Column"},
    {CandidatePanelStyle::grid, "网格", "Grid"},
    {CandidatePanelStyle::singleRow, "单行", "Single Row"},
}};
inline constexpr std::array<ChoiceLabel<ExplanationLanguage>, 3> kExplanationLanguageLabels = {{
    {ExplanationLanguage::tibetan, "藏文", "Tibetan"},
    {ExplanationLanguage::chinese, "汉文", "Chinese"},
    {ExplanationLanguage::english, "英文", "English"},
}};
inline constexpr std::array<ChoiceLabel<AppearancePreference>, 3> kAppearanceLabels = {{
    {AppearancePreference::system, "系统默认", "System"},
    {AppearancePreference::light, "明亮", "Light"},
    {AppearancePreference::dark, "暗黑", "Dark"},
}};
inline constexpr std::array<ChoiceLabel<CandidateDisplay>, 3> kCandidateDisplayLabels = {{
    {CandidateDisplay::automatic, "自动", "Automatic"},
    {CandidateDisplay::ownWindow, "输入法窗口", "Input Method Window"},
    {CandidateDisplay::desktopPanel, "桌面面板", "Desktop Panel"},
}};

constexpr std::span<const ChoiceLabel<CandidatePanelStyle>> labels(CandidatePanelStyle) {
  return kPanelStyleLabels;
}
constexpr std::span<const ChoiceLabel<ExplanationLanguage>> labels(ExplanationLanguage) {
  return kExplanationLanguageLabels;
}
constexpr std::span<const ChoiceLabel<AppearancePreference>> labels(AppearancePreference) {
  return kAppearanceLabels;
}
constexpr std::span<const ChoiceLabel<CandidateDisplay>> labels(CandidateDisplay) {
  return kCandidateDisplayLabels;
}

}  // namespace detail

/// Returns every case of `Choice` with its labels, in declaration order (the menu order).
template <class Choice>
[[nodiscard]] constexpr std::span<const ChoiceLabel<Choice>> allChoices() {
  return detail::labels(Choice{});
}

/// Returns the value stored for `choice`.
template <class Choice>
[[nodiscard]] constexpr std::int64_t rawValue(Choice choice) {
  return static_cast<std::int64_t>(choice);
}

/// Returns the case whose raw value is `raw`, or nothing for a value outside the table.
template <class Choice>
[[nodiscard]] constexpr std::optional<Choice> choiceFromRawValue(std::int64_t raw) {
  for (const auto& entry : allChoices<Choice>()) {
    if (rawValue(entry.choice) == raw) return entry.choice;
  }
  return std::nullopt;
}

/// Returns the label of `choice` in `language`.
template <class Choice>
[[nodiscard]] constexpr std::string_view label(Choice choice, InterfaceLanguage language) {
  for (const auto& entry : allChoices<Choice>()) {
    if (entry.choice == choice) return localized(language, entry.chinese, entry.english);
  }
  return {};
}

}  // namespace yakdrom
