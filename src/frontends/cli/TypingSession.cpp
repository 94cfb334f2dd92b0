#include "frontends/cli/TypingSession.h"

#include <map>
#include <mutex>
#include <string_view>
#include <utility>

#include "ime/controller/CandidateKeys.h"
#include "ime/controller/YakdromInputController.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/platform/EstimatingTextMeasurer.h"
#include "ime/platform/HeadlessCandidateWindowView.h"
#include "ime/platform/HeadlessExplanationBoxView.h"
#include "ime/platform/LocalePreferredLanguages.h"
#include "ime/platform/NullFontSystem.h"
#include "ime/settings/YakdromSettings.h"

namespace yakdrom::cli {
namespace {

// The terminal stands for one display of this size; the field's caret sits on it, so the
// candidate window is placed as it is on screen, without the log lines that bogus caret
// reports leave.
constexpr Rect kDisplay{{0, 0}, {1920, 1080}};
constexpr Rect kCaret{{120, 800}, {2, 20}};

class SimulatedScreens final : public Screens {
 public:
  [[nodiscard]] std::vector<Screen> screens() const override { return {{kDisplay, kDisplay}}; }
  [[nodiscard]] std::optional<Screen> mainScreen() const override {
    return Screen{kDisplay, kDisplay};
  }
  [[nodiscard]] Point mouseLocation() const override { return kCaret.origin; }
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

// The field as the controller sees it: it notes what each key inserted and marked, which
// tells which engine output the controller applied.
class ObservedField final : public SimulatedTextField {
 public:
  void insertText(std::string_view text, TextRange replacement) override {
    SimulatedTextField::insertText(text, replacement);
    inserted_ = inserted_.value_or("") + std::string(text);
  }
  void setMarkedText(std::string_view text, TextRange selection, TextRange replacement) override {
    SimulatedTextField::setMarkedText(text, selection, replacement);
    marked_ = std::string(text);
  }

  void beginKey() {
    inserted_.reset();
    marked_.reset();
  }
  [[nodiscard]] bool inserted() const { return inserted_.has_value(); }

  // The five engine outputs leave five different traces on the field.
  [[nodiscard]] EngineOutput engineOutput(bool consumed) const {
    if (!consumed) {
      return inserted_ ? EngineOutput::makeCommitThenPassthrough(*inserted_)
                       : EngineOutput::makePassthrough();
    }
    if (inserted_ && marked_) return EngineOutput::makeCommitThenMark(*inserted_, *marked_);
    if (inserted_) return EngineOutput::makeCommit(*inserted_);
    return EngineOutput::makeMarked(marked_.value_or(""));
  }

 private:
  std::optional<std::string> inserted_;
  std::optional<std::string> marked_;
};

bool isCandidateWindowKey(std::uint16_t keyCode) {
  return candidateNumber(keyCode) || arrowKey(keyCode) || keyCode == kReturnKeyCode ||
         keyCode == kSpaceKeyCode || keyCode == kEscapeKeyCode;
}

}  // namespace

struct TypingSession::Parts {
  explicit Parts(SessionStores stores)
      : settings(stores.preferences, fonts, resources),
        controller(
            InputControllerServices{
                .settings = settings,
                .makePanel = [this] { return makePanel(); },
                .screens = screens,
                .log = log,
                .languages = languages,
                .dictionary = stores.lexicon,
                .userDictionary = stores.userDictionary,
                .statistics = stores.statistics,
            },
            &field) {
    field.setCaretRect(kCaret);
  }

  std::unique_ptr<CandidatePanel> makePanel() {
    auto candidateView = std::make_unique<HeadlessCandidateWindowView>(measurer);
    auto boxView = std::make_unique<HeadlessExplanationBoxView>(measurer);
    window = candidateView.get();
    box = boxView.get();
    return std::make_unique<CandidatePanel>(std::move(candidateView), std::move(boxView), screens,
                                            measurer);
  }

  // The key goes to the candidate window when the controller would hand it over: the
  // window is up, and the key is one of its keys without a modifier that types.
  [[nodiscard]] bool windowTakes(const KeyPress& key) const {
    return controller.isPanelVisible() && !isChord(key.flags()) &&
           allowsCandidateKeys(key.flags()) && isCandidateWindowKey(key.keyCode);
  }

  // The candidate a confirming key picks, as the window shows it: the row with the key's
  // number, or the selected row for Return and Space.
  [[nodiscard]] std::optional<std::string> candidateUnder(std::uint16_t keyCode) const {
    if (!window) return std::nullopt;
    const auto number = candidateNumber(keyCode);
    for (const auto& row : window->content().rows) {
      if (number ? row.number == std::to_string(*number) : row.isSelected) return row.text;
    }
    return std::nullopt;
  }

  NullFontSystem fonts;
  RememberingResourceLocator resources;
  YakdromSettings settings;
  SimulatedScreens screens;
  EstimatingTextMeasurer measurer;
  SilentLog log;
  LocalePreferredLanguages languages;
  ObservedField field;
  HeadlessCandidateWindowView* window = nullptr;
  HeadlessExplanationBoxView* box = nullptr;
  YakdromInputController controller;
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

void TypingSession::start() { parts_->controller.activateServer(&parts_->field); }

KeyReport TypingSession::press(const KeyPress& key) {
  Parts& p = *parts_;
  const bool toWindow = p.windowTakes(key);
  const auto candidate = toWindow ? p.candidateUnder(key.keyCode) : std::nullopt;
  p.field.beginKey();
  KeyReport report;
  report.consumed = p.controller.inputText(key.keyCode, key.flags(), p.field);
  if (!report.consumed) p.field.applyUnconsumedKey(key.keyCode);
  if (!toWindow) {
    report.engineOutput = p.field.engineOutput(report.consumed);
  } else if (p.field.inserted()) {
    report.confirmed = candidate;
  }
  return report;
}

void TypingSession::finish() { parts_->controller.deactivateServer(&parts_->field); }

const SimulatedTextField& TypingSession::field() const { return parts_->field; }

CandidateView TypingSession::candidates() const {
  const Parts& p = *parts_;
  CandidateView view;
  view.style = p.settings.panelStyle();
  const CandidatePanel* panel = p.controller.existingPanel();
  if (!panel || !p.controller.isPanelVisible()) return view;
  view.visible = true;
  view.candidates = panel->candidates();
  view.selection = panel->selection();
  view.content = p.window->content();
  if (p.box->isVisible()) view.explanationBox = p.box->text();
  return view;
}

}  // namespace yakdrom::cli
