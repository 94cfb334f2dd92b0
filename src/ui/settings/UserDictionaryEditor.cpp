#include "ui/settings/UserDictionaryEditor.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <set>
#include <utility>

#include "ui/LocalizedText.h"
#include "ui/settings/SettingsLayout.h"

namespace yakdrom {

namespace detail {

// Remembers the cell editor it opened, so that Save can store what is typed there: clicking
// a button need not take the focus from the cell, and only losing focus would store it.
class OpenEditorDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    open_ = editor;
    return editor;
  }

  /// Stores the text of the open cell editor in the model and closes it; the view ignores
  /// an editor it has closed already.
  void commitOpenEditor() {
    if (open_.isNull()) return;
    QWidget* editor = open_.data();
    open_.clear();
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
  }

 private:
  mutable QPointer<QWidget> open_;
};

}  // namespace detail

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 430;
constexpr int kRowHeight = 24;
constexpr int kWordColumnWidth = 340;
constexpr int kFrequencyColumnWidth = 90;
constexpr int kWordColumnMinimum = 160;
constexpr int kFrequencyColumnMinimum = 60;
constexpr int kAddWidth = 68;
constexpr int kDeleteWidth = 84;
constexpr qreal kHintPointSize = 11;
constexpr qreal kWordPointSize = 22;

QPushButton* makeButton(QWidget* parent, InterfaceLanguage language, const char* chinese,
                        const char* english, const char* chineseName, const char* englishName) {
  auto* button = new QPushButton(localizedText(language, chinese, english), parent);
  button->setAccessibleName(localizedText(language, chineseName, englishName));
  return button;
}

}  // namespace

UserDictionaryEditor::UserDictionaryEditor(std::vector<UserDictionaryEntry> entries,
                                           InterfaceLanguage language, SaveAction onSave,
                                           QWidget* parent)
    : QDialog(parent),
      opened_(entries),
      onSave_(std::move(onSave)),
      model_(new UserDictionaryTableModel(std::move(entries), language, this)),
      delegate_(new detail::OpenEditorDelegate(this)),
      table_(new QTableView(this)) {
  resize(kWidth, kHeight);
  buildTable(language);
  buildButtons(language);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(delete_);
  buttons->addWidget(hint_, 1);
  buttons->addWidget(cancel_);
  buttons->addWidget(save_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);

  setTabOrder(table_, add_);
  setTabOrder(add_, delete_);
  setTabOrder(delete_, cancel_);
  setTabOrder(cancel_, save_);
  connect(add_, &QPushButton::clicked, this, [this] { addWord(); });
  connect(delete_, &QPushButton::clicked, this, [this] { deleteSelected(); });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(save_, &QPushButton::clicked, this, [this] { save(); });
}

void UserDictionaryEditor::buildTable(InterfaceLanguage language) {
  table_->setModel(model_);
  table_->setItemDelegate(delegate_);
  table_->setAccessibleName(localizedText(language, "用户词库词条", "Learnt words"));
  table_->setAlternatingRowColors(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::AnyKeyPressed);
  table_->verticalHeader()->hide();
  // Tibetan stacks reach far above and below the line, so the rows take the font's height.
  const QFont words = SettingsLayout::tibetanFont(kWordPointSize);
  table_->setFont(words);
  table_->verticalHeader()->setDefaultSectionSize(
      std::max(kRowHeight, QFontMetrics(words).height() + 4));
  QHeaderView* header = table_->horizontalHeader();
  header->setStretchLastSection(true);
  header->setMinimumSectionSize(kFrequencyColumnMinimum);
  header->resizeSection(UserDictionaryTableModel::wordColumn, kWordColumnWidth);
  header->resizeSection(UserDictionaryTableModel::frequencyColumn, kFrequencyColumnWidth);
  // The header has one minimum for all sections; the word column needs a wider one.
  connect(header, &QHeaderView::sectionResized, this,
          [header](int section, int /*oldSize*/, int size) {
            if (section == UserDictionaryTableModel::wordColumn && size < kWordColumnMinimum) {
              header->resizeSection(section, kWordColumnMinimum);
            }
          });
}

void UserDictionaryEditor::buildButtons(InterfaceLanguage language) {
  add_ = makeButton(this, language, "新增", "Add", "新增词条", "Add a word");
  add_->setFixedWidth(kAddWidth);
  delete_ =
      makeButton(this, language, "删除所选", "Delete", "删除所选词条", "Delete the selected words");
  delete_->setFixedWidth(kDeleteWidth);
  hint_ = new QLabel(localizedText(language, "点击单元格即可修改；保存后立即生效。",
                                   "Click a cell to edit. Changes apply on Save."),
                     this);
  hint_->setAccessibleName(hint_->text());
  hint_->setFont(SettingsLayout::font(kHintPointSize));
  // A role rather than a colour, so that the hint follows a switch between light and dark.
  hint_->setForegroundRole(QPalette::PlaceholderText);
  cancel_ = makeButton(this, language, "取消", "Cancel", "取消", "Cancel");
  save_ = makeButton(this, language, "保存", "Save", "保存", "Save");
  save_->setDefault(true);
}

void UserDictionaryEditor::addWord() {
  delegate_->commitOpenEditor();
  model_->addEmptyRow();
  const QModelIndex word = model_->index(0, UserDictionaryTableModel::wordColumn);
  table_->selectionModel()->setCurrentIndex(
      word, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  table_->edit(word);
}

void UserDictionaryEditor::deleteSelected() {
  delegate_->commitOpenEditor();
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
    rows.insert(index.row());
  }
  model_->removeRows(rows);
}

void UserDictionaryEditor::save() {
  delegate_->commitOpenEditor();
  if (onSave_) onSave_(opened_, model_->savedEntries());
  accept();
}

}  // namespace yakdrom
