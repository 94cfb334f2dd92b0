// One text-input client's input method, as a front end owns it: the controller typing into
// that client, wired to collaborators the front end passes in, and an answer for every key
// saying what happened. The pads, the IBus engine and the Fcitx addon each make one per
// client. Main thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "ime/controller/InputControllerServices.h"
#include "ime/controller/InputMethodMenu.h"
#include "ime/controller/ModifierFlags.h"
#include "ime/controller/YakdromInputController.h"
#include "ime/panel/CandidateList.h"
#include "ime/platform/TextInputClient.h"
#include "ime/session/KeyResult.h"

namespace yakdrom {

class InputSession {
 public:
  /// Makes the controller of `client` over `services`; both must outlive the session.
  InputSession(InputControllerServices services, TextInputClient& client);

  /// Starts input in the client: afresh, with the lexicon load started if it was not.
  void activate();
  /// Handles one key press and returns what it did; a key that is not consumed is the
  /// front end's to deliver to the application.
  [[nodiscard]] KeyResult press(std::uint16_t keyCode, ModifierFlags flags);
  /// Ends input in the client: commits the syllable being composed and hides the candidates.
  void deactivate();
  /// Inserts the syllable being composed unchanged, for a client that is about to lose it.
  void commitComposition();

  /// Places the shown candidates at the client's caret, which has just moved.
  void caretMoved() { controller_.caretMoved(); }
  /// Moves the selection one candidate (`pages` false) or one page (`pages` true) forward
  /// for a positive `direction`, back for a negative one; wraps around the list.
  void moveSelection(int direction, bool pages);

  /// Returns the input method's menu in the user's interface language.
  [[nodiscard]] InputMethodMenu menu() const { return controller_.menu(); }
  /// Carries out the menu item action `action`.
  void perform(MenuAction action) { controller_.perform(action); }

  /// Returns the candidate list; empty while no candidates are shown.
  [[nodiscard]] const CandidateList& candidates() const { return controller_.candidates(); }
  /// Returns true while the candidates are on screen.
  [[nodiscard]] bool candidatesVisible() const { return controller_.isPanelVisible(); }
  /// Returns the controller, for reading its state.
  [[nodiscard]] const YakdromInputController& controller() const { return controller_; }

 private:
  TextInputClient& client_;
  YakdromInputController controller_;
};

}  // namespace yakdrom
