#include "frontends/ibus/support/IBusTestClient.h"

#include <ibus.h>

#include <array>

#include "frontends/support/MainContextWait.h"

namespace yakdrom::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kCapabilities = IBUS_CAP_PREEDIT_TEXT | IBUS_CAP_AUXILIARY_TEXT |
                                        IBUS_CAP_LOOKUP_TABLE | IBUS_CAP_FOCUS | IBUS_CAP_PROPERTY;
// Engines read only a little before the cursor; a whole document each key would measure
// the copying.
constexpr long kSurroundingCharacters = 64;

IBusTestClient& clientOf(gpointer user) { return *static_cast<IBusTestClient*>(user); }

std::string textOf(IBusText* text) {
  return text != nullptr && text->text != nullptr ? text->text : "";
}

bool isUnderlined(IBusText* text) {
  const auto length = static_cast<guint>(ibus_text_get_length(text));
  if (length == 0 || text->attrs == nullptr) return false;
  for (guint i = 0; IBusAttribute* attr = ibus_attr_list_get(text->attrs, i); ++i) {
    if (ibus_attribute_get_attr_type(attr) == IBUS_ATTR_TYPE_UNDERLINE &&
        ibus_attribute_get_value(attr) != IBUS_ATTR_UNDERLINE_NONE &&
        ibus_attribute_get_start_index(attr) == 0 && ibus_attribute_get_end_index(attr) >= length)
      return true;
  }
  return false;
}

void appendProperties(IBusPropList* list, IBusEvent& event) {
  for (guint i = 0; IBusProperty* property = ibus_prop_list_get(list, i); ++i) {
    event.properties.emplace_back(ibus_property_get_key(property),
                                  textOf(ibus_property_get_label(property)));
    if (IBusPropList* menu = ibus_property_get_sub_props(property)) appendProperties(menu, event);
  }
}

IBusEvent simple(IBusEventKind kind) {
  IBusEvent event;
  event.kind = kind;
  return event;
}

IBusEvent keyEvent(IBusEventKind kind, const KeyStroke& key) {
  IBusEvent event = simple(kind);
  event.keyval = key.keysym;
  event.keycode = key.code;
  event.state = key.state;
  return event;
}

IBusEvent withText(IBusEventKind kind, IBusText* text, bool visible) {
  IBusEvent event = simple(kind);
  event.text = textOf(text);
  event.visible = visible;
  return event;
}

void onCommitText(IBusInputContext*, IBusText* text, gpointer user) {
  clientOf(user).record(withText(IBusEventKind::commitText, text, true));
}

void onUpdatePreeditText(IBusInputContext*, IBusText* text, guint cursor, gboolean visible,
                         gpointer user) {
  IBusEvent event = withText(IBusEventKind::updatePreeditText, text, visible != FALSE);
  event.cursor = cursor;
  event.underlined = isUnderlined(text);
  clientOf(user).record(std::move(event));
}

void onHidePreeditText(IBusInputContext*, gpointer user) {
  clientOf(user).record(simple(IBusEventKind::hidePreeditText));
}

void onForwardKeyEvent(IBusInputContext*, guint keyval, guint keycode, guint state, gpointer user) {
  clientOf(user).record(keyEvent(IBusEventKind::forwardKeyEvent, {keyval, keycode, state}));
}

void onUpdateLookupTable(IBusInputContext*, IBusLookupTable* table, gboolean visible,
                         gpointer user) {
  IBusEvent event = simple(IBusEventKind::updateLookupTable);
  event.cursor = ibus_lookup_table_get_cursor_pos(table);
  event.visible = visible != FALSE;
  event.pageSize = ibus_lookup_table_get_page_size(table);
  event.orientation = ibus_lookup_table_get_orientation(table);
  for (guint i = 0; i < ibus_lookup_table_get_number_of_candidates(table); ++i) {
    event.candidates.push_back(textOf(ibus_lookup_table_get_candidate(table, i)));
  }
  for (guint i = 0; table->labels != nullptr && i < table->labels->len; ++i) {
    event.labels.push_back(textOf(ibus_lookup_table_get_label(table, i)));
  }
  clientOf(user).record(std::move(event));
}

void onHideLookupTable(IBusInputContext*, gpointer user) {
  clientOf(user).record(simple(IBusEventKind::hideLookupTable));
}

void onUpdateAuxiliaryText(IBusInputContext*, IBusText* text, gboolean visible, gpointer user) {
  clientOf(user).record(withText(IBusEventKind::updateAuxiliaryText, text, visible != FALSE));
}

void onHideAuxiliaryText(IBusInputContext*, gpointer user) {
  clientOf(user).record(simple(IBusEventKind::hideAuxiliaryText));
}

void onRegisterProperties(IBusInputContext*, IBusPropList* list, gpointer user) {
  IBusEvent event = simple(IBusEventKind::registerProperties);
  appendProperties(list, event);
  clientOf(user).record(std::move(event));
}

