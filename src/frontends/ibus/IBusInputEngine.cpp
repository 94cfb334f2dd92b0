#include "frontends/ibus/IBusInputEngine.h"

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>

#include "ime/platform/EvdevKeyTranslation.h"
#include "ui/CandidateWindow.h"
#include "ui/ExplanationBoxWindow.h"

namespace yakdrom {
namespace {

struct StateModifier {
  guint mask;
  bool EvdevModifiers::*held;
};

// Mod1 is Alt on either side; which side is told apart by the key events themselves.
constexpr std::array<StateModifier, 5> kStateModifiers = {{
    {IBUS_SHIFT_MASK, &EvdevModifiers::shift},
    {IBUS_CONTROL_MASK, &EvdevModifiers::control},
    {IBUS_MOD5_MASK, &EvdevModifiers::altGr},
    {IBUS_SUPER_MASK | IBUS_MOD4_MASK, &EvdevModifiers::super},
    {IBUS_LOCK_MASK, &EvdevModifiers::capsLock},
}};

EvdevModifiers modifiersOf(guint state, bool rightAltHeld) {
  EvdevModifiers modifiers;
  for (const StateModifier& modifier : kStateModifiers) {
    modifiers.*modifier.held = (state & modifier.mask) != 0;
  }
  const bool alt = (state & IBUS_MOD1_MASK) != 0;
  modifiers.rightAlt = alt && rightAltHeld;
  modifiers.leftAlt = alt && !rightAltHeld;
  return modifiers;
}

struct MenuProperty {
  MenuAction action;
  const char* key;
};

constexpr std::array<MenuProperty, 1> kMenuProperties = {{
    {MenuAction::openSettings, "settings"},
}};

const char* propertyKey(MenuAction action) {
  return std::find_if(kMenuProperties.begin(), kMenuProperties.end(),
                      [action](const MenuProperty& p) { return p.action == action; })
      ->key;
}

}  // namespace

IBusInputEngine::IBusInputEngine(IBusEngine* engine, const IBusEngineServices& services)
    : engine_(engine),
      services_(services),
      client_(engine),
      panel_(engine),
      desktopPresenter_(panel_),
      presenter_(desktopPresenter_),
      session_(services.shared.forClient(presenter_), client_) {}

// The session's controller unhooks itself from the presenters, which outlive it here.
IBusInputEngine::~IBusInputEngine() = default;

CandidatePresenter& IBusInputEngine::ownWindow() {
  if (!windowPresenter_) {
    windowPresenter_ = std::make_unique<FloatingCandidatePresenter>(
        std::make_unique<CandidateWindow>(), std::make_unique<ExplanationBoxWindow>(),
        services_.shared.screens, services_.measurer);
  }
  return *windowPresenter_;
}

bool IBusInputEngine::processKey(guint keycode, guint state) {
  const bool released = (state & IBUS_RELEASE_MASK) != 0;
  if (keycode == KEY_RIGHTALT) rightAltHeld_ = !released;
  if (released) return false;
  const auto key = translateEvdevKey(keycode, modifiersOf(state, rightAltHeld_));
  if (!key) {
    // Home, Page Down, a function key: the syllable stays where it was typed.
    if (!isModifierKey(keycode)) session_.commitComposition();
    return false;
  }
  return session_.press(key->keyCode, key->flags).consumed;
}

void IBusInputEngine::focusIn(const char* clientName) {
  if (clientName != nullptr) client_.setName(clientName);
  client_.setConnected(true);
  const bool desktopPanel = services_.shared.settings.usesDesktopPanel(services_.waylandSession);
  presenter_.use(desktopPanel ? static_cast<CandidatePresenter&>(desktopPresenter_) : ownWindow());
  session_.activate();
  registerProperties();
}

void IBusInputEngine::focusOut() {
  client_.setConnected(false);
  session_.deactivate();
}

void IBusInputEngine::setCursorLocation(int x, int y, int width, int height) {
  client_.setCaret(x, y, width, height);
  session_.caretMoved();
}

void IBusInputEngine::registerProperties() {
  IBusPropList* properties = ibus_prop_list_new();
  for (const MenuItem& item : session_.menu().items) {
    ibus_prop_list_append(properties,
                          ibus_property_new(propertyKey(item.action), PROP_TYPE_NORMAL,
                                            ibus_text_new_from_string(item.title.c_str()), nullptr,
                                            nullptr, TRUE, TRUE, PROP_STATE_UNCHECKED, nullptr));
  }
  ibus_engine_register_properties(engine_, properties);
}

void IBusInputEngine::activateProperty(std::string_view name) {
  for (const MenuProperty& property : kMenuProperties) {
    if (name == property.key) session_.perform(property.action);
  }
}

}  // namespace yakdrom
