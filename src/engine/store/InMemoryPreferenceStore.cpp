#include "engine/store/InMemoryPreferenceStore.h"

#include <limits>

#include "engine/store/StoredText.h"

namespace yakdrom {
namespace {

using detail::truncated;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

std::optional<InMemoryPreferenceStore::Value> InMemoryPreferenceStore::find(
    std::string_view key) const {
  std::lock_guard lock(mutex_);
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void InMemoryPreferenceStore::put(std::string_view key, Value value) {
  std::lock_guard lock(mutex_);
  values_.insert_or_assign(std::string(key), std::move(value));
}

std::optional<std::int64_t> InMemoryPreferenceStore::integer(std::string_view key) const {
  auto v = find(key);
  if (!v) return std::nullopt;
  return std::visit(Overloaded{[](std::int64_t i) -> std::optional<std::int64_t> { return i; },
                               [](double d) { return truncated(d); },
                               [](bool b) -> std::optional<std::int64_t> { return b ? 1 : 0; },
                               [](const auto&) -> std::optional<std::int64_t> { return {}; }},
                    *v);
}

std::optional<double> InMemoryPreferenceStore::real(std::string_view key) const {
  auto v = find(key);
  if (!v) return std::nullopt;
  return std::visit(
      Overloaded{[](std::int64_t i) -> std::optional<double> { return static_cast<double>(i); },
                 [](double d) -> std::optional<double> { return d; },
                 [](bool b) -> std::optional<double> { return b ? 1.0 : 0.0; },
                 [](const auto&) -> std::optional<double> { return {}; }},
      *v);
}

std::optional<bool> InMemoryPreferenceStore::boolean(std::string_view key) const {
  auto v = find(key);
  if (!v) return std::nullopt;
  return std::visit(Overloaded{[](std::int64_t i) -> std::optional<bool> { return i != 0; },
                               [](double d) -> std::optional<bool> { return d != 0.0; },
                               [](bool b) -> std::optional<bool> { return b; },
                               [](const auto&) -> std::optional<bool> { return {}; }},
                    *v);
}

std::optional<std::string> InMemoryPreferenceStore::string(std::string_view key) const {
  auto v = find(key);
  if (!v || !std::holds_alternative<std::string>(*v)) return std::nullopt;
  return std::get<std::string>(*v);
}

std::optional<IntegerMap> InMemoryPreferenceStore::integerMap(std::string_view key) const {
  auto v = find(key);
  if (!v || !std::holds_alternative<IntegerMap>(*v)) return std::nullopt;
  return std::get<IntegerMap>(*v);
}

void InMemoryPreferenceStore::setInteger(std::string_view key, std::int64_t value) {
  put(key, value);
}
void InMemoryPreferenceStore::setReal(std::string_view key, double value) { put(key, value); }
void InMemoryPreferenceStore::setBoolean(std::string_view key, bool value) { put(key, value); }
void InMemoryPreferenceStore::setString(std::string_view key, std::string_view value) {
  put(key, std::string(value));
}
void InMemoryPreferenceStore::setIntegerMap(std::string_view key, const IntegerMap& value) {
  put(key, value);
}

void InMemoryPreferenceStore::remove(std::string_view key) {
  std::lock_guard lock(mutex_);
  if (auto it = values_.find(key); it != values_.end()) values_.erase(it);
}

bool InMemoryPreferenceStore::contains(std::string_view key) const {
  std::lock_guard lock(mutex_);
  return values_.find(key) != values_.end();
}

void InMemoryPreferenceStore::update(const std::function<void(PreferenceStore&)>& change) {
  std::lock_guard lock(mutex_);
  change(*this);
}

std::optional<std::string> InMemoryPreferenceStore::lastError() const { return std::nullopt; }

}  // namespace yakdrom
