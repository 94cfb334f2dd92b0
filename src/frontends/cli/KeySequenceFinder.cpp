#include "frontends/cli/KeySequenceFinder.h"

#include <algorithm>
#include <utility>

#include "engine/composition/CompositionEngine.h"
#include "engine/composition/LegacyTables.h"
#include "engine/composition/TibetanNormalizer.h"
#include "engine/text/Text.h"
#include "frontends/cli/Typist.h"

namespace yakdrom::cli {
namespace {

namespace S = CompositionEngine::Special;

// One way to produce a run of scalars: a key, a key whose letter the engine later turns
// into its subjoined form, or the dead key followed by a key.
struct Choice {
  std::vector<KeyPress> keys;
  std::u32string produces;  // NFD scalars
};

constexpr ModifierLayer kLayers[] = {ModifierLayer::none, ModifierLayer::shift,
                                     ModifierLayer::option};
constexpr std::size_t kPressLimit = 400000;

bool handledBeforeTables(std::uint16_t code) {
  return code == S::kReturn || code == S::kTab || code == S::kSpace || code == S::kDelete ||
         code == S::kEscape || code == S::kTsheg || code == S::kSheg;
}

std::u32string scalarsOf(std::string_view text) { return text::decodeUtf8(text::nfd(text)); }

void addDirectKeys(std::vector<Choice>& out) {
  out.push_back({{makeKey(S::kTsheg, ModifierLayer::none)}, U"\u0F0B"});
  out.push_back({{makeKey(S::kSheg, ModifierLayer::none)}, U"\u0F0D"});
  out.push_back({{makeKey(S::kSpace, ModifierLayer::none)}, U" "});
  out.push_back({{makeKey(S::kReturn, ModifierLayer::none)}, U"\n"});
  out.push_back({{makeKey(S::kTab, ModifierLayer::none)}, U"\t"});
  for (auto layer : kLayers) {
    for (std::uint16_t code = 0; code < 128; ++code) {
      if (handledBeforeTables(code)) continue;
      if (auto c = CompositionEngine::directChar({code, layer})) {
        out.push_back({{makeKey(code, layer)}, scalarsOf(*c)});
      }
    }
  }
}

// A consonant typed after a root may become subjoined when a vowel follows (ར, ལ) or when a
// hand-made stack is open (ཡ, ཝ); the search tries the plain letter for every subjoined one.
void addLettersForSubjoined(std::vector<Choice>& out) {
  for (std::uint16_t code = 0; code < 128; ++code) {
    auto c = CompositionEngine::directChar({code, ModifierLayer::none});
    if (!c) continue;
    for (auto root :
         {std::optional<std::string_view>{}, std::optional<std::string_view>{"\u0F58"}}) {
      if (auto sub = TibetanNormalizer::subjoinedForm(*c, root)) {
        out.push_back({{makeKey(code, ModifierLayer::none)}, scalarsOf(*sub)});
      }
    }
  }
}

void addDeadKeys(std::vector<Choice>& out) {
  for (auto modeLayer : {ModifierLayer::none, ModifierLayer::shift}) {
    const KeyPress modeKey = makeKey(S::kStateKey, modeLayer);
    const auto mode = CompositionEngine::stateEntryAction(modeKey.input());
    for (auto layer : kLayers) {
      for (std::uint16_t code = 0; code < 128; ++code) {
        if (code != S::kTsheg && code != S::kSheg && handledBeforeTables(code)) continue;
        const KeyInput key{code, layer};
        auto keyText = CompositionEngine::stateEntryAction(key);
        if (!keyText) keyText = CompositionEngine::directChar(key);
        if (!keyText) continue;
        auto t = LegacyTables::transition(*keyText, *mode);
        if (!t || t->kind != LegacyTransition::Kind::output) continue;
        out.push_back({{modeKey, makeKey(code, layer)}, scalarsOf(t->text)});
      }
    }
  }
}

const std::vector<Choice>& allChoices() {
  static const std::vector<Choice> choices = [] {
    std::vector<Choice> c;
    addDirectKeys(c);
    addLettersForSubjoined(c);
    addDeadKeys(c);
    std::erase_if(c, [](const Choice& x) { return x.produces.empty(); });
    std::stable_sort(c.begin(), c.end(), [](const Choice& a, const Choice& b) {
      return a.keys.size() < b.keys.size();
    });
    return c;
  }();
  return choices;
}

bool isSegmentEnd(char32_t c) {
  return c == U'\u0F0B' || c == U'\u0F0D' || c == U' ' || c == U'\n' || c == U'\t';
}

std::vector<std::u32string> segmentsOf(const std::u32string& scalars) {
  std::vector<std::u32string> out;
  std::u32string current;
  for (char32_t c : scalars) {
    current.push_back(c);
    if (isSegmentEnd(c)) out.push_back(std::exchange(current, {}));
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

}  // namespace

// Iterative deepening over the scalars of one segment: the first sequence found is one of
// the shortest. A branch dies as soon as the committed text stops being a prefix of the
// target, which keeps the search small.
struct KeySequenceFinder::Search {
  const std::u32string& target;
  std::string targetText;
  std::vector<KeyPress> path;
  std::size_t reached = 0;
  std::size_t presses = 0;
  bool escapeAnywhere = false;

  bool startsCharacter(std::size_t pos) const {
    return pos == 0 || text::characterCount(text::encodeUtf8(target.substr(pos - 1, 2))) == 2;
  }

  bool committedFits(const Typist& t) const {
    const std::u32string doc = scalarsOf(t.document());
    return doc.size() <= target.size() && std::equal(doc.begin(), doc.end(), target.begin());
  }

  bool tryKeys(const Typist& from, const std::vector<KeyPress>& keys, std::size_t pos,
               std::size_t budget, bool escaped) {
    Typist t = from;
    for (const auto& k : keys) {
      t.press(k);
      ++presses;
    }
    if (!committedFits(t)) return false;
    reached = std::max(reached, pos);
    path.insert(path.end(), keys.begin(), keys.end());
    if (step(t, pos, budget - keys.size(), escaped)) return true;
    path.resize(path.size() - keys.size());
    return false;
  }

  bool step(const Typist& t, std::size_t pos, std::size_t budget, bool escaped) {
    if (pos == target.size()) return text::canonicallyEqual(t.text(), targetText);
    if (budget == 0 || presses > kPressLimit) return false;
    const std::u32string_view rest = std::u32string_view(target).substr(pos);
    for (const auto& c : allChoices()) {
      if (c.keys.size() > budget || !rest.starts_with(c.produces)) continue;
      if (tryKeys(t, c.keys, pos + c.produces.size(), budget, false)) return true;
    }
    // Escape commits the syllable without adding text: the way to end a syllable where
    // the engine would otherwise join the next letter to it. A person presses it before a
    // new character; only odd spellings need it before a sign.
    if (!escaped && !t.marked().empty() && (escapeAnywhere || startsCharacter(pos))) {
      return tryKeys(t, {makeKey(S::kEscape, ModifierLayer::none)}, pos, budget, true);
    }
    return false;
  }
};

namespace {

// Returns the index of the first scalar that no key or dead-key entry produces at all, or
// the segment's size when every scalar has some way in.
std::size_t firstUnproducible(const std::u32string& segment) {
  for (std::size_t i = 0; i < segment.size(); ++i) {
    const bool producible = std::any_of(
        allChoices().begin(), allChoices().end(),
        [&](const Choice& c) { return c.produces.find(segment[i]) != std::u32string::npos; });
    if (!producible) return i;
  }
  return segment.size();
}

}  // namespace

const KeySequenceFinder::Segment& KeySequenceFinder::findSegment(const std::u32string& segment) {
  if (auto it = cache_.find(segment); it != cache_.end()) return it->second;
  Segment result;
  result.stuckAt = firstUnproducible(segment);
  if (result.stuckAt == segment.size()) {
    Search search{segment, text::encodeUtf8(segment), {}, 0, 0};
    for (std::size_t budget = 1; budget <= 2 * segment.size() + 2 && !result.keys; ++budget) {
      for (bool anywhere : {false, true}) {
        search.escapeAnywhere = anywhere;
        if (!result.keys && search.step(Typist{}, 0, budget, false)) result.keys = search.path;
      }
      if (search.presses > kPressLimit) break;
    }
    result.stuckAt = std::min(search.reached, segment.size() - 1);
  }
  return cache_.emplace(segment, std::move(result)).first->second;
}

KeySequenceFinder::Result KeySequenceFinder::find(std::string_view text) {
  Result result;
  const std::string wellFormed = text::sanitizeUtf8(text);
  const std::u32string scalars = scalarsOf(wellFormed);
  std::size_t offset = 0;
  for (const auto& segment : segmentsOf(scalars)) {
    const Segment& found = findSegment(segment);
    if (!found.keys) {
      const std::size_t at = offset + found.stuckAt;
      result.error =
          "cannot type \"" + text::encodeUtf8(scalars.substr(at, 1)) + "\" at character " +
          std::to_string(text::characterCount(text::encodeUtf8(scalars.substr(0, at + 1))));
      result.keys.clear();
      return result;
    }
    result.keys.insert(result.keys.end(), found.keys->begin(), found.keys->end());
    offset += segment.size();
  }
  Typist check;
  for (const auto& k : result.keys) check.press(k);
  if (!text::canonicallyEqual(check.text(), wellFormed)) {
    result.error = "no key sequence reproduces the text exactly";
    result.keys.clear();
  }
  return result;
}

}  // namespace yakdrom::cli
