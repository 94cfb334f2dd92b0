#include "ime/session/InputSession.h"

#include <utility>

namespace yakdrom {

InputSession::InputSession(InputControllerServices services, TextInputClient& client)
    : client_(client), controller_(std::move(services), &client) {}

void InputSession::activate() { controller_.activateServer(&client_); }

KeyResult InputSession::press(std::uint16_t keyCode, ModifierFlags flags) {
  return controller_.handleKey(keyCode, flags, client_);
}

void InputSession::deactivate() { controller_.deactivateServer(&client_); }

void InputSession::commitComposition() { controller_.commitComposition(&client_); }

void InputSession::moveSelection(int direction, bool pages) {
  const int step = pages ? static_cast<int>(candidates().pageSize()) : 1;
  controller_.moveSelection(direction < 0 ? -step : step);
}

}  // namespace yakdrom
