// The one writer and reader: whole or nothing, never through a link, errors
// naming the file and the system's reason, leftovers recognised.

#include "base/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <set>
#include <string>

#include "support/program_dir.h"

namespace meridan {
namespace {

namespace fs = std::filesystem;
using testing::ProgramDir;

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
  ProgramDir dir(false);
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
  ProgramDir dir(false);
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
  // was tried (the window words its message by the verb).
  const fs::path fifo = dir.system() / "go.dat";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  try {
    ReadFile(fifo);
    ADD_FAILURE() << "a FIFO was read";
  } catch (const FileError& e) {
    EXPECT_STREQ(e.verb(), "open");
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + fifo.string() + "\". Not a regular file (a FIFO)");
  }
}

TEST(TemporaryFiles, TheProgramsOwnAreRecognisedAndRemoved) {
  ProgramDir dir(false);
  for (const char* name :
       {".meridan-tmp-0123abcd-Prog_05_2025.html", ".meridan-tmp-ffffffff-x", "Prog_05_2025.html",
        ".meridan-tmp-0123abcd", "Prognoz.zip.h3rv7f", ".meridan-tmp-0123abcg-page"})
    testing::WriteFile(dir.output() / name, "");
  EXPECT_EQ(RemoveLeftoverTemporaryFiles(dir.output()), 2);
  EXPECT_EQ(Names(dir.output()),
            (std::set<std::string>{"Prog_05_2025.html", ".meridan-tmp-0123abcd",
                                   "Prognoz.zip.h3rv7f", ".meridan-tmp-0123abcg-page"}));
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
