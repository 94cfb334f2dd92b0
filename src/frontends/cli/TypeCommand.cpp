// `yakdrom type [--json] [--trace] KEYS...`: types keys into a fresh state and prints the field.
#include <ostream>

#include "frontends/cli/Commands.h"
#include "frontends/cli/Json.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/Typist.h"

namespace yakdrom::cli {
namespace {

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

}  // namespace

int runType(const Args& args, std::ostream& out, std::ostream& err) {
  bool json = false;
  bool trace = false;
  std::string notation;
  for (const auto& a : args) {
    if (a == "--json") {
      json = true;
    } else if (a == "--trace") {
      trace = true;
    } else {
      notation += a;
    }
  }
  const ParsedKeys parsed = parseKeyNotation(notation);
  if (parsed.error) {
    err << "yakdrom type: " << *parsed.error << "\n";
    return 2;
  }
  Typist typist;
  std::string traceText;
  for (const auto& key : parsed.keys) {
    const EngineOutput o = typist.press(key);
    if (trace) traceText += key.written + "\t" + describe(o) + "\n";
  }
  out << traceText;
  if (json) {
    out << "{\"document\": " << jsonQuoted(typist.document())
        << ", \"marked\": " << jsonQuoted(typist.marked()) << "}\n";
  } else {
    out << typist.text() << "\n";
  }
  return 0;
}

}  // namespace yakdrom::cli