void onUpdateProperty(IBusInputContext*, IBusProperty* property, gpointer user) {
  IBusEvent event = simple(IBusEventKind::updateProperty);
  event.properties.emplace_back(ibus_property_get_key(property),
                                textOf(ibus_property_get_label(property)));
  clientOf(user).record(std::move(event));
}

void onDeleteSurroundingText(IBusInputContext*, gint offset, guint count, gpointer user) {
  IBusEvent event = simple(IBusEventKind::deleteSurroundingText);
  event.offset = offset;
  event.count = count;
  clientOf(user).record(std::move(event));
}

struct SignalHandler {
  const char* name;
  GCallback callback;
};

const std::array<SignalHandler, 11> kSignalHandlers = {{
    {"commit-text", G_CALLBACK(onCommitText)},
    {"update-preedit-text", G_CALLBACK(onUpdatePreeditText)},
    {"hide-preedit-text", G_CALLBACK(onHidePreeditText)},
    {"forward-key-event", G_CALLBACK(onForwardKeyEvent)},
    {"update-lookup-table", G_CALLBACK(onUpdateLookupTable)},
    {"hide-lookup-table", G_CALLBACK(onHideLookupTable)},
    {"update-auxiliary-text", G_CALLBACK(onUpdateAuxiliaryText)},
    {"hide-auxiliary-text", G_CALLBACK(onHideAuxiliaryText)},
    {"register-properties", G_CALLBACK(onRegisterProperties)},
    {"update-property", G_CALLBACK(onUpdateProperty)},
    {"delete-surrounding-text", G_CALLBACK(onDeleteSurroundingText)},
}};

}  // namespace

IBusTestClient::IBusTestClient() : mainContext_(g_main_context_new()) {}

IBusTestClient::~IBusTestClient() {
  if (context_ != nullptr) {
    g_signal_handlers_disconnect_by_data(context_, this);
    g_object_unref(context_);
  }
  if (connection_ != nullptr) {
    g_dbus_connection_close_sync(connection_, nullptr, nullptr);
    g_object_unref(connection_);
  }
  drainContext(mainContext_);
  g_main_context_unref(mainContext_);
}

bool IBusTestClient::connect(const std::string& address, const IBusClientOptions& options) {
  options_ = options;
  // The connection's signals are delivered to the main context current while it is made.
  g_main_context_push_thread_default(mainContext_);
  GError* error = nullptr;
  connection_ = g_dbus_connection_new_for_address_sync(
      address.c_str(),
      static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                        G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
      nullptr, nullptr, &error);
  GVariant* reply = nullptr;
  if (connection_ != nullptr) {
    reply = g_dbus_connection_call_sync(
        connection_, IBUS_SERVICE_IBUS, IBUS_PATH_IBUS, IBUS_INTERFACE_IBUS, "CreateInputContext",
        g_variant_new("(s)", "yakdrom-test"), G_VARIANT_TYPE("(o)"), G_DBUS_CALL_FLAGS_NONE,
        static_cast<int>(options_.deadline.count()), nullptr, &error);
  }
  if (reply != nullptr) {
    const gchar* path = nullptr;
    g_variant_get(reply, "(&o)", &path);
    context_ = ibus_input_context_new(path, connection_, nullptr, &error);
    g_variant_unref(reply);
  }
  g_main_context_pop_thread_default(mainContext_);
  if (context_ == nullptr) {
    fail(std::string("cannot reach the daemon at ") + address + ": " +
         (error != nullptr ? error->message : "no reason given"));
    g_clear_error(&error);
    return false;
  }
  connectSignals();
  const std::uint32_t capabilities =
      (options_.lookupTable ? kCapabilities : kCapabilities & ~IBUS_CAP_LOOKUP_TABLE) |
      (options_.surroundingText ? IBUS_CAP_SURROUNDING_TEXT : 0);
  return call("SetCapabilities", g_variant_new("(u)", capabilities));
}

void IBusTestClient::connectSignals() {
  for (const SignalHandler& handler : kSignalHandlers) {
    g_signal_connect(context_, handler.name, handler.callback, this);
  }
}

bool IBusTestClient::setEngine(const std::string& engine) {
  return call("SetEngine", g_variant_new("(s)", engine.c_str()));
}

bool IBusTestClient::focusIn() { return call("FocusIn", nullptr); }

bool IBusTestClient::focusOut() { return call("FocusOut", nullptr); }

bool IBusTestClient::reset() { return call("Reset", nullptr); }

std::optional<bool> IBusTestClient::press(const KeyStroke& key) {
  if (options_.surroundingText) sendSurroundingText();
  const auto sent = Clock::now();
  const std::optional<bool> handled = send(key, false);
  lastPressTime_ = Clock::now() - sent;
  // Signals sent before the answer are already queued; handling them first keeps the log in
  // the order the engine acted.
  drain();
  if (!handled) return std::nullopt;
  record(keyEvent(*handled ? IBusEventKind::keyHandled : IBusEventKind::keyPassedThrough, key));
  const std::optional<bool> released = send(key, true);
  drain();
  return released ? handled : std::nullopt;
}

