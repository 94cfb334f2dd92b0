#include "ui/settings/UserDictionaryPage.h"

#include <QDir>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QTimer>
#include <cmath>

#include "engine/store/UserFolders.h"
#include "ui/settings/AvailableFonts.h"
#include "ui/settings/ChoicePopUp.h"
#include "ui/settings/CodeChipView.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/UserDictionaryEditor.h"

namespace yakdrom {
namespace {

constexpr int kMinExplanationFontSize = 8;
constexpr int kMaxExplanationFontSize = 72;

// The folder of the learnt words as the user knows it: the home folder shown as "~".
QString shownFolder() {
  QString folder = QString::fromStdString(UserFolders::data().string()) + "/";
  const QString home = QDir::homePath();
  if (folder.startsWith(home + "/")) return "~" + folder.mid(home.size());
  return folder;
}

struct ImportExample {
  std::string_view line;
  std::string_view chinese;
  std::string_view english;
};

constexpr std::array<ImportExample, 2> kImportExamples = {{
    {"བོད་ 20", "「词 + 频次」，空格分隔", "word + frequency, space-separated"},
    {"བོད་", "省略频次，默认为 1", "frequency defaults to 1 when omitted"},
}};

}  // namespace

UserDictionaryPage::UserDictionaryPage(const SettingsPageContext& context)
    : context_(context),
      userDictCountLabel_(
          SettingsLayout::label({}, 11, QFont::Normal, SettingsLayout::Tone::secondary)),
      explanationSwitch_(new SwitchButton),
      explanationLanguagePopup_(ChoicePopUp<ExplanationLanguage>::make(context.language)),
      explanationFontPopup_(new ThemedPopUpButton),
      explanationFontSizeField_(new ThemedTextField(QStringLiteral("12"))),
      explanationFontSizeStepper_(new Stepper(kMinExplanationFontSize, kMaxExplanationFontSize,
                                              static_cast<int>(kDefaultExplanationFontSize))) {
  QVBoxLayout* stack = SettingsLayout::pageStack(*this);
  userDictCountLabel_->setAccessibleName(context_.text("用户词库", "User Dictionary"));
  stack->addWidget(userDictCountLabel_);
  buildExplanationCard(*stack);
  buildActionsCard(*stack);
  buildImportFormatCard(*stack);
  SettingsLayout::endPage(*stack);
  connectExplanationActions();
}

void UserDictionaryPage::buildExplanationCard(QVBoxLayout& stack) {
  QVBoxLayout* card = SettingsLayout::addCard(stack, 12);
  SettingsLayout::addRow(*card, context_.text("候选词显示释义", "Show Explanation in Candidates"),
                         explanationSwitch_);
  SettingsLayout::addSeparator(*card);
  SettingsLayout::addRow(*card, context_.text("释义语言", "Explanation Language"),
                         explanationLanguagePopup_);
  explanationFontPopup_->addItems(availableFonts());
  explanationFontPopup_->setFixedWidth(170);
  explanationFontSizeField_->setAlignment(Qt::AlignRight);
  explanationFontSizeField_->setFixedWidth(44);
  auto* font = new QWidget;
  auto* fontRow = new QHBoxLayout(font);
  fontRow->setContentsMargins(0, 0, 0, 0);
  fontRow->setSpacing(6);
  for (QWidget* control : std::initializer_list<QWidget*>{
           explanationFontPopup_, explanationFontSizeField_, explanationFontSizeStepper_}) {
    fontRow->addWidget(control, 0, Qt::AlignVCenter);
  }
  const QString fontLabel = context_.text("释义字体", "Explanation Font");
  SettingsLayout::addRow(*card, fontLabel, font);
  explanationFontPopup_->setAccessibleName(fontLabel);
  explanationFontSizeField_->setAccessibleName(context_.text("释义字号", "Explanation Font Size"));
  explanationFontSizeStepper_->upButton().setAccessibleName(context_.text("增大字号", "Larger"));
  explanationFontSizeStepper_->downButton().setAccessibleName(context_.text("减小字号", "Smaller"));
  card->addWidget(SettingsLayout::note(context_.text(
      "选中候选词时显示释义：可切换藏文（藏文词典）、汉文（藏汉大辞典）或英文（藏英词典）。",
      "Show a definition for the selected candidate: switch between Tibetan, Chinese "
      "(Tibetan-Chinese dictionary) or English (Tibetan-English dictionary).")));
}

void UserDictionaryPage::buildActionsCard(QVBoxLayout& stack) {
  QVBoxLayout* card = SettingsLayout::addCard(stack, 12);
  auto* row = new QHBoxLayout;
  row->setSpacing(12);
  using Action = void (UserDictionaryPage::*)();
  const std::pair<QString, Action> buttons[] = {
      {context_.text("查看 / 编辑…", "View / Edit…"), &UserDictionaryPage::editUserDictTapped},
      {context_.text("导入…", "Import…"), &UserDictionaryPage::importUserDictTapped},
      {context_.text("导出…", "Export…"), &UserDictionaryPage::exportUserDictTapped},
      {context_.text("备份", "Backup"), &UserDictionaryPage::backupUserDictTapped},
  };
  for (const auto& [title, action] : buttons) {
    auto* button = new FlatButton(title);
    connect(button, &QPushButton::clicked, this, action);
    row->addWidget(button);
  }
  row->addStretch(1);
  card->addLayout(row);
}

void UserDictionaryPage::buildImportFormatCard(QVBoxLayout& stack) {
  QVBoxLayout* card = SettingsLayout::addCard(stack, 10);
  card->addWidget(SettingsLayout::label(context_.text("导入词库格式", "Import Format"), 11,
                                        QFont::DemiBold, SettingsLayout::Tone::secondary));
  for (const ImportExample& example : kImportExamples) {
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(new CodeChipView(qtString(example.line)), 0, Qt::AlignVCenter);
    row->addWidget(SettingsLayout::label(context_.text(example.chinese, example.english), 11,
                                         QFont::Normal, SettingsLayout::Tone::secondary),
                   1, Qt::AlignVCenter);
    card->addLayout(row);
  }
  card->addWidget(SettingsLayout::note(
      context_.text("UTF-8 纯文本（.txt），每行一条；重复词条取较大频次，不叠加。",
                    "UTF-8 plain text (.txt), one entry per line; duplicates keep the larger "
                    "frequency (no summing).")));
}

void UserDictionaryPage::connectExplanationActions() {
  YakdromSettings& settings = context_.settings;
  connect(explanationSwitch_, &QAbstractButton::toggled, this,
          [&settings](bool on) { settings.setShowExplanation(on); });
  connect(explanationLanguagePopup_, &QComboBox::currentIndexChanged, this, [this, &settings] {
    settings.setExplanationLanguage(
        ChoicePopUp<ExplanationLanguage>::chosen(*explanationLanguagePopup_));
  });
  connect(explanationFontPopup_, &QComboBox::currentIndexChanged, this, [this, &settings] {
    settings.setExplanationFontName(explanationFontPopup_->selectedTitle()
                                        .value_or(qtString(kBundledFontFamily))
                                        .toStdString());
  });
  connect(explanationFontSizeField_, &QLineEdit::editingFinished, this,
          [this] { explanationFontSizeChanged(); });
  explanationFontSizeStepper_->onStep([this](int size) { explanationFontSizeStepped(size); });
}

void UserDictionaryPage::loadSettings() {
  const YakdromSettings& settings = context_.settings;
  const QSignalBlocker blockers[] = {QSignalBlocker(explanationSwitch_),
                                     QSignalBlocker(explanationLanguagePopup_),
                                     QSignalBlocker(explanationFontPopup_)};
  explanationSwitch_->setChecked(settings.showExplanation());
  ChoicePopUp<ExplanationLanguage>::select(*explanationLanguagePopup_,
                                           settings.explanationLanguage());
  explanationFontPopup_->selectTitle(QString::fromStdString(settings.explanationFontName()));
  const int size = static_cast<int>(settings.explanationFontSize());
  explanationFontSizeField_->setText(QString::number(size));
  explanationFontSizeStepper_->setValue(size);
}

void UserDictionaryPage::explanationFontSizeChanged() {
  bool parsed = false;
  const double size = explanationFontSizeField_->text().trimmed().toDouble(&parsed);
  if (!parsed || !(size >= kMinExplanationFontSize && size <= kMaxExplanationFontSize)) return;
  context_.settings.setExplanationFontSize(size);
  explanationFontSizeStepper_->setValue(static_cast<int>(size));
}

void UserDictionaryPage::explanationFontSizeStepped(int size) {
  context_.settings.setExplanationFontSize(size);
  explanationFontSizeField_->setText(QString::number(size));
}

void UserDictionaryPage::refreshUserDictCount() {
  const QString count = QString::number(context_.services.userDictionary.count());
  userDictCountLabel_->setText(context_.text("已记忆 ", "") + count +
                               context_.text(" 个词条 · 位于 ", " entries memorized · Stored in ") +
                               shownFolder());
}

void UserDictionaryPage::editUserDictTapped() {
  if (QDialog* open = context_.userDictSheet) {
    open->raise();
    open->activateWindow();
    return;
  }
  UserDictionary& dictionary = context_.services.userDictionary;
  auto* editor = new UserDictionaryEditor(
      dictionary.allEntries(), context_.language,
      [context = context_](const auto& opened, const auto& edited) {
        saveEdits(context, opened, edited);
      },
      &context_.window);
  const QString count = QString::number(dictionary.count());
  editor->setWindowTitle(context_.text("用户词库 · ", "User Dictionary · ") + count +
                         context_.text(" 条", " entries"));
  editor->setAttribute(Qt::WA_DeleteOnClose);
  editor->setWindowModality(Qt::WindowModal);
  context_.userDictSheet = editor;
  editor->open();
}

// The editor applies what the user changed to the words as they are now, so words learnt by
// typing while it was open are kept. It works from the context alone: the page may have been
// rebuilt in another language while the editor was open.
void UserDictionaryPage::saveEdits(const SettingsPageContext& context,
                                   const std::vector<UserDictionaryEntry>& opened,
                                   const std::vector<UserDictionaryEntry>& edited) {
  const auto saved = context.services.userDictionary.applyEdits(opened, edited);
  context.refreshFigures();
  if (!saved) {
    notifyFailure(context, "保存失败", "Save Failed", saved.error());
    return;
  }
  const QString count = QString::number(saved.value());
  const Notice notice{context.text("已保存", "Saved"),
                      context.text("用户词库已更新，共 ", "User dictionary updated with ") + count +
                          context.text(" 个词条。", " entries."),
                      std::nullopt};
  // After the editor has closed, so that the notice does not sit behind it.
  QTimer::singleShot(0, &context.window, [notify = context.notify, notice] { notify(notice); });
}

void UserDictionaryPage::importUserDictTapped() {
  const auto file = context_.services.files.chooseWordList(
      context_.window,
      context_.text("导入词表：每行「词 频次」或纯词。重复词条取较大频次，不叠加。",
                    "Import a word list: one \"word frequency\" pair per line, or words only. "
                    "Duplicates keep the larger frequency."));
  if (!file) return;
  const auto imported = context_.services.userDictionary.importWords(*file);
  if (!imported) {
    notifyFailure(context_, "导入失败", "Import Failed", imported.error());
    return;
  }
  context_.refreshFigures();
  const QString count = QString::number(imported.value());
  context_.notify({context_.text("导入成功", "Imported"),
                   context_.text("共导入 ", "") + count +
                       context_.text(" 个词条，已立即生效并落盘。",
                                     " entries imported. Effective immediately and saved to disk."),
                   std::nullopt});
}

void UserDictionaryPage::exportUserDictTapped() {
  const auto file = context_.services.files.chooseExportFile(
      context_.window,
      context_.text("导出全部用户词条（每行「词 频次」）。",
                    "Export all user entries (\"word frequency\" per line)."),
      context_.text("Yakdrom用户词库.txt", "Yakdrom User Dictionary.txt"));
  if (!file) return;
  const auto exported = context_.services.userDictionary.exportTo(*file);
  if (!exported) {
    notifyFailure(context_, "导出失败", "Export Failed", exported.error());
    return;
  }
  const QString count = QString::number(exported.value());
  context_.notify({context_.text("导出成功", "Exported"),
                   context_.text("已导出 ", "") + count +
                       context_.text(" 个词条到\n", " entries exported to\n") +
                       QString::fromStdString(file->string()),
                   *file});
}

void UserDictionaryPage::backupUserDictTapped() {
  const auto backup = context_.services.userDictionary.backup(UserDictionary::kDefaultBackupsKept);
  if (!backup) {
    notifyFailure(context_, "备份失败", "Backup Failed", backup.error());
    return;
  }
  const QString path = QString::fromStdString(backup.value().string());
  context_.notify(
      {context_.text("备份成功", "Backed Up"),
       context_.text("已保存到\n", "Saved to\n") + path +
           context_.text("\n（自动保留最近 10 份备份）", "\n(The 10 most recent backups are kept)"),
       backup.value()});
}

void UserDictionaryPage::notifyFailure(const SettingsPageContext& context, std::string_view chinese,
                                       std::string_view english, const FileError& error) {
  context.notify(
      {context.text(chinese, english), QString::fromStdString(error.message()), std::nullopt});
}

}  // namespace yakdrom
