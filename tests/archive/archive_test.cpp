#include "app/archive/archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/archive/dos_time.h"
#include "support/program_dir.h"
#include "zip_testing.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

using testing::ReadFile;
using testing::Utc;
using testing::ZipEntry;

// Deflate's "maximum compression" setting in the general-purpose flags
// (APPNOTE 4.4.4, bits 1 and 2 = 01), which libzip sets for level 9.
constexpr std::uint16_t kCompressionBits = 0x6;
constexpr std::uint16_t kMaximumCompression = 0x2;
constexpr std::uint16_t kUtf8Name = 0x800;  // APPNOTE 4.4.4, bit 11

std::string Page(int month) {
  std::string page = "<html><head><title>Prog " + std::to_string(month) + "</title></head><body>\r\n";
  for (int day = 1; day <= 31; ++day)
    page += "<p><img src=\"b_blu3.gif\"> " + std::to_string(day) + ": a calm day for a long drive</p>\r\n";
  return page + "</body></html>\r\n";
}

std::string Noise(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

struct File {
  std::string name;
  std::string bytes;
};

// What a forecast for May to August 2025 leaves in the output directory.
std::vector<File> ForecastFiles() {
  std::vector<File> files;
  for (int month = 5; month <= 8; ++month) {
    const std::string stem = "Prog_0" + std::to_string(month) + "_2025";
    files.push_back({stem + ".html", Page(month)});
    files.push_back({stem + ".jpeg", Noise(3000, static_cast<unsigned>(month))});
  }
  files.push_back({"b_button.jpg", Noise(900, 20)});
  for (const char* colour : {"blu", "red"})
    for (int strength = 1; strength <= 5; ++strength)
      files.push_back({std::string("b_") + colour + std::to_string(strength) + ".gif",
                       "GIF89a" + Noise(60, static_cast<unsigned>(strength) + 30)});
  return files;
}

// Odd seconds on purpose: the DOS time of an entry keeps only even ones.
const std::time_t kFirstRun = Utc(2025, 5, 17, 13, 45, 31);

class PackOutputTest : public ::testing::Test {
 protected:
  fs::path Output() const { return dir_.output(); }
  fs::path Archive() const { return dir_.output() / "Prognoz.zip"; }

  void Put(const fs::path& relative, const std::string& bytes, std::time_t modified) const {
    const fs::path path = Output() / relative;
    fs::create_directories(path.parent_path());
    testing::WriteFile(path, bytes);
    SetModified(path, modified);
  }

  static void SetModified(const fs::path& path, std::time_t modified) {
    fs::last_write_time(path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(modified)));
  }

  // Returns each file's modification time, two seconds apart from start on.
  std::map<std::string, std::time_t> PutForecast(std::time_t start) const {
    std::map<std::string, std::time_t> modified;
    for (const File& file : ForecastFiles()) Put(file.name, file.bytes, modified[file.name] = start += 2);
    return modified;
  }

  // The caller passes the output directory with its trailing separator.
  void Pack() const { PackOutput(Output() / "", Archive()); }

  static std::map<std::string, ZipEntry> Entries(const fs::path& archive) {
    std::map<std::string, ZipEntry> byName;
    for (ZipEntry& entry : testing::ReadZip(archive)) {
      const std::string name = entry.name;
      EXPECT_TRUE(byName.emplace(name, std::move(entry)).second) << "two entries named " << name;
    }
    return byName;
  }
  std::map<std::string, ZipEntry> Entries() const { return Entries(Archive()); }

  static std::set<std::string> Listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
      if (!entry.is_directory()) names.insert(entry.path().lexically_relative(dir).generic_string());
    return names;
  }

  testing::ProgramDir dir_{false};
};

