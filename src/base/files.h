#pragma once
// The one way the program reads and writes files. Errors name the file and
// give the operating system's reason, in the words the system uses:
// "Cannot open file "<path>". <reason>" for a file that cannot be read,
// "Cannot create file "<path>". <reason>" for one that cannot be written.
//
// Every write is all or nothing: the bytes go into a fresh file beside the
// target (unnamed until complete where the file system allows, else created
// exclusively and never through a symbolic link), flushed to the disk, and
// renamed over the target; then the directory is flushed. A reader, or the
// next start after a crash, sees the old file or the whole new one, never a
// part, and a link planted at any name the program writes is replaced, not
// followed. What the temporary files are called, and clearing up those a
// killed run left, is base/temporary_files.

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace meridan {

// A file that could not be read or written; what() is the message above.
class FileError : public std::runtime_error {
 public:
  // What was tried; what() says it in the system's verb ("open", "create",
  // "lock"), and the window words its own sentence by it.
  enum class Operation {
    kOpen,    // to read
    kCreate,  // to write
    kLock,    // to hold the program directory for a run
  };
  FileError(Operation operation, const std::filesystem::path& path, int error);
  // With a reason of the program's own in place of the system's words.
  FileError(Operation operation, const std::filesystem::path& path, int error,
            const std::string& reason);
  Operation operation() const { return operation_; }
  const std::filesystem::path& path() const { return path_; }
  int error() const { return error_; }  // errno

 private:
  Operation operation_;
  std::filesystem::path path_;
  int error_;
};

// The whole content of a regular file. With followLinks false, a symbolic
// link at path fails with ELOOP instead of being read through. Anything
// else (a FIFO, a device, a socket) is refused with EINVAL and "Not a
// regular file (a FIFO)", without waiting for a writer or reading a byte.
std::string ReadFile(const std::filesystem::path& path, bool followLinks = true);

enum class Durability {
  Flushed,      // fsync of the file before the rename and of the directory after
  FileFlushed,  // the file only: the caller flushes the directory after a batch
  Scratch,      // scratch files that nothing relies on after a crash
};

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         Durability durability = Durability::Flushed);
inline void WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes,
                                Durability durability = Durability::Flushed) {
  WriteFileAtomically(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()},
                      durability);
}

// Whether path is a regular file of its own (not a link, no second name)
// that holds exactly these bytes.
bool FileHolds(const std::filesystem::path& path, std::string_view bytes);

// As WriteFileAtomically, unless FileHolds(path, bytes): then the file is
// left as it is, its time too, and false is returned. A forecast that makes a graph or a page
// again as it stands spares the disk the write (the flush, and the blocks
// given back for the old file) and the archive a fresh entry.
bool WriteFileIfChanged(const std::filesystem::path& path, std::string_view bytes,
                        Durability durability = Durability::Flushed);
inline bool WriteFileIfChanged(const std::filesystem::path& path,
                               std::span<const std::uint8_t> bytes,
                               Durability durability = Durability::Flushed) {
  return WriteFileIfChanged(path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()},
                            durability);
}

// A file the user named (the PDF digest, the calendar), not one of the
// program directory: written as WriteFileAtomically does, except that a
// FIFO, a terminal or another device there is written into directly, as a
// shell's redirection would, and never replaced; a link is followed to the
// file it names, and a dangling one creates that file (so /dev/stdout is
// the program's standard output, whatever that is). A file that is
// replaced keeps its permissions (and its owner and group where the
// process may set them), and is refused (EACCES) where the user could not
// write it in place; so is (EINVAL) the file the program's own standard
// output or error goes to.
void WriteNamedFile(const std::filesystem::path& path, std::string_view bytes);

// Makes the renames into a directory durable (fsync of the directory).
void FlushDirectory(const std::filesystem::path& directory);

}  // namespace meridan