std::optional<bool> IBusTestClient::press(std::uint32_t keyval, std::uint32_t keycode,
                                          std::uint32_t state) {
  return press(KeyStroke{keyval, keycode, state});
}

std::optional<bool> IBusTestClient::send(const KeyStroke& key, bool release) {
  const std::uint32_t state = key.state | (release ? IBUS_RELEASE_MASK : 0);
  GVariant* reply = nullptr;
  if (!call("ProcessKeyEvent", g_variant_new("(uuu)", key.keysym, key.code, state), &reply)) {
    return std::nullopt;
  }
  gboolean handled = FALSE;
  g_variant_get(reply, "(b)", &handled);
  g_variant_unref(reply);
  return handled != FALSE;
}

bool IBusTestClient::type(std::string_view characters) {
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

bool IBusTestClient::propertyActivate(const std::string& name, std::uint32_t state) {
  return call("PropertyActivate", g_variant_new("(su)", name.c_str(), state));
}

bool IBusTestClient::pageUp() { return callEngine("PageUp", nullptr); }

bool IBusTestClient::pageDown() { return callEngine("PageDown", nullptr); }

bool IBusTestClient::cursorUp() { return callEngine("CursorUp", nullptr); }

bool IBusTestClient::cursorDown() { return callEngine("CursorDown", nullptr); }

bool IBusTestClient::candidateClicked(std::uint32_t index, std::uint32_t button,
                                      std::uint32_t state) {
  return callEngine("CandidateClicked", g_variant_new("(uuu)", index, button, state));
}

void IBusTestClient::setEngineObject(std::string busName, std::string objectPath) {
  engineName_ = std::move(busName);
  enginePath_ = std::move(objectPath);
}

// The daemon routes a message with a destination to the connection owning that name, as a
// bus does, so the client can stand in for the panel.
bool IBusTestClient::callEngine(const char* method, GVariant* parameters) {
  if (connection_ == nullptr || engineName_.empty()) {
    fail(std::string(method) + ": no engine object named");
    return false;
  }
  GError* error = nullptr;
  GVariant* result = g_dbus_connection_call_sync(
      connection_, engineName_.c_str(), enginePath_.c_str(), "org.freedesktop.IBus.Engine", method,
      parameters, nullptr, G_DBUS_CALL_FLAGS_NONE, static_cast<int>(options_.deadline.count()),
      nullptr, &error);
  if (result == nullptr) {
    fail(std::string(method) + " failed: " + (error != nullptr ? error->message : "?"));
    g_clear_error(&error);
    return false;
  }
  g_variant_unref(result);
  drain();
  return true;
}

bool IBusTestClient::setCursorLocation(int x, int y, int width, int height) {
  return call("SetCursorLocation", g_variant_new("(iiii)", x, y, width, height));
}

bool IBusTestClient::waitFor(const std::function<bool()>& holds,
                             std::chrono::milliseconds deadline) {
  return waitOnContext(mainContext_, holds, deadline);
}

void IBusTestClient::drain() { drainContext(mainContext_); }

void IBusTestClient::record(IBusEvent event) {
  switch (event.kind) {
    case IBusEventKind::commitText:
      field_.commit(event.text);
      break;
    case IBusEventKind::updatePreeditText:
      field_.setPreedit(event.visible ? event.text : "");
      break;
    case IBusEventKind::hidePreeditText:
      field_.setPreedit({});
      break;
    case IBusEventKind::deleteSurroundingText: {
      field_.deleteAroundCaret(event.offset, event.count);
      break;
    }
    case IBusEventKind::forwardKeyEvent:
      if ((event.state & IBUS_RELEASE_MASK) == 0)
        field_.applyKey({event.keyval, event.keycode, event.state});
      break;
    case IBusEventKind::keyPassedThrough:
      field_.applyKey({event.keyval, event.keycode, event.state});
      break;
    default:
      break;
  }
  events_.push_back(std::move(event));
}

void IBusTestClient::sendSurroundingText() {
  const std::string tail = field_.tail(kSurroundingCharacters);
  if (tail == sentSurrounding_) return;
  IBusText* text = ibus_text_new_from_string(tail.c_str());
  GVariant* serialized = ibus_serializable_serialize_object(IBUS_SERIALIZABLE(text));
  const auto cursor = static_cast<std::uint32_t>(g_utf8_strlen(tail.c_str(), -1));
  if (call("SetSurroundingText", g_variant_new("(vuu)", serialized, cursor, cursor))) {
    sentSurrounding_ = tail;
  }
  g_object_unref(g_object_ref_sink(text));
}

bool IBusTestClient::call(const char* method, GVariant* parameters, GVariant** reply) {
  if (context_ == nullptr) {
    fail(std::string(method) + ": not connected");
    return false;
  }
  GError* error = nullptr;
  GVariant* result =
      g_dbus_proxy_call_sync(G_DBUS_PROXY(context_), method, parameters, G_DBUS_CALL_FLAGS_NONE,
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

void IBusTestClient::fail(const std::string& reason) { error_ = reason; }

}  // namespace yakdrom::testing
