#include "ime/settings/YakdromSettings.h"

#include <cmath>

namespace yakdrom {
namespace {

// An absent number reads as 0, which no rule accepts, so absent keys get the defaults too.
double positiveSize(const PreferenceStore& store, std::string_view key, double fallback) {
  const double size = store.real(key).value_or(0);
  // An infinite size would pass "greater than 0" and leave nothing drawable.
  return size > 0 && std::isfinite(size) ? size : fallback;
}

template <class Choice>
Choice storedChoice(const PreferenceStore& store, std::string_view key, Choice fallback) {
  return choiceFromRawValue<Choice>(store.integer(key).value_or(0)).value_or(fallback);
}

// A key holding something that is no Boolean reads as false, as the platform store does.
bool storedSwitch(const PreferenceStore& store, std::string_view key, bool absent) {
  return store.contains(key) ? store.boolean(key).value_or(false) : absent;
}

}  // namespace

YakdromSettings::YakdromSettings(PreferenceStore& store, FontSystem& fonts,
                                 const ResourceLocator& resources)
    : store_(store), fonts_(fonts), resources_(resources) {}

std::string YakdromSettings::candidateFontName() const {
  return store_.string(kCandidateFontNameKey).value_or(std::string(kBundledFontFamily));
}

void YakdromSettings::setCandidateFontName(std::string_view name) {
  store_.setString(kCandidateFontNameKey, name);
}

double YakdromSettings::candidateFontSize() const {
  return positiveSize(store_, kCandidateFontSizeKey, kDefaultCandidateFontSize);
}

void YakdromSettings::setCandidateFontSize(double size) {
  store_.setReal(kCandidateFontSizeKey, size);
}

int YakdromSettings::candidateCount() const {
  const std::int64_t count = store_.integer(kCandidateCountKey).value_or(0);
  return count >= kMinCandidateCount && count <= kMaxCandidateCount ? static_cast<int>(count)
                                                                    : kDefaultCandidateCount;
}

void YakdromSettings::setCandidateCount(std::int64_t count) {
  store_.setInteger(kCandidateCountKey, count);
}

CandidatePanelStyle YakdromSettings::panelStyle() const {
  return storedChoice(store_, kPanelStyleKey, CandidatePanelStyle::singleColumn);
}

void YakdromSettings::setPanelStyle(CandidatePanelStyle style) {
  store_.setInteger(kPanelStyleKey, rawValue(style));
}

bool YakdromSettings::suggestionEnabled() const {
  return storedSwitch(store_, kSuggestionEnabledKey, true);
}

void YakdromSettings::setSuggestionEnabled(bool enabled) {
  store_.setBoolean(kSuggestionEnabledKey, enabled);
}

bool YakdromSettings::showExplanation() const {
  return storedSwitch(store_, kShowExplanationKey, false);
}

void YakdromSettings::setShowExplanation(bool show) {
  store_.setBoolean(kShowExplanationKey, show);
}

CandidateDisplay YakdromSettings::candidateDisplay() const {
  return storedChoice(store_, kCandidateDisplayKey, CandidateDisplay::automatic);
}

bool YakdromSettings::usesDesktopPanel(bool waylandSession) const {
  const CandidateDisplay display = candidateDisplay();
  return display == CandidateDisplay::desktopPanel ||
         (display == CandidateDisplay::automatic && waylandSession);
}

void YakdromSettings::setCandidateDisplay(CandidateDisplay display) {
  store_.setInteger(kCandidateDisplayKey, rawValue(display));
}

AppearancePreference YakdromSettings::appearancePreference() const {
  return storedChoice(store_, kAppearanceKey, AppearancePreference::system);
}

void YakdromSettings::setAppearancePreference(AppearancePreference appearance) {
  store_.setInteger(kAppearanceKey, rawValue(appearance));
}

ExplanationLanguage YakdromSettings::explanationLanguage() const {
  return storedChoice(store_, kExplanationLanguageKey, ExplanationLanguage::tibetan);
}

void YakdromSettings::setExplanationLanguage(ExplanationLanguage language) {
  store_.setInteger(kExplanationLanguageKey, rawValue(language));
}

std::string YakdromSettings::explanationFontName() const {
  return store_.string(kExplanationFontNameKey).value_or(std::string(kBundledFontFamily));
}

void YakdromSettings::setExplanationFontName(std::string_view name) {
  store_.setString(kExplanationFontNameKey, name);
}

double YakdromSettings::explanationFontSize() const {
  return positiveSize(store_, kExplanationFontSizeKey, kDefaultExplanationFontSize);
}

void YakdromSettings::setExplanationFontSize(double size) {
  store_.setReal(kExplanationFontSizeKey, size);
}

Font YakdromSettings::candidateFont() const {
  return resolveFont(candidateFontName(), candidateFontSize(), candidateFont_);
}

Font YakdromSettings::explanationFont() const {
  return resolveFont(explanationFontName(), explanationFontSize(), explanationFont_);
}

// A stored name the platform no longer knows (a font the user chose and later removed)
// falls back to the face of the program's own font file before the user-interface font.
Font YakdromSettings::resolveFont(const std::string& name, double size, ResolvedFont& last) const {
  if (last.font && last.name == name && last.size == size) return *last.font;
  last.name = name;
  last.size = size;
  last.font = fonts_.font(name, size);
  if (!last.font) {
    if (const auto file = resources_.find(kBundledFontFamily, "ttf")) {
      (void)fonts_.registerFontFile(*file);
      last.font = fonts_.font(kBundledFontFace, size);
    }
  }
  if (!last.font) last.font = fonts_.systemFont(size);
  return *last.font;
}

}  // namespace yakdrom
