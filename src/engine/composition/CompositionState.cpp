#include "engine/composition/CompositionState.h"

namespace yakdrom {

bool CompositionState::isEmpty() const { return syllable.isEmpty() && !legacyMode; }

}  // namespace yakdrom
