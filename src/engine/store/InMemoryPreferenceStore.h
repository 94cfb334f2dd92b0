// A preference store held in memory: the store of tests and of the command line when no
// persistent settings are wanted. Any thread may call it.
#pragma once

#include <mutex>
#include <variant>

#include "engine/store/PreferenceStore.h"

namespace yakdrom {

class InMemoryPreferenceStore final : public PreferenceStore {
 public:
  /// A value as stored: each setter keeps its own type, and readers convert like the
  /// platform stores do.
  using Value = std::variant<std::int64_t, double, bool, std::string, IntegerMap>;

  [[nodiscard]] std::optional<std::int64_t> integer(std::string_view key) const override;
  [[nodiscard]] std::optional<double> real(std::string_view key) const override;
  [[nodiscard]] std::optional<bool> boolean(std::string_view key) const override;
  [[nodiscard]] std::optional<std::string> string(std::string_view key) const override;
  [[nodiscard]] std::optional<IntegerMap> integerMap(std::string_view key) const override;

  void setInteger(std::string_view key, std::int64_t value) override;
  void setReal(std::string_view key, double value) override;
  void setBoolean(std::string_view key, bool value) override;
  void setString(std::string_view key, std::string_view value) override;
  void setIntegerMap(std::string_view key, const IntegerMap& value) override;
  void remove(std::string_view key) override;
  [[nodiscard]] bool contains(std::string_view key) const override;
  void update(const std::function<void(PreferenceStore&)>& change) override;
  /// Returns nothing: memory never fails to keep a value.
  [[nodiscard]] std::optional<std::string> lastError() const override;

 private:
  [[nodiscard]] std::optional<Value> find(std::string_view key) const;
  void put(std::string_view key, Value value);

  // Recursive, so that a change run by update() uses the store's own calls.
  mutable std::recursive_mutex mutex_;
  std::map<std::string, Value, std::less<>> values_;
};

}  // namespace yakdrom
