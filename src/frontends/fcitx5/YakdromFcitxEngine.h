// The Yakdrom input method as the engine of a Fcitx 5 addon: the one input method "yakdrom",
// every input context served by its own YakdromFcitxContext, and the input method's menu in
// Fcitx's status area. Fcitx makes the engine when it loads the addon and deletes it on the
// way out, when the learnt words are written. Main thread.
#pragma once

#include <fcitx/action.h>
#include <fcitx/addonfactory.h>
#include <fcitx/inputcontextproperty.h>
#include <fcitx/inputmethodengine.h>
#include <fcitx/instance.h>

#include <memory>
#include <vector>

#include "engine/store/PreferenceStore.h"
#include "frontends/fcitx5/FcitxSettingsLauncher.h"
#include "frontends/fcitx5/YakdromFcitxContext.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/NullFontSystem.h"
#include "ime/platform/SystemLog.h"
#include "ime/startup/ApplicationBundle.h"

namespace yakdrom {

/// The name of the input method and of the addon, as Fcitx's configuration names them.
inline constexpr const char* kFcitxInputMethodName = "yakdrom";

class YakdromFcitxEngine final : public fcitx::InputMethodEngineV2 {
 public:
  /// Serves the input contexts of `instance`, which must outlive the engine, with the bundle
  /// the addon library lies in; starts loading the lexicon.
  explicit YakdromFcitxEngine(fcitx::Instance* instance);
  YakdromFcitxEngine(const YakdromFcitxEngine&) = delete;
  YakdromFcitxEngine& operator=(const YakdromFcitxEngine&) = delete;
  /// Writes what the user dictionary and the statistics have not yet written.
  ~YakdromFcitxEngine() override;

  /// Returns the one input method, "Tibetan (Yakdrom)" for the language "bo".
  std::vector<fcitx::InputMethodEntry> listInputMethods() override;
  /// Hands the key to the context's session; marks it filtered when it was consumed.
  void keyEvent(const fcitx::InputMethodEntry& entry, fcitx::KeyEvent& keyEvent) override;
  /// Starts input in the context and offers the menu in the status area.
  void activate(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;
  /// Ends input in the context, which lost the focus or chose another input method.
  void deactivate(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;
  /// Commits the syllable being composed.
  void reset(const fcitx::InputMethodEntry& entry, fcitx::InputContextEvent& event) override;

 private:
  YakdromFcitxContext& contextOf(fcitx::InputContext& context);
  void registerMenuActions();
  void offerMenu(fcitx::InputContext& context);

  fcitx::Instance* instance_;
  const ApplicationBundle bundle_;
  std::shared_ptr<PreferenceStore> preferences_;
  NullFontSystem fonts_;
  const BundleResourceLocator resources_;
  const YakdromSettings settings_;
  NoScreens screens_;
  SystemLog log_;
  const LocalePreferredLanguages languages_;
  FcitxSettingsLauncher settingsWindow_;
  DictionaryStore dictionary_;
  const SharedInputServices services_;
  // One per menu item, in the order of the menu actions' table.
  std::vector<std::unique_ptr<fcitx::SimpleAction>> menuActions_;
  // Last: deleting the factory deletes every context, which use everything above.
  fcitx::FactoryFor<YakdromFcitxContext> contexts_;
};

class YakdromFcitxEngineFactory final : public fcitx::AddonFactory {
 public:
  /// Returns a new engine for the daemon that `manager` belongs to.
  fcitx::AddonInstance* create(fcitx::AddonManager* manager) override;
};

}  // namespace yakdrom
