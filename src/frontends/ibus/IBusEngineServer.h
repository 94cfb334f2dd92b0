// The engine process's place on the IBus bus: the connection, the factory that makes one
// engine per input context, and the component's bus name, which IBus waits for before it
// counts the engine as started. Main thread.
#pragma once

#include <ibus.h>

#include <functional>
#include <string>
#include <string_view>

#include "frontends/ibus/IBusInputEngine.h"

namespace yakdrom {

/// The engine name IBus users choose.
inline constexpr std::string_view kIBusEngineName = "yakdrom";

class IBusEngineServer {
 public:
  /// Makes engines over `services`, which must outlive the server; calls `disconnected`
  /// when the bus goes away.
  IBusEngineServer(const IBusEngineServices& services, std::function<void()> disconnected);
  ~IBusEngineServer();
  IBusEngineServer(const IBusEngineServer&) = delete;
  IBusEngineServer& operator=(const IBusEngineServer&) = delete;

  /// Connects to the bus of the user's ibus-daemon, offers the engine and takes `busName`;
  /// returns false, with the reason in error(), when any step fails.
  [[nodiscard]] bool start(std::string_view busName);

  /// Returns why start() failed.
  [[nodiscard]] const std::string& error() const { return error_; }

 private:
  static IBusEngine* createEngine(IBusFactory* factory, const gchar* name, gpointer server);
  static void busDisconnected(IBusBus* bus, gpointer server);

  const IBusEngineServices& services_;
  std::function<void()> disconnected_;
  IBusBus* bus_ = nullptr;
  IBusFactory* factory_ = nullptr;
  unsigned engineCount_ = 0;
  std::string error_;
};

}  // namespace yakdrom
