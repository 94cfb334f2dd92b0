#include "frontends/ibus/IBusEngineServer.h"

#include "frontends/ibus/YakdromIBusEngine.h"

namespace yakdrom {

IBusEngineServer::IBusEngineServer(const IBusEngineServices& services,
                                   std::function<void()> disconnected)
    : services_(services), disconnected_(std::move(disconnected)) {}

IBusEngineServer::~IBusEngineServer() {
  if (factory_ != nullptr) g_object_unref(factory_);
  if (bus_ != nullptr) {
    g_signal_handlers_disconnect_by_data(bus_, this);
    g_object_unref(bus_);
  }
}

bool IBusEngineServer::start(std::string_view busName) {
  ibus_init();
  bus_ = ibus_bus_new();
  if (!ibus_bus_is_connected(bus_)) {
    error_ = "cannot connect to the IBus daemon";
    return false;
  }
  g_signal_connect(bus_, "disconnected", G_CALLBACK(busDisconnected), this);
  factory_ = ibus_factory_new(ibus_bus_get_connection(bus_));
  g_signal_connect(factory_, "create-engine", G_CALLBACK(createEngine), this);
  const guint reply =
      ibus_bus_request_name(bus_, std::string(busName).c_str(), IBUS_BUS_NAME_FLAG_DO_NOT_QUEUE);
  if (reply != IBUS_BUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) {
    error_ = "the name " + std::string(busName) + " is taken";
    return false;
  }
  return true;
}

IBusEngine* IBusEngineServer::createEngine(IBusFactory* factory, const gchar* name,
                                           gpointer server) {
  auto& self = *static_cast<IBusEngineServer*>(server);
  if (name == nullptr || name != kIBusEngineName) return nullptr;
  const std::string path =
      "/org/freedesktop/IBus/Engine/Yakdrom/" + std::to_string(++self.engineCount_);
  GDBusConnection* connection = ibus_service_get_connection(IBUS_SERVICE(factory));
  return YakdromIBusEngine::create(connection, path.c_str(), self.services_);
}

void IBusEngineServer::busDisconnected(IBusBus* /*bus*/, gpointer server) {
  static_cast<IBusEngineServer*>(server)->disconnected_();
}

}  // namespace yakdrom
