#include <gtest/gtest.h>

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTest>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "ui/settings/UserDictionaryEditor.h"
#include "ui/settings/UserDictionaryTableModel.h"

namespace yakdrom {

// Shows an entry as the file would hold it, rather than as bytes, when a check fails.
void PrintTo(const UserDictionaryEntry& entry, std::ostream* out) {
  *out << '"' << entry.word << "\" " << entry.freq;
}

namespace {

using Entries = std::vector<UserDictionaryEntry>;
using Model = UserDictionaryTableModel;

const Entries kSeven = {{"ཀ", 7}, {"ཁ", 6}, {"ག", 5}, {"ང", 4}, {"ཅ", 3}, {"ཆ", 2}, {"ཇ", 1}};

TEST(UserDictionaryTableModelTest, CellsTakeWhatIsTypedAsTheDictionaryWouldRead) {
  Model model({{"ཀ", 3}}, InterfaceLanguage::english);
  const QModelIndex frequency = model.index(0, Model::frequencyColumn);
  const std::pair<const char*, std::int64_t> frequencies[] = {
      {"12", 12}, {" 7 ", 7}, {"\t9\t", 9}, {"2", 2},  {"1", 1},  {"0", 1},
      {"-3", 1},  {"abc", 1}, {"", 1},      {"  ", 1}, {"4x", 1}, {"99999999999999999999", 1}};
  for (const auto& [typed, expected] : frequencies) {
    SCOPED_TRACE(typed);
    ASSERT_TRUE(model.setData(frequency, QString::fromUtf8(typed), Qt::EditRole));
    EXPECT_EQ(model.entries()[0].freq, expected);
    EXPECT_EQ(model.data(frequency, Qt::DisplayRole).toString(), QString::number(expected));
  }
  const QModelIndex word = model.index(0, Model::wordColumn);
  const std::pair<const char*, const char*> words[] = {
      {" ཀ ", "ཀ"}, {"\tབོད་\n", "བོད་"}, {"ཀ ཁ", "ཀ ཁ"}, {" \r\n", ""}};
  for (const auto& [typed, expected] : words) {
    SCOPED_TRACE(typed);
    ASSERT_TRUE(model.setData(word, QString::fromUtf8(typed), Qt::EditRole));
    EXPECT_EQ(model.entries()[0].word, expected);
  }
  EXPECT_EQ(model.entries().size(), 1U);  // an empty word stays in the working copy
  EXPECT_EQ(model.data(frequency, Qt::TextAlignmentRole).toInt(),
            static_cast<int>(Qt::AlignRight | Qt::AlignVCenter));
  EXPECT_EQ(model.headerData(Model::frequencyColumn, Qt::Horizontal, Qt::DisplayRole), "Frequency");
  EXPECT_EQ(Model({}, InterfaceLanguage::chinese)
                .headerData(Model::wordColumn, Qt::Horizontal, Qt::DisplayRole),
            "词条");
}

TEST(UserDictionaryTableModelTest, RowsAreAddedAtTheTopAndRemovedExactly) {
  Model model(kSeven, InterfaceLanguage::english);
  model.addEmptyRow();
  EXPECT_EQ(model.entries().front(), (UserDictionaryEntry{"", 1}));
  EXPECT_EQ(model.savedEntries(), kSeven);
  model.removeRows({0, 3, 5});  // the empty row, ག and ཅ
  EXPECT_EQ(model.entries(), (Entries{{"ཀ", 7}, {"ཁ", 6}, {"ང", 4}, {"ཆ", 2}, {"ཇ", 1}}));
}

// The editor of the seven entries, shown, with every Save it makes recorded.
class UserDictionaryEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    editor_.show();
    QApplication::setActiveWindow(&editor_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor_));
  }

  // Types `text` into the cell editor that has the focus.
  static void typeIntoCell(const QString& text) {
    auto* cell = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(cell, nullptr);
    QTest::keyClicks(cell, text);
  }

  std::vector<std::pair<Entries, Entries>> saves_;
  UserDictionaryEditor editor_{kSeven, InterfaceLanguage::english,
                               [this](const Entries& opened, const Entries& edited) {
                                 saves_.emplace_back(opened, edited);
                               }};
};

