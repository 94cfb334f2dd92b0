#include "engine/learning/LocalCalendar.h"

#include <unicode/basictz.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <cstdio>

namespace yakdrom {
namespace {

using std::chrono::days;
using std::chrono::milliseconds;

std::shared_ptr<const icu::TimeZone> makeZone(std::string_view id) {
  if (id.empty()) return std::shared_ptr<const icu::TimeZone>(icu::TimeZone::createDefault());
  const auto name = icu::UnicodeString::fromUTF8(icu::StringPiece(id.data(), id.size()));
  return std::shared_ptr<const icu::TimeZone>(icu::TimeZone::createTimeZone(name));
}

double toUDate(std::chrono::sys_time<milliseconds> t) {
  return static_cast<double>(t.time_since_epoch().count());
}

// Reads exactly `width` ASCII digits.
std::optional<int> fixedDigits(std::string_view s, std::size_t width) {
  if (s.size() != width) return std::nullopt;
  int value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

LocalCalendar::LocalCalendar()
    : LocalCalendar([] { return std::chrono::system_clock::now(); }, "") {}

LocalCalendar::LocalCalendar(Clock clock, std::string_view timeZoneId)
    : clock_(std::move(clock)), zone_(makeZone(timeZoneId)) {}

LocalCalendar::TimePoint LocalCalendar::now() const { return clock_(); }

LocalCalendar::LocalTime LocalCalendar::toLocal(TimePoint t) const {
  const auto ms = std::chrono::floor<milliseconds>(t);
  int32_t raw = 0;
  int32_t dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone_->getOffset(toUDate(ms), false, raw, dst, status);
  if (U_FAILURE(status)) raw = dst = 0;
  return LocalTime(ms.time_since_epoch() + milliseconds(raw + dst));
}

LocalCalendar::TimePoint LocalCalendar::fromLocal(LocalTime local) const {
  int32_t raw = 0;
  int32_t dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  const double wall = static_cast<double>(local.time_since_epoch().count());
  // A wall time skipped or repeated by a daylight-saving change is read with the offset in
  // force before the change, so every local time maps to exactly one instant.
  if (const auto* basic = dynamic_cast<const icu::BasicTimeZone*>(zone_.get())) {
    basic->getOffsetFromLocal(wall, UCAL_TZ_LOCAL_FORMER, UCAL_TZ_LOCAL_FORMER, raw, dst, status);
  } else {
    zone_->getOffset(wall, true, raw, dst, status);
  }
  if (U_FAILURE(status)) raw = dst = 0;
  return TimePoint(local.time_since_epoch() - milliseconds(raw + dst));
}

std::string LocalCalendar::dayKey(TimePoint t) const {
  const std::chrono::year_month_day date(std::chrono::floor<days>(toLocal(t)));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
  return buf;
}

std::optional<LocalCalendar::TimePoint> LocalCalendar::startOfDay(std::string_view key) const {
  if (key.size() != 10 || key[4] != '-' || key[7] != '-') return std::nullopt;
  const auto y = fixedDigits(key.substr(0, 4), 4);
  const auto m = fixedDigits(key.substr(5, 2), 2);
  const auto d = fixedDigits(key.substr(8, 2), 2);
  if (!y || !m || !d) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(*y),
                                         std::chrono::month(static_cast<unsigned>(*m)),
                                         std::chrono::day(static_cast<unsigned>(*d))};
  if (!date.ok()) return std::nullopt;
  return fromLocal(LocalTime(std::chrono::local_days(date).time_since_epoch()));
}

LocalCalendar::TimePoint LocalCalendar::addingDays(TimePoint t, int count) const {
  return fromLocal(toLocal(t) + days(count));
}

std::string LocalCalendar::timestamp(TimePoint t) const {
  const LocalTime local = toLocal(t);
  const auto day = std::chrono::floor<days>(local);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss<milliseconds> time(local - day);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d%02u%02u-%02d%02d%02d-%03d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()),
                static_cast<int>(time.subseconds().count()));
  return buf;
}

}  // namespace yakdrom
