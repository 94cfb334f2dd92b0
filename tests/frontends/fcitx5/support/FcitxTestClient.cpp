#include "frontends/fcitx5/support/FcitxTestClient.h"

#include <gio/gio.h>

#include <array>
#include <string_view>

#include "frontends/support/MainContextWait.h"

namespace yakdrom::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kService = "org.fcitx.Fcitx5";
constexpr const char* kInputMethodPath = "/org/freedesktop/portal/inputmethod";
constexpr const char* kInputMethod = "org.fcitx.Fcitx.InputMethod1";
constexpr const char* kInputContext = "org.fcitx.Fcitx.InputContext1";
constexpr const char* kControllerPath = "/controller";
constexpr const char* kController = "org.fcitx.Fcitx.Controller1";
constexpr const char* kKeyboard = "keyboard-us";

// fcitx::CapabilityFlag bits.
constexpr std::uint64_t kPreedit = 1ULL << 1;
constexpr std::uint64_t kFormattedPreedit = 1ULL << 4;
constexpr std::uint64_t kClientUnfocusCommit = 1ULL << 5;
constexpr std::uint64_t kClientSideInputPanel = 1ULL << 39;

// The X server numbers keys from 8; evdev from 0.
constexpr std::uint32_t kXKeycodeOffset = 8;

FcitxEvent simple(FcitxEventKind kind) {
  FcitxEvent event;
  event.kind = kind;
  return event;
}

FcitxEvent keyEvent(FcitxEventKind kind, const KeyStroke& key) {
  FcitxEvent event = simple(kind);
  event.keysym = key.keysym;
  event.code = key.code;
  event.state = key.state;
  return event;
}

// Reads an a(si) of formatted text.
std::vector<FcitxTextSegment> segmentsOf(GVariant* array) {
  std::vector<FcitxTextSegment> segments;
  GVariantIter iter;
  g_variant_iter_init(&iter, array);
  const gchar* text = nullptr;
  gint32 format = 0;
  while (g_variant_iter_next(&iter, "(&si)", &text, &format)) segments.push_back({text, format});
  return segments;
}

std::string joined(const std::vector<FcitxTextSegment>& segments) {
  std::string out;
  for (const FcitxTextSegment& segment : segments) out += segment.text;
  return out;
}

FcitxEvent commitString(GVariant* parameters) {
  FcitxEvent event = simple(FcitxEventKind::commitString);
  const gchar* text = nullptr;
  g_variant_get(parameters, "(&s)", &text);
  event.text = text;
  return event;
}

FcitxEvent formattedPreedit(GVariant* parameters) {
  FcitxEvent event = simple(FcitxEventKind::updateFormattedPreedit);
  GVariant* pieces = g_variant_get_child_value(parameters, 0);
  event.preedit = segmentsOf(pieces);
  g_variant_unref(pieces);
  g_variant_get_child(parameters, 1, "i", &event.cursor);
  event.text = joined(event.preedit);
  return event;
}

FcitxEvent clientSideUI(GVariant* parameters) {
  FcitxEvent event = simple(FcitxEventKind::updateClientSideUI);
  GVariant* preedit = nullptr;
  GVariant* auxUp = nullptr;
  GVariant* auxDown = nullptr;
  GVariant* candidates = nullptr;
  gboolean hasPrev = FALSE;
  gboolean hasNext = FALSE;
  g_variant_get(parameters, "(@a(si)i@a(si)@a(si)@a(ss)iibb)", &preedit, &event.cursor, &auxUp,
                &auxDown, &candidates, &event.candidateIndex, &event.layoutHint, &hasPrev,
                &hasNext);
  event.preedit = segmentsOf(preedit);
  event.text = joined(event.preedit);
  event.auxUp = joined(segmentsOf(auxUp));
  event.auxDown = joined(segmentsOf(auxDown));
  GVariantIter iter;
  g_variant_iter_init(&iter, candidates);
  const gchar* label = nullptr;
  const gchar* text = nullptr;
  while (g_variant_iter_next(&iter, "(&s&s)", &label, &text)) {
    event.candidates.push_back({label, text});
  }
  event.hasPrev = hasPrev != FALSE;
  event.hasNext = hasNext != FALSE;
  for (GVariant* v : {preedit, auxUp, auxDown, candidates}) g_variant_unref(v);
  return event;
}

FcitxEvent forwardKey(GVariant* parameters) {
  FcitxEvent event = simple(FcitxEventKind::forwardKey);
  gboolean release = FALSE;
  g_variant_get(parameters, "(uub)", &event.keysym, &event.state, &release);
  event.release = release != FALSE;
  return event;
}

FcitxEvent deleteSurroundingText(GVariant* parameters) {
  FcitxEvent event = simple(FcitxEventKind::deleteSurroundingText);
  g_variant_get(parameters, "(iu)", &event.offset, &event.count);
  return event;
}

