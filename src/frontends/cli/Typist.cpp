#include "frontends/cli/Typist.h"

#include "engine/text/Text.h"

namespace yakdrom::cli {

EngineOutput Typist::press(const KeyPress& key) {
  if (key.isChord()) return EngineOutput::makePassthrough();
  auto [output, next] = CompositionEngine::handle(key.input(), state_);
  state_ = std::move(next);
  using Kind = EngineOutput::Kind;
  switch (output.kind) {
    case Kind::marked:
      marked_ = output.marked;
      break;
    case Kind::commit:
      document_ += output.committed;
      marked_.clear();
      break;
    case Kind::commitThenMark:
      document_ += output.committed;
      marked_ = output.marked;
      break;
    case Kind::commitThenPassthrough:
      document_ += output.committed;
      marked_.clear();
      passKeyThrough(key);
      break;
    case Kind::passthrough:
      passKeyThrough(key);
      break;
  }
  return output;
}

void Typist::passKeyThrough(const KeyPress& key) {
  namespace S = CompositionEngine::Special;
  switch (key.keyCode) {
    case S::kSpace:
      document_ += ' ';
      break;
    case S::kReturn:
      document_ += '\n';
      break;
    case S::kTab:
      document_ += '\t';
      break;
    case S::kDelete:
      if (auto cs = text::characters(document_); !cs.empty()) {
        document_.resize(document_.size() - cs.back().size());
      }
      break;
    default:
      break;
  }
}

}  // namespace yakdrom::cli
