#include "base/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sys/stat.h>

#include "base/pending_names.h"
#include "base/temporary_files.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now so that a failing close (a delayed write error) is seen.
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

const char* FileKind(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a file";
}

int WriteAll(int fd, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

const char* Verb(FileError::Operation operation) {
  switch (operation) {
    case FileError::Operation::kOpen:
      return "open";
    case FileError::Operation::kCreate:
      return "create";
    case FileError::Operation::kLock:
      return "lock";
  }
  return "use";
}

}  // namespace

FileError::FileError(Operation operation, const fs::path& path, int error)
    : FileError(operation, path, error, std::strerror(error)) {}

FileError::FileError(Operation operation, const fs::path& path, int error,
                     const std::string& reason)
    : std::runtime_error(std::string("Cannot ") + Verb(operation) + " file \"" + path.string() +
                         "\". " + reason),
      operation_(operation),
      path_(path),
      error_(error) {}

std::string ReadFile(const fs::path& path, bool followLinks) {
  // Without blocking: a FIFO put where a data file belongs would otherwise
  // hold the open (and the run, and its lock) until some writer came. It
  // is refused below before a byte is read; a regular file reads the same.
  Descriptor fd(::open(
      path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (followLinks ? 0 : O_NOFOLLOW)));
  if (fd.get() < 0) throw FileError(FileError::Operation::kOpen, path, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) throw FileError(FileError::Operation::kOpen, path, errno);
  if (S_ISDIR(info.st_mode)) throw FileError(FileError::Operation::kOpen, path, EISDIR);
  if (!S_ISREG(info.st_mode))
    throw FileError(FileError::Operation::kOpen, path, EINVAL,
                    std::string("Not a regular file (") + FileKind(info.st_mode) + ")");
  std::string bytes;
  bytes.resize(static_cast<size_t>(info.st_size));
  size_t done = 0;
  // The buffer has the size of the fstat; what a file that grew since then
  // has beyond it comes through a small probe, so that reading the usual
  // file to its end costs no larger buffer and no copy of what was read.
  char probe[4096];
  for (;;) {
    const bool full = done == bytes.size();
    const ssize_t n = full ? ::read(fd.get(), probe, sizeof probe)
                           : ::read(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(FileError::Operation::kOpen, path, errno);
    }
    if (n == 0) break;
    if (full) bytes.append(probe, static_cast<size_t>(n));
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

namespace {

// The bytes in an unnamed file of the target's directory (O_TMPFILE): a
// kill or a crash while they are written leaves nothing behind. Returns
// the descriptor, or -1 with errno set; EOPNOTSUPP (EISDIR or EINVAL from
// kernels that predate the flag) means a named temporary file instead.
int CreateUnnamed(const fs::path& directory, mode_t mode) {
  return ::open(directory.empty() ? "." : directory.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                mode);
}

bool UnnamedUnsupported(int error) {
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

// Gives the unnamed file a fresh temporary name beside its target, for the
// rename; returns 0 or the errno.
int LinkUnnamed(int fd, const fs::path& directory, fs::path& temporary,
                std::optional<PendingNameSlot>& pending) {
  char self[32];
  std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
  for (int attempt = 0;; ++attempt) {
    temporary = FreshTemporaryName(directory);
    pending.emplace(temporary).Named();
    if (::linkat(AT_FDCWD, self, AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST || attempt == 100) {
      temporary.clear();
      return errno;
    }
  }
}

}  // namespace

namespace {

// Gives the new file the owner, group and permissions of the one it
// replaces: the owner and group where the process may set them (root; a
// user only a group of theirs), the permissions always, but for set-user
// and set-group bits, which a rewritten file loses as it would in place.
int TakeOverProtection(int fd, const struct stat& replaced) {
  if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
    (void)::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid);
  return ::fchmod(fd, replaced.st_mode & 0777) == 0 ? 0 : errno;
}

// WriteFileAtomically, the new file protected as `replaced` where given.
void WriteReplacing(const fs::path& path, std::string_view bytes, Durability durability,
                    const struct stat* replaced) {
  const fs::path directory = path.parent_path();
  fs::path temporary;
  std::optional<PendingNameSlot> pending;
  // A file that takes another's place is its owner's alone until it has
  // that file's protection.
  const mode_t mode = replaced ? 0600 : 0666;
  int fd = CreateUnnamed(directory, mode);
  const bool unnamed = fd >= 0;
  if (!unnamed && !UnnamedUnsupported(errno))
    throw FileError(FileError::Operation::kCreate, path, errno);
  for (int attempt = 0; fd < 0; ++attempt) {
    temporary = FreshTemporaryName(directory);
    pending.emplace(temporary).Named();
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0 && (errno != EEXIST || attempt == 100))
      throw FileError(FileError::Operation::kCreate, path, errno);
  }
  Descriptor file(fd);
  int error = WriteAll(file.get(), bytes);
  if (error == 0 && replaced) error = TakeOverProtection(file.get(), *replaced);
  if (error == 0 && durability != Durability::Scratch && ::fsync(file.get()) != 0) error = errno;
  if (error == 0 && unnamed) error = LinkUnnamed(file.get(), directory, temporary, pending);
  if (error == 0 && file.Close() != 0) error = errno;
  if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0 && !temporary.empty()) ::unlink(temporary.c_str());
  pending.reset();
  if (error != 0) throw FileError(FileError::Operation::kCreate, path, error);
  if (durability == Durability::Flushed) FlushDirectory(directory);
}

// Where a link leads, link after link, to a file that may not exist yet
// (a dangling link names the file to create); the path itself when it is
// no link. Gives up on a loop as the system would, with ELOOP.
fs::path LinkTarget(const fs::path& path) {
  fs::path target = path;
  for (int links = 0;; ++links) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    if (links == 40) throw FileError(FileError::Operation::kCreate, path, ELOOP);
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) throw FileError(FileError::Operation::kCreate, path, ec.value());
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
}

}  // namespace

