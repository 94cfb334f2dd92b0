#include "ui/settings/AboutPage.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <variant>

#include "YakdromVersion.h"
#include "ui/ApplicationIcon.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/SheetBox.h"

namespace yakdrom {
namespace {

constexpr int kIconSize = 72;

}  // namespace

AboutPage::AboutPage(const SettingsPageContext& context)
    : context_(context),
      updateButton_(new FlatButton(context.text("检查更新", "Check for Updates"))),
      uninstallButton_(new FlatButton(context.text("卸载 Yakdrom", "Uninstall Yakdrom"))) {
  QVBoxLayout* stack = SettingsLayout::pageStack(*this);
  auto* icon = new QLabel;
  icon->setPixmap(ApplicationIcon::pixmap(kIconSize, devicePixelRatioF()));
  icon->setFixedSize(kIconSize, kIconSize);
  stack->addWidget(icon, 0, Qt::AlignHCenter);
  stack->addWidget(
      SettingsLayout::label(context.text("Yakdrom 藏文输入法", "Yakdrom Tibetan Input Method"), 17,
                            QFont::DemiBold),
      0, Qt::AlignHCenter);
  const QString version = qtString(kYakdromVersion);
  stack->addWidget(
      SettingsLayout::label(context.text("版本 ", "Version ") + version +
                                context.text(" · 智能堆叠引擎 · 前缀联想",
                                             " · Smart Stacking Engine · Prefix Suggestions"),
                            12, QFont::Normal, SettingsLayout::Tone::secondary),
      0, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(16);
  buttons->addStretch(1);
  buttons->addWidget(updateButton_);
  buttons->addWidget(uninstallButton_);
  buttons->addStretch(1);
  stack->addLayout(buttons);
  uninstallButton_->setDestructive();
  connect(updateButton_, &QPushButton::clicked, this, &AboutPage::checkForUpdatesTapped);
  connect(uninstallButton_, &QPushButton::clicked, this, &AboutPage::uninstallTapped);
  SettingsLayout::endPage(*stack);
}

void AboutPage::checkForUpdatesTapped() {
  const QString title = updateButton_->text();
  updateButton_->setEnabled(false);
  updateButton_->setText(context_.text("检查中…", "Checking…"));
  // A change of language rebuilds the pages, so the answer may find this one gone.
  context_.services.updates.check(
      [page = QPointer<AboutPage>(this), title](const UpdateCheckResult& result) {
        if (page == nullptr) return;
        std::visit([&page](const auto& found) { page->showResult(found); }, result);
        page->updateButton_->setText(title);
        page->updateButton_->setEnabled(true);
      });
}

void AboutPage::showResult(const UpdateInfo& update) {
  SheetBox::open(context_.window, *this, QMessageBox::Information,
                 context_.text("发现新版本 ", "Version ") + update.version +
                     context_.text("", " is available"),
                 context_.language == InterfaceLanguage::chinese ? update.notesZh : update.notesEn,
                 {{context_.text("下载", "Download"), QMessageBox::AcceptRole,
                   [this, update] { openDownload(update); }},
                  {context_.text("稍后", "Later"), QMessageBox::RejectRole, {}}});
}

void AboutPage::showResult(const UpToDate&) {
  context_.notify({context_.text("已是最新版本", "You're up to date"),
                   context_.text("当前版本 ", "Current version ") +
                       UpdateChecker::currentVersion() + context_.text("。", "."),
                   std::nullopt});
}

void AboutPage::showResult(const UpdateCheckFailure& failure) {
  context_.services.log.write("update check failed: " + failure.reason.toStdString());
  context_.notify(
      {context_.text("无法检查更新", "Unable to check for updates"),
       context_.text("请检查网络连接后重试。", "Check your network connection and try again."),
       std::nullopt});
}

void AboutPage::openDownload(const UpdateInfo& update) {
  if (update.download.isEmpty()) return;
  if (const auto url = context_.services.updates.downloadUrl(update)) {
    context_.services.files.openUrl(*url);
  } else {
    context_.services.log.write("refused to open the download address " +
                                update.download.toStdString());
  }
}

void AboutPage::uninstallTapped() {
  SheetBox::open(
      context_.window, *this, QMessageBox::Warning,
      context_.text("卸载 Yakdrom？", "Uninstall Yakdrom?"),
      context_.text(
          "将删除 Yakdrom 安装的文件（~/.local/lib/yakdrom 及系统范围的副本），并退出输入法。",
          "The files Yakdrom installed (in ~/.local/lib/yakdrom and any system-wide copy) will "
          "be removed and the input method will quit."),
      {{context_.text("卸载", "Uninstall"), QMessageBox::AcceptRole, [this] { uninstall(); }},
       {context_.text("取消", "Cancel"), QMessageBox::RejectRole, {}}});
}

// The report is in Chinese whatever the window's language, as the uninstaller words it.
void AboutPage::uninstall() {
  const UninstallReport report = context_.services.uninstaller.run();
  const UninstallMessage message = report.message();
  SettingsServices& services = context_.services;
  const bool removed = !report.removed.empty();
  // Owned by the window, not the page: the program ends whatever became of the page.
  SheetBox::open(context_.window, context_.window, QMessageBox::Information, message.title,
                 message.text, {{message.button, QMessageBox::AcceptRole, [&services, removed] {
                                   if (removed) (void)services.uninstaller.stopEngine();
                                   services.endProgram();
                                 }}});
}

}  // namespace yakdrom
