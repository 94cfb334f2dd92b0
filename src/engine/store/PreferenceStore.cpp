#include "engine/store/PreferenceStore.h"

#include <mutex>

#include "engine/store/InMemoryPreferenceStore.h"

namespace yakdrom {
namespace {

struct SharedSlot {
  std::mutex mutex;
  std::shared_ptr<PreferenceStore> store;  // guarded by mutex; fixed once set
};

SharedSlot& slot() {
  static SharedSlot instance;
  return instance;
}

}  // namespace

bool PreferenceStore::installShared(std::shared_ptr<PreferenceStore> store) {
  if (!store) return false;
  auto& s = slot();
  std::lock_guard lock(s.mutex);
  if (s.store) return false;
  s.store = std::move(store);
  return true;
}

std::shared_ptr<PreferenceStore> PreferenceStore::shared() {
  auto& s = slot();
  std::lock_guard lock(s.mutex);
  if (!s.store) s.store = std::make_shared<InMemoryPreferenceStore>();
  return s.store;
}

}  // namespace yakdrom
