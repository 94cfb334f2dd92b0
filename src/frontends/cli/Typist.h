// Types keys through the composition engine into a simulated text field, applying each
// engine output the way a client applies it: marked text replaces marked text, committed
// text is appended, and a key passed through does what it does in a plain text field.
#pragma once

#include <string>

#include "engine/composition/CompositionEngine.h"
#include "frontends/cli/KeyNotation.h"

namespace yakdrom::cli {

class Typist {
 public:
  /// Sends one key to the engine (chords bypass it) and applies the output to the field.
  EngineOutput press(const KeyPress& key);

  [[nodiscard]] const std::string& document() const { return document_; }
  [[nodiscard]] const std::string& marked() const { return marked_; }
  [[nodiscard]] const CompositionState& state() const { return state_; }
  /// Returns the document followed by the marked text.
  [[nodiscard]] std::string text() const { return document_ + marked_; }

 private:
  void passKeyThrough(const KeyPress& key);

  CompositionState state_;
  std::string document_;
  std::string marked_;
};

}  // namespace yakdrom::cli
