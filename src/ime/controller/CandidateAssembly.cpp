#include "ime/controller/CandidateAssembly.h"

#include <algorithm>

#include "engine/learning/ParticleEngine.h"
#include "engine/text/Text.h"

namespace yakdrom {
namespace {

bool isSeparator(std::string_view character) { return character == kTsheg || character == kShad; }

// The byte offset just past the last whole-character separator, if any.
std::optional<std::size_t> endOfLastSeparator(std::string_view text,
                                              const std::vector<std::string_view>& characters) {
  const auto last = std::find_if(characters.rbegin(), characters.rend(), isSeparator);
  if (last == characters.rend()) return std::nullopt;
  return static_cast<std::size_t>(last->data() - text.data()) + last->size();
}

std::string_view lastCharacter(std::string_view text) {
  const auto characters = text::characters(text);
  return characters.empty() ? std::string_view{} : characters.back();
}

}  // namespace

bool endsWithSeparator(std::string_view text) { return isSeparator(lastCharacter(text)); }

bool endsWithTsheg(std::string_view text) { return lastCharacter(text) == kTsheg; }

std::optional<std::string_view> textAfterLastSeparator(std::string_view text) {
  return textAfterLastSeparator(text, text::characters(text));
}

std::optional<std::string_view> textAfterLastSeparator(
    std::string_view text, const std::vector<std::string_view>& characters) {
  const auto end = endOfLastSeparator(text, characters);
  if (!end) return std::nullopt;
  return text.substr(*end);
}

std::string_view dropCharacters(std::string_view text, std::size_t count) {
  return dropCharacters(text, text::characters(text), count);
}

std::string_view dropCharacters(std::string_view text,
                                const std::vector<std::string_view>& characters,
                                std::size_t count) {
  if (count >= characters.size()) return {};
  if (count == 0) return text;
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
  // pages of words at most: a scan costs less than hashing them.
  const std::size_t end = lexicon.candidatesInto(prefix, static_cast<int>(limit), room,
                                                 static_cast<std::size_t>(count));
  for (auto next = room.begin() + count; next != room.begin() + static_cast<std::ptrdiff_t>(end);
       ++next) {
    if (count >= limit) break;
    const auto taken = room.begin() + count;
    if (std::find(room.begin(), taken, *next) != taken) continue;
    if (next != taken) taken->swap(*next);
    ++count;
  }
  return static_cast<std::size_t>(count);
}

void putParticlesInFront(const std::vector<std::string>& particles,
                         std::vector<std::string>& merged) {
  const auto missing = [&merged](auto first, auto last) {
    std::vector<std::string> out;
    for (auto it = first; it != last; ++it) {
      const bool repeated = std::find(first, it, *it) != it;
      if (!repeated && std::find(merged.begin(), merged.end(), *it) == merged.end()) {
        out.push_back(*it);
      }
    }
    return out;
  };
  auto front = missing(particles.begin(), particles.end());
  merged.insert(merged.begin(), std::make_move_iterator(front.begin()),
                std::make_move_iterator(front.end()));
}

std::optional<std::vector<std::string>> particleForms(std::string_view syllable) {
  std::vector<std::string> forms;
  for (const auto kind : ParticleEngine::kAllKinds) {
    if (auto particle = ParticleEngine::particle(kind, syllable)) {
      forms.push_back(std::string(syllable) + std::string(kTsheg) + *particle +
                      std::string(kTsheg));
    }
  }
  if (forms.empty()) return std::nullopt;
  return forms;
}

std::optional<std::string> particleLead(std::string_view base) {
  if (!endsWithTsheg(base)) return std::nullopt;
  const std::string_view rest = base.substr(0, base.size() - kTsheg.size());
  const std::string_view syllable = textAfterLastSeparator(rest).value_or(rest);
  if (syllable.empty()) return std::nullopt;
  return std::string(syllable) + std::string(kTsheg);
}

ContextFacts contextFacts(std::string_view base) {
  const auto characters = text::characters(base);
  ContextFacts facts{std::string(base), characters.size(), endOfLastSeparator(base, characters),
                     particleLead(base), std::nullopt};
  if (facts.lead) {
    facts.forms =
        particleForms(std::string_view(*facts.lead).substr(0, facts.lead->size() - kTsheg.size()));
  }
  return facts;
}

std::optional<std::vector<std::string>> particleSuggestions(std::string_view base,
                                                            std::string_view marked) {
  return particleSuggestions(contextFacts(base), marked);
}

std::optional<std::vector<std::string>> particleSuggestions(const ContextFacts& facts,
                                                            std::string_view marked) {
  const auto& lead = facts.lead;
  if (!lead) return std::nullopt;
  const auto& forms = facts.forms;
  if (!forms || marked.empty()) return forms;
  const std::string typed = *lead + std::string(marked);
  std::vector<std::string> selected;
  std::copy_if(forms->begin(), forms->end(), std::back_inserter(selected),
               [&](const std::string& form) { return text::hasCharacterPrefix(form, typed); });
  if (!selected.empty()) return selected;
  const std::string_view particle =
      endsWithTsheg(marked) ? marked.substr(0, marked.size() - kTsheg.size()) : marked;
  if (ParticleEngine::isParticle(particle)) return forms;
  return std::nullopt;
}

std::string trimmedContext(std::string context) {
  const auto characters = text::characters(context);
  if (characters.size() <= kMaxContextCharacters) return context;
  const auto kept = characters.end() - static_cast<std::ptrdiff_t>(kMaxContextCharacters);
  const auto separator = std::find_if(kept, characters.end(), isSeparator);
  const std::string_view start =
      separator == characters.end() ? kept->substr(0, 0) : separator->substr(separator->size());
  return context.substr(static_cast<std::size_t>(start.data() - context.data()));
}

}  // namespace yakdrom
