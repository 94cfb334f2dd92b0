// Waiting for a D-Bus client's signals on its own GLib main context, without sleeping: the
// IBus and Fcitx test clients each iterate theirs. Main thread of the client.
#pragma once

#include <glib.h>

#include <chrono>
#include <functional>

namespace yakdrom::testing {

/// Handles what has already arrived on `context`.
inline void drainContext(GMainContext* context) {
  while (g_main_context_iteration(context, FALSE)) {
  }
}

/// Handles `context`'s events until `holds` is true or `deadline` passed; returns whether
/// it holds.
inline bool waitOnContext(GMainContext* context, const std::function<bool()>& holds,
                          std::chrono::milliseconds deadline) {
  using Clock = std::chrono::steady_clock;
  const auto until = Clock::now() + deadline;
  drainContext(context);
  while (!holds()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (left.count() <= 0) return false;
    // A timer in the same main context wakes the blocking iteration at the deadline.
    GSource* timer = g_timeout_source_new(static_cast<guint>(left.count()) + 1);
    g_source_set_callback(
        timer, [](gpointer) { return G_SOURCE_REMOVE; }, nullptr, nullptr);
    g_source_attach(timer, context);
    g_main_context_iteration(context, TRUE);
    g_source_destroy(timer);
    g_source_unref(timer);
  }
  return true;
}

}  // namespace yakdrom::testing