TEST_F(UserDictionaryEditorTest, AddStartsEditingAnEmptyTopRowThatSavesAsNothing) {
  QTest::mouseClick(&editor_.addButton(), Qt::LeftButton);
  EXPECT_EQ(editor_.model().entries().size(), kSeven.size() + 1);
  EXPECT_EQ(editor_.table().selectionModel()->selectedRows().size(), 1);
  EXPECT_EQ(editor_.table().currentIndex(), editor_.model().index(0, Model::wordColumn));
  const QWidget* cell = QApplication::focusWidget();
  ASSERT_NE(qobject_cast<const QLineEdit*>(cell), nullptr);  // the word's editor is open
  EXPECT_EQ(cell->parent(), editor_.table().viewport());
  editor_.saveButton().click();
  ASSERT_EQ(saves_.size(), 1U);
  EXPECT_EQ(saves_[0], std::pair(kSeven, kSeven));
  EXPECT_EQ(editor_.result(), QDialog::Accepted);
}

TEST_F(UserDictionaryEditorTest, DeleteRemovesTheSelectedRowsAndSaveHandsOnBothLists) {
  editor_.deleteButton().click();  // nothing selected
  EXPECT_EQ(editor_.model().entries(), kSeven);
  QItemSelectionModel& selection = *editor_.table().selectionModel();
  for (const int row : {2, 5}) {
    selection.select(editor_.model().index(row, Model::wordColumn),
                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  editor_.deleteButton().click();
  const Entries edited = {{"ཀ", 7}, {"ཁ", 6}, {"ང", 4}, {"ཅ", 3}, {"ཇ", 1}};
  EXPECT_EQ(editor_.model().entries(), edited);
  editor_.saveButton().click();
  ASSERT_EQ(saves_.size(), 1U);
  EXPECT_EQ(saves_[0], std::pair(kSeven, edited));
}

// Clicking Save need not take the focus from the cell, so only Save itself can store it.
TEST_F(UserDictionaryEditorTest, SaveStoresTheCellStillBeingEdited) {
  QTest::mouseClick(&editor_.addButton(), Qt::LeftButton);
  typeIntoCell("nga");
  const QModelIndex frequency = editor_.model().index(1, Model::frequencyColumn);
  editor_.table().setCurrentIndex(frequency);  // stores the word
  editor_.table().edit(frequency);
  typeIntoCell("12");
  editor_.saveButton().click();
  ASSERT_EQ(saves_.size(), 1U);
  Entries edited = kSeven;
  edited.front().freq = 12;  // the cell opens with its 7 selected, so typing replaces it
  edited.insert(edited.begin(), {"nga", 1});
  EXPECT_EQ(saves_[0].second, edited);
}

TEST_F(UserDictionaryEditorTest, CancelAndEscapeCloseWithoutSaving) {
  QTest::mouseClick(&editor_.addButton(), Qt::LeftButton);
  typeIntoCell("nga");
  editor_.cancelButton().click();
  EXPECT_EQ(editor_.result(), QDialog::Rejected);
  EXPECT_FALSE(editor_.isVisible());
  editor_.show();
  editor_.table().setFocus();
  QTest::keyClick(&editor_.table(), Qt::Key_Escape);
  EXPECT_FALSE(editor_.isVisible());
  EXPECT_TRUE(saves_.empty());
}

// Return in a cell only ends that cell's edit; Return elsewhere is Save.
TEST_F(UserDictionaryEditorTest, ReturnEndsACellEditThenSaves) {
  QTest::mouseClick(&editor_.addButton(), Qt::LeftButton);
  typeIntoCell("nga");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(saves_.empty());
  EXPECT_EQ(editor_.model().entries().front(), (UserDictionaryEntry{"nga", 1}));
  editor_.table().setFocus();
  QTest::keyClick(&editor_.table(), Qt::Key_Return);
  ASSERT_EQ(saves_.size(), 1U);
  EXPECT_EQ(saves_[0].second.front(), (UserDictionaryEntry{"nga", 1}));
  EXPECT_EQ(editor_.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace yakdrom
