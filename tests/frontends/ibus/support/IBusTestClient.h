// An application's text field talking to one IBus daemon: it owns an input context on its
// own connection and main context (nothing process-wide), sends keys and waits for their
// answers, keeps the text an application would show, and logs everything the engine sends.
// Use from one thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/ibus/support/IBusEvent.h"
#include "frontends/support/KeyStroke.h"
#include "frontends/support/TextFieldModel.h"

using GMainContext = struct _GMainContext;
using GDBusConnection = struct _GDBusConnection;
using IBusInputContext = struct _IBusInputContext;
using GVariant = struct _GVariant;

namespace yakdrom::testing {

/// What the client tells the engine it can show, and how long it waits for answers.
struct IBusClientOptions {
  /// Whether the client shows the engine's lookup table (else the panel would).
  bool lookupTable = true;
  /// Whether the client sends the text before the cursor ahead of every key.
  bool surroundingText = false;
  std::chrono::milliseconds deadline{10'000};
};

class IBusTestClient {
 public:
  IBusTestClient();
  /// Closes the connection; the daemon then drops the input context.
  ~IBusTestClient();
  IBusTestClient(const IBusTestClient&) = delete;
  IBusTestClient& operator=(const IBusTestClient&) = delete;

  /// Connects to the daemon at `address` and creates an input context; returns false (see
  /// error()) when either failed.
  [[nodiscard]] bool connect(const std::string& address, const IBusClientOptions& options = {});
  /// Returns why the last call failed.
  [[nodiscard]] const std::string& error() const { return error_; }

  /// Switches the context to `engine` and returns once the daemon has started it.
  [[nodiscard]] bool setEngine(const std::string& engine);
  /// Gives the context the focus, as a text field does when it is clicked.
  [[nodiscard]] bool focusIn();
  /// Takes the focus away.
  [[nodiscard]] bool focusOut();
  /// Tells the engine the text field was reset (for example, the cursor was moved).
  [[nodiscard]] bool reset();

  /// Sends the press and then the release of `key` and waits for both answers; returns
  /// whether the press was handled, or nothing when a call failed.
  [[nodiscard]] std::optional<bool> press(const KeyStroke& key);
  /// Returns how long the last press took from sending it to its answer (the release and
  /// the signals handled after it not included).
  [[nodiscard]] std::chrono::nanoseconds lastPressTime() const { return lastPressTime_; }
  /// Presses `keyval` with `keycode` (evdev) and `state` as press(KeyStroke) does.
  [[nodiscard]] std::optional<bool> press(std::uint32_t keyval, std::uint32_t keycode,
                                          std::uint32_t state);
  /// Presses the US keys that type the ASCII `characters`; returns false at the first
  /// character without a key or a failed call.
  [[nodiscard]] bool type(std::string_view characters);

  /// Activates the engine's property `name`, as a click on its menu item does.
  [[nodiscard]] bool propertyActivate(const std::string& name, std::uint32_t state = 1);
  /// Names the engine object that the panel's requests below go to, as the desktop's panel
  /// reaches it through the daemon: its bus name and object path.
  void setEngineObject(std::string busName, std::string objectPath);
  /// Asks the engine for the previous page of candidates.
  [[nodiscard]] bool pageUp();
  /// Asks the engine for the next page of candidates.
  [[nodiscard]] bool pageDown();
  /// Moves the engine's candidate cursor up.
  [[nodiscard]] bool cursorUp();
  /// Moves the engine's candidate cursor down.
  [[nodiscard]] bool cursorDown();
  /// Clicks the candidate at `index` on the current page.
  [[nodiscard]] bool candidateClicked(std::uint32_t index, std::uint32_t button = 1,
                                      std::uint32_t state = 0);
  /// Tells the engine where the caret is, in screen pixels.
  [[nodiscard]] bool setCursorLocation(int x, int y, int width, int height);

  /// Handles the engine's signals until `holds` is true or `deadline` passed; returns
  /// whether it holds.
  [[nodiscard]] bool waitFor(const std::function<bool()>& holds,
                             std::chrono::milliseconds deadline);
  /// Handles the signals that have already arrived.
  void drain();

  /// Returns every signal and key answer so far, oldest first.
  [[nodiscard]] const std::vector<IBusEvent>& events() const { return events_; }
  /// Forgets the logged events (the text and preedit stay).
  void clearEvents() { events_.clear(); }
  /// Returns the text the application holds: commits, deletions and the keys let through.
  [[nodiscard]] const std::string& text() const { return field_.text(); }
  /// Returns the preedit the application shows after the text (empty when hidden).
  [[nodiscard]] const std::string& preedit() const { return field_.preedit(); }
  /// Returns what is on screen: the text followed by the preedit.
  [[nodiscard]] std::string shownText() const { return field_.text() + field_.preedit(); }

  /// Appends `event` to the log and applies it to the text; the signal handlers call it.
  void record(IBusEvent event);

 private:
  [[nodiscard]] bool call(const char* method, GVariant* parameters, GVariant** reply = nullptr);
  [[nodiscard]] bool callEngine(const char* method, GVariant* parameters);
  [[nodiscard]] std::optional<bool> send(const KeyStroke& key, bool release);
  void sendSurroundingText();
  void connectSignals();
  void fail(const std::string& reason);

  GMainContext* mainContext_ = nullptr;
  GDBusConnection* connection_ = nullptr;
  IBusInputContext* context_ = nullptr;
  IBusClientOptions options_;
  std::vector<IBusEvent> events_;
  TextFieldModel field_;
  std::string sentSurrounding_;
  std::string engineName_;
  std::string enginePath_;
  std::string error_;
  std::chrono::nanoseconds lastPressTime_{0};
};

}  // namespace yakdrom::testing
