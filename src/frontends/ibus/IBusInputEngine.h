// What one IBus engine instance does, behind the GObject engine type: one input session per
// input context, fed the context's keys, focus changes and caret, showing its candidates in
// our own window or in the desktop's panel, and offering the input method's menu as IBus
// properties. Main thread.
#pragma once

#include <ibus.h>

#include <memory>
#include <string_view>

#include "frontends/ibus/IBusCandidatePanel.h"
#include "frontends/ibus/IBusTextClient.h"
#include "ime/controller/InputControllerServices.h"
#include "ime/panel/DesktopPanelPresenter.h"
#include "ime/panel/FloatingCandidatePresenter.h"
#include "ime/panel/SwitchingCandidatePresenter.h"
#include "ime/platform/TextMeasurer.h"
#include "ime/session/InputSession.h"

namespace yakdrom {

/// What every engine of the process shares; every reference must outlive the engines.
struct IBusEngineServices {
  SharedInputServices shared;
  /// What our own candidate window measures its texts with.
  const TextMeasurer& measurer;
  /// True in a Wayland desktop session.
  bool waylandSession = false;
};

class IBusInputEngine {
 public:
  /// Serves the input context behind `engine` over `services`; both must outlive it.
  IBusInputEngine(IBusEngine* engine, const IBusEngineServices& services);
  IBusInputEngine(const IBusInputEngine&) = delete;
  IBusInputEngine& operator=(const IBusInputEngine&) = delete;
  ~IBusInputEngine();

  /// Handles one key event, the key by its evdev code, and returns true when it was
  /// consumed; releases and modifier keys alone always reach the application.
  [[nodiscard]] bool processKey(guint keycode, guint state);
  /// Starts input in the context of the application named `clientName` (may be null):
  /// picks where candidates appear and offers the menu.
  void focusIn(const char* clientName);
  /// Ends input in the context; the daemon commits the syllable being composed, shown as
  /// the preedit.
  void focusOut();
  /// Commits the syllable being composed: the application moved its caret or changed its
  /// text behind our back.
  void reset() { session_.commitComposition(); }
  /// Takes the caret rectangle the application reports and moves shown candidates to it.
  void setCursorLocation(int x, int y, int width, int height);
  /// Moves the selection as the desktop panel's arrows (`pages` false) and page buttons ask.
  void moveSelection(int direction, bool pages) { session_.moveSelection(direction, pages); }
  /// Confirms the candidate at `index` of the page the desktop panel shows.
  void clickCandidate(guint index) const { desktopPresenter_.clickCandidate(index); }
  /// Carries out the menu item behind the IBus property `name`.
  void activateProperty(std::string_view name);

  [[nodiscard]] const InputSession& session() const { return session_; }
  [[nodiscard]] const IBusTextClient& client() const { return client_; }
  /// Returns true while candidates go to the desktop's panel rather than our own window.
  [[nodiscard]] bool usesDesktopPanel() const {
    return &presenter_.current() != windowPresenter_.get();
  }

 private:
  CandidatePresenter& ownWindow();
  void registerProperties();

  IBusEngine* engine_;
  const IBusEngineServices& services_;
  IBusTextClient client_;
  IBusCandidatePanel panel_;
  DesktopPanelPresenter desktopPresenter_;
  // Made on first use: a context that never shows our window never builds one.
  std::unique_ptr<FloatingCandidatePresenter> windowPresenter_;
  SwitchingCandidatePresenter presenter_;
  InputSession session_;
  bool rightAltHeld_ = false;
};

}  // namespace yakdrom
