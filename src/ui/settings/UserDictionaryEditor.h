// The editor of the learnt words that the settings window opens: a table of words and
// frequencies to add to, delete from and edit in place, handed on only when the user saves.
// The caller sets its title and modality. Main thread.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <functional>
#include <vector>

#include "engine/learning/UserDictionaryFormat.h"
#include "ime/settings/InterfaceLanguage.h"
#include "ui/settings/UserDictionaryTableModel.h"

namespace yakdrom {

namespace detail {
class OpenEditorDelegate;
}  // namespace detail

class UserDictionaryEditor : public QDialog {
 public:
  /// Receives the entries the editor opened with and those it ends with, blank words left out.
  using SaveAction = std::function<void(const std::vector<UserDictionaryEntry>& opened,
                                        const std::vector<UserDictionaryEntry>& edited)>;

  /// Creates an editor of `entries` with texts in `language`; Save hands the result to
  /// `onSave`.
  UserDictionaryEditor(std::vector<UserDictionaryEntry> entries, InterfaceLanguage language,
                       SaveAction onSave, QWidget* parent = nullptr);

  /// Returns the working copy the table shows.
  [[nodiscard]] UserDictionaryTableModel& model() { return *model_; }
  /// Returns the table of words.
  [[nodiscard]] QTableView& table() { return *table_; }
  /// Returns the button that adds an empty word at the top.
  [[nodiscard]] QPushButton& addButton() { return *add_; }
  /// Returns the button that deletes the selected rows.
  [[nodiscard]] QPushButton& deleteButton() { return *delete_; }
  /// Returns the button that closes without saving.
  [[nodiscard]] QPushButton& cancelButton() { return *cancel_; }
  /// Returns the button that saves and closes.
  [[nodiscard]] QPushButton& saveButton() { return *save_; }

 private:
  void buildTable(InterfaceLanguage language);
  void buildButtons(InterfaceLanguage language);
  void addWord();
  void deleteSelected();
  void save();

  const std::vector<UserDictionaryEntry> opened_;
  const SaveAction onSave_;
  UserDictionaryTableModel* model_;
  detail::OpenEditorDelegate* delegate_;
  QTableView* table_;
  QPushButton* add_;
  QPushButton* delete_;
  QLabel* hint_;
  QPushButton* cancel_;
  QPushButton* save_;
};

}  // namespace yakdrom
