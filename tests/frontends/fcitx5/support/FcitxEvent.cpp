#include "frontends/fcitx5/support/FcitxEvent.h"

#include <algorithm>
#include <array>

namespace yakdrom::testing {
namespace {

constexpr std::array<const char*, 8> kEventNames = {
    "CommitString", "UpdateFormattedPreedit", "UpdateClientSideUI",
    "ForwardKey",   "DeleteSurroundingText",  "CurrentIM",
    "handled",      "passed-through",
};

// fcitx::TextFormatFlag::Underline.
constexpr int kUnderline = 1 << 3;

bool isLabelPunctuation(char c) { return c == ' ' || c == '.' || c == ':' || c == ')'; }

std::string joined(const std::vector<FcitxTextSegment>& segments) {
  std::string out;
  for (const FcitxTextSegment& segment : segments) out += segment.text;
  return out;
}

}  // namespace

bool FcitxEvent::underlined() const {
  return !preedit.empty() && std::all_of(preedit.begin(), preedit.end(), [](const auto& s) {
    return (s.format & kUnderline) != 0;
  });
}

std::vector<std::string> FcitxEvent::candidateTexts() const {
  std::vector<std::string> texts;
  for (const FcitxCandidate& candidate : candidates) texts.push_back(candidate.text);
  return texts;
}

std::vector<std::string> FcitxEvent::candidateLabels() const {
  std::vector<std::string> labels;
  for (const FcitxCandidate& candidate : candidates) {
    std::string label = candidate.label;
    while (!label.empty() && isLabelPunctuation(label.back())) label.pop_back();
    label.erase(0, label.find_first_not_of(' '));
    labels.push_back(label);
  }
  return labels;
}

const char* eventName(FcitxEventKind kind) {
  return kEventNames.at(static_cast<std::size_t>(kind));
}

std::string describe(const FcitxEvent& event) {
  std::string out = eventName(event.kind);
  if (!event.text.empty()) out += " \"" + event.text + "\"";
  if (!event.preedit.empty()) {
    out += " preedit \"" + joined(event.preedit) + "\" cursor=" + std::to_string(event.cursor);
  }
  if (event.underlined()) out += " underlined";
  if (!event.auxUp.empty()) out += " auxUp \"" + event.auxUp + "\"";
  if (!event.auxDown.empty()) out += " auxDown \"" + event.auxDown + "\"";
  if (!event.candidates.empty()) {
    out += " [";
    for (const FcitxCandidate& c : event.candidates) out += c.label + c.text + "|";
    out.back() = ']';
    out += " index=" + std::to_string(event.candidateIndex);
  }
  if (event.hasPrev) out += " hasPrev";
  if (event.hasNext) out += " hasNext";
  if (event.keysym != 0) out += " keysym=" + std::to_string(event.keysym);
  if (event.kind == FcitxEventKind::deleteSurroundingText) {
    out += " offset=" + std::to_string(event.offset) + " count=" + std::to_string(event.count);
  }
  return out;
}

std::string describe(const std::vector<FcitxEvent>& events) {
  std::string out;
  for (const FcitxEvent& event : events) out += "\n  " + describe(event);
  return out;
}

std::vector<FcitxEventKind> kindsOf(const std::vector<FcitxEvent>& events) {
  std::vector<FcitxEventKind> kinds;
  kinds.reserve(events.size());
  for (const FcitxEvent& event : events) kinds.push_back(event.kind);
  return kinds;
}

std::vector<FcitxEvent> eventsOf(const std::vector<FcitxEvent>& events,
                                 std::initializer_list<FcitxEventKind> kinds) {
  std::vector<FcitxEvent> out;
  for (const FcitxEvent& event : events) {
    if (std::find(kinds.begin(), kinds.end(), event.kind) != kinds.end()) out.push_back(event);
  }
  return out;
}

}  // namespace yakdrom::testing
