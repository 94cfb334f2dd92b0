#include "ime/controller/CandidateAssembly.h"

#include <algorithm>
#include <array>

#include "engine/learning/ParticleEngine.h"
#include "engine/text/Text.h"
#include "ime/platform/ResizeKeepingRoom.h"

namespace yakdrom {
namespace {

// Sets `lead` to the syllable and tsheg that the particle forms offered after `base` begin
// with, or empties it when `base` does not end with a tsheg after a syllable.
void particleLeadInto(std::string_view base, const std::vector<std::size_t>& starts,
                      std::string& lead) {
  lead.clear();
  if (starts.empty() || characterAt(base, starts, starts.size() - 1) != kTsheg) return;
  const std::size_t tsheg = starts.back();
  const std::size_t from = endOfLastSeparator(base, starts, starts.size() - 1).value_or(0);
  if (from != tsheg) lead.assign(base.substr(from, tsheg - from)).append(kTsheg);
}

// Sets `forms` to the genitive, ergative and dative forms that can follow `syllable`, each
// as the syllable, a tsheg, the particle and a tsheg; none for no syllable. The strings
// already there, and those in `spare`, are reused.
void particleFormsInto(std::string_view syllable, std::vector<std::string>& forms,
                       std::vector<std::string>& spare) {
  std::array<std::optional<std::string>, ParticleEngine::kAllKinds.size()> particles;
  if (!syllable.empty()) {
    std::transform(ParticleEngine::kAllKinds.begin(), ParticleEngine::kAllKinds.end(),
                   particles.begin(),
                   [syllable](auto kind) { return ParticleEngine::particle(kind, syllable); });
  }
  resizeKeepingRoom(forms,
                    static_cast<std::size_t>(
                        std::count_if(particles.begin(), particles.end(),
                                      [](const auto& particle) { return particle.has_value(); })),
                    spare);
  auto form = forms.begin();
  for (const auto& particle : particles) {
    if (particle) (form++)->assign(syllable).append(kTsheg).append(*particle).append(kTsheg);
  }
}

}  // namespace

bool isSeparator(std::string_view character) { return character == kTsheg || character == kShad; }

std::string_view characterAt(std::string_view text, const std::vector<std::size_t>& starts,
                             std::size_t k) {
  const std::size_t end = k + 1 < starts.size() ? starts[k + 1] : text.size();
  return text.substr(starts[k], end - starts[k]);
}

std::optional<std::size_t> endOfLastSeparator(std::string_view text,
                                              const std::vector<std::size_t>& starts,
                                              std::size_t count) {
  for (std::size_t k = count; k-- > 0;) {
    const std::string_view character = characterAt(text, starts, k);
    if (isSeparator(character)) return starts[k] + character.size();
  }
  return std::nullopt;
}

bool endsWithSeparator(std::string_view text) { return isSeparator(text::lastCharacter(text)); }

bool endsWithTsheg(std::string_view text) { return text::lastCharacter(text) == kTsheg; }

std::string_view dropCharacters(std::string_view text, std::size_t count) {
  if (count == 0) return text;
  // Kept by the thread, as the text is broken for every confirmed candidate.
  thread_local std::vector<std::string_view> characters;
  text::charactersInto(text, characters);
  if (count >= characters.size()) return {};
  return text.substr(static_cast<std::size_t>(characters[count].data() - text.data()));
}

std::vector<std::string> mergedCandidates(const UserDictionary& learnt,
                                          const DictionaryEngine& lexicon, std::string_view prefix,
                                          std::int64_t limit) {
  std::vector<std::string> result;
  result.resize(mergedCandidatesInto(learnt, lexicon, prefix, limit, result));
  return result;
}

std::size_t mergedCandidatesInto(const UserDictionary& learnt, const DictionaryEngine& lexicon,
                                 std::string_view prefix, std::int64_t limit,
                                 std::vector<std::string>& room) {
  auto count = static_cast<std::ptrdiff_t>(learnt.candidatesInto(prefix, limit, room));
  if (count >= limit) return static_cast<std::size_t>(count);
  // The lexicon's words go after the learnt ones; those already taken drop out. A few
  // pages of words at most: a scan costs less than hashing them. The lexicon's words come
  // in its sorted order, so one it repeats follows right after its first.
  const std::ptrdiff_t learntCount = count;
  const std::size_t end = lexicon.candidatesInto(prefix, static_cast<int>(limit), room,
                                                 static_cast<std::size_t>(count));
  const auto learntEnd = room.begin() + learntCount;
  for (auto next = learntEnd; next != room.begin() + static_cast<std::ptrdiff_t>(end); ++next) {
    if (count >= limit) break;
    const auto taken = room.begin() + count;
    if (std::find(room.begin(), learntEnd, *next) != learntEnd) continue;
    if (taken != learntEnd && *(taken - 1) == *next) continue;
    if (next != taken) taken->swap(*next);
    ++count;
  }
  return static_cast<std::size_t>(count);
}

void putParticlesInFront(const std::vector<std::string_view>& particles,
                         std::vector<std::string>& merged, std::vector<std::string>& spare) {
  const auto listed = merged.size();
  for (auto it = particles.begin(); it != particles.end(); ++it) {
    const auto end = merged.begin() + static_cast<std::ptrdiff_t>(listed);
    if (std::find(particles.begin(), it, *it) != it || std::find(merged.begin(), end, *it) != end) {
      continue;
    }
    if (spare.empty()) {
      merged.emplace_back(*it);
    } else {
      merged.push_back(std::move(spare.back()));
      spare.pop_back();
      merged.back().assign(*it);
    }
  }
  std::rotate(merged.begin(), merged.begin() + static_cast<std::ptrdiff_t>(listed), merged.end());
}

ContextFacts contextFacts(std::string_view base) {
  std::vector<std::size_t> starts;
  for (const std::string_view character : text::characters(base)) {
    starts.push_back(static_cast<std::size_t>(character.data() - base.data()));
  }
  ContextFacts facts;
  contextFactsInto(base, starts, facts);
  return facts;
}

void contextFactsInto(std::string_view base, const std::vector<std::size_t>& starts,
                      ContextFacts& facts) {
  facts.afterSeparator = endOfLastSeparator(base, starts, starts.size());
  particleLeadInto(base, starts, facts.lead);
  const std::string_view lead = facts.lead;
  particleFormsInto(lead.empty() ? lead : lead.substr(0, lead.size() - kTsheg.size()), facts.forms,
                    facts.spareForms);
}

std::vector<std::string> particleSuggestions(std::string_view base, std::string_view marked) {
  const ContextFacts facts = contextFacts(base);
  std::vector<std::string_view> suggested;
  particleSuggestionsInto(facts, marked, suggested);
  return {suggested.begin(), suggested.end()};
}

void particleSuggestionsInto(const ContextFacts& facts, std::string_view marked,
                             std::vector<std::string_view>& out) {
  out.clear();
  const auto& forms = facts.forms;
  if (forms.empty()) return;
  if (marked.empty()) return out.assign(forms.begin(), forms.end());
  // One string a thread, so that narrowing the forms allocates nothing once it has grown.
  thread_local std::string typed;
  typed.assign(facts.lead).append(marked);
  for (const std::string& form : forms) {
    if (text::hasCharacterPrefix(form, typed)) out.emplace_back(form);
  }
  if (!out.empty()) return;
  const std::string_view particle =
      endsWithTsheg(marked) ? marked.substr(0, marked.size() - kTsheg.size()) : marked;
  if (ParticleEngine::isParticle(particle)) out.assign(forms.begin(), forms.end());
}

}  // namespace yakdrom
