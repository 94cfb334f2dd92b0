#include "ui/settings/SettingsWindowController.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/SystemLog.h"
#include "ui/ApplicationIcon.h"
#include "ui/QtFontSystem.h"
#include "ui/settings/QtDesktopFiles.h"
#include "ui/settings/SheetBox.h"

namespace yakdrom {
namespace {

// What the program's own window works with besides the shared stores.
struct ProcessServices {
  QtFontSystem fonts;
  BundleResourceLocator resources = BundleResourceLocator::forRunningExecutable();
  LocalePreferredLanguages languages;
  QtDesktopFiles files;
  UpdateChecker updates = UpdateChecker::forProduct();
  SystemLog log;
  Uninstaller uninstaller{UninstallPlaces::forThisUser(), log};
};

// The pause lets the report's window close before the program goes.
void endProgramSoon() {
  QTimer::singleShot(200, QCoreApplication::instance(), &QCoreApplication::quit);
}

}  // namespace

SettingsWindowController& SettingsWindowController::shared() {
  // Never destroyed: widgets must not outlive the application, and the program may end
  // after its application object is gone.
  static auto* const process = new ProcessServices;
  static auto* const instance = new SettingsWindowController(
      {*PreferenceStore::shared(), UserDictionary::shared(), InputStatistics::shared(),
       process->fonts, process->resources, process->languages, process->files, process->updates,
       process->log, process->uninstaller, &endProgramSoon});
  return *instance;
}

SettingsWindowController::SettingsWindowController(SettingsServices services)
    : services_(services),
      settings_(services.preferences, services.fonts, services.resources),
      language_(interfaceLanguage(services.languages)),
      window_(std::make_unique<QWidget>(nullptr, Qt::Window | Qt::CustomizeWindowHint |
                                                     Qt::WindowTitleHint |
                                                     Qt::WindowCloseButtonHint)) {
  window_->setWindowIcon(ApplicationIcon::icon());
  new QVBoxLayout(window_.get());
  window_->layout()->setContentsMargins(0, 0, 0, 0);
  buildUI();
  loadSettings();
}

SettingsWindowController::~SettingsWindowController() = default;

void SettingsWindowController::buildUI() {
  window_->setWindowTitle(text("Yakdrom 设置", "Yakdrom Settings"));
  delete tabs_;
  tabs_ = new QTabWidget;
  tabs_->setDocumentMode(true);
  const SettingsPageContext context = pageContext();
  candidatesPage_ = new CandidatesPage(context);
  userDictionaryPage_ = new UserDictionaryPage(context);
  statisticsPage_ = new StatisticsPage(context);
  aboutPage_ = new AboutPage(context);
  tabs_->addTab(candidatesPage_, text("候选词", "Candidates"));
  tabs_->addTab(userDictionaryPage_, text("用户词库", "User Dictionary"));
  tabs_->addTab(statisticsPage_, text("统计", "Statistics"));
  tabs_->addTab(aboutPage_, text("关于", "About"));
  window_->layout()->addWidget(tabs_);
  fitWindowToTallestTab();
}

SettingsPageContext SettingsWindowController::pageContext() {
  return {services_,
          settings_,
          language_,
          *window_,
          userDictSheet_,
          [this](const Notice& notice) { showNotice(notice); },
          [this] {
            refreshUserDictCount();
            refreshStats();
          }};
}

void SettingsWindowController::loadSettings() {
  candidatesPage_->loadSettings();
  userDictionaryPage_->loadSettings();
}

void SettingsWindowController::fitWindowToTallestTab() {
  int width = kContentWidth;
  int height = kMinContentHeight;
  for (int i = 0; i < tabs_->count(); ++i) {
    QWidget* page = tabs_->widget(i);
    page->layout()->activate();
    width = std::max(width, page->minimumSizeHint().width());
    height = std::max(height, page->sizeHint().height());
  }
  for (int i = 0; i < tabs_->count(); ++i) tabs_->widget(i)->setFixedSize(width, height);
  window_->layout()->activate();
  window_->setFixedSize(window_->sizeHint());
}

void SettingsWindowController::show() {
  const InterfaceLanguage language = interfaceLanguage(services_.languages);
  if (language != language_) {
    language_ = language;
    buildUI();
    loadSettings();
  }
  refreshUserDictCount();
  refreshStats();
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void SettingsWindowController::refreshUserDictCount() {
  userDictionaryPage_->refreshUserDictCount();
}

void SettingsWindowController::refreshStats() { statisticsPage_->refreshStats(); }

void SettingsWindowController::showNotice(const Notice& notice) {
  std::vector<SheetButton> buttons{{text("好", "OK"), QMessageBox::AcceptRole, {}}};
  if (const auto file = notice.reveal) {
    buttons.push_back({text("在文件管理器中显示", "Show in File Manager"), QMessageBox::ActionRole,
                       [this, file] { services_.files.reveal(*file); }});
  }
  SheetBox::open(*window_, *window_, QMessageBox::Information, notice.title, notice.message,
                 std::move(buttons));
}

}  // namespace yakdrom
