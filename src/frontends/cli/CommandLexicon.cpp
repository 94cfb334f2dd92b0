#include "frontends/cli/CommandLexicon.h"

#include "ime/startup/ApplicationBundle.h"

namespace yakdrom::cli {

CommandLexicon::CommandLexicon(std::optional<std::filesystem::path> file)
    : requested_(std::move(file)),
      store_(ApplicationBundle::forRunningExecutable(), log_, explanations_) {
  if (requested_) store_.useLexiconFile(*requested_);
}

std::string CommandLexicon::failure() const {
  if (const auto file = store_.locateLexicon()) return "cannot read the lexicon " + file->string();
  if (requested_) return "no lexicon file " + requested_->string();
  return "no lexicon beside the program (Resources/lex.dat); name one with --lexicon FILE";
}

}  // namespace yakdrom::cli