TEST_F(PackOutputTest, FirstRunPacksEveryFileUnderItsNameAtLevelNine) {
  const auto modified = PutForecast(kFirstRun);
  Pack();

  const auto entries = Entries();
  const auto records = testing::ReadCentralDirectory(ReadFile(Archive()));
  std::map<std::string, std::uint32_t> dosTimes;
  for (const auto& record : records) {
    EXPECT_EQ(record.flags & kCompressionBits, kMaximumCompression) << record.name;
    dosTimes[record.name] = record.dosDateTime;
  }
  std::set<std::string> expectedNames;
  for (const File& file : ForecastFiles()) {
    expectedNames.insert(file.name);
    SCOPED_TRACE(file.name);
    const auto entry = entries.find(file.name);
    ASSERT_NE(entry, entries.end());
    EXPECT_EQ(entry->second.method, ZIP_CM_DEFLATE);
    EXPECT_EQ(entry->second.size, file.bytes.size());
    EXPECT_EQ(entry->second.data, file.bytes);
    EXPECT_EQ(dosTimes[file.name], DosDateTime(modified.at(file.name)));
  }
  EXPECT_EQ(entries.size(), expectedNames.size()) << "the archive must not hold itself";
  expectedNames.insert("Prognoz.zip");
  EXPECT_EQ(Listing(Output()), expectedNames) << "no temporary file may stay behind";
}

TEST_F(PackOutputTest, FileInASubdirectoryIsStoredUnderItsBareName) {
  Put("Prog_05_2025.html", Page(5), kFirstRun);
  Put("notes/legend.txt", "legend", kFirstRun);
  Pack();
  const auto entries = Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.at("legend.txt").data, "legend");
}

// Files of one name in several directories: the one nearest the top (then
// the first by path) keeps the bare name, the others their relative paths.
TEST_F(PackOutputTest, NamesakesInSubdirectoriesAreAllKept) {
  const std::map<std::string, std::string> files = {
      {"b_blu1.gif", "top"}, {"a/b_blu1.gif", "in a"}, {"z/b_blu1.gif", "in z"},
      {"x/deep/note.txt", "deep"}, {"y/note.txt", "in y"},
  };
  const std::map<std::string, std::string> expected = {
      {"b_blu1.gif", "top"}, {"a/b_blu1.gif", "in a"}, {"z/b_blu1.gif", "in z"},
      {"note.txt", "in y"}, {"x/deep/note.txt", "deep"},
  };
  for (const auto& [path, bytes] : files) Put(path, bytes, kFirstRun);
  for (int run = 1; run <= 2; ++run) {
    Pack();
    std::map<std::string, std::string> unpacked;
    for (const auto& [name, entry] : Entries()) unpacked[name] = entry.data;
    EXPECT_EQ(unpacked, expected) << "run " << run;
  }
}

TEST_F(PackOutputTest, UpdateReplacesNewerFilesAddsNewOnesAndKeepsTheRest) {
  const std::time_t later = kFirstRun + 1000;  // after every forecast file
  PutForecast(kFirstRun);
  Pack();
  const auto before = Entries();

  const std::string newPage = Page(5) + "<p>second forecast</p>\r\n";
  Put("Prog_05_2025.html", newPage, later);
  Put("Prog_09_2025.html", Page(9), later);
  fs::remove(Output() / "Prog_08_2025.jpeg");
  Pack();
  const auto after = Entries();

  ASSERT_EQ(after.size(), before.size() + 1);
  EXPECT_EQ(after.at("Prog_05_2025.html").data, newPage);
  EXPECT_EQ(after.at("Prog_09_2025.html").data, Page(9));
  for (const auto& record : testing::ReadCentralDirectory(ReadFile(Archive()))) {
    if (record.name == "Prog_05_2025.html") {
      EXPECT_EQ(record.dosDateTime, DosDateTime(later));
    }
  }
  for (const auto& [name, entry] : before) {
    if (name == "Prog_05_2025.html") continue;
    SCOPED_TRACE(name);  // kept, including the entry whose file is gone
    EXPECT_EQ(after.at(name).crc, entry.crc);
    EXPECT_EQ(after.at(name).compressed, entry.compressed);
  }
}

