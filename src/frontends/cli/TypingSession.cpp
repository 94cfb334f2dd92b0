#include "frontends/cli/TypingSession.h"

#include <map>
#include <mutex>
#include <string_view>
#include <utility>

#include "ime/panel/FloatingCandidatePresenter.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/EstimatingTextMeasurer.h"
#include "ime/platform/HeadlessCandidateWindowView.h"
#include "ime/platform/HeadlessExplanationBoxView.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/NullFontSystem.h"
#include "ime/session/InputSession.h"
#include "ime/settings/YakdromSettings.h"
#include "ime/startup/ApplicationBundle.h"

namespace yakdrom::cli {
namespace {

// The terminal stands for one display of this size; the field's caret sits on it, so the
// candidate window is placed as it is on screen, without the log lines that bogus caret
// reports leave.
constexpr Rect kDisplay{{0, 0}, {1920, 1080}};
constexpr Rect kCaret{{120, 800}, {2, 20}};

class SimulatedScreens final : public Screens {
 public:
  [[nodiscard]] const std::vector<Screen>& screens() const override { return screens_; }
  [[nodiscard]] std::optional<Screen> mainScreen() const override {
    return Screen{kDisplay, kDisplay};
  }
  [[nodiscard]] Point mouseLocation() const override { return kCaret.origin; }

 private:
  const std::vector<Screen> screens_{{kDisplay, kDisplay}};
};

// The settings resolve both fonts on every candidate update, and the command line's font
// system knows no fonts, so each resolution asks for the bundled font file. The bundle's
// files stay put while the program runs: remembering them spares a file-system lookup per
// key.
class RememberingResourceLocator final : public ResourceLocator {
 public:
  [[nodiscard]] std::optional<std::filesystem::path> find(
      std::string_view name, std::string_view extension) const override {
    const std::string key = std::string(name) + "." + std::string(extension);
    const std::lock_guard lock(mutex_);
    auto it = found_.find(key);
    if (it == found_.end()) it = found_.emplace(key, bundle_.find(name, extension)).first;
    return it->second;
  }

 private:
  BundleResourceLocator bundle_ = BundleResourceLocator::forRunningExecutable();
  mutable std::mutex mutex_;
  mutable std::map<std::string, std::optional<std::filesystem::path>> found_;
};

// The controller logs only clients that report bogus carets, which the simulated field
// never does; a terminal would have nowhere to show such a line anyway.
class SilentLog final : public Log {
 protected:
  void writeLine(std::string_view /*line*/) override {}
};

}  // namespace

struct TypingSession::Parts {
  explicit Parts(SessionStores stores)
      : settings(stores.preferences, fonts, resources),
        presenter(makeWindow(), makeBox(), screens, measurer),
        session(
            InputControllerServices{
                .settings = settings,
                .presenter = presenter,
                .screens = screens,
                .log = log,
                .languages = languages,
                .settingsWindow = nullptr,
                .ownIdentifier = std::string(kYakdromBundleIdentifier),
                .dictionary = stores.lexicon,
                .userDictionary = stores.userDictionary,
                .statistics = stores.statistics,
            },
            field) {
    field.setCaretRect(kCaret);
  }

  std::unique_ptr<CandidateWindowView> makeWindow() {
    auto view = std::make_unique<HeadlessCandidateWindowView>(measurer);
    window = view.get();
    return view;
  }

  std::unique_ptr<ExplanationBoxView> makeBox() {
    auto view = std::make_unique<HeadlessExplanationBoxView>(measurer);
    box = view.get();
    return view;
  }

  NullFontSystem fonts;
  RememberingResourceLocator resources;
  YakdromSettings settings;
  SimulatedScreens screens;
  EstimatingTextMeasurer measurer;
  SilentLog log;
  LocalePreferredLanguages languages;
  SimulatedTextField field;
  HeadlessCandidateWindowView* window = nullptr;
  HeadlessExplanationBoxView* box = nullptr;
  FloatingCandidatePresenter presenter;
  InputSession session;
};

std::optional<std::string> CandidateView::explanation() const {
  if (content.explanationLine) return content.explanationLine->text;
  for (const auto& row : content.rows) {
    if (row.isSelected) return row.explanation;
  }
  return std::nullopt;
}

TypingSession::TypingSession(SessionStores stores) : parts_(std::make_unique<Parts>(stores)) {}

TypingSession::~TypingSession() = default;

void TypingSession::start() { parts_->session.activate(); }

KeyResult TypingSession::press(const KeyPress& key) {
  KeyResult result = parts_->session.press(key.keyCode, key.flags());
  if (!result.consumed) parts_->field.applyUnconsumedKey(key.keyCode);
  return result;
}

void TypingSession::finish() { parts_->session.deactivate(); }

const SimulatedTextField& TypingSession::field() const { return parts_->field; }

CandidateView TypingSession::candidates() const {
  const Parts& p = *parts_;
  CandidateView view;
  view.style = p.settings.panelStyle();
  if (!p.session.candidatesVisible()) return view;
  const CandidateList& list = p.session.candidates();
  view.visible = true;
  view.candidates = list.candidates();
  view.selection = list.selection();
  view.content = p.window->content();
  if (p.box->isVisible()) view.explanationBox = p.box->text();
  return view;
}

}  // namespace yakdrom::cli
