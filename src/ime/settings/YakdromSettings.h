// The typed view of the user's settings. Every getter reads the preference store afresh and
// maps absent or invalid values to the defaults, so a change made in the settings window
// applies from the next read. Only the fonts' resolution is kept, since candidates ask for
// both fonts on every key: the platform is asked again when a font's name or size changes.
// Main thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/store/PreferenceStore.h"
#include "ime/platform/FontSystem.h"
#include "ime/platform/ResourceLocator.h"
#include "ime/settings/SettingChoices.h"

namespace yakdrom {

inline constexpr std::string_view kCandidateFontNameKey = "Yakdrom.candidateFontName";
inline constexpr std::string_view kCandidateFontSizeKey = "Yakdrom.candidateFontSize";
inline constexpr std::string_view kCandidateCountKey = "Yakdrom.candidateCount";
inline constexpr std::string_view kPanelStyleKey = "Yakdrom.panelStyle";
inline constexpr std::string_view kSuggestionEnabledKey = "Yakdrom.suggestionEnabled";
inline constexpr std::string_view kShowExplanationKey = "Yakdrom.showExplanation";
inline constexpr std::string_view kAppearanceKey = "Yakdrom.appearance";
inline constexpr std::string_view kExplanationLanguageKey = "Yakdrom.explanationLanguage";
inline constexpr std::string_view kExplanationFontNameKey = "Yakdrom.explanationFontName";
inline constexpr std::string_view kExplanationFontSizeKey = "Yakdrom.explanationFontSize";
inline constexpr std::string_view kCandidateDisplayKey = "Yakdrom.candidateDisplay";

/// The family of the candidate font the program carries, and the face it registers.
inline constexpr std::string_view kBundledFontFamily = "Yakdrom-SN";
inline constexpr std::string_view kBundledFontFace = "Yakdrom-SN-R";

inline constexpr double kDefaultCandidateFontSize = 20;
inline constexpr double kDefaultExplanationFontSize = 12;
inline constexpr int kDefaultCandidateCount = 10;
inline constexpr int kMinCandidateCount = 5;
inline constexpr int kMaxCandidateCount = 20;

class YakdromSettings {
 public:
  /// Reads and writes `store`; resolves fonts through `fonts` and the program's `resources`.
  /// All three must outlive the settings.
  YakdromSettings(PreferenceStore& store, FontSystem& fonts, const ResourceLocator& resources);

  /// Returns the stored name, or "Yakdrom-SN" when none is stored.
  [[nodiscard]] std::string candidateFontName() const;
  /// Returns the stored size when it is a positive finite number, else 20.
  [[nodiscard]] double candidateFontSize() const;
  /// Returns the stored count when it lies in 5 to 20, else 10.
  [[nodiscard]] int candidateCount() const;
  /// Returns singleRow for 3, grid for 2 and singleColumn for anything else.
  [[nodiscard]] CandidatePanelStyle panelStyle() const;
  /// Returns the stored switch; true when none is stored.
  [[nodiscard]] bool suggestionEnabled() const;
  /// Returns the stored switch; false when none is stored.
  [[nodiscard]] bool showExplanation() const;
  /// Returns dark for 2, light for 1 and system for anything else.
  [[nodiscard]] AppearancePreference appearancePreference() const;
  /// Returns english for 3, chinese for 2 and tibetan for anything else.
  [[nodiscard]] ExplanationLanguage explanationLanguage() const;
  /// Returns the stored name, or "Yakdrom-SN" when none is stored.
  [[nodiscard]] std::string explanationFontName() const;
  /// Returns the stored size when it is a positive finite number, else 12.
  [[nodiscard]] double explanationFontSize() const;
  /// Returns desktopPanel for 2, ownWindow for 1 and automatic for anything else.
  [[nodiscard]] CandidateDisplay candidateDisplay() const;
  /// Returns where the candidates go in a desktop session that is Wayland
  /// (`waylandSession`) or not: automatic means the desktop's panel on Wayland, where our
  /// own window cannot be placed at the caret, and our window elsewhere.
  [[nodiscard]] bool usesDesktopPanel(bool waylandSession) const;

  /// Stores the value unchanged under the property's key (enumerations as their raw values);
  /// the read rules apply when it is read back.
  void setCandidateFontName(std::string_view name);
  void setCandidateFontSize(double size);
  void setCandidateCount(std::int64_t count);
  void setPanelStyle(CandidatePanelStyle style);
  void setSuggestionEnabled(bool enabled);
  void setShowExplanation(bool show);
  void setAppearancePreference(AppearancePreference appearance);
  void setExplanationLanguage(ExplanationLanguage language);
  void setExplanationFontName(std::string_view name);
  void setExplanationFontSize(double size);
  void setCandidateDisplay(CandidateDisplay display);

  /// Returns a scope in which all reads see the store as the first of them did; the
  /// controller opens one per key, so that a file is looked at once per key.
  [[nodiscard]] PreferenceStore::ReadTogether readTogether() const {
    return PreferenceStore::ReadTogether(store_);
  }

  /// Returns the candidate font: the stored font if the platform has it, else the face of
  /// the program's own font file, else the user-interface font; at the stored size.
  [[nodiscard]] Font candidateFont() const;
  /// Returns the explanation font, chosen as candidateFont chooses.
  [[nodiscard]] Font explanationFont() const;

 private:
  // The font last resolved for a name and size.
  struct ResolvedFont {
    std::string name;
    double size = 0;
    std::optional<Font> font;
  };

  [[nodiscard]] Font resolveFont(const std::string& name, double size, ResolvedFont& last) const;

  PreferenceStore& store_;
  FontSystem& fonts_;
  const ResourceLocator& resources_;
  mutable ResolvedFont candidateFont_;
  mutable ResolvedFont explanationFont_;
};

}  // namespace yakdrom
