// What a Fcitx 5 D-Bus client hears from the daemon, one entry per input-context signal in
// the order it arrived, and the answer to each key press, so a test can tell a commit before
// a key let through from one after it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace yakdrom::testing {

enum class FcitxEventKind {
  commitString,
  updateFormattedPreedit,
  updateClientSideUI,
  forwardKey,
  deleteSurroundingText,
  currentIM,
  keyHandled,
  keyPassedThrough,
};

/// One piece of formatted text: its UTF-8 text and its fcitx::TextFormatFlags.
struct FcitxTextSegment {
  std::string text;
  int format = 0;

  friend bool operator==(const FcitxTextSegment&, const FcitxTextSegment&) = default;
};

/// One candidate as the client-side panel receives it.
struct FcitxCandidate {
  std::string label;
  std::string text;

  friend bool operator==(const FcitxCandidate&, const FcitxCandidate&) = default;
};

/// One signal or key answer; the fields its kind does not use keep their defaults.
struct FcitxEvent {
  FcitxEventKind kind = FcitxEventKind::commitString;
  /// Committed text, the preedit's text, or the unique name of the input method made current.
  std::string text;
  /// The preedit as formatted pieces (updateFormattedPreedit and updateClientSideUI).
  std::vector<FcitxTextSegment> preedit;
  /// The preedit's cursor, a UTF-8 byte offset (-1: none).
  int cursor = -1;
  /// The auxiliary texts above and below the preedit in the panel, their pieces joined.
  std::string auxUp;
  std::string auxDown;
  std::vector<FcitxCandidate> candidates;
  /// The candidate cursor on the page (-1: none).
  int candidateIndex = -1;
  /// fcitx::CandidateLayoutHint: 0 not set, 1 vertical, 2 horizontal.
  int layoutHint = 0;
  bool hasPrev = false;
  bool hasNext = false;
  /// The forwarded or pressed key (keysym, evdev code, state) and whether it was a release.
  std::uint32_t keysym = 0;
  std::uint32_t code = 0;
  std::uint32_t state = 0;
  bool release = false;
  /// Where deleted surrounding text starts, in characters from the cursor, and how much.
  int offset = 0;
  std::uint32_t count = 0;

  friend bool operator==(const FcitxEvent&, const FcitxEvent&) = default;

  /// Returns whether every piece of a non-empty preedit carries the underline flag.
  [[nodiscard]] bool underlined() const;
  /// Returns the candidates' texts, in order.
  [[nodiscard]] std::vector<std::string> candidateTexts() const;
  /// Returns the candidates' labels without the punctuation and spaces around the number.
  [[nodiscard]] std::vector<std::string> candidateLabels() const;
};

/// Returns the name of `kind` as the signal is called ("CommitString"), or "handled" and
/// "passed-through" for key answers.
[[nodiscard]] const char* eventName(FcitxEventKind kind);

/// Returns one line describing `event`, for failure messages.
[[nodiscard]] std::string describe(const FcitxEvent& event);
/// Returns the events one per indented line, after a line break, for failure messages.
[[nodiscard]] std::string describe(const std::vector<FcitxEvent>& events);
/// Returns the kinds of `events`, in order.
[[nodiscard]] std::vector<FcitxEventKind> kindsOf(const std::vector<FcitxEvent>& events);
/// Returns the events of `kinds`, in order.
[[nodiscard]] std::vector<FcitxEvent> eventsOf(const std::vector<FcitxEvent>& events,
                                               std::initializer_list<FcitxEventKind> kinds);

}  // namespace yakdrom::testing