FcitxEvent currentIM(GVariant* parameters) {
  FcitxEvent event = simple(FcitxEventKind::currentIM);
  const gchar* uniqueName = nullptr;
  g_variant_get(parameters, "(&s&s&s)", nullptr, &uniqueName, nullptr);
  event.text = uniqueName;
  return event;
}

struct SignalReader {
  std::string_view name;
  const char* type;
  FcitxEvent (*read)(GVariant*);
};

const std::array<SignalReader, 6> kSignalReaders = {{
    {"CommitString", "(s)", commitString},
    {"UpdateFormattedPreedit", "(a(si)i)", formattedPreedit},
    {"UpdateClientSideUI", "(a(si)ia(si)a(si)a(ss)iibb)", clientSideUI},
    {"ForwardKey", "(uub)", forwardKey},
    {"DeleteSurroundingText", "(iu)", deleteSurroundingText},
    {"CurrentIM", "(sss)", currentIM},
}};

void onSignal(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* name,
              GVariant* parameters, gpointer user) {
  for (const SignalReader& reader : kSignalReaders) {
    if (reader.name == name && g_variant_is_of_type(parameters, G_VARIANT_TYPE(reader.type))) {
      static_cast<FcitxTestClient*>(user)->record(reader.read(parameters));
    }
  }
}

}  // namespace

FcitxTestClient::FcitxTestClient() : mainContext_(g_main_context_new()) {}

FcitxTestClient::~FcitxTestClient() {
  if (connection_ != nullptr) {
    if (subscription_ != 0) g_dbus_connection_signal_unsubscribe(connection_, subscription_);
    g_dbus_connection_close_sync(connection_, nullptr, nullptr);
    g_object_unref(connection_);
  }
  drainContext(mainContext_);
  g_main_context_unref(mainContext_);
}

bool FcitxTestClient::connect(const std::string& address, const FcitxClientOptions& options) {
  options_ = options;
  // The connection's signals are delivered to the main context current while it is made.
  g_main_context_push_thread_default(mainContext_);
  GError* error = nullptr;
  connection_ = g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  const bool created = connection_ != nullptr && createContext();
  g_main_context_pop_thread_default(mainContext_);
  if (connection_ == nullptr) {
    fail("cannot reach the bus at " + address + ": " +
         (error != nullptr ? error->message : "no reason given"));
  }
  g_clear_error(&error);
  if (!created) return false;
  const std::uint64_t capabilities = kPreedit | kFormattedPreedit |
                                     (options_.clientSidePanel ? kClientSideInputPanel : 0) |
                                     (options_.unfocusCommit ? kClientUnfocusCommit : 0);
  return call("SetCapability", g_variant_new("(t)", capabilities));
}

// Subscribes before anything can happen to the context, so the log misses no signal.
bool FcitxTestClient::createContext() {
  GVariantBuilder properties;
  g_variant_builder_init(&properties, G_VARIANT_TYPE("a(ss)"));
  g_variant_builder_add(&properties, "(ss)", "program", "yakdrom-test");
  GError* error = nullptr;
  GVariant* reply =
      g_dbus_connection_call_sync(connection_, kService, kInputMethodPath, kInputMethod,
                                  "CreateInputContext", g_variant_new("(a(ss))", &properties),
                                  G_VARIANT_TYPE("(oay)"), G_DBUS_CALL_FLAGS_NO_AUTO_START,
                                  static_cast<int>(options_.deadline.count()), nullptr, &error);
  if (reply == nullptr) {
    fail(std::string("CreateInputContext failed: ") + (error != nullptr ? error->message : "?"));
    g_clear_error(&error);
    return false;
  }
  const gchar* path = nullptr;
  g_variant_get(reply, "(&o@ay)", &path, nullptr);
  contextPath_ = path;
  g_variant_unref(reply);
  subscription_ = g_dbus_connection_signal_subscribe(
      connection_, nullptr, kInputContext, nullptr, contextPath_.c_str(), nullptr,
      G_DBUS_SIGNAL_FLAGS_NONE, onSignal, this, nullptr);
  return true;
}

bool FcitxTestClient::useInputMethod(const std::string& inputMethod) {
  GVariantBuilder entries;
  g_variant_builder_init(&entries, G_VARIANT_TYPE("a(ss)"));
  g_variant_builder_add(&entries, "(ss)", kKeyboard, "");
  g_variant_builder_add(&entries, "(ss)", inputMethod.c_str(), "");
  const auto current = [&] {
    const auto reported = events({FcitxEventKind::currentIM});
    return !reported.empty() && reported.back().text == inputMethod;
  };
  // The daemon ignores a current input method outside the group, so the group comes first.
  const bool asked = callController("SetInputMethodGroupInfo",
                                    g_variant_new("(ssa(ss))", "Default", "us", &entries)) &&
                     callController("SetCurrentIM", g_variant_new("(s)", inputMethod.c_str()));
  if (asked && !waitFor(current, options_.deadline)) {
    fail("the context never reported " + inputMethod + " as its input method");
    return false;
  }
  return asked;
}

