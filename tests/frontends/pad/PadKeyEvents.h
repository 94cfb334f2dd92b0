// Keys of the command line's notation sent to a Qt widget as the desktop sends them: the
// key's scan code (its evdev code + 8), its modifiers and its text. The pad's tests and its
// benchmark type through it.
#pragma once

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <map>
#include <string_view>
#include <utility>

#include "engine/composition/KeyCode.h"
#include "frontends/cli/KeyNotation.h"
#include "ime/platform/EvdevKeyTranslation.h"

namespace yakdrom::testing {

/// Returns the Qt key and the text of `key` on a US layout.
inline std::pair<int, QString> qtMeaning(const cli::KeyPress& key) {
  static const std::map<std::string_view, std::pair<int, QString>> special = {
      {"return", {Qt::Key_Return, "\r"}}, {"delete", {Qt::Key_Backspace, "\b"}},
      {"escape", {Qt::Key_Escape, ""}},   {"space", {Qt::Key_Space, " "}},
      {"down", {Qt::Key_Down, ""}},       {"up", {Qt::Key_Up, ""}},
      {"left", {Qt::Key_Left, ""}},       {"right", {Qt::Key_Right, ""}}};
  for (const auto& named : KeyCode::kNamedKeys) {
    if (named.code != key.keyCode) continue;
    if (const auto it = special.find(named.name); it != special.end()) return it->second;
    const char typed = key.shift ? named.shifted : named.plain;
    return {QChar(named.plain).toUpper().unicode(), QString(QChar(typed))};
  }
  return {0, {}};
}

/// Presses and releases `key` on `widget`; Option is the right Alt key, held around it.
/// Returns false for a key without a position.
inline bool sendKey(QWidget& widget, const cli::KeyPress& key) {
  const auto evdevCode = evdevCodeOf(key.keyCode);
  if (!evdevCode) return false;
  const auto [qtKey, text] = qtMeaning(key);
  Qt::KeyboardModifiers modifiers;
  if (key.shift) modifiers |= Qt::ShiftModifier;
  if (key.option) modifiers |= Qt::AltModifier;
  const auto send = [&widget](QEvent::Type type, int code, Qt::KeyboardModifiers held,
                              std::uint32_t evdev, const QString& typed) {
    QKeyEvent event(type, code, held, evdev + kX11KeycodeOffset, 0, 0, typed);
    QApplication::sendEvent(&widget, &event);
  };
  if (key.option) send(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier, KEY_RIGHTALT, {});
  send(QEvent::KeyPress, qtKey, modifiers, *evdevCode, text);
  send(QEvent::KeyRelease, qtKey, modifiers, *evdevCode, text);
  if (key.option) send(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier, KEY_RIGHTALT, {});
  return true;
}

}  // namespace yakdrom::testing
