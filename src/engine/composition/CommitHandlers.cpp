// The handlers that end or take apart a syllable: separators, the commit keys, direct
// characters committed with the syllable, and Delete.
#include <array>
#include <utility>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/HandlerSupport.h"
#include "engine/text/Text.h"

namespace yakdrom::CompositionEngine {
namespace {

// The syllable after a commit: empty, with the dead-key mode and avoided stack kept.
CompositionState afterCommit(const CompositionState& state) {
  CompositionState next;
  next.legacyMode = state.legacyMode;
  next.avoidedStack = state.avoidedStack;
  return next;
}

// Delete takes the syllable apart from its end: one piece per press, the first of these
// that exists.
struct DeletionStep {
  bool (*applies)(const SyllableModel&);
  void (*remove)(CompositionState&);
};

constexpr std::array<DeletionStep, 9> kDeletionOrder{{
    // A scalar, not a character: a hand-typed stack loses one letter per press.
    {[](const SyllableModel& s) { return !s.free.empty(); },
     [](CompositionState& st) { text::removeLastScalar(st.syllable.free); }},
    // Suffixes stand after the vowel in the text, so they go before it: Delete after ཀིག
    // leaves ཀི, not ཀག.
    {[](const SyllableModel& s) { return s.postsuffix.has_value(); },
     [](CompositionState& st) { st.syllable.postsuffix.reset(); }},
    {[](const SyllableModel& s) { return s.suffix.has_value(); },
     [](CompositionState& st) { st.syllable.suffix.reset(); }},
    {[](const SyllableModel& s) { return !s.vowels.empty(); },
     [](CompositionState& st) { st.syllable.vowels.pop_back(); }},
    {[](const SyllableModel& s) { return !s.subjoined.empty(); },
     [](CompositionState& st) { st.syllable.subjoined.pop_back(); }},
    // Deleting the root under a head letter leaves the head letter as the root and
    // remembers the stack that was taken apart.
    {[](const SyllableModel& s) { return s.superscript && s.root; },
     [](CompositionState& st) {
       SyllableModel& s = st.syllable;
       st.avoidedStack = AvoidedStack{.root = *s.superscript, .key = *s.root};
       s.root = std::move(s.superscript);
       s.superscript.reset();
     }},
    {[](const SyllableModel& s) { return s.superscript.has_value(); },
     [](CompositionState& st) {
       st.syllable.root = std::move(st.syllable.superscript);
       st.syllable.superscript.reset();
     }},
    {[](const SyllableModel& s) { return s.root.has_value(); },
     [](CompositionState& st) {
       st.syllable.root = std::move(st.syllable.prefix);
       st.syllable.prefix.reset();
     }},
    {[](const SyllableModel& s) { return s.prefix.has_value(); },
     [](CompositionState& st) { st.syllable.prefix.reset(); }},
}};

}  // namespace

Result handleSeparator(std::string_view separator, const CompositionState& state) {
  std::string text = state.syllable.isEmpty() ? std::string() : state.syllable.serialized();
  text += separator;
  CompositionState next = afterCommit(state);
  next.avoidedStack.reset();
  return {EngineOutput::makeCommit(std::move(text)), std::move(next)};
}

Result flushBuffer(const CompositionState& state, bool passthroughKey) {
  if (state.syllable.isEmpty()) return {EngineOutput::makePassthrough(), state};
  auto text = state.syllable.serialized();
  auto output = passthroughKey ? EngineOutput::makeCommitThenPassthrough(std::move(text))
                               : EngineOutput::makeCommit(std::move(text));
  return {std::move(output), afterCommit(state)};
}

Result flushWith(const CompositionState& state, std::string_view appending) {
  std::string text = state.syllable.serialized();
  text += appending;
  return {EngineOutput::makeCommit(std::move(text)), afterCommit(state)};
}

Result handleDelete(const CompositionState& state) {
  CompositionState next = state;
  next.avoidedStack.reset();
  for (const DeletionStep& step : kDeletionOrder) {
    if (step.applies(state.syllable)) {
      step.remove(next);
      return detail::markedResult(std::move(next));
    }
  }
  return {EngineOutput::makePassthrough(), std::move(next)};
}

}  // namespace yakdrom::CompositionEngine
