// The input controller of one text-input client: turns key events into composition-engine
// calls, applies the engine's output to the client (marked text, insertions, keys let
// through), assembles the candidate list and confirms candidates, and feeds the learning
// and statistics stores. An InputSession owns one per client. Main thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/composition/CompositionState.h"
#include "engine/composition/EngineOutput.h"
#include "ime/controller/CandidateAssembly.h"
#include "ime/controller/CommittedContext.h"
#include "ime/controller/InputControllerServices.h"
#include "ime/controller/InputMethodMenu.h"
#include "ime/controller/ModifierFlags.h"
#include "ime/panel/CandidateList.h"
#include "ime/panel/CaretLocator.h"
#include "ime/platform/TextInputClient.h"
#include "ime/session/KeyResult.h"

namespace yakdrom {

/// The keyboard layout forced on every client while this input method is active.
inline constexpr std::string_view kKeyboardLayout = "org.unknown.keylayout.Yakdrom";

class YakdromInputController {
 public:
  /// Creates a controller typing into `client`, which may be null until a call supplies one;
  /// a client given to a call must outlive the controller or be replaced by a later call.
  /// Installs the controller's handlers in the presenter for the controller's lifetime.
  YakdromInputController(InputControllerServices services, TextInputClient* client);
  ~YakdromInputController();
  YakdromInputController(const YakdromInputController&) = delete;
  YakdromInputController& operator=(const YakdromInputController&) = delete;

  /// Handles one key press in `client` (which becomes the current client) and returns true
  /// when the key was consumed; false lets the application receive it.
  [[nodiscard]] bool inputText(std::uint16_t keyCode, ModifierFlags flags, TextInputClient& client);

  /// Starts input in `client` (null when the sender is no text client): tells whether it is
  /// this program's own window, forces the layout, starts afresh and starts the lexicon load.
  void activateServer(TextInputClient* client);

  /// Ends input in `client`: commits the syllable being composed and hides the candidates.
  void deactivateServer(TextInputClient* client);

  /// Inserts the syllable being composed unchanged, without learning or counting it, and
  /// starts afresh; does nothing when no syllable is being composed.
  void commitComposition(TextInputClient* client);

  /// Returns the input method's menu in the user's interface language.
  [[nodiscard]] InputMethodMenu menu() const;

  /// Carries out the menu item action `action`.
  void perform(MenuAction action);

  /// Opens the settings window, where there is one.
  void openSettings();

  /// Places the shown candidates at the client's caret again, for a client that reports
  /// its caret only after the key that opened them.
  void caretMoved();

  /// Moves the selection of the shown candidates by `step`, wrapping around the list, as a
  /// desktop's candidate panel asks with its own arrows and page buttons.
  void moveSelection(int step);

  [[nodiscard]] const CompositionState& engineState() const { return engineState_; }
  [[nodiscard]] const std::string& committedText() const { return context_.text(); }
  /// Returns the candidate list; empty while no candidates are shown.
  [[nodiscard]] const CandidateList& candidates() const { return candidates_; }
  /// Returns the part of the shown candidates that the client already holds.
  [[nodiscard]] const std::string& candidateBasePrefix() const { return candidateBasePrefix_; }
  [[nodiscard]] bool isOwnAppClient() const { return isOwnAppClient_; }
  [[nodiscard]] const std::optional<Rect>& lastCaretRect() const { return caret_.lastCaretRect(); }
  /// Returns true while the candidates are on screen.
  [[nodiscard]] bool isPanelVisible() const { return services_.presenter.isVisible(); }

 private:
  friend class InputSession;

  // Handles one key press as inputText does and says what it did.
  KeyResult handleKey(std::uint16_t keyCode, ModifierFlags flags, TextInputClient& client);
  // Acts on a key while the candidates are shown: digits confirm by number, Return and
  // Space confirm the selection, Escape hides the list, arrows move or open the
  // explanation. Returns nothing for any other key.
  std::optional<KeyResult> handleCandidateKey(std::uint16_t keyCode);
  // Applies one engine output to `client`; returns false when the key is to reach the
  // application as well.
  bool apply(const EngineOutput& output, TextInputClient& client);
  // Shows `text` as the current client's marked text, the caret at its end.
  void setMarked(std::string_view text);
  // Inserts the part of `word` that the client does not hold yet, learns the whole word,
  // starts a new syllable and, after a separator, proposes the next words.
  void confirmCandidate(std::string word);
  // Shows the candidates for the committed context followed by `marked`, or hides them
  // when there are none.
  void updateCandidates(std::string_view marked);
  // Adds committed `text` to the context (kept to its last 60 characters) and counts it.
  void appendCommittedContext(std::string_view text);
  // Learns a typed word that ends a syllable or clause when the lexicon knows it.
  void learnCommittedWord(std::string_view text);
  [[nodiscard]] Rect caretRect();
  void commitText(std::string_view text, TextInputClient& client);
  void hidePanel();
  void refreshPanel();
  void clearCandidateBase();
  // Keeps `strings` with their buffers as room for the next candidate list.
  void keepSpareCandidates(std::vector<std::string> strings);
  [[nodiscard]] std::vector<std::string> takeCandidateRoom();
  // Moves the strings of `room` past its first `count` to the spares.
  void keepLeftoverStrings(std::vector<std::string>& room, std::size_t count, std::size_t limit);
  void showCandidates(std::vector<std::string> candidates);
  void clickCandidate(std::size_t index);
  void requestExplanation();
  [[nodiscard]] std::string_view textToInsert(std::string_view word) const;
  [[nodiscard]] bool isOfferedParticle(std::string_view word) const;

  InputControllerServices services_;
  CompositionState engineState_;
  CommittedContext context_;
  CandidateList candidates_;
  std::string candidateBasePrefix_;
  bool isOwnAppClient_ = false;
  CaretLocator caret_;
  TextInputClient* client_;
  // The particle forms in the shown list and the syllable and tsheg they begin with, which
  // the client already holds at the end of the committed context.
  std::vector<std::string> offeredParticles_;
  std::vector<std::string> spareParticles_;  // strings fewer offered forms left over
  std::string particleLead_;
  ContextFacts contextFacts_;              // of the context candidates were last updated after
  std::uint64_t contextFactsVersion_ = 0;  // that context's version
  // The committed context and the marked text after it; room kept from key to key.
  std::string prefix_;
  // Strings a shorter or hidden list left over, kept with their buffers for the next list.
  std::vector<std::string> spareCandidates_;
  // The emptied vector of a hidden list, kept with its buffer for the next list.
  std::vector<std::string> listRoom_;
  // The particle forms that fit the prefix being looked up; room kept from key to key.
  std::vector<std::string_view> suggestedParticles_;
};

}  // namespace yakdrom
