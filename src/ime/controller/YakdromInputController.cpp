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
    : services_(std::move(services)), caret_(services_.screens, services_.log), client_(client) {
  candidates_.setExplanationProvider(settingsExplanationProvider(
      services_.settings, explanationSources(services_.dictionary.explanations())));
  // The presenter outlives this controller, so the handlers are withdrawn in the destructor.
  services_.presenter.setActions(
      {[this](std::size_t index) { clickCandidate(index); }, [this] { requestExplanation(); }});
}

YakdromInputController::~YakdromInputController() { services_.presenter.setActions({}); }

bool YakdromInputController::inputText(std::uint16_t keyCode, ModifierFlags flags,
                                       TextInputClient& client) {
  return handleKey(keyCode, flags, client).consumed;
}

KeyResult YakdromInputController::handleKey(std::uint16_t keyCode, ModifierFlags flags,
                                            TextInputClient& client) {
  client_ = &client;
  if (isOwnAppClient_ || isChord(flags))
    return {false, std::nullopt, EngineOutput::makePassthrough()};
  // A key reads about ten settings; a settings file is looked at once for them all.
  const auto settingsRead = services_.settings.readTogether();
  if (isPanelVisible() && allowsCandidateKeys(flags)) {
    if (auto taken = handleCandidateKey(keyCode)) return *taken;
  }
  auto result = CompositionEngine::handle({keyCode, layerOf(flags)}, engineState_);
  engineState_ = std::move(result.state);
  const bool consumed = apply(result.output, client);
  return {consumed, std::nullopt, std::move(result.output)};
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
  context_.clear();
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
  context_.clear();
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
      updateCandidates(output.marked);
      return true;
    case EngineOutput::Kind::commit:
      hidePanel();
      commitText(output.committed, client);
      if (endsWithSeparator(output.committed)) updateCandidates({});
      return true;
    case EngineOutput::Kind::commitThenMark:
      // The window stays up: the marked text that follows refreshes it at once.
      commitText(output.committed, client);
      setMarked(output.marked);
      updateCandidates(output.marked);
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

void YakdromInputController::hidePanel() {
  services_.presenter.hide();
  keepSpareCandidates(candidates_.takeCandidates());
}

}  // namespace yakdrom
