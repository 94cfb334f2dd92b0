#include "ui/settings/AboutPage.h"

#include <QHBoxLayout>

#include "YakdromVersion.h"
#include "ui/ApplicationIcon.h"
#include "ui/settings/SettingsLayout.h"

namespace yakdrom {
namespace {

constexpr int kIconSize = 72;

}  // namespace

AboutPage::AboutPage(const SettingsPageContext& context)
    : updateButton_(new FlatButton(context.text("检查更新", "Check for Updates"))),
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
  // Both arrive with the installer; until then they say so rather than do nothing.
  updateButton_->setEnabled(false);
  updateButton_->setToolTip(
      context.text("更新检查将随安装程序提供", "The update check comes with the installer"));
  uninstallButton_->setEnabled(false);
  uninstallButton_->setToolTip(
      context.text("卸载将随安装程序提供", "Uninstalling comes with the installer"));
  SettingsLayout::endPage(*stack);
}

}  // namespace yakdrom
