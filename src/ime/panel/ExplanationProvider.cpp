#include "ime/panel/ExplanationProvider.h"

#include <array>

namespace yakdrom {
namespace {

using Table = ExplanationProvider ExplanationSources::*;

struct LanguageTables {
  ExplanationLanguage language;
  Table first;
  Table fallback;
};

constexpr std::array<LanguageTables, 3> kTables = {{
    {ExplanationLanguage::tibetan, &ExplanationSources::tibetan, &ExplanationSources::chinese},
    {ExplanationLanguage::chinese, &ExplanationSources::chinese, &ExplanationSources::tibetan},
    {ExplanationLanguage::english, &ExplanationSources::english, &ExplanationSources::tibetan},
}};

std::optional<std::string> lookUp(const ExplanationSources& sources, Table table,
                                  std::string_view word) {
  const auto& source = sources.*table;
  return source ? source(word) : std::nullopt;
}

}  // namespace

std::optional<std::string> chooseExplanation(std::string_view word, ExplanationLanguage language,
                                             const ExplanationSources& sources) {
  for (const auto& entry : kTables) {
    if (entry.language != language) continue;
    if (auto text = lookUp(sources, entry.first, word)) return text;
    return lookUp(sources, entry.fallback, word);
  }
  return std::nullopt;
}

ExplanationProvider settingsExplanationProvider(const YakdromSettings& settings,
                                                ExplanationSources sources) {
  return [&settings,
          sources = std::move(sources)](std::string_view word) -> std::optional<std::string> {
    if (!settings.showExplanation()) return std::nullopt;
    return chooseExplanation(word, settings.explanationLanguage(), sources);
  };
}

}  // namespace yakdrom
