// When a store kept in a file looks at the file again. Outside a read scope every read
// looks (one stat), so another program's change is seen at once; within one the first read
// looks for them all, since a key reads about ten settings. A write always looks, under
// the file's lock. Guarded by the store's own lock.
#pragma once

namespace yakdrom::detail {

class FileLooks {
 public:
  void beginScope() { ++scopes_; }
  void endScope() {
    if (--scopes_ == 0) looked_ = false;
  }

  /// Returns true when this read is to look at the file, and notes that it did.
  [[nodiscard]] bool readLooks() {
    if (looked_) return false;
    looked_ = scopes_ > 0;
    return true;
  }

  /// Makes the next read look again; a write reads the file afresh under its lock.
  void forget() { looked_ = false; }

 private:
  int scopes_ = 0;
  bool looked_ = false;
};

}  // namespace yakdrom::detail
