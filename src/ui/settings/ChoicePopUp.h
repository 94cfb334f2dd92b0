// A pop-up offering every case of a setting's choice (panel style, theme, explanation
// language) in declaration order, so that an item's index names its case. Main thread.
#pragma once

#include <algorithm>
#include <cstddef>

#include "ime/settings/SettingChoices.h"
#include "ui/LocalizedText.h"
#include "ui/settings/ThemedPopUpButton.h"

namespace yakdrom {

template <class Choice>
class ChoicePopUp {
 public:
  /// Returns a pop-up holding the labels of every case in `language`.
  [[nodiscard]] static ThemedPopUpButton* make(InterfaceLanguage language) {
    auto* popUp = new ThemedPopUpButton;
    for (const auto& label : allChoices<Choice>()) {
      popUp->addItem(localizedText(language, label.chinese, label.english));
    }
    return popUp;
  }

  /// Chooses the item of `choice`.
  static void select(ThemedPopUpButton& popUp, Choice choice) {
    const auto choices = allChoices<Choice>();
    const auto it = std::find_if(choices.begin(), choices.end(),
                                 [choice](const auto& label) { return label.choice == choice; });
    popUp.setCurrentIndex(static_cast<int>(it - choices.begin()));
  }

  /// Returns the case of the chosen item; the first case when none is chosen.
  [[nodiscard]] static Choice chosen(const ThemedPopUpButton& popUp) {
    const auto choices = allChoices<Choice>();
    const auto index = static_cast<std::size_t>(popUp.currentIndex());
    return index < choices.size() ? choices[index].choice : choices.front().choice;
  }
};

}  // namespace yakdrom
