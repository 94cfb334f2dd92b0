#include "engine/composition/EngineOutput.h"

#include <utility>

namespace yakdrom {

EngineOutput EngineOutput::makeMarked(std::string text) {
  return {.kind = Kind::marked, .committed = {}, .marked = std::move(text)};
}

EngineOutput EngineOutput::makeCommit(std::string text) {
  return {.kind = Kind::commit, .committed = std::move(text), .marked = {}};
}

EngineOutput EngineOutput::makeCommitThenMark(std::string committed, std::string marked) {
  return {
      .kind = Kind::commitThenMark, .committed = std::move(committed), .marked = std::move(marked)};
}

EngineOutput EngineOutput::makeCommitThenPassthrough(std::string text) {
  return {.kind = Kind::commitThenPassthrough, .committed = std::move(text), .marked = {}};
}

EngineOutput EngineOutput::makePassthrough() { return {}; }

}  // namespace yakdrom
