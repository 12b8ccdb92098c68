#pragma once
// The temporary names that exist at this moment, for a signal handler to
// remove: a write claims a slot before its temporary file gets a name and
// frees it once the name is gone (renamed or removed). Plain characters and
// lock-free atomics, because a signal handler reads them.

#include <filesystem>

namespace meridan {

struct PendingName;

class PendingNameSlot {
 public:
  // No slot (and no removal on a signal) for a path too long to keep or
  // when every slot is taken.
  explicit PendingNameSlot(const std::filesystem::path& path);
  ~PendingNameSlot();
  PendingNameSlot(const PendingNameSlot&) = delete;
  PendingNameSlot& operator=(const PendingNameSlot&) = delete;
  // The name may exist from now on (it is about to be created).
  void Named();

 private:
  PendingName* slot_ = nullptr;
};

// Unlinks every name that may exist; async-signal-safe.
void RemovePendingNames();

}  // namespace meridan
