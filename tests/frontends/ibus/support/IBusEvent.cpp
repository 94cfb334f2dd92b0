#include "frontends/ibus/support/IBusEvent.h"

#include <array>

namespace yakdrom::testing {
namespace {

constexpr std::array<const char*, 13> kEventNames = {
    "commit-text",         "update-preedit-text", "hide-preedit-text",       "forward-key-event",
    "update-lookup-table", "hide-lookup-table",   "update-auxiliary-text",   "hide-auxiliary-text",
    "register-properties", "update-property",     "delete-surrounding-text", "handled",
    "passed-through",
};

std::string joined(const std::vector<std::string>& items) {
  std::string out;
  for (const std::string& item : items) out += (out.empty() ? "" : "|") + item;
  return out;
}

}  // namespace

const char* eventName(IBusEventKind kind) { return kEventNames.at(static_cast<std::size_t>(kind)); }

std::string describe(const IBusEvent& event) {
  std::string out = eventName(event.kind);
  if (!event.text.empty()) out += " \"" + event.text + "\"";
  if (event.keyval != 0) out += " keyval=" + std::to_string(event.keyval);
  if (!event.candidates.empty()) out += " [" + joined(event.candidates) + "]";
  for (const auto& [key, label] : event.properties) out += " " + key + "=" + label;
  if (event.kind == IBusEventKind::deleteSurroundingText) {
    out += " offset=" + std::to_string(event.offset) + " count=" + std::to_string(event.count);
  }
  return out + (event.visible ? " visible" : "") + (event.underlined ? " underlined" : "");
}

std::string describe(const std::vector<IBusEvent>& events) {
  std::string out;
  for (const IBusEvent& event : events) out += "\n  " + describe(event);
  return out;
}

std::vector<IBusEventKind> kindsOf(const std::vector<IBusEvent>& events) {
  std::vector<IBusEventKind> kinds;
  kinds.reserve(events.size());
  for (const IBusEvent& event : events) kinds.push_back(event.kind);
  return kinds;
}

}  // namespace yakdrom::testing
