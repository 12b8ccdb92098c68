// The one writer and reader: whole or nothing, never through a link, errors
// naming the file and the system's reason, leftovers recognised.

#include "base/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <sys/stat.h>

#include "base/lines.h"
#include "base/temporary_files.h"
#include "support/scratch_program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ScratchProgramDir;

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const FileError& e) {
    return e.what();
  }
  return "";
}

TEST(WriteFileAtomically, ReplacesWholeAndNeverWritesThroughALink) {
  ScratchProgramDir dir(false);
  const fs::path page = dir.output() / "Prog_05_2025.html";
  testing::WriteFile(page, "old page");
  WriteFileAtomically(page, "new page");
  EXPECT_EQ(ReadFile(page), "new page");

  // A link at the target is replaced by the file; what it points at stays.
  testing::WriteFile(dir.root() / "victim", "precious");
  fs::create_symlink(dir.root() / "victim", dir.output() / "tmp.bmp");
  WriteFileAtomically(dir.output() / "tmp.bmp", "scratch", Durability::Scratch);
  EXPECT_FALSE(fs::is_symlink(dir.output() / "tmp.bmp"));
  EXPECT_EQ(ReadFile(dir.root() / "victim"), "precious");
  EXPECT_EQ(Names(dir.output()), (std::set<std::string>{"Prog_05_2025.html", "tmp.bmp"}));
}

TEST(WriteFileAtomically, FailureNamesTheTargetAndLeavesNothing) {
  ScratchProgramDir dir(false);
  const fs::path blocked = dir.output() / "Prog_06_2025.jpeg";
  fs::create_directory(blocked);
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(blocked, "image"); }),
            "Cannot create file \"" + blocked.string() + "\". Is a directory");
  EXPECT_EQ(Names(dir.output()), (std::set<std::string>{"Prog_06_2025.jpeg"}));
  const fs::path nowhere = dir.root() / "no-such-dir" / "tmp.dat";
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(nowhere, "text"); }),
            "Cannot create file \"" + nowhere.string() + "\". No such file or directory");
  EXPECT_EQ(ErrorOf([&] { ReadFile(dir.system()); }),
            "Cannot open file \"" + dir.system().string() + "\". Is a directory");

  // A FIFO is refused with the program's own reason, and still says what
  // was tried (the window words its message by it).
  const fs::path fifo = dir.system() / "go.dat";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  try {
    ReadFile(fifo);
    ADD_FAILURE() << "a FIFO was read";
  } catch (const FileError& e) {
    EXPECT_EQ(e.operation(), FileError::Operation::kOpen);
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + fifo.string() + "\". Not a regular file (a FIFO)");
  }
}

// A file that holds the bytes already is left, time and all; anything else
// there (other bytes of the same size, a link to the same bytes, a file
// with a second name) is replaced as any write replaces it.
TEST(WriteFileIfChanged, LeavesOnlyAFileOfItsOwnThatHoldsTheBytes) {
  ScratchProgramDir dir(false);
  const auto inode = [](const fs::path& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? info.st_ino : 0;
  };
  const fs::path page = dir.output() / "Prog_05_2025.html";
  WriteFileAtomically(page, "page one");
  const ino_t first = inode(page);
  EXPECT_FALSE(WriteFileIfChanged(page, "page one"));
  EXPECT_EQ(inode(page), first);
  EXPECT_TRUE(WriteFileIfChanged(page, "page two"));
  EXPECT_EQ(ReadFile(page), "page two");

  testing::WriteFile(dir.root() / "victim", "graph");
  const fs::path graph = dir.output() / "Prog_05_2025.jpeg";
  fs::create_symlink(dir.root() / "victim", graph);
  EXPECT_TRUE(WriteFileIfChanged(graph, "graph"));
  EXPECT_FALSE(fs::is_symlink(graph));

  fs::create_hard_link(dir.root() / "victim", dir.output() / "b_button.jpg");
  EXPECT_TRUE(WriteFileIfChanged(dir.output() / "b_button.jpg", "graph"));
  EXPECT_NE(inode(dir.output() / "b_button.jpg"), inode(dir.root() / "victim"));
}

