#pragma once
// One forecast at a time in a program directory: a run holds an exclusive
// advisory lock on System/.meridan.lock for its whole length. The queries
// (positions, chart, scan, series, influences, stations, check-data) take
// none: they write nothing, and every file a run writes is renamed into
// place whole, so they read each file old or new. The lock file lies outside
// Output/, so it is never packed. The lock goes with the process, so a
// killed run leaves nothing locked.

#include <chrono>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace meridan {

inline constexpr std::chrono::seconds kLockPatience{120};

// Another run held the program directory for longer than the caller would
// wait; what() says so in the command line's words, the fields let a window
// say it in its own.
class ProgramDirBusy : public std::runtime_error {
 public:
  ProgramDirBusy(const std::filesystem::path& programDir, std::chrono::seconds waited);
  const std::filesystem::path& programDir() const { return programDir_; }
  std::chrono::seconds waited() const { return waited_; }

 private:
  std::filesystem::path programDir_;
  std::chrono::seconds waited_;
};

class ProgramDirLock {
 public:
  // Takes the lock, waiting while another run holds it: onWait (if given)
  // is called once when the wait begins. Throws FileError when the lock
  // file cannot be opened, ProgramDirBusy when the wait outlasts `patience`.
  static ProgramDirLock Acquire(const std::filesystem::path& programDir,
                                const std::function<void()>& onWait = {},
                                std::chrono::milliseconds patience = kLockPatience);
  // Whether another run holds the lock now, for a caller that waits on its
  // own terms (a window that keeps painting). False also when the lock file
  // cannot be opened: Acquire then says why.
  static bool HeldElsewhere(const std::filesystem::path& programDir);
  ProgramDirLock(ProgramDirLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  ProgramDirLock& operator=(ProgramDirLock&&) = delete;
  ~ProgramDirLock();

 private:
  explicit ProgramDirLock(int fd) : fd_(fd) {}
  int fd_;
};

}  // namespace meridan
