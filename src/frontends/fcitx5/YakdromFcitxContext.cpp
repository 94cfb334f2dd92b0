#include "frontends/fcitx5/YakdromFcitxContext.h"

#include <linux/input-event-codes.h>

#include <array>
#include <optional>
#include <string>

#include "ime/platform/EvdevKeyTranslation.h"
#include "ime/startup/ApplicationBundle.h"

namespace yakdrom {
namespace {

struct StateModifier {
  fcitx::KeyStates mask;
  bool EvdevModifiers::*held;
};

// Alt is Mod1 on either side; which side is told apart by the key events themselves.
const std::array<StateModifier, 5> kStateModifiers = {{
    {fcitx::KeyState::Shift, &EvdevModifiers::shift},
    {fcitx::KeyState::Ctrl, &EvdevModifiers::control},
    {fcitx::KeyState::Mod5, &EvdevModifiers::altGr},
    {fcitx::KeyStates{fcitx::KeyState::Super} | fcitx::KeyState::Super2, &EvdevModifiers::super},
    {fcitx::KeyState::CapsLock, &EvdevModifiers::capsLock},
}};

EvdevModifiers modifiersOf(fcitx::KeyStates states, bool rightAltHeld) {
  EvdevModifiers modifiers;
  for (const StateModifier& modifier : kStateModifiers) {
    modifiers.*modifier.held = states.testAny(modifier.mask);
  }
  const bool alt = states.test(fcitx::KeyState::Alt);
  modifiers.rightAlt = alt && rightAltHeld;
  modifiers.leftAlt = alt && !rightAltHeld;
  return modifiers;
}

// Fcitx reports the X11 keycode; a synthetic key may come without one.
std::optional<std::uint32_t> evdevCodeOf(const fcitx::Key& key) {
  if (key.code() < static_cast<int>(kX11KeycodeOffset)) return std::nullopt;
  return static_cast<std::uint32_t>(key.code()) - kX11KeycodeOffset;
}

}  // namespace

YakdromFcitxContext::YakdromFcitxContext(fcitx::InputContext& context,
                                         const SharedInputServices& services)
    : client_(context),
      panel_(context,
             FcitxCandidateActions{
                 .moveSelection = [this](int direction,
                                         bool pages) { session_.moveSelection(direction, pages); },
                 .choose = [this](std::size_t index) { presenter_.clickCandidate(index); },
             }),
      presenter_(panel_),
      session_(services.forClient(presenter_), client_) {}

// The session's controller unhooks itself from the presenter, which outlives it here.
YakdromFcitxContext::~YakdromFcitxContext() = default;

bool YakdromFcitxContext::processKey(const fcitx::Key& key, bool released) {
  const auto code = evdevCodeOf(key);
  if (code == KEY_RIGHTALT) rightAltHeld_ = !released;
  if (released) return false;
  const auto translated =
      code ? translateEvdevKey(*code, modifiersOf(key.states(), rightAltHeld_)) : std::nullopt;
  if (!translated) {
    // Home, Page Down, a function key: the syllable stays where it was typed.
    const bool modifier = code ? isModifierKey(*code) : key.isModifier();
    if (!modifier) session_.commitComposition();
    return false;
  }
  return session_.press(translated->keyCode, translated->flags).consumed;
}

void YakdromFcitxContext::activate() {
  client_.setFocused(true);
  session_.activate();
}

void YakdromFcitxContext::deactivate(bool focusLost) {
  client_.setFocused(!focusLost);
  session_.deactivate();
}

}  // namespace yakdrom
