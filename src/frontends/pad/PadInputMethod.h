// The input method inside the pad: one input session typing into the pad's text area, its
// candidates in our own floating windows next to the caret, with the user's settings and
// stores. It watches the area's events: keys go to the session first and reach the area
// only when the session passes them on; leaving the area, or a click that moves the caret,
// commits the syllable being composed. Main thread.
#pragma once

#include <QObject>
#include <QPlainTextEdit>

#include "engine/learning/InputStatistics.h"
#include "engine/learning/UserDictionary.h"
#include "engine/store/PreferenceStore.h"
#include "frontends/pad/PadKeyTranslation.h"
#include "frontends/pad/PadTextClient.h"
#include "ime/controller/SettingsWindowOpener.h"
#include "ime/panel/FloatingCandidatePresenter.h"
#include "ime/platform/FontSystem.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/Log.h"
#include "ime/platform/ResourceLocator.h"
#include "ime/session/InputSession.h"
#include "ime/settings/YakdromSettings.h"
#include "ime/startup/DictionaryStore.h"
#include "ui/CandidateWindow.h"
#include "ui/ExplanationBoxWindow.h"
#include "ui/QtScreens.h"
#include "ui/QtTextMeasurer.h"

namespace yakdrom {

/// What the pad's input method works with; every reference must outlive it.
struct PadServices {
  PreferenceStore& preferences;
  UserDictionary& userDictionary;
  InputStatistics& statistics;
  DictionaryStore& lexicon;
  FontSystem& fonts;
  const ResourceLocator& resources;
  Log& log;
  SettingsWindowOpener& settingsWindow;
};

class PadInputMethod final : public QObject {
 public:
  /// Types into `editor` over `services`; both must outlive the input method.
  PadInputMethod(QPlainTextEdit& editor, PadServices services);
  ~PadInputMethod() override;
  PadInputMethod(const PadInputMethod&) = delete;
  PadInputMethod& operator=(const PadInputMethod&) = delete;

  /// Commits the syllable being composed, as leaving the text area does.
  void commitComposition() { session_.commitComposition(); }

  [[nodiscard]] const InputSession& session() const { return session_; }
  [[nodiscard]] const PadTextClient& client() const { return client_; }
  [[nodiscard]] const YakdromSettings& settings() const { return settings_; }
  [[nodiscard]] CandidateWindow& candidateWindow() const { return *window_; }
  [[nodiscard]] ExplanationBoxWindow& explanationBox() const { return *box_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  [[nodiscard]] bool keyPressed(QKeyEvent& event);
  [[nodiscard]] bool focusWentToOwnWindow() const;
  std::unique_ptr<CandidateWindowView> makeWindow();
  std::unique_ptr<ExplanationBoxView> makeBox();

  QPlainTextEdit& editor_;
  YakdromSettings settings_;
  QtScreens screens_;
  QtTextMeasurer measurer_;
  LocalePreferredLanguages languages_;
  PadTextClient client_;
  PadKeyTranslation keys_;
  CandidateWindow* window_ = nullptr;
  ExplanationBoxWindow* box_ = nullptr;
  FloatingCandidatePresenter presenter_;
  InputSession session_;
};

}  // namespace yakdrom
