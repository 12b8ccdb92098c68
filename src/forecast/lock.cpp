#include "forecast/lock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <sys/file.h>
#include <thread>

#include "base/files.h"
#include "base/program_dir.h"

namespace meridan {

ProgramDirBusy::ProgramDirBusy(const std::filesystem::path& programDir, std::chrono::seconds waited)
    : std::runtime_error("another forecast has been running in " + programDir.string() +
                         " for over " + std::to_string(waited.count()) +
                         " seconds; try again when it has finished"),
      programDir_(programDir),
      waited_(waited) {}

bool ProgramDirLock::HeldElsewhere(const std::filesystem::path& programDir) {
  const int fd = ::open(ProgramDir{programDir}.lock().c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  // Taken and at once let go: a waiting run only retries a moment later.
  const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return held;
}

ProgramDirLock ProgramDirLock::Acquire(const std::filesystem::path& programDir,
                                       const std::function<void()>& onWait,
                                       std::chrono::milliseconds patience) {
  const std::filesystem::path file = ProgramDir{programDir}.lock();
  // Never through a link: the lock file is created where it stands.
  const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) throw FileError(FileError::Operation::kCreate, file, errno);
  ProgramDirLock lock(fd);
  const auto giveUp = std::chrono::steady_clock::now() + patience;
  bool told = false;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) throw FileError(FileError::Operation::kLock, file, errno);
    if (std::chrono::steady_clock::now() >= giveUp)
      throw ProgramDirBusy(programDir, std::chrono::duration_cast<std::chrono::seconds>(patience));
    if (!told && onWait) onWait();
    told = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return lock;
}

ProgramDirLock::~ProgramDirLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace meridan
