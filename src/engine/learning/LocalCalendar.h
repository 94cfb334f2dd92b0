// The current time and the user's calendar days: a clock and a time zone, both replaceable
// so that day boundaries, pruning and time stamps can be tested without waiting.
// Copies share the time zone; any thread may call a LocalCalendar.
#pragma once

#include <unicode/uversion.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

U_NAMESPACE_BEGIN
class TimeZone;
U_NAMESPACE_END

namespace yakdrom {

class LocalCalendar {
 public:
  using TimePoint = std::chrono::system_clock::time_point;
  using Clock = std::function<TimePoint()>;

  /// Creates a calendar on the system clock in the system's current time zone.
  LocalCalendar();

  /// Creates a calendar on `clock` in the zone `timeZoneId` (an IANA name such as
  /// "Asia/Shanghai"; empty for the system's zone, unknown names read as GMT).
  LocalCalendar(Clock clock, std::string_view timeZoneId);

  /// Returns the clock's current time.
  [[nodiscard]] TimePoint now() const;

  /// Returns the local calendar date of `t` as "yyyy-MM-dd", e.g. "2026-03-14".
  [[nodiscard]] std::string dayKey(TimePoint t) const;

  /// Returns the start of the local day named by a "yyyy-MM-dd" key, or nothing when the
  /// key is not exactly such a date.
  [[nodiscard]] std::optional<TimePoint> startOfDay(std::string_view dayKey) const;

  /// Returns `t` moved by `days` calendar days, keeping the local wall-clock time.
  [[nodiscard]] TimePoint addingDays(TimePoint t, int days) const;

  /// Returns the local time of `t` as "yyyyMMdd-HHmmss-SSS", e.g. "20260314-093005-042".
  [[nodiscard]] std::string timestamp(TimePoint t) const;

 private:
  using LocalTime = std::chrono::local_time<std::chrono::milliseconds>;

  [[nodiscard]] LocalTime toLocal(TimePoint t) const;
  [[nodiscard]] TimePoint fromLocal(LocalTime local) const;

  Clock clock_;
  std::shared_ptr<const icu::TimeZone> zone_;
};

}  // namespace yakdrom
