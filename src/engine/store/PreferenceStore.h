// The per-user key-value store that settings and typing statistics live in. The engine
// sees only this interface; the desktop build backs it with QSettings, tools and tests
// with InMemoryPreferenceStore. Implementations are safe to call from any thread, and
// never call out while they hold their own lock, except to the change given to update().
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace yakdrom {

using IntegerMap = std::map<std::string, std::int64_t, std::less<>>;

class PreferenceStore {
 public:
  virtual ~PreferenceStore() = default;

  /// Makes `store` the process-wide store. A front end calls it once at start-up, before
  /// anything reads the shared store; returns false and changes nothing when a store is
  /// already in place (installed earlier, or the in-memory default taken by a first read).
  [[nodiscard]] static bool installShared(std::shared_ptr<PreferenceStore> store);

  /// Returns the process-wide store: the installed one, else an in-memory store made on
  /// first use. Any thread may call it.
  [[nodiscard]] static std::shared_ptr<PreferenceStore> shared();

  /// Returns the integer under `key`; a stored double is truncated, anything else is absent.
  [[nodiscard]] virtual std::optional<std::int64_t> integer(std::string_view key) const = 0;
  /// Returns the number under `key`; a stored integer is widened, anything else is absent.
  [[nodiscard]] virtual std::optional<double> real(std::string_view key) const = 0;
  /// Returns the Boolean under `key`; a stored number reads as true when non-zero.
  [[nodiscard]] virtual std::optional<bool> boolean(std::string_view key) const = 0;
  /// Returns the string under `key`, or nothing when absent or not a string.
  [[nodiscard]] virtual std::optional<std::string> string(std::string_view key) const = 0;
  /// Returns the string-to-integer map under `key`; a map holding any non-integer
  /// value, or a value of another type, is absent.
  [[nodiscard]] virtual std::optional<IntegerMap> integerMap(std::string_view key) const = 0;

  /// Stores `value` under `key`, replacing whatever was there.
  virtual void setInteger(std::string_view key, std::int64_t value) = 0;
  virtual void setReal(std::string_view key, double value) = 0;
  virtual void setBoolean(std::string_view key, bool value) = 0;
  virtual void setString(std::string_view key, std::string_view value) = 0;
  virtual void setIntegerMap(std::string_view key, const IntegerMap& value) = 0;

  /// Removes `key`; absent keys are left alone.
  virtual void remove(std::string_view key) = 0;

  /// Returns true when anything is stored under `key`.
  [[nodiscard]] virtual bool contains(std::string_view key) const = 0;

  /// Runs `change` on this store as one step: no other thread or program sharing the store
  /// reads or writes between the first read and the last write of `change`, which must use
  /// no store but the one it is given.
  virtual void update(const std::function<void(PreferenceStore&)>& change) = 0;

  /// Returns why the last change could not be saved, or nothing when it was saved.
  [[nodiscard]] virtual std::optional<std::string> lastError() const = 0;

  /// Reads between beginReads() and the matching endReads() see the store as the first of
  /// them found it: a store kept in a file looks at the file once for them all rather than
  /// once each. Scopes nest; writes are not affected. A front end opens one per key
  /// (ReadTogether).
  virtual void beginReads() const {}
  virtual void endReads() const {}

  /// Holds a read scope open on a store for its lifetime.
  class ReadTogether {
   public:
    explicit ReadTogether(const PreferenceStore& store) : store_(store) { store_.beginReads(); }
    ~ReadTogether() { store_.endReads(); }
    ReadTogether(const ReadTogether&) = delete;
    ReadTogether& operator=(const ReadTogether&) = delete;

   private:
    const PreferenceStore& store_;
  };
};

}  // namespace yakdrom
