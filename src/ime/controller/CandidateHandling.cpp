// The candidate half of YakdromInputController: candidate keys, confirming a candidate,
// building the list, and the context, learning and counting that every commit feeds.
#include <algorithm>
#include <iterator>

#include "engine/learning/ParticleEngine.h"
#include "engine/text/Text.h"
#include "ime/controller/CandidateAssembly.h"
#include "ime/controller/CandidateKeys.h"
#include "ime/controller/YakdromInputController.h"
#include "ime/platform/ResizeKeepingRoom.h"

namespace yakdrom {
namespace {

// Moves the strings of `from` to the end of `into`; both vectors keep their buffers.
void moveStrings(std::vector<std::string>& from, std::vector<std::string>& into) {
  std::move(from.begin(), from.end(), std::back_inserter(into));
  from.clear();
}

}  // namespace

std::optional<KeyResult> YakdromInputController::handleCandidateKey(std::uint16_t keyCode) {
  const KeyResult taken{true, std::nullopt, std::nullopt};
  if (const auto number = candidateNumber(keyCode)) {
    // A number beyond the page is swallowed too: it was meant for the list.
    auto word = candidates_.select(*number);
    if (!word) return taken;
    confirmCandidate(*word);
    return KeyResult{true, std::move(word), std::nullopt};
  }
  if (keyCode == KeyCode::kReturn || keyCode == KeyCode::kSpace) {
    auto word = candidates_.selected();
    if (word) confirmCandidate(*word);
    return KeyResult{true, std::move(word), std::nullopt};
  }
  if (keyCode == KeyCode::kEscape) {
    hidePanel();
    return taken;
  }
  if (const auto arrow = arrowKey(keyCode)) {
    if (candidates_.pressArrow(*arrow)) refreshPanel();
    return taken;
  }
  return std::nullopt;
}

void YakdromInputController::refreshPanel() { services_.presenter.update(candidates_); }

void YakdromInputController::caretMoved() {
  if (isPanelVisible()) services_.presenter.show(candidates_, caretRect());
}

void YakdromInputController::moveSelection(int step) {
  if (!isPanelVisible()) return;
  candidates_.moveSelection(step);
  refreshPanel();
}

void YakdromInputController::clickCandidate(std::size_t index) {
  if (auto word = candidates_.selectIndex(index)) confirmCandidate(std::move(*word));
}

void YakdromInputController::requestExplanation() {
  if (candidates_.setExplanationVisible(true)) refreshPanel();
}

// By value: the caller's word may live in the candidate list that hiding the panel empties.
// NOLINTNEXTLINE(performance-unnecessary-value-param)
void YakdromInputController::confirmCandidate(std::string word) {
  hidePanel();
  services_.userDictionary.learn(word);
  const std::string text(textToInsert(word));
  clearCandidateBase();
  if (client_) client_->insertText(text, {TextRange::kNotFound, 0});
  engineState_ = {};
  appendCommittedContext(text);
  if (endsWithSeparator(text)) updateCandidates({});
}

// The client holds the confirm base when the word begins with it. A particle form begins
// with the committed syllable and its tsheg, which the client holds even when the base is
// the longer context or empty; inserting them again would double the syllable.
std::string_view YakdromInputController::textToInsert(std::string_view word) const {
  if (!candidateBasePrefix_.empty() && text::hasCharacterPrefix(word, candidateBasePrefix_)) {
    return dropCharacters(word, text::characterCount(candidateBasePrefix_));
  }
  if (isOfferedParticle(word)) return dropCharacters(word, text::characterCount(particleLead_));
  return word;
}

bool YakdromInputController::isOfferedParticle(std::string_view word) const {
  return std::find(offeredParticles_.begin(), offeredParticles_.end(), word) !=
         offeredParticles_.end();
}

void YakdromInputController::updateCandidates(std::string_view marked) {
  if (!services_.settings.suggestionEnabled()) {
    hidePanel();
    clearCandidateBase();
    return;
  }
  const int pageSize = services_.settings.candidateCount();
  const std::int64_t limit = std::int64_t{kPagesPerSource} * pageSize;
  const auto& learnt = services_.userDictionary;
  const auto& lexicon = services_.dictionary.engine();
  // The context changes once a word while keys come many times a word.
  if (contextFactsVersion_ != context_.version()) {
    contextFactsInto(context_.text(), context_.characterStarts(), contextFacts_);
    contextFactsVersion_ = context_.version();
  }
  const std::string_view base = context_.text();
  prefix_.assign(base).append(marked);
  const std::string_view prefix = prefix_;
  const CommittedContext::Continuation continuation = context_.continuation(prefix);
  std::vector<std::string> shown = takeCandidateRoom();
  std::size_t count = mergedCandidatesInto(learnt, lexicon, prefix, limit, shown);
  std::string_view confirmBase = base;
  if (count == 0) {
    // Nothing continues the whole context: offer words for the syllable after its last
    // separator instead.
    const auto separator = continuation.afterLastSeparator;
    if (separator && *separator < prefix.size()) {
      count = mergedCandidatesInto(learnt, lexicon, prefix.substr(*separator), limit, shown);
      const auto after = contextFacts_.afterSeparator;
      confirmBase = after ? base.substr(*after) : std::string_view{};
    }
  }
  keepLeftoverStrings(shown, count, static_cast<std::size_t>(limit));
  particleSuggestionsInto(contextFacts_, continuation.afterContext, suggestedParticles_);
  putParticlesInFront(suggestedParticles_, shown, spareCandidates_);
  if (shown.empty()) {
    clearCandidateBase();
    hidePanel();
    keepSpareCandidates(std::move(shown));
    return;
  }
  candidateBasePrefix_ = confirmBase;
  resizeKeepingRoom(offeredParticles_, suggestedParticles_.size(), spareParticles_);
  std::copy(suggestedParticles_.begin(), suggestedParticles_.end(), offeredParticles_.begin());
  particleLead_.assign(contextFacts_.lead);
  candidates_.setPageSize(static_cast<std::size_t>(pageSize));
  showCandidates(std::move(shown));
}

void YakdromInputController::showCandidates(std::vector<std::string> candidates) {
  const YakdromSettings& settings = services_.settings;
  candidates_.setFont(settings.candidateFont());
  candidates_.setExplanationFont(settings.explanationFont());
  const CandidatePanelStyle style = settings.panelStyle();
  candidates_.setHorizontal(style == CandidatePanelStyle::singleRow);
  candidates_.setGrid(style == CandidatePanelStyle::grid);
  candidates_.reset(std::move(candidates));
  services_.presenter.show(candidates_, caretRect());
}

// The strings of the list shown now, and those it left over, make room for the next one.
std::vector<std::string> YakdromInputController::takeCandidateRoom() {
  std::vector<std::string> room = candidates_.takeCandidates();
  if (room.capacity() == 0) room.swap(listRoom_);
  moveStrings(spareCandidates_, room);
  return room;
}

// Keeps no more spare strings than both sources, `limit` words each, and the particle forms
// can fill.
void YakdromInputController::keepLeftoverStrings(std::vector<std::string>& room, std::size_t count,
                                                 std::size_t limit) {
  std::move(room.begin() + static_cast<std::ptrdiff_t>(count), room.end(),
            std::back_inserter(spareCandidates_));
  room.resize(count);
  const std::size_t most = 2 * limit + ParticleEngine::kAllKinds.size();
  if (spareCandidates_.size() > most) spareCandidates_.resize(most);
}

void YakdromInputController::keepSpareCandidates(std::vector<std::string> strings) {
  moveStrings(strings, spareCandidates_);
  if (strings.capacity() > listRoom_.capacity()) listRoom_.swap(strings);
}

void YakdromInputController::clearCandidateBase() {
  candidateBasePrefix_.clear();
  resizeKeepingRoom(offeredParticles_, 0, spareParticles_);
  particleLead_.clear();
}

void YakdromInputController::appendCommittedContext(std::string_view text) {
  context_.append(text);
  services_.statistics.record(text);
}

void YakdromInputController::learnCommittedWord(std::string_view text) {
  if (!endsWithSeparator(text)) return;
  const std::string_view word = text::trimWhitespaceAndNewlines(text);
  if (word.empty() || text::characterCount(word) > UserDictionary::kMaxWordCharacters) return;
  if (services_.dictionary.engine().contains(word)) services_.userDictionary.learn(word);
}

}  // namespace yakdrom