void WriteFileAtomically(const fs::path& path, std::string_view bytes, Durability durability) {
  WriteReplacing(path, bytes, durability, nullptr);
}

bool FileHolds(const fs::path& path, std::string_view bytes) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      info.st_nlink != 1 || static_cast<size_t>(info.st_size) != bytes.size())
    return false;
  char chunk[16384];
  size_t done = 0;
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0 && done == bytes.size();
    const size_t got = static_cast<size_t>(n);
    if (got > bytes.size() - done || std::memcmp(chunk, bytes.data() + done, got) != 0)
      return false;
    done += got;
  }
}

bool WriteFileIfChanged(const fs::path& path, std::string_view bytes, Durability durability) {
  if (FileHolds(path, bytes)) return false;
  WriteFileAtomically(path, bytes, durability);
  return true;
}

void WriteNamedFile(const fs::path& path, std::string_view bytes) {
  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
    // A pipe to a viewer, a terminal, /dev/null: the bytes go into it. The
    // open waits for a FIFO's reader, as a shell's redirection does.
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) throw FileError(FileError::Operation::kCreate, path, errno);
    int error = WriteAll(fd.get(), bytes);
    if (error == 0 && fd.Close() != 0) error = errno;
    if (error != 0) throw FileError(FileError::Operation::kCreate, path, error);
    return;
  }
  const fs::path target = LinkTarget(path);
  if (!exists || !S_ISREG(info.st_mode)) return WriteFileAtomically(target, bytes);
  // The program's own standard output or error redirected to this file
  // (--pdf /dev/stdout >file): a new file renamed over it would take the
  // place of what was written there, and later lines would go nowhere.
  for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
    struct stat own {};
    if (::fstat(stream, &own) == 0 && own.st_dev == info.st_dev && own.st_ino == info.st_ino)
      throw FileError(FileError::Operation::kCreate, path, EINVAL,
                      "It is where the program's own output goes; name a file of its own");
  }
  // Replaced only where it could be written in place, as cp would write
  // it, and with the protection it had.
  if (::access(target.c_str(), W_OK) != 0)
    throw FileError(FileError::Operation::kCreate, path, errno);
  WriteReplacing(target, bytes, Durability::Flushed, &info);
}

void FlushDirectory(const fs::path& directory) {
  Descriptor fd(
      ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // Some file systems cannot flush a directory; the rename has happened and
  // the data is on disk, so that is not worth failing the write for.
  if (fd.get() >= 0) ::fsync(fd.get());
}

}  // namespace meridan