bool FcitxTestClient::focusIn() { return call("FocusIn", nullptr); }

bool FcitxTestClient::focusOut() { return call("FocusOut", nullptr); }

bool FcitxTestClient::reset() { return call("Reset", nullptr); }

std::optional<bool> FcitxTestClient::press(const KeyStroke& key) {
  const auto sent = Clock::now();
  const std::optional<bool> handled = send(key, false);
  lastPressTime_ = Clock::now() - sent;
  // Signals sent before the answer are already queued; handling them first keeps the log in
  // the order the input method acted.
  drain();
  if (!handled) return std::nullopt;
  record(keyEvent(*handled ? FcitxEventKind::keyHandled : FcitxEventKind::keyPassedThrough, key));
  const std::optional<bool> released = send(key, true);
  drain();
  return released ? handled : std::nullopt;
}

std::optional<bool> FcitxTestClient::press(std::uint32_t keysym, std::uint32_t code,
                                           std::uint32_t state) {
  return press(KeyStroke{keysym, code, state});
}

std::optional<bool> FcitxTestClient::send(const KeyStroke& key, bool release) {
  const auto time = static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started_).count());
  GVariant* reply = nullptr;
  if (!call("ProcessKeyEvent",
            g_variant_new("(uuubu)", key.keysym, key.code + kXKeycodeOffset, key.state,
                          release ? TRUE : FALSE, time),
            &reply)) {
    return std::nullopt;
  }
  gboolean handled = FALSE;
  g_variant_get(reply, "(b)", &handled);
  g_variant_unref(reply);
  return handled != FALSE;
}

bool FcitxTestClient::type(std::string_view characters) {
  for (const char c : characters) {
    const auto key = KeyStroke::forCharacter(c);
    if (!key) {
      fail(std::string("no US key types '") + c + "'");
      return false;
    }
    if (!press(*key)) return false;
  }
  return true;
}

bool FcitxTestClient::nextPage() { return call("NextPage", nullptr); }

bool FcitxTestClient::prevPage() { return call("PrevPage", nullptr); }

bool FcitxTestClient::selectCandidate(int index) {
  return call("SelectCandidate", g_variant_new("(i)", index));
}

bool FcitxTestClient::waitFor(const std::function<bool()>& holds,
                              std::chrono::milliseconds deadline) {
  return waitOnContext(mainContext_, holds, deadline);
}

void FcitxTestClient::drain() { drainContext(mainContext_); }

std::vector<FcitxEvent> FcitxTestClient::events(std::initializer_list<FcitxEventKind> kinds) const {
  return eventsOf(events_, kinds);
}

void FcitxTestClient::record(FcitxEvent event) {
  switch (event.kind) {
    case FcitxEventKind::commitString:
      field_.commit(event.text);
      break;
    case FcitxEventKind::updateFormattedPreedit:
      field_.setPreedit(event.text);
      break;
    case FcitxEventKind::deleteSurroundingText: {
      field_.deleteAroundCaret(event.offset, event.count);
      break;
    }
    case FcitxEventKind::forwardKey:
      if (!event.release) field_.applyKey({event.keysym, event.code, event.state});
      break;
    case FcitxEventKind::keyPassedThrough:
      field_.applyKey({event.keysym, event.code, event.state});
      break;
    default:
      break;
  }
  events_.push_back(std::move(event));
}

bool FcitxTestClient::call(const char* method, GVariant* parameters, GVariant** reply) {
  if (connection_ == nullptr || contextPath_.empty()) {
    if (parameters != nullptr) g_variant_unref(g_variant_ref_sink(parameters));
    fail(std::string(method) + ": not connected");
    return false;
  }
  GError* error = nullptr;
  GVariant* result =
      g_dbus_connection_call_sync(connection_, kService, contextPath_.c_str(), kInputContext,
                                  method, parameters, nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                                  static_cast<int>(options_.deadline.count()), nullptr, &error);
  if (result == nullptr) {
    fail(std::string(method) + " failed: " + (error != nullptr ? error->message : "?"));
    g_clear_error(&error);
    return false;
  }
  if (reply != nullptr) {
    *reply = result;
  } else {
    g_variant_unref(result);
  }
  return true;
}

bool FcitxTestClient::callController(const char* method, GVariant* parameters) {
  if (connection_ == nullptr) {
    g_variant_unref(g_variant_ref_sink(parameters));
    fail(std::string(method) + ": not connected");
    return false;
  }
  GError* error = nullptr;
  GVariant* result =
      g_dbus_connection_call_sync(connection_, kService, kControllerPath, kController, method,
                                  parameters, nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START,
                                  static_cast<int>(options_.deadline.count()), nullptr, &error);
  if (result == nullptr) {
    fail(std::string(method) + " failed: " + (error != nullptr ? error->message : "?"));
    g_clear_error(&error);
    return false;
  }
  g_variant_unref(result);
  return true;
}

void FcitxTestClient::fail(const std::string& reason) { error_ = reason; }

}  // namespace yakdrom::testing
