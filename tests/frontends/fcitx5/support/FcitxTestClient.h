// An application's text field talking to one Fcitx 5 daemon over D-Bus: it owns an input
// context on its own connection and main context (nothing process-wide), sends keys and waits
// for their answers, keeps the text an application would show, and logs everything the daemon
// sends. Use from one thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontends/fcitx5/support/FcitxEvent.h"
#include "frontends/support/KeyStroke.h"
#include "frontends/support/TextFieldModel.h"

using GMainContext = struct _GMainContext;
using GDBusConnection = struct _GDBusConnection;
using GVariant = struct _GVariant;

namespace yakdrom::testing {

/// What the client tells the daemon it can do, and how long it waits for answers.
struct FcitxClientOptions {
  /// Whether the client draws the candidate list itself (else no list reaches it: no panel
  /// runs beside a private daemon).
  bool clientSidePanel = true;
  /// Whether the client commits the preedit itself when it loses the focus.
  bool unfocusCommit = false;
  std::chrono::milliseconds deadline{10'000};
};

class FcitxTestClient {
 public:
  FcitxTestClient();
  /// Closes the connection; the daemon then drops the input context.
  ~FcitxTestClient();
  FcitxTestClient(const FcitxTestClient&) = delete;
  FcitxTestClient& operator=(const FcitxTestClient&) = delete;

  /// Connects to the bus at `address`, creates an input context and states the capabilities;
  /// returns false (see error()) when any of it failed.
  [[nodiscard]] bool connect(const std::string& address, const FcitxClientOptions& options = {});
  /// Returns why the last call failed.
  [[nodiscard]] const std::string& error() const { return error_; }

  /// Adds `inputMethod` to the current group beside the US keyboard and makes it the focused
  /// context's; returns once the context reports it current. Needs the focus.
  [[nodiscard]] bool useInputMethod(const std::string& inputMethod);
  /// Gives the context the focus, as a text field does when it is clicked.
  [[nodiscard]] bool focusIn();
  /// Takes the focus away.
  [[nodiscard]] bool focusOut();
  /// Tells the daemon the text field was reset (for example, the cursor was moved).
  [[nodiscard]] bool reset();

  /// Sends the press and then the release of `key` and waits for both answers; returns
  /// whether the press was handled, or nothing when a call failed.
  [[nodiscard]] std::optional<bool> press(const KeyStroke& key);
  /// Presses `keysym` with the evdev `code` and `state` as press(KeyStroke) does.
  [[nodiscard]] std::optional<bool> press(std::uint32_t keysym, std::uint32_t code,
                                          std::uint32_t state);
  /// Returns how long the last press took from sending it to its answer (the release and
  /// the signals handled after it not included).
  [[nodiscard]] std::chrono::nanoseconds lastPressTime() const { return lastPressTime_; }
  /// Presses the US keys that type the ASCII `characters`; returns false at the first
  /// character without a key or a failed call.
  [[nodiscard]] bool type(std::string_view characters);

  /// Asks for the next page of candidates, as a click on the panel's arrow does.
  [[nodiscard]] bool nextPage();
  /// Asks for the previous page of candidates.
  [[nodiscard]] bool prevPage();
  /// Confirms the candidate at `index` on the page shown, as a click on it does.
  [[nodiscard]] bool selectCandidate(int index);

  /// Handles the daemon's signals until `holds` is true or `deadline` passed; returns
  /// whether it holds.
  [[nodiscard]] bool waitFor(const std::function<bool()>& holds,
                             std::chrono::milliseconds deadline);
  /// Handles the signals that have already arrived.
  void drain();

  /// Returns every signal and key answer so far, oldest first.
  [[nodiscard]] const std::vector<FcitxEvent>& events() const { return events_; }
  /// Returns the events of `kinds`, oldest first.
  [[nodiscard]] std::vector<FcitxEvent> events(std::initializer_list<FcitxEventKind> kinds) const;
  /// Forgets the logged events (the text and preedit stay).
  void clearEvents() { events_.clear(); }
  /// Returns the text the application holds: commits, deletions and the keys let through.
  [[nodiscard]] const std::string& text() const { return field_.text(); }
  /// Returns the preedit the application shows after the text (empty when hidden).
  [[nodiscard]] const std::string& preedit() const { return field_.preedit(); }
  /// Returns what is on screen: the text followed by the preedit.
  [[nodiscard]] std::string shownText() const { return field_.text() + field_.preedit(); }

  /// Appends `event` to the log and applies it to the text; the signal handler calls it.
  void record(FcitxEvent event);

 private:
  [[nodiscard]] bool call(const char* method, GVariant* parameters, GVariant** reply = nullptr);
  [[nodiscard]] bool callController(const char* method, GVariant* parameters);
  [[nodiscard]] std::optional<bool> send(const KeyStroke& key, bool release);
  [[nodiscard]] bool createContext();
  void fail(const std::string& reason);

  GMainContext* mainContext_ = nullptr;
  GDBusConnection* connection_ = nullptr;
  unsigned subscription_ = 0;
  std::string contextPath_;
  FcitxClientOptions options_;
  std::vector<FcitxEvent> events_;
  TextFieldModel field_;
  std::string error_;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::chrono::nanoseconds lastPressTime_{0};
};

}  // namespace yakdrom::testing
