// The "Candidates" tab: the candidate font and size with a preview, candidates per page,
// the panel style, prefix suggestions and the theme. Every control writes its setting as
// soon as it changes, so the next candidates of every running program follow it. Main
// thread.
#pragma once

#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>
#include <array>
#include <string_view>

#include "ui/settings/PageView.h"
#include "ui/settings/SettingsPageContext.h"
#include "ui/settings/SwitchButton.h"
#include "ui/settings/ThemedPopUpButton.h"

namespace yakdrom {

class CandidatesPage final : public PageView {
 public:
  /// The candidate counts offered, in menu order.
  static constexpr std::array<int, 9> kCounts = {5, 6, 7, 8, 9, 10, 12, 15, 20};
  /// The preview: the thirty consonants in alphabetical order, separated by tshegs.
  static constexpr std::string_view kPreviewText =
      "ཀ་ཁ་ག་ང་ཅ་ཆ་ཇ་ཉ་ཏ་ཐ་ད་ན་པ་བ་མ་ཙ་ཚ་ཛ་ཝ་ཞ་ཟ་འ་ཡ་ར་ལ་ཤ་ས་ཧ་ཨ";

  explicit CandidatesPage(const SettingsPageContext& context);

  /// Shows the stored settings in the controls without writing any of them back.
  void loadSettings();

  [[nodiscard]] ThemedPopUpButton& fontPopup() const { return *fontPopup_; }
  [[nodiscard]] QSlider& fontSizeSlider() const { return *fontSizeSlider_; }
  [[nodiscard]] QLabel& fontSizeValueLabel() const { return *fontSizeValueLabel_; }
  [[nodiscard]] QLabel& fontPreview() const { return *fontPreview_; }
  [[nodiscard]] ThemedPopUpButton& countPopup() const { return *countPopup_; }
  [[nodiscard]] ThemedPopUpButton& stylePopup() const { return *stylePopup_; }
  [[nodiscard]] ThemedPopUpButton& displayPopup() const { return *displayPopup_; }
  [[nodiscard]] SwitchButton& suggestionSwitch() const { return *suggestionSwitch_; }
  [[nodiscard]] ThemedPopUpButton& appearancePopup() const { return *appearancePopup_; }

 private:
  void buildControls();
  void buildPreview(QVBoxLayout& stack);
  void connectActions();
  void fontChanged();
  void fontSizeSliderChanged(int size);
  void countChanged();
  void appearanceChanged();
  void refreshPreviewFont();

  SettingsPageContext context_;
  ThemedPopUpButton* fontPopup_;
  QSlider* fontSizeSlider_;
  QLabel* fontSizeValueLabel_;
  QLabel* fontPreview_;
  ThemedPopUpButton* countPopup_;
  ThemedPopUpButton* stylePopup_;
  ThemedPopUpButton* displayPopup_;
  SwitchButton* suggestionSwitch_;
  ThemedPopUpButton* appearancePopup_;
};

}  // namespace yakdrom