// An entry stored without compression stays so when kept: it is copied as
// it is, not unpacked and packed again.
TEST_F(PackOutputTest, KeptEntriesAreCopiedNotRecompressed) {
  Put("b_blu1.gif", "GIF89a blue", kFirstRun);
  Put("b_red1.gif", "GIF89a red, newer file", kFirstRun);
  Put("Prog_05_2025.html", Page(5), kFirstRun);
  {
    int code = 0;
    zip_t* old = zip_open(Archive().c_str(), ZIP_CREATE, &code);
    ASSERT_NE(old, nullptr);
    const auto add = [&](const char* name, const char* bytes, std::time_t modified) {
      const zip_int64_t index = zip_file_add(old, name, zip_source_buffer(old, bytes, std::strlen(bytes), 0), 0);
      ASSERT_GE(index, 0);
      zip_set_file_compression(old, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
      zip_file_set_mtime(old, static_cast<zip_uint64_t>(index), modified, 0);
    };
    add("b_blu1.gif", "GIF89a blue", kFirstRun);               // same time: up to date
    add("b_red1.gif", "GIF89a red, older entry", kFirstRun + 60);  // newer than the file: kept
    add("Prog_05_2025.html", "old page", kFirstRun - 10);       // older: replaced
    add("gone.html", "no file any more", kFirstRun);
    ASSERT_EQ(zip_close(old), 0);
  }
  const auto before = Entries();
  Pack();
  const auto after = Entries();

  ASSERT_EQ(after.size(), 4u);
  for (const char* kept : {"b_blu1.gif", "b_red1.gif", "gone.html"}) {
    SCOPED_TRACE(kept);
    EXPECT_EQ(after.at(kept).method, ZIP_CM_STORE);
    EXPECT_EQ(after.at(kept).compressed, before.at(kept).compressed);
  }
  EXPECT_EQ(after.at("Prog_05_2025.html").method, ZIP_CM_DEFLATE);
  EXPECT_EQ(after.at("Prog_05_2025.html").data, Page(5));
}

// Files at odd seconds and in the hour that autumn's clock change repeats:
// compared at the entries' own granularity, nothing looks older than its
// entry, so the second run changes nothing and does not rewrite the archive.
TEST_F(PackOutputTest, UpToDateArchiveIsNotRewritten) {
  testing::TimeZone zone(testing::kCentralEurope);
  Put("summer.html", "a", Utc(2025, 7, 1, 10, 0, 1));
  Put("first_0230.html", "b", Utc(2023, 10, 29, 0, 30, 1));   // 02:30:01 CEST
  Put("second_0230.html", "c", Utc(2023, 10, 29, 1, 30, 1));  // 02:30:01 CET, an hour later
  Put("winter.html", "d", Utc(2025, 1, 15, 9, 0, 59));
  Pack();
  const std::string bytes = ReadFile(Archive());
  const auto identity = [&] {
    struct stat info {};
    ::stat(Archive().c_str(), &info);
    return std::pair(info.st_ino, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec);
  };
  const auto first = identity();
  Pack();
  EXPECT_EQ(identity(), first) << "the archive was written again";
  EXPECT_EQ(ReadFile(Archive()), bytes);
}

// What the DOS time cannot show: a change that keeps the file in the same
// two seconds, or moves it by the hour that autumn's clock change repeats,
// looks no newer than the entry, and the entry stays until the file changes
// again. Two seconds later the change is seen.
TEST_F(PackOutputTest, ChangeWithinTheSameDosTimeIsNotSeen) {
  testing::TimeZone zone(testing::kCentralEurope);
  struct Case {
    const char* name;
    std::time_t packed, changed;
    bool replaced;
  };
  const Case cases[] = {
      {"same two seconds", Utc(2025, 6, 2, 12, 0, 0), Utc(2025, 6, 2, 12, 0, 1), false},
      {"repeated hour", Utc(2023, 10, 29, 0, 30, 1), Utc(2023, 10, 29, 1, 30, 1), false},
      {"next two seconds", Utc(2025, 6, 2, 12, 0, 1), Utc(2025, 6, 2, 12, 0, 2), true},
      {"spring gap", Utc(2023, 3, 26, 0, 59, 59), Utc(2023, 3, 26, 1, 0, 0), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(Archive());
    Put("page.html", "first", c.packed);
    Pack();
    Put("page.html", "second", c.changed);
    Pack();
    EXPECT_EQ(Entries().at("page.html").data, c.replaced ? "second" : "first");
  }
}

TEST_F(PackOutputTest, ArchiveNeverHoldsItselfHoweverItsPathIsSpelled) {
  PutForecast(kFirstRun);
  const fs::path spelled = Output() / ".." / "Output" / "." / "Prognoz.zip";
  PackOutput(Output(), spelled);
  Put("Prog_05_2025.html", Page(5) + "changed", kFirstRun + 100);  // forces a rewrite
  PackOutput(Output(), spelled);
  EXPECT_EQ(Entries().count("Prognoz.zip"), 0u);
  EXPECT_EQ(Entries().size(), ForecastFiles().size());
}

// A failure while writing must leave the previous archive as it was and no
// temporary file behind. libzip writes "<archive>.XXXXXX" first; with an
// archive name of 254 characters that name is too long for the file system,
// which fails the write even for root.
TEST_F(PackOutputTest, ArchiveThatCannotBeWrittenIsLeftIntact) {
  const std::time_t later = kFirstRun + 1000;  // after every forecast file
  PutForecast(kFirstRun);
  const fs::path shortName = dir_.root() / "old.zip";
  PackOutput(Output(), shortName);
  const fs::path archive = Output() / (std::string(250, 'p') + ".zip");
  fs::rename(shortName, archive);
  const std::string bytes = ReadFile(archive);
  Put("Prog_05_2025.html", "newer", later);
  const auto listing = Listing(Output());

  try {
    PackOutput(Output(), archive);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(archive.string()), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("Failure to create temporary file"), std::string::npos) << error.what();
  }
  EXPECT_EQ(ReadFile(archive), bytes);
  EXPECT_EQ(Listing(Output()), listing);
}

TEST_F(PackOutputTest, UnwritableDirectoryGivesAnErrorAndKeepsTheArchive) {
  const std::time_t later = kFirstRun + 1000;  // after every forecast file
  PutForecast(kFirstRun);
  Pack();
  const std::string bytes = ReadFile(Archive());
  Put("Prog_05_2025.html", "newer", later);
  fs::permissions(Output(), fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(Output().c_str(), W_OK) == 0) {
    fs::permissions(Output(), fs::perms::owner_all);
    GTEST_SKIP() << "running as root: directory permissions do not stop writing";
  }
  try {
    Pack();
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(Archive().string()), std::string::npos) << error.what();
  }
  fs::permissions(Output(), fs::perms::owner_all);
  EXPECT_EQ(ReadFile(Archive()), bytes);
}