TEST(TemporaryFiles, TheProgramsOwnAreRecognisedAndRemoved) {
  ScratchProgramDir dir(false);
  for (const char* name : {".meridan-tmp-0123abcd-Prog_05_2025.html", ".meridan-tmp-ffffffff-x",
                           ".meridan-tmp-0a1b2c3d-", "Prog_05_2025.html", ".meridan-tmp-0123abcd",
                           "Prognoz.zip.h3rv7f", ".meridan-tmp-0123abcg-page"})
    testing::WriteFile(dir.output() / name, "");
  EXPECT_EQ(RemoveLeftoverTemporaryFiles(dir.output()), 3);
  EXPECT_EQ(Names(dir.output()),
            (std::set<std::string>{"Prog_05_2025.html", ".meridan-tmp-0123abcd",
                                   "Prognoz.zip.h3rv7f", ".meridan-tmp-0123abcg-page"}));
}

// A file the user names (--pdf, --ics) that is replaced keeps its mode and
// owner; one the user could not write in place is refused as cp refuses
// it; a link leads to its file, a dangling one to the file it names; a
// name of the longest the file system takes is written all the same; and
// the file the program's own output goes to is never replaced under it.
TEST(WriteNamedFile, KeepsProtectionRefusesWhatCannotBeWrittenInPlace) {
  ScratchProgramDir dir(false);
  const auto mode = [](const fs::path& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return std::pair(info.st_mode & 07777, info.st_uid);
  };
  const fs::path secret = dir.root() / "secret.pdf";
  testing::WriteFile(secret, "old");
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  WriteNamedFile(secret, "new");
  EXPECT_EQ(ReadFile(secret), "new");
  EXPECT_EQ(mode(secret).first, 0600u);
  if (::geteuid() == 0) {
    // Another user's file, which root may write in place: it stays theirs.
    ASSERT_EQ(::chown(secret.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(secret.c_str(), 0640), 0);
    WriteNamedFile(secret, "newer");
    EXPECT_EQ(mode(secret), std::pair(0640u, 65534u));
  } else {
    ASSERT_EQ(::chmod(secret.c_str(), 0444), 0);
    EXPECT_EQ(ErrorOf([&] { WriteNamedFile(secret, "newer"); }),
              "Cannot create file \"" + secret.string() + "\". Permission denied");
    EXPECT_EQ(ReadFile(secret), "new");
  }

  const fs::path target = dir.root() / "calendars" / "year.ics";
  fs::create_directory(target.parent_path());
  fs::create_symlink("calendars/year.ics", dir.root() / "dangling.ics");
  WriteNamedFile(dir.root() / "dangling.ics", "created");
  EXPECT_TRUE(fs::is_symlink(dir.root() / "dangling.ics"));
  EXPECT_EQ(ReadFile(target), "created");

  const fs::path longest = dir.root() / (std::string(251, 'p') + ".pdf");
  WriteNamedFile(longest, "long");
  EXPECT_EQ(ReadFile(longest), "long");

  const fs::path own = dir.root() / "out.txt";
  testing::WriteFile(own, "page lines\n");
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  const int fd = ::open(own.c_str(), O_WRONLY | O_APPEND);
  ::dup2(fd, STDOUT_FILENO);
  const std::string error = ErrorOf([&] { WriteNamedFile("/dev/stdout", "%PDF-"); });
  ::dup2(saved, STDOUT_FILENO);
  ::close(fd);
  ::close(saved);
  EXPECT_NE(error.find("where the program's own output goes"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(own), "page lines\n");
  EXPECT_EQ(Names(dir.root()),
            (std::set<std::string>{"Output", "System", "secret.pdf", "calendars", "dangling.ics",
                                   longest.filename(), "out.txt"}));
}

TEST(SplitLines, LineEndsOfEitherKind) {
  using Lines = std::vector<std::string_view>;
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
  EXPECT_EQ(SplitLines("a\rb\n"), (Lines{"a\rb"}));
}

}  // namespace
}  // namespace meridan
