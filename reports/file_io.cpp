#include "reports/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace meridan {
namespace {

std::runtime_error FileError(const char* verb, const std::filesystem::path& path, int error) {
  return std::runtime_error(std::string("Cannot ") + verb + " file \"" + path.string() + "\". " +
                            std::strerror(error));
}

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

// Outcome of writing a whole file: the errno of the failure (0 for none) and
// whether the file had been created when it happened.
struct WriteOutcome {
  int error = 0;
  bool created = false;
};

WriteOutcome WriteAll(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
  if (fd.get() < 0) return {errno, false};
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {errno, true};
    }
    done += static_cast<size_t>(n);
  }
  if (fd.Close() != 0) return {errno, true};
  return {0, true};
}

}  // namespace

std::runtime_error CannotOpenFile(const std::filesystem::path& path, int error) {
  return FileError("open", path, error);
}
std::runtime_error CannotCreateFile(const std::filesystem::path& path, int error) {
  return FileError("create", path, error);
}
std::runtime_error CannotWriteFile(const std::filesystem::path& path, int error) {
  return FileError("write", path, error);
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw CannotOpenFile(path, errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) throw CannotOpenFile(path, errno);
  if (S_ISDIR(info.st_mode)) throw CannotOpenFile(path, EISDIR);
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw CannotOpenFile(path, errno);
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  const WriteOutcome outcome = WriteAll(path, bytes);
  if (outcome.error == 0) return;
  if (!outcome.created) throw CannotCreateFile(path, outcome.error);
  ::unlink(path.c_str());
  throw CannotWriteFile(path, outcome.error);
}

void ReplaceFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::filesystem::path partial = path;
  partial += ".part";
  if (const WriteOutcome outcome = WriteAll(partial, bytes); outcome.error != 0) {
    if (outcome.created) ::unlink(partial.c_str());
    throw CannotCreateFile(path, outcome.error);
  }
  if (::rename(partial.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(partial.c_str());
    throw CannotCreateFile(path, error);
  }
}

}  // namespace meridan
