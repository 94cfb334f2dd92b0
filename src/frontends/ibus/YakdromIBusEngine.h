// The GObject engine type IBus instantiates for each input context: a trampoline that hands
// every engine signal to one IBusInputEngine, made with the engine and deleted with it.
// Main thread.
#pragma once

#include <ibus.h>

#include "frontends/ibus/IBusInputEngine.h"

namespace yakdrom {

class YakdromIBusEngine {
 public:
  /// Returns a new engine at `objectPath` on `connection`, serving over `services`, which
  /// must outlive it. It asks IBus for the client's name with every focus change.
  [[nodiscard]] static IBusEngine* create(GDBusConnection* connection, const char* objectPath,
                                          const IBusEngineServices& services);

  /// Returns the input engine behind `engine`, which must be one of ours.
  [[nodiscard]] static IBusInputEngine& inputOf(IBusEngine* engine);
};

}  // namespace yakdrom
