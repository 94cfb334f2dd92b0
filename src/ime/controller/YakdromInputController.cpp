#include "ime/controller/YakdromInputController.h"

#include <utility>

#include "engine/composition/CompositionEngine.h"
#include "engine/text/Text.h"
#include "ime/controller/CandidateAssembly.h"
#include "ime/panel/ExplanationProvider.h"

namespace yakdrom {
namespace {

// Insertions go where the client's caret or marked text is.
constexpr TextRange kInsertionRange{TextRange::kNotFound, 0};
constexpr TextRange kMarkedReplacementRange{TextRange::kNotFound, TextRange::kNotFound};

// Clients count positions in UTF-16 code units.
std::int64_t utf16Length(std::string_view text) {
  std::int64_t units = 0;
  for (const char32_t scalar : text::decodeUtf8(text)) units += scalar > 0xFFFF ? 2 : 1;
  return units;
}

ExplanationSources explanationSources(const TibetanDictionary& dictionary) {
  return {
      [&dictionary](std::string_view word) { return dictionary.explanation(word); },
      [&dictionary](std::string_view word) { return dictionary.chineseExplanation(word); },
      [&dictionary](std::string_view word) { return dictionary.englishExplanation(word); },
  };
}

}  // namespace

YakdromInputController::YakdromInputController(InputControllerServices services,
                                               TextInputClient* client)
    : services_(std::move(services)), caret_(services_.screens, services_.log), client_(client) {}

YakdromInputController::~YakdromInputController() = default;

bool YakdromInputController::inputText(std::uint16_t keyCode, ModifierFlags flags,
                                       TextInputClient& client) {
  client_ = &client;
  if (isOwnAppClient_ || isChord(flags)) return false;
  if (panel().window().isVisible() && allowsCandidateKeys(flags) && handleCandidateKey(keyCode)) {
    return true;
  }
  auto result = CompositionEngine::handle({keyCode, layerOf(flags)}, engineState_);
  engineState_ = std::move(result.state);
  return apply(result.output, client);
}

void YakdromInputController::activateServer(TextInputClient* client) {
  if (client) {
    client_ = client;
    // Two absent identifiers match too: a client that cannot name itself is taken for this
    // program's own window only when this program cannot name itself either.
    isOwnAppClient_ = client->bundleIdentifier() == services_.ownIdentifier;
    client->overrideKeyboard(kKeyboardLayout);
  } else {
    isOwnAppClient_ = false;
  }
  engineState_ = {};
  committedText_.clear();
  caret_.clear();
  services_.dictionary.preloadIfNeeded();
}

void YakdromInputController::deactivateServer(TextInputClient* client) {
  commitComposition(client);
  caret_.clear();
  hidePanel();
}

void YakdromInputController::commitComposition(TextInputClient* client) {
  if (client) client_ = client;
  if (isOwnAppClient_ || engineState_.syllable.isEmpty()) return;
  const std::string text = engineState_.syllable.serialized();
  engineState_ = {};
  committedText_.clear();
  hidePanel();
  if (client_) client_->insertText(text, kInsertionRange);
}

InputMethodMenu YakdromInputController::menu() const {
  return inputMethodMenu(interfaceLanguage(services_.languages));
}

void YakdromInputController::perform(MenuAction action) {
  switch (action) {
    case MenuAction::openSettings:
      return openSettings();
  }
}

void YakdromInputController::openSettings() {
  if (services_.settingsWindow) services_.settingsWindow->show();
}

bool YakdromInputController::apply(const EngineOutput& output, TextInputClient& client) {
  client_ = &client;
  switch (output.kind) {
    case EngineOutput::Kind::marked:
      setMarked(output.marked);
      updateCandidates(committedText_ + output.marked, committedText_);
      return true;
    case EngineOutput::Kind::commit:
      hidePanel();
      commitText(output.committed, client);
      if (endsWithSeparator(output.committed)) updateCandidates(committedText_, committedText_);
      return true;
    case EngineOutput::Kind::commitThenMark:
      // The window stays up: the marked text that follows refreshes it at once.
      commitText(output.committed, client);
      setMarked(output.marked);
      updateCandidates(committedText_ + output.marked, committedText_);
      return true;
    case EngineOutput::Kind::commitThenPassthrough:
      hidePanel();
      commitText(output.committed, client);
      return false;
    case EngineOutput::Kind::passthrough:
      hidePanel();
      return false;
  }
  return false;
}

void YakdromInputController::commitText(std::string_view text, TextInputClient& client) {
  client.insertText(text, kInsertionRange);
  appendCommittedContext(text);
  learnCommittedWord(text);
}

void YakdromInputController::setMarked(std::string_view text) {
  if (!client_) return;
  client_->setMarkedText(text, {utf16Length(text), 0}, kMarkedReplacementRange);
}

Rect YakdromInputController::caretRect() { return caret_.caretRect(client_); }

CandidatePanel& YakdromInputController::panel() {
  if (!panel_) {
    panel_ = services_.makePanel();
    // The panel lives inside this controller, so its callbacks never outlive it.
    panel_->setOnConfirm([this](const std::string& word) { confirmCandidate(word); });
    panel_->setExplanationProvider(settingsExplanationProvider(
        services_.settings, explanationSources(services_.dictionary.explanations())));
  }
  return *panel_;
}

bool YakdromInputController::isPanelVisible() const {
  return panel_ && panel_->window().isVisible();
}

void YakdromInputController::hidePanel() {
  if (panel_) panel_->hide();
}

}  // namespace yakdrom
