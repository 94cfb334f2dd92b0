// The pad's keys in the engine's terms. X11 and Wayland report each key's position as its
// evdev code + 8 (the native scan code), which the shared evdev translation turns into a
// key code, so the pad types by position whatever layout the desktop has. Without a scan
// code (the offscreen platform of the tests) the key's US meaning stands for its position.
// Main thread.
#pragma once

#include <QKeyEvent>
#include <optional>

#include "ime/platform/EvdevKeyTranslation.h"

namespace yakdrom {

class PadKeyTranslation {
 public:
  /// Notes modifier keys going down and up: Qt reports one Alt for both, and only the
  /// right one types the Option layer.
  void observe(const QKeyEvent& event);

  /// Returns the key code and modifier flags of a key press, or nothing for a modifier key
  /// or a key the engine does not know.
  [[nodiscard]] std::optional<TranslatedKey> translate(const QKeyEvent& event) const;

  /// Returns true for a modifier key on its own (Shift, Alt, a lock key, ...).
  [[nodiscard]] static bool isModifier(const QKeyEvent& event);

 private:
  [[nodiscard]] EvdevModifiers modifiers(const QKeyEvent& event, bool positioned) const;

  bool rightAltHeld_ = false;
  bool altGrHeld_ = false;
};

}  // namespace yakdrom
