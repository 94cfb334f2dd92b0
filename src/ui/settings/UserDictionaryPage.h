// The "User Dictionary" tab: how many words are learnt and where they are kept, the
// explanation settings, and the four actions on the learnt words (view and edit, import,
// export, back up), each reporting its result in a notice. Main thread.
#pragma once

#include <QLabel>
#include <QVBoxLayout>

#include "ui/settings/FlatButton.h"
#include "ui/settings/PageView.h"
#include "ui/settings/SettingsPageContext.h"
#include "ui/settings/Stepper.h"
#include "ui/settings/SwitchButton.h"
#include "ui/settings/ThemedPopUpButton.h"
#include "ui/settings/ThemedTextField.h"

namespace yakdrom {

class UserDictionaryPage final : public PageView {
 public:
  explicit UserDictionaryPage(const SettingsPageContext& context);

  /// Shows the stored explanation settings in the controls without writing them back.
  void loadSettings();
  /// Shows the number of learnt words afresh.
  void refreshUserDictCount();

  /// Opens the editor of the learnt words, or brings the open one to the front.
  void editUserDictTapped();
  void importUserDictTapped();
  void exportUserDictTapped();
  void backupUserDictTapped();

  [[nodiscard]] QLabel& userDictCountLabel() const { return *userDictCountLabel_; }
  [[nodiscard]] SwitchButton& explanationSwitch() const { return *explanationSwitch_; }
  [[nodiscard]] ThemedPopUpButton& explanationLanguagePopup() const {
    return *explanationLanguagePopup_;
  }
  [[nodiscard]] ThemedPopUpButton& explanationFontPopup() const { return *explanationFontPopup_; }
  [[nodiscard]] ThemedTextField& explanationFontSizeField() const {
    return *explanationFontSizeField_;
  }
  [[nodiscard]] Stepper& explanationFontSizeStepper() const { return *explanationFontSizeStepper_; }

 private:
  void buildExplanationCard(QVBoxLayout& stack);
  void buildActionsCard(QVBoxLayout& stack);
  void buildImportFormatCard(QVBoxLayout& stack);
  void connectExplanationActions();
  void explanationFontSizeChanged();
  void explanationFontSizeStepped(int size);
  static void saveEdits(const SettingsPageContext& context,
                        const std::vector<UserDictionaryEntry>& opened,
                        const std::vector<UserDictionaryEntry>& edited);
  static void notifyFailure(const SettingsPageContext& context, std::string_view chinese,
                            std::string_view english, const FileError& error);

  SettingsPageContext context_;
  QLabel* userDictCountLabel_;
  SwitchButton* explanationSwitch_;
  ThemedPopUpButton* explanationLanguagePopup_;
  ThemedPopUpButton* explanationFontPopup_;
  ThemedTextField* explanationFontSizeField_;
  Stepper* explanationFontSizeStepper_;
};

}  // namespace yakdrom
