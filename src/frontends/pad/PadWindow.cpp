#include "frontends/pad/PadWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QSaveFile>

#include "ime/help/PadKeys.h"
#include "ui/LocalizedText.h"
#include "ui/QtFont.h"

namespace yakdrom {
namespace {

constexpr QSize kInitialSize(720, 480);

// The pad's own keys, after the candidate keys every pad shares.
constexpr std::array<PadKey, 3> kQtPadKeys = {{
    {"Ctrl+Shift+S", "另存为…", "save the text as a file"},
    {"Ctrl+Q", "退出（未保存时会先询问）", "quit (asking first when the text is not saved)"},
    {"F1", "键盘图", "the keyboard chart"},
}};

}  // namespace

PadWindow::PadWindow(PadServices services, InterfaceLanguage language)
    : language_(language), editor_(new QPlainTextEdit(this)) {
  setWindowTitle(localizedText(language, "Yakdrom 输入板", "Yakdrom Pad"));
  setCentralWidget(editor_);
  resize(kInitialSize);
  inputMethod_ = std::make_unique<PadInputMethod>(*editor_, services);
  // What is typed reads best in the font the candidates are shown in.
  editor_->setFont(toQFont(inputMethod_->settings().candidateFont()));
  buildMenus(services.settingsWindow);
  editor_->setFocus();
}

void PadWindow::buildMenus(SettingsWindowOpener& settingsWindow) {
  QMenu* file = menuBar()->addMenu(localizedText(language_, "文件", "File"));
  file->addAction(localizedText(language_, "另存为…", "Save As…"), QKeySequence::SaveAs, this,
                  &PadWindow::saveAs);
  file->addSeparator();
  file->addAction(localizedText(language_, "退出", "Quit"), QKeySequence::Quit, this,
                  &QWidget::close);
  QMenu* edit = menuBar()->addMenu(localizedText(language_, "编辑", "Edit"));
  edit->addAction(localizedText(language_, "全部拷贝", "Copy All"), this, &PadWindow::copyAll);
  edit->addSeparator();
  edit->addAction(localizedText(language_, "设置…", "Settings…"), QKeySequence::Preferences, this,
                  [&settingsWindow] { settingsWindow.show(); });
  QMenu* help = menuBar()->addMenu(localizedText(language_, "帮助", "Help"));
  help->addAction(localizedText(language_, "键盘图", "Keyboard Chart"), QKeySequence::HelpContents,
                  this, &PadWindow::showKeyboardChart);
  help->addAction(localizedText(language_, "输入板按键", "Pad Keys"), this,
                  &PadWindow::showPadKeys);
}

void PadWindow::showKeyboardChart() {
  if (chart_ == nullptr) chart_ = new KeyboardChartWindow(language_, this);
  chart_->show();
  chart_->raise();
  chart_->activateWindow();
}

// The keys in a table, so they line up whatever the font.
QString PadWindow::padKeysText() const {
  const auto row = [this](std::string_view keys, std::string_view chinese,
                          std::string_view english) {
    return "<tr><td><b>" + qtString(keys).toHtmlEscaped() + "</b></td><td>" +
           localizedText(language_, chinese, english).toHtmlEscaped() + "</td></tr>";
  };
  QString text = "<table cellspacing='6'>";
  for (const PadKey& key : kCandidateKeys) text += row(key.keys, key.chinese, key.english);
  for (const PadKey& key : kQtPadKeys) text += row(key.keys, key.chinese, key.english);
  return text + "</table><p>" +
         localizedText(language_, kLayoutHintChinese, kLayoutHintEnglish).toHtmlEscaped() + "</p>";
}

void PadWindow::showPadKeys() {
  auto* box =
      new QMessageBox(QMessageBox::Information, localizedText(language_, "输入板按键", "Pad Keys"),
                      padKeysText(), QMessageBox::Ok, this);
  box->setTextFormat(Qt::RichText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
}

void PadWindow::copyAll() {
  inputMethod_->commitComposition();
  QApplication::clipboard()->setText(editor_->toPlainText());
}

std::optional<QString> PadWindow::saveTo(const QString& path) {
  inputMethod_->commitComposition();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  const QByteArray bytes = editor_->toPlainText().toUtf8();
  if (file.write(bytes) != bytes.size() || !file.commit()) return file.errorString();
  editor_->document()->setModified(false);
  return std::nullopt;
}

void PadWindow::closeEvent(QCloseEvent* event) {
  inputMethod_->commitComposition();
  if (editor_->document()->isEmpty() || !editor_->document()->isModified()) return;
  QMessageBox ask(QMessageBox::Question, windowTitle(),
                  localizedText(language_, "关闭前保存文本吗？", "Save the text before closing?"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  ask.setInformativeText(localizedText(language_, "不保存的话，所打的文字就会丢失。",
                                       "Unless it is saved, the text typed here is lost."));
  const int answer = ask.exec();
  if (answer == QMessageBox::Save) saveAs();
  const bool keep = answer == QMessageBox::Cancel ||
                    (answer == QMessageBox::Save && editor_->document()->isModified());
  if (keep) event->ignore();
}

void PadWindow::saveAs() {
  const QString path = QFileDialog::getSaveFileName(
      this, localizedText(language_, "另存为", "Save As"), QString(),
      localizedText(language_, "文本文件 (*.txt)", "Text files (*.txt)"));
  if (path.isEmpty()) return;
  if (const auto failure = saveTo(path)) {
    QMessageBox::warning(
        this, localizedText(language_, "无法保存", "Cannot Save"),
        localizedText(language_, "无法保存文件：", "The file could not be saved: ") + *failure);
  }
}

}  // namespace yakdrom
