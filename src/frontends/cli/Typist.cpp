#include "frontends/cli/Typist.h"

namespace yakdrom::cli {

EngineOutput Typist::press(const KeyPress& key) {
  if (key.isChord()) return EngineOutput::makePassthrough();
  auto [output, next] = CompositionEngine::handle(key.input(), state_);
  state_ = std::move(next);
  // Insertions go through the field's client operations, as the input controller's do.
  constexpr TextRange kAtCaret{TextRange::kNotFound, 0};
  switch (output.kind) {
    case EngineOutput::Kind::marked:
      field_.setMarkedText(output.marked, {}, {});
      break;
    case EngineOutput::Kind::commit:
      field_.insertText(output.committed, kAtCaret);
      break;
    case EngineOutput::Kind::commitThenMark:
      field_.insertText(output.committed, kAtCaret);
      field_.setMarkedText(output.marked, {}, {});
      break;
    case EngineOutput::Kind::commitThenPassthrough:
      field_.insertText(output.committed, kAtCaret);
      field_.applyUnconsumedKey(key.keyCode);
      break;
    case EngineOutput::Kind::passthrough:
      field_.applyUnconsumedKey(key.keyCode);
      break;
  }
  return output;
}

}  // namespace yakdrom::cli
