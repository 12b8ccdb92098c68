#include "base/pending_names.h"

#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>

namespace meridan {

struct PendingName {
  enum : int { kFree, kClaimed, kNamed };
  std::atomic<int> state{kFree};
  char path[PATH_MAX];
};

namespace {
PendingName pendingNames[4];
static_assert(std::atomic<int>::is_always_lock_free);
}  // namespace

PendingNameSlot::PendingNameSlot(const std::filesystem::path& path) {
  if (path.native().size() >= sizeof(PendingName::path)) return;
  for (PendingName& slot : pendingNames) {
    int free = PendingName::kFree;
    if (!slot.state.compare_exchange_strong(free, PendingName::kClaimed)) continue;
    std::memcpy(slot.path, path.c_str(), path.native().size() + 1);
    slot_ = &slot;
    return;
  }
}

PendingNameSlot::~PendingNameSlot() {
  if (slot_) slot_->state.store(PendingName::kFree);
}

void PendingNameSlot::Named() {
  if (slot_) slot_->state.store(PendingName::kNamed);
}

void RemovePendingNames() {
  for (PendingName& slot : pendingNames)
    if (slot.state.load() == PendingName::kNamed) ::unlink(slot.path);
}

}  // namespace meridan
