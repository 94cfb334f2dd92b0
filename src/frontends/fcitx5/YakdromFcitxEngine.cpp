#include "frontends/fcitx5/YakdromFcitxEngine.h"

#include <fcitx/addonmanager.h>
#include <fcitx/inputcontextmanager.h>
#include <fcitx/inputmethodentry.h>
#include <fcitx/statusarea.h>
#include <fcitx/userinterfacemanager.h>

#include <algorithm>
#include <array>
#include <string>

#include "engine/lexicon/TibetanDictionary.h"
#include "engine/store/FilePreferenceStore.h"
#include "frontends/fcitx5/FcitxAddonBundle.h"
#include "ime/startup/InputMethodStartup.h"

namespace yakdrom {
namespace {

constexpr const char* kContextProperty = "yakdromContext";

struct MenuActionName {
  MenuAction action;
  const char* name;
};

// Fcitx names every action of the daemon in one namespace.
constexpr std::array<MenuActionName, 1> kMenuActions = {{
    {MenuAction::openSettings, "yakdrom-settings"},
}};

// The daemon may hold no store yet, or the one another of our addons installed.
std::shared_ptr<PreferenceStore> userPreferences() {
  static_cast<void>(PreferenceStore::installShared(
      std::make_shared<FilePreferenceStore>(FilePreferenceStore::userFile())));
  return PreferenceStore::shared();
}

}  // namespace

YakdromFcitxEngine::YakdromFcitxEngine(fcitx::Instance* instance)
    : instance_(instance),
      bundle_(FcitxAddonBundle::forLoadedLibrary()),
      preferences_(userPreferences()),
      resources_(bundle_.path().empty() ? bundle_.path() : bundle_.path() / "Resources"),
      settings_(*preferences_, fonts_, resources_),
      settingsWindow_(bundle_.path() / "bin" / "yakdrom-settings", log_),
      dictionary_(bundle_, log_, TibetanDictionary::shared()),
      services_{settings_,
                screens_,
                log_,
                languages_,
                settingsWindow_,
                dictionary_,
                UserDictionary::shared(),
                InputStatistics::shared()},
      contexts_([this](fcitx::InputContext& context) {
        return new YakdromFcitxContext(context, services_);
      }) {
  instance_->inputContextManager().registerProperty(kContextProperty, &contexts_);
  registerMenuActions();
  dictionary_.preloadIfNeeded();
}

YakdromFcitxEngine::~YakdromFcitxEngine() {
  for (const auto& action : menuActions_) {
    instance_->userInterfaceManager().unregisterAction(action.get());
  }
  saveLearntWords(UserDictionary::shared(), log_);
  InputStatistics::shared().flush();
}

std::vector<fcitx::InputMethodEntry> YakdromFcitxEngine::listInputMethods() {
  std::vector<fcitx::InputMethodEntry> entries;
  entries.emplace_back(kFcitxInputMethodName, "Tibetan (Yakdrom)", "bo", kFcitxInputMethodName)
      .setNativeName("བོད་ཡིག (Yakdrom)")
      .setIcon("yakdrom")
      .setLabel("ཡ");
  return entries;
}

YakdromFcitxContext& YakdromFcitxEngine::contextOf(fcitx::InputContext& context) {
  return *context.propertyFor(&contexts_);
}

void YakdromFcitxEngine::keyEvent(const fcitx::InputMethodEntry& /*entry*/,
                                  fcitx::KeyEvent& keyEvent) {
  auto& context = contextOf(*keyEvent.inputContext());
  if (context.processKey(keyEvent.rawKey(), keyEvent.isRelease())) keyEvent.filterAndAccept();
}

void YakdromFcitxEngine::activate(const fcitx::InputMethodEntry& /*entry*/,
                                  fcitx::InputContextEvent& event) {
  fcitx::InputContext& context = *event.inputContext();
  contextOf(context).activate();
  offerMenu(context);
}

void YakdromFcitxEngine::deactivate(const fcitx::InputMethodEntry& /*entry*/,
                                    fcitx::InputContextEvent& event) {
  contextOf(*event.inputContext())
      .deactivate(event.type() == fcitx::EventType::InputContextFocusOut);
}

void YakdromFcitxEngine::reset(const fcitx::InputMethodEntry& /*entry*/,
                               fcitx::InputContextEvent& event) {
  contextOf(*event.inputContext()).reset();
}

void YakdromFcitxEngine::registerMenuActions() {
  for (const MenuActionName& entry : kMenuActions) {
    auto action = std::make_unique<fcitx::SimpleAction>();
    action->setIcon("yakdrom");
    action->connect<fcitx::SimpleAction::Activated>(
        [this, menuAction = entry.action](fcitx::InputContext* context) {
          if (context != nullptr) contextOf(*context).perform(menuAction);
        });
    instance_->userInterfaceManager().registerAction(entry.name, action.get());
    menuActions_.push_back(std::move(action));
  }
}

// Fcitx empties the input method's part of the status area before each activation; the
// titles follow the interface language chosen since.
void YakdromFcitxEngine::offerMenu(fcitx::InputContext& context) {
  for (const MenuItem& item : contextOf(context).session().menu().items) {
    const auto named =
        std::find_if(kMenuActions.begin(), kMenuActions.end(),
                     [&item](const MenuActionName& entry) { return entry.action == item.action; });
    if (named == kMenuActions.end()) continue;
    fcitx::SimpleAction& action = *menuActions_[named - kMenuActions.begin()];
    action.setShortText(item.title);
    context.statusArea().addAction(fcitx::StatusGroup::InputMethod, &action);
  }
}

fcitx::AddonInstance* YakdromFcitxEngineFactory::create(fcitx::AddonManager* manager) {
  return new YakdromFcitxEngine(manager->instance());
}

}  // namespace yakdrom

FCITX_ADDON_FACTORY(yakdrom::YakdromFcitxEngineFactory)
