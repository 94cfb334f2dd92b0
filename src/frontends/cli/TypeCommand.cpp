// `yakdrom type [OPTIONS] KEYS...`: types keys through the input controller, as the input
// method receives them, into a simulated text field, and prints the field and the
// candidate window.
//
// With --trace, one line per key comes first: the key as written, a tab, and what
// happened: the engine's output (marked "M", commit "C", commitThenMark "C" "M",
// commitThenPassthrough "C" or passthrough) when the key reached the composition engine,
// candidate "W" when the candidate window confirmed the word W, or consumed when the window
// took the key for itself (arrows, Escape, a number without a candidate).
#include <ostream>

#include "frontends/cli/CommandLexicon.h"
#include "frontends/cli/Commands.h"
#include "frontends/cli/EphemeralStores.h"
#include "frontends/cli/Json.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/TypingSession.h"

namespace yakdrom::cli {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

std::string describe(const EngineOutput& o) {
  using Kind = EngineOutput::Kind;
  switch (o.kind) {
    case Kind::marked:
      return "marked " + jsonQuoted(o.marked);
    case Kind::commit:
      return "commit " + jsonQuoted(o.committed);
    case Kind::commitThenMark:
      return "commitThenMark " + jsonQuoted(o.committed) + " " + jsonQuoted(o.marked);
    case Kind::commitThenPassthrough:
      return "commitThenPassthrough " + jsonQuoted(o.committed);
    case Kind::passthrough:
      break;
  }
  return "passthrough";
}

std::string describe(const KeyResult& report) {
  if (report.confirmed) return "candidate " + jsonQuoted(*report.confirmed);
  if (report.engineOutput) return describe(*report.engineOutput);
  return "consumed";
}

std::string json(const TypingSession& session) {
  const CandidateView view = session.candidates();
  const std::string selection = view.selection ? std::to_string(*view.selection) : "null";
  return "{\"document\": " + jsonQuoted(session.field().document()) +
         ", \"marked\": " + jsonQuoted(session.field().marked()) +
         ", \"candidates\": " + jsonArray(view.candidates) +
         ", \"page\": " + jsonQuoted(view.content.pageLabel) + ", \"selection\": " + selection +
         ", \"explanation\": " + jsonQuotedOrNull(view.explanation()) +
         ", \"panelVisible\": " + (view.visible ? "true" : "false") + "}";
}

int usage(std::ostream& err, std::string_view problem) {
  err << "yakdrom type: " << problem << "\n"
      << "usage: yakdrom type [--json] [--trace] [--lexicon FILE] [--user-dictionary FILE]\n"
         "                    [--set KEY=VALUE]... KEYS...\n";
  return kUsage;
}

}  // namespace

int runType(const Args& args, std::ostream& out, std::ostream& err) {
  const auto parsed = parseSessionOptions(args, true);
  if (parsed.error) return usage(err, *parsed.error);
  const SessionOptions& options = parsed.options;
  std::string notation;
  for (const auto& operand : options.operands) notation += operand;
  const ParsedKeys keys = parseKeyNotation(notation);
  if (keys.error) {
    err << "yakdrom type: " << *keys.error << "\n";
    return kUsage;
  }
  if (keys.keys.empty()) return usage(err, "no keys to type");
  auto opened = EphemeralStores::open(options);
  if (!opened.stores) {
    if (opened.status == kUsage) return usage(err, opened.error);
    err << "yakdrom type: " << opened.error << "\n";
    return opened.status;
  }
  for (const auto& warning : opened.warnings) err << "yakdrom type: warning: " << warning << "\n";
  CommandLexicon lexicon(options.lexicon);
  TypingSession session(opened.stores->stores(lexicon.store()));
  session.start();
  if (!lexicon.store().waitUntilLoaded()) {
    err << "yakdrom type: " << lexicon.failure() << "\n";
    return kFailure;
  }
  std::string trace;
  for (const auto& key : keys.keys) {
    const KeyResult report = session.press(key);
    if (options.trace) trace += key.written + "\t" + describe(report) + "\n";
  }
  if (const auto problem = opened.stores->save()) {
    err << "yakdrom type: " << *problem << "\n";
    return kFailure;
  }
  out << trace << (options.json ? json(session) : session.field().text()) << "\n";
  return 0;
}

}  // namespace yakdrom::cli