TEST_F(PackOutputTest, FileThatCannotBeReadIsNamed) {
  PutForecast(kFirstRun);
  Pack();
  const std::string bytes = ReadFile(Archive());
  const fs::path broken = Output() / "pictures" / "b_blu9.gif";
  fs::create_directories(broken.parent_path());
  fs::create_symlink(Output() / "missing.gif", broken);
  try {
    Pack();
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(broken.string()), std::string::npos) << error.what();
  }
  EXPECT_EQ(ReadFile(Archive()), bytes);
}

TEST_F(PackOutputTest, FileWithoutReadPermissionIsNamedWithLibzipsReason) {
  PutForecast(kFirstRun);
  const fs::path locked = Output() / "locked.html";
  Put("locked.html", "secret", kFirstRun);
  fs::permissions(locked, fs::perms::none);
  if (::access(locked.c_str(), R_OK) == 0) GTEST_SKIP() << "running as root: file permissions do not stop reading";
  try {
    Pack();
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(locked.string()), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("Can't open file"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(fs::exists(Archive()));
}

// The earlier archive may still be recoverable by other means, so it is
// reported by name and left untouched rather than replaced.
TEST_F(PackOutputTest, CorruptArchiveIsReportedAndLeftUntouched) {
  PutForecast(kFirstRun);
  PackOutput(Output(), dir_.root() / "good.zip");
  const std::string good = ReadFile(dir_.root() / "good.zip");
  const std::map<std::string, std::string> cases = {
      {"not a zip", "this is no archive at all"},
      {"empty file", ""},
      {"truncated", good.substr(0, good.size() / 2)},
  };
  for (const auto& [label, bytes] : cases) {
    SCOPED_TRACE(label);
    testing::WriteFile(Archive(), bytes);
    const auto listing = Listing(Output());
    try {
      Pack();
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(Archive().string()), std::string::npos) << error.what();
      EXPECT_NE(std::string(error.what()).find("Not a zip archive"), std::string::npos) << error.what();
    }
    EXPECT_EQ(ReadFile(Archive()), bytes);
    EXPECT_EQ(Listing(Output()), listing);
  }
}

// libzip writes no archive without entries; an existing one stays as it is.
TEST_F(PackOutputTest, EmptyOutputDirectoryWritesNoArchive) {
  Pack();
  EXPECT_FALSE(fs::exists(Archive()));
  EXPECT_TRUE(Listing(Output()).empty());

  const fs::path elsewhere = dir_.root() / "Prognoz.zip";
  Put("page.html", "page", kFirstRun);
  PackOutput(Output(), elsewhere);
  fs::remove(Output() / "page.html");
  const std::string bytes = ReadFile(elsewhere);
  PackOutput(Output(), elsewhere);
  EXPECT_EQ(ReadFile(elsewhere), bytes);
}

// Names are stored as the bytes on disk. libzip marks a name that is valid
// UTF-8 as such by itself and leaves any other (here Windows-1251) unmarked;
// either is found again by its bytes on the next run.
TEST_F(PackOutputTest, NamesAreStoredAsTheirBytesAndFoundAgain) {
  const std::string cp1251 = "\xcf\xf0\xee\xe3\xed\xee\xe7.html";                      // "Прогноз.html"
  const std::string utf8 = "\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb3\xd0\xbd\xd0\xbe\xd0\xb7.txt";  // "Прогноз.txt"
  Put(cp1251, "one", kFirstRun);
  Put(utf8, "two", kFirstRun);
  Pack();
  Put(cp1251, "one, newer", kFirstRun + 10);
  Put(utf8, "two, newer", kFirstRun + 10);
  Pack();

  const auto entries = Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries.at(cp1251).data, "one, newer");
  EXPECT_EQ(entries.at(utf8).data, "two, newer");
  for (const auto& record : testing::ReadCentralDirectory(ReadFile(Archive())))
    EXPECT_EQ((record.flags & kUtf8Name) != 0, record.name == utf8) << record.name;
}

// An archive with two entries of one name, as unpacked-together namesakes
// used to give: the first is matched and updated, the second kept.
TEST_F(PackOutputTest, OldArchiveWithRepeatedNamesIsUpdated) {
  {
    testing::ProgramDir scratch(false);
    testing::WriteFile(scratch.output() / "a.txt", "first");
    testing::WriteFile(scratch.output() / "b.txt", "second");
    PackOutput(scratch.output(), Archive());
  }
  std::string bytes = ReadFile(Archive());
  for (size_t at; (at = bytes.find("b.txt")) != std::string::npos;) bytes[at] = 'a';
  testing::WriteFile(Archive(), bytes);
  Put("a.txt", "first, newer", std::time(nullptr) + 100);
  Put("c.txt", "third", kFirstRun);
  Pack();

  const auto entries = testing::ReadZip(Archive(), false);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "a.txt");
  EXPECT_EQ(entries[0].data, "first, newer");
  EXPECT_EQ(entries[1].name, "a.txt");
  EXPECT_EQ(entries[1].data, "second");
  EXPECT_EQ(entries[2].name, "c.txt");
}

}  // namespace
}  // namespace meridan
