// Types keys through the composition engine alone into a simulated text field, applying each
// engine output the way a client applies it: marked text replaces marked text, committed
// text is appended, and a key passed through does what it does in a plain text field.
#pragma once

#include <string>

#include "engine/composition/CompositionEngine.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/SimulatedTextField.h"

namespace yakdrom::cli {

class Typist {
 public:
  /// Sends one key to the engine (chords bypass it) and applies the output to the field.
  EngineOutput press(const KeyPress& key);

  [[nodiscard]] const std::string& document() const { return field_.document(); }
  [[nodiscard]] const std::string& marked() const { return field_.marked(); }
  [[nodiscard]] const CompositionState& state() const { return state_; }
  /// Returns the document followed by the marked text.
  [[nodiscard]] std::string text() const { return field_.text(); }

 private:
  CompositionState state_;
  SimulatedTextField field_;
};

}  // namespace yakdrom::cli
