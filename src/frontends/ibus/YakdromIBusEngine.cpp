#include "frontends/ibus/YakdromIBusEngine.h"

extern "C" {

struct YakdromEngine {
  IBusEngine parent;
  yakdrom::IBusInputEngine* input;
};

struct YakdromEngineClass {
  IBusEngineClass parent;
};

}  // extern "C"

namespace yakdrom {
namespace {

GType yakdromEngineType();

YakdromEngine* asOurs(IBusEngine* engine) { return reinterpret_cast<YakdromEngine*>(engine); }

IBusInputEngine& input(IBusEngine* engine) { return *asOurs(engine)->input; }

gboolean processKeyEvent(IBusEngine* engine, guint /*keyval*/, guint keycode, guint state) {
  return input(engine).processKey(keycode, state) ? TRUE : FALSE;
}

void focusIn(IBusEngine* engine) { input(engine).focusIn(nullptr); }

void focusInId(IBusEngine* engine, const gchar* /*objectPath*/, const gchar* client) {
  input(engine).focusIn(client);
}

void focusOut(IBusEngine* engine) { input(engine).focusOut(); }

void focusOutId(IBusEngine* engine, const gchar* /*objectPath*/) { input(engine).focusOut(); }

void reset(IBusEngine* engine) { input(engine).reset(); }

void setCursorLocation(IBusEngine* engine, gint x, gint y, gint w, gint h) {
  engine->cursor_area = {x, y, w, h};
  input(engine).setCursorLocation(x, y, w, h);
}

void pageUp(IBusEngine* engine) { input(engine).moveSelection(-1, true); }
void pageDown(IBusEngine* engine) { input(engine).moveSelection(1, true); }
void cursorUp(IBusEngine* engine) { input(engine).moveSelection(-1, false); }
void cursorDown(IBusEngine* engine) { input(engine).moveSelection(1, false); }

void candidateClicked(IBusEngine* engine, guint index, guint /*button*/, guint /*state*/) {
  input(engine).clickCandidate(index);
}

void propertyActivate(IBusEngine* engine, const gchar* name, guint /*state*/) {
  input(engine).activateProperty(name);
}

void destroy(IBusObject* object) {
  YakdromEngine* engine = asOurs(IBUS_ENGINE(object));
  delete engine->input;
  engine->input = nullptr;
  IBUS_OBJECT_CLASS(g_type_class_peek_parent(G_OBJECT_GET_CLASS(object)))->destroy(object);
}

void classInit(gpointer klass, gpointer /*data*/) {
  IBUS_OBJECT_CLASS(klass)->destroy = destroy;
  auto* engine = static_cast<IBusEngineClass*>(klass);
  engine->process_key_event = processKeyEvent;
  engine->focus_in = focusIn;
  engine->focus_in_id = focusInId;
  engine->focus_out = focusOut;
  engine->focus_out_id = focusOutId;
  engine->reset = reset;
  engine->disable = focusOut;
  engine->set_cursor_location = setCursorLocation;
  engine->page_up = pageUp;
  engine->page_down = pageDown;
  engine->cursor_up = cursorUp;
  engine->cursor_down = cursorDown;
  engine->candidate_clicked = candidateClicked;
  engine->property_activate = propertyActivate;
}

GType yakdromEngineType() {
  static const GType type =
      g_type_register_static_simple(IBUS_TYPE_ENGINE, "YakdromEngine", sizeof(YakdromEngineClass),
                                    classInit, sizeof(YakdromEngine), nullptr, GTypeFlags{});
  return type;
}

}  // namespace

IBusEngine* YakdromIBusEngine::create(GDBusConnection* connection, const char* objectPath,
                                      const IBusEngineServices& services) {
  auto* engine = IBUS_ENGINE(g_object_new(yakdromEngineType(), "engine-name", "yakdrom",
                                          "object-path", objectPath, "connection", connection,
                                          "has-focus-id", TRUE, nullptr));
  asOurs(engine)->input = new IBusInputEngine(engine, services);
  return engine;
}

IBusInputEngine& YakdromIBusEngine::inputOf(IBusEngine* engine) { return input(engine); }

}  // namespace yakdrom
