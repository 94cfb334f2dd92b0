// What the addon keeps for one Fcitx input context: an input session typing into it, its
// candidates in Fcitx's panel, and the state of the keys it was sent. Fcitx makes one on the
// context's first use and deletes it with the context. Main thread.
#pragma once

#include <fcitx-utils/key.h>
#include <fcitx/inputcontext.h>
#include <fcitx/inputcontextproperty.h>

#include "frontends/fcitx5/FcitxCandidatePanel.h"
#include "frontends/fcitx5/FcitxTextClient.h"
#include "ime/controller/InputControllerServices.h"
#include "ime/panel/DesktopPanelPresenter.h"
#include "ime/session/InputSession.h"

namespace yakdrom {

class YakdromFcitxContext final : public fcitx::InputContextProperty {
 public:
  /// Serves `context` over `services`; both must outlive it.
  YakdromFcitxContext(fcitx::InputContext& context, const SharedInputServices& services);
  YakdromFcitxContext(const YakdromFcitxContext&) = delete;
  YakdromFcitxContext& operator=(const YakdromFcitxContext&) = delete;
  ~YakdromFcitxContext() override;

  /// Handles the key `key` as the keyboard sent it (its X11 keycode and modifier state) and
  /// returns true when it was consumed; releases and modifier keys alone always reach the
  /// application, and any other key the engine does not know commits the syllable first.
  [[nodiscard]] bool processKey(const fcitx::Key& key, bool released);
  /// Starts input in the context: it gained the focus or chose this input method.
  void activate();
  /// Ends input in the context, committing the syllable being composed; `focusLost` tells
  /// that Fcitx has already dealt with a preedit the application shows.
  void deactivate(bool focusLost);
  /// Commits the syllable being composed: the application moved its caret or changed its
  /// text behind our back.
  void reset() { session_.commitComposition(); }
  /// Carries out the menu item action `action`.
  void perform(MenuAction action) { session_.perform(action); }

  [[nodiscard]] const InputSession& session() const { return session_; }
  [[nodiscard]] const FcitxTextClient& client() const { return client_; }

 private:
  FcitxTextClient client_;
  FcitxCandidatePanel panel_;
  DesktopPanelPresenter presenter_;
  InputSession session_;
  bool rightAltHeld_ = false;
};

}  // namespace yakdrom
