#include "output/archive/archive.h"

#include <unistd.h>
#include <zip.h>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <vector>

#include "output/archive/dos_time.h"
#include "output/archive/zip_file.h"
#include "support/scratch_program_dir.h"
#include "zip_testing.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

using testing::kCentralEurope;
using testing::ReadFile;
using testing::Utc;
using testing::ZipEntry;

// Deflate's "maximum compression" setting in the general-purpose flags
// (APPNOTE 4.4.4, bits 1 and 2 = 01), which the packer sets: it deflates at
// level 9.
constexpr std::uint16_t kCompressionBits = 0x6;
constexpr std::uint16_t kMaximumCompression = 0x2;
constexpr std::uint16_t kUtf8Name = 0x800;  // APPNOTE 4.4.4, bit 11

const fs::path kSeeds = fs::path(MERIDAN_SOURCE_DIR) / "tests/fuzz/corpus/archive";

// Odd seconds on purpose: the DOS time of an entry keeps only even ones.
const std::time_t kFirstRun = Utc(2025, 5, 17, 13, 45, 31);
const std::time_t kLater = kFirstRun + 1000;  // after every forecast file

// Expected values worked by hand from the DOS layout: date = (year - 1980) << 9
// | month << 5 | day, time = hour << 11 | minute << 5 | second / 2.
TEST(DosDateTime, LocalWallClockFieldsInEvenSeconds) {
  const struct {
    const char* name;
    const char* zone;
    std::time_t time;
    std::uint32_t dos;
  } kCases[] = {
      // 2025-05-17: 45 << 9 | 5 << 5 | 17 = 0x5AB1; 13:45:31: 13 << 11 | 45 << 5 | 15 = 0x6DAF.
      {"UTC, odd second", "UTC0", Utc(2025, 5, 17, 13, 45, 31), 0x5AB16DAFu},
      {"UTC, even second of the same pair", "UTC0", Utc(2025, 5, 17, 13, 45, 30), 0x5AB16DAFu},
      {"UTC, next pair", "UTC0", Utc(2025, 5, 17, 13, 45, 32), 0x5AB16DB0u},
      // Before 1980: moved to 1980 with its month and day: 6 << 5 | 1 = 0xC1.
      {"UTC, 1975", "UTC0", Utc(1975, 6, 1, 0, 0, 0), 0x00C10000u},
      // 15:45:31 CEST: 15 << 11 | 45 << 5 | 15 = 0x7DAF.
      {"summer time", kCentralEurope, Utc(2025, 5, 17, 13, 45, 31), 0x5AB17DAFu},
      // Both are 02:30:01 local, once in summer time and once after the clocks
      // went back: 43 << 9 | 10 << 5 | 29 = 0x575D and 2 << 11 | 30 << 5 = 0x13C0.
      {"repeated hour, first", kCentralEurope, Utc(2023, 10, 29, 0, 30, 1), 0x575D13C0u},
      {"repeated hour, second", kCentralEurope, Utc(2023, 10, 29, 1, 30, 1), 0x575D13C0u},
  };
  for (const auto& c : kCases) {
    testing::TimeZone zone(c.zone);
    EXPECT_EQ(DosDateTime(c.time), c.dos) << c.name;
  }
}

class PackOutputTest : public ::testing::Test {
 protected:
  fs::path Output() const { return dir_.output(); }
  fs::path Archive() const { return dir_.output() / "Prognoz.zip"; }

  void Put(const fs::path& relative, const std::string& bytes, std::time_t modified) const {
    const fs::path path = Output() / relative;
    fs::create_directories(path.parent_path());
    testing::WriteFile(path, bytes);
    fs::last_write_time(
        path, std::chrono::file_clock::from_sys(std::chrono::system_clock::from_time_t(modified)));
  }

  struct File {
    std::string bytes;
    std::time_t modified;
  };

  // What a forecast for May to August 2025 leaves in the output directory,
  // each file two seconds after the one before.
  std::map<std::string, File> PutForecast() const {
    std::map<std::string, File> files;
    const auto put = [&](const std::string& name, const std::string& bytes) {
      const std::time_t modified = kFirstRun + 2 * static_cast<std::time_t>(files.size());
      Put(name, bytes, modified);
      files[name] = {bytes, modified};
    };
    put("b_button.jpg", "JFIF button");
    put("b_blu3.gif", "GIF89a blue");
    for (const std::string month : {"05", "06", "07", "08"}) {
      std::string page = "<html><body>\r\n";
      for (int day = 1; day <= 31; ++day)
        page += "<p><img src=\"b_blu3.gif\"> " + std::to_string(day) + "." + month +
                ": a calm day for a drive</p>\r\n";
      put("Prog_" + month + "_2025.html", page + "</body></html>\r\n");
      put("Prog_" + month + "_2025.jpeg", "JFIF " + page);
    }
    return files;
  }

  // The program passes the output directory with its trailing separator.
  void Pack() const { PackOutput(Output() / "", Archive()); }

  std::map<std::string, ZipEntry> Entries() const {
    std::map<std::string, ZipEntry> byName;
    for (ZipEntry& entry : testing::ReadZip(Archive())) byName[entry.name] = std::move(entry);
    return byName;
  }

  std::set<std::string> Listing() const {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(Output()))
      if (!entry.is_directory())
        names.insert(entry.path().lexically_relative(Output()).generic_string());
    return names;
  }

  // Packing into `archive` must throw naming `named` and `reason`, and leave
  // the archive and the rest of the directory as they were.
  void ExpectFailureKeepingAll(const fs::path& archive, const fs::path& named,
                               const std::string& reason) const {
    const std::string bytes = ReadFile(archive);
    const auto listing = Listing();
    try {
      PackOutput(Output(), archive);
      ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
      const std::string what = error.what();
      EXPECT_NE(what.find(named.string()), std::string::npos) << what;
      EXPECT_NE(what.find(reason), std::string::npos) << what;
    }
    EXPECT_EQ(ReadFile(archive), bytes);
    EXPECT_EQ(Listing(), listing) << "no temporary file may stay behind";
  }

  // A zone with summer time, so that DOS times are not UTC's.
  testing::TimeZone zone_{kCentralEurope};
  testing::ScratchProgramDir dir_{false};
};

TEST_F(PackOutputTest, FirstRunPacksEveryFileUnderItsNameAtLevelNine) {
  const auto files = PutForecast();
  Pack();

  const auto entries = Entries();
  EXPECT_EQ(entries.size(), files.size());
  for (const auto& [name, file] : files) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(entries.count(name));
    const ZipEntry& entry = entries.at(name);
    EXPECT_EQ(entry.method, ZIP_CM_DEFLATE);
    EXPECT_EQ(entry.flags & kCompressionBits, kMaximumCompression);
    EXPECT_EQ(entry.data, file.bytes);
    EXPECT_EQ(entry.dosDateTime, DosDateTime(file.modified));
  }
  EXPECT_EQ(Listing().size(), files.size() + 1) << "no temporary file may stay behind";
}

// Files of one name in several directories: the one nearest the top (then
// the first by path) keeps the bare name, the others their relative paths.
// Names are stored as the bytes on disk: a name that is valid UTF-8 is
// marked as such and any other (here Windows-1251) is left unmarked.
// A second run finds every entry again by its bytes rather than adding it.
TEST_F(PackOutputTest, BareNamesUnlessTakenStoredAsBytesAndFoundAgain) {
  const std::string cp1251 = "\xcf\xf0\xee\xe3\xed\xee\xe7.html";  // "Прогноз.html"
  const std::string utf8 =
      "\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb3\xd0\xbd\xd0\xbe\xd0\xb7.txt";  // "Прогноз.txt"
  const std::map<std::string, std::string> storedAs = {{"b_blu1.gif", "b_blu1.gif"},
                                                       {"a/b_blu1.gif", "a/b_blu1.gif"},
                                                       {"z/b_blu1.gif", "z/b_blu1.gif"},
                                                       {"y/note.txt", "note.txt"},
                                                       {"x/deep/note.txt", "x/deep/note.txt"},
                                                       {"sub/" + cp1251, cp1251},
                                                       {utf8, utf8}};
  std::map<std::string, std::string> expected;  // entry name to bytes, here the file's path
  for (const auto& [path, name] : storedAs) {
    Put(path, path, kFirstRun);
    expected[name] = path;
  }
  for (int run = 1; run <= 2; ++run) {
    Pack();
    std::map<std::string, std::string> unpacked;
    for (const auto& [name, entry] : Entries()) unpacked[name] = entry.data;
    EXPECT_EQ(unpacked, expected) << "run " << run;
  }
  EXPECT_EQ(Entries().at(cp1251).flags & kUtf8Name, 0);
  EXPECT_EQ(Entries().at(utf8).flags & kUtf8Name, kUtf8Name);
}

// An older archive whose entries were stored without compression: an entry
// not older than its file and holding its bytes is kept, copied as it is
// rather than packed again, and so is an entry whose file is gone. An older
// entry or one with other bytes is replaced, a new file added, and the
// archive, however its path is spelled, never added.
TEST_F(PackOutputTest, UpdateReplacesOlderEntriesAddsNewFilesAndKeepsTheRest) {
  const struct {
    const char* name;
    const char* entry;  // nullptr: no entry
    std::time_t packed;
    const char* file;  // nullptr: no file
    std::time_t modified;
    bool replaced;
  } kCases[] = {
      {"b_blu1.gif", "GIF89a blue", kFirstRun, "GIF89a blue", kFirstRun, false},  // up to date
      {"b_red1.gif", "red", kFirstRun + 60, "red", kFirstRun, false},  // entry newer, same bytes
      {"b_red2.gif", "red entry", kFirstRun + 60, "red, other bytes", kFirstRun, true},
      {"Prog_05_2025.html", "old page", kFirstRun, "new page", kLater, true},  // entry older
      {"gone.html", "no file any more", kFirstRun, nullptr, 0, false},
      {"Prog_09_2025.html", nullptr, 0, "added page", kLater, true},
  };
  zip_t* old = zip_open(Archive().c_str(), ZIP_CREATE, nullptr);
  ASSERT_NE(old, nullptr);
  for (const auto& c : kCases) {
    if (c.file) Put(c.name, c.file, c.modified);
    if (!c.entry) continue;
    const auto index = static_cast<zip_uint64_t>(
        zip_file_add(old, c.name, zip_source_buffer(old, c.entry, std::strlen(c.entry), 0), 0));
    ASSERT_EQ(zip_set_file_compression(old, index, ZIP_CM_STORE, 0), 0);
    ASSERT_EQ(zip_file_set_mtime(old, index, c.packed, 0), 0);
  }
  ASSERT_EQ(zip_close(old), 0);
  PackOutput(Output(), Output() / ".." / "Output" / "." / "Prognoz.zip");
  const auto after = Entries();
  EXPECT_EQ(after.size(), std::size(kCases));
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const ZipEntry& entry = after.at(c.name);
    EXPECT_EQ(entry.method, c.replaced ? ZIP_CM_DEFLATE : ZIP_CM_STORE);
    EXPECT_EQ(entry.data, c.replaced ? c.file : c.entry);
    EXPECT_EQ(entry.dosDateTime, DosDateTime(c.replaced ? c.modified : c.packed));
  }
}

// Entries keep local time in whole even seconds, and a forecast takes a few
// tens of milliseconds: a second forecast within those two seconds (or in
// the hour that autumn's clock change repeats) must still replace the
// first one's pages, which it is told by their bytes. A file written again
// with the same bytes leaves the entry, and the archive is not rewritten.
TEST_F(PackOutputTest, ChangeWithinTheSameDosTimeIsSeenByItsBytes) {
  const struct {
    const char* name;
    std::time_t packed, changed;
  } kCases[] = {
      {"same two seconds, summer", Utc(2025, 6, 2, 12, 0, 0), Utc(2025, 6, 2, 12, 0, 1)},
      {"same second, winter", Utc(2025, 1, 15, 9, 0, 58), Utc(2025, 1, 15, 9, 0, 58)},
      {"repeated hour", Utc(2023, 10, 29, 0, 30, 1), Utc(2023, 10, 29, 1, 30, 1)},
  };
  const auto identity = [&] {
    struct stat info {};
    ::stat(Archive().c_str(), &info);
    return std::pair(info.st_ino, info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec);
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fs::remove(Archive());
    Put("page.html", "Anna's page", c.packed);
    Pack();
    Put("page.html", "Boris's page", c.changed);
    Pack();
    EXPECT_EQ(Entries().at("page.html").data, "Boris's page");
    const auto written = identity();
    Put("page.html", "Boris's page", c.changed);
    Pack();
    EXPECT_EQ(identity(), written) << "the archive was written again";
  }
}

// Bytes handed in as just written are packed as they are, not read back;
// a file whose size no longer matches them is read after all, and a file in
// a subdirectory is never taken for one of the output directory's own.
TEST_F(PackOutputTest, FilesJustWrittenArePackedFromTheBytesHandedIn) {
  Put("page.html", "on disk", kFirstRun);
  Put("graph.jpeg", "on disk", kFirstRun);
  Put("old/page.html", "on disk", kFirstRun);
  const WrittenFile written[] = {
      {"page.html", "in hand"}, {"graph.jpeg", "in hand, longer"}, {"gone.html", "in hand"}};
  PackOutput(Output(), Archive(), written);
  const auto entries = Entries();
  EXPECT_EQ(entries.at("page.html").data, "in hand");
  EXPECT_EQ(entries.at("graph.jpeg").data, "on disk");
  EXPECT_EQ(entries.at("old/page.html").data, "on disk");
  EXPECT_EQ(entries.count("gone.html"), 0u);
}

// An archive that cannot be written (here a file size limit smaller than
// it, which fails the write with "File too large" once SIGXFSZ is
// ignored, as the programs ignore it) leaves the old one as it was.
TEST_F(PackOutputTest, ArchiveThatCannotBeWrittenIsLeftIntact) {
  PutForecast();
  Pack();
  std::mt19937 random(5);
  std::string picture(20000, '\0');
  for (char& c : picture) c = static_cast<char>(random());
  Put("Prog_05_2025.jpeg", picture, kLater);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit limit = old;
  limit.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  ExpectFailureKeepingAll(Archive(), Archive(), "File too large");
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
}

// Links are left out, dangling or not: a link to a file elsewhere would
// carry that file into the archive a user passes on. The program's own
// temporary files (left by a killed run) are never packed either.
TEST_F(PackOutputTest, LinksAndTemporaryFilesAreLeftOut) {
  const auto files = PutForecast();
  testing::WriteFile(dir_.root() / "secret.txt", "not for the archive");
  fs::create_directories(Output() / "pictures");
  fs::create_symlink(dir_.root() / "secret.txt", Output() / "notes.html");
  fs::create_symlink(Output() / "missing.gif", Output() / "pictures" / "b_blu9.gif");
  testing::WriteFile(Output() / ".meridan-tmp-0123abcd-Prog_06_2025.jpeg", "half an image");
  const std::vector<fs::path> skipped = PackOutput(Output(), Archive()).notPacked;
  EXPECT_EQ(std::set<fs::path>(skipped.begin(), skipped.end()),
            (std::set<fs::path>{Output() / "notes.html", Output() / "pictures" / "b_blu9.gif"}));
  EXPECT_EQ(Entries().size(), files.size());
  EXPECT_EQ(ReadFile(dir_.root() / "secret.txt"), "not for the archive");
}

// A file too large for the format is left out by its size, never read (a
// sparse file of 4.5 GB here, which would take that much memory), and the
// rest is packed; so is the file of one byte less than the largest that fits.
TEST_F(PackOutputTest, FileTooLargeForTheFormatIsLeftOutUnread) {
  const auto files = PutForecast();
  const fs::path large = Output() / "sub" / "video.avi";
  fs::create_directories(large.parent_path());
  testing::WriteFile(large, "");
  fs::resize_file(large, 4500000000u);
  rusage before{}, after{};
  ::getrusage(RUSAGE_SELF, &before);
  const PackReport report = PackOutput(Output(), Archive());
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes more at the peak";
  EXPECT_EQ(report.leftOut, (std::vector<PackReport::LeftOut>{
                                {large, true, "too large for a ZIP archive without ZIP64"}}));
  EXPECT_EQ(Entries().size(), files.size());
  EXPECT_TRUE(FitsInZip(4292870144u));   // 4 GiB less 2 MiB: deflate adds at most 1.3 MB
  EXPECT_FALSE(FitsInZip(4294967294u));  // the largest size field, but deflate may grow it
}

// An old archive of nearly as many entries as the format holds: with this
// forecast's files it would outgrow the format, so it is kept whole beside a
// fresh archive of the files.
TEST_F(PackOutputTest, ArchiveTooFullForTheNewFilesIsKeptBesideAFreshOne) {
  const auto files = PutForecast();
  ZipArchive full;
  const DeflatedData data = DeflateData("old");
  for (int i = 0; full.entries.size() + 5 < 0xFFFF; ++i)
    full.entries.push_back(DeflatedEntry("old-" + std::to_string(i), data, 0x5AB16DAFu));
  const std::string old = WriteZip(full);
  testing::WriteFile(Archive(), old);
  const PackReport report = PackOutput(Output(), Archive());
  ASSERT_FALSE(report.unreadableKeptAs.empty());
  EXPECT_EQ(ReadFile(report.unreadableKeptAs), old);
  EXPECT_NE(report.unreadableNotice.find("outgrow"), std::string::npos) << report.unreadableNotice;
  EXPECT_EQ(Entries().size(), files.size());
}

// An old archive that cannot be read (not a ZIP file, empty, cut short,
// records sharing their data) must not stop every later forecast, and may
// still be recoverable by other means: it is kept beside the fresh archive
// under a name of its own, which is never packed and never reused.
TEST_F(PackOutputTest, UnreadableArchiveIsKeptBesideAFreshOne) {
  const auto files = PutForecast();
  PackOutput(Output(), dir_.root() / "good.zip");
  const std::string good = ReadFile(dir_.root() / "good.zip");
  const std::string shared = ReadFile(kSeeds / "overlapping_records.zip");
  std::map<std::string, std::string> kept;  // name -> bytes
  for (const std::string& bytes :
       {std::string("no archive at all"), std::string(), good.substr(0, good.size() / 2), shared}) {
    SCOPED_TRACE(bytes.size());
    testing::WriteFile(Archive(), bytes);
    const PackReport report = PackOutput(Output(), Archive());
    const std::string name = report.unreadableKeptAs.filename().string();
    EXPECT_EQ(report.unreadableKeptAs.parent_path(), Archive().parent_path());
    EXPECT_TRUE(name.starts_with("Prognoz.zip.unreadable-")) << name;
    EXPECT_TRUE(kept.emplace(name, bytes).second) << name << " was used twice";
    EXPECT_NE(report.unreadableNotice.find(name), std::string::npos) << report.unreadableNotice;
    EXPECT_EQ(Entries().size(), files.size());
  }
  EXPECT_EQ(ReadFile(Archive()), good);
  for (const auto& [name, bytes] : kept) EXPECT_EQ(ReadFile(Output() / name), bytes) << name;
  EXPECT_EQ(Listing().size(), files.size() + 1 + kept.size());
}

// An output directory with nothing to pack gets no archive.
TEST_F(PackOutputTest, EmptyOutputDirectoryWritesNoArchive) {
  Pack();
  EXPECT_TRUE(Listing().empty());
}

// An archive with two entries of one name, as unpacked-together namesakes
// used to give: the first is matched and updated, the later one dropped (it
// is what other programs would unpack over the first).
TEST_F(PackOutputTest, OldArchiveWithRepeatedNamesKeepsTheFirst) {
  {
    testing::ScratchProgramDir scratch(false);
    testing::WriteFile(scratch.output() / "a.txt", "first");
    testing::WriteFile(scratch.output() / "b.txt", "second");
    PackOutput(scratch.output(), Archive());
  }
  std::string bytes = ReadFile(Archive());
  for (size_t at; (at = bytes.find("b.txt")) != std::string::npos;) bytes[at] = 'a';
  testing::WriteFile(Archive(), bytes);
  Put("a.txt", "first, newer", std::time(nullptr) + 100);
  Put("c.txt", "third", kFirstRun);
  EXPECT_TRUE(PackOutput(Output(), Archive()).droppedEntries.empty());

  std::vector<std::pair<std::string, std::string>> entries;
  for (const ZipEntry& entry : testing::ReadZip(Archive()))
    entries.emplace_back(entry.name, entry.data);
  EXPECT_EQ(entries, (std::vector<std::pair<std::string, std::string>>{{"a.txt", "first, newer"},
                                                                       {"c.txt", "third"}}));
}

// A thousand central entries of one name pointing at one record: a
// reader copying the record once per entry would turn this 160 KB archive
// into 160 MB. The later namesakes are dropped, and the archive comes out
// no larger than it went in plus the new files.
TEST_F(PackOutputTest, EntriesSharingARecordAreNotMultiplied) {
  std::mt19937 random(7);
  std::string picture(160000, '\0');
  for (char& c : picture) c = static_cast<char>(random());
  Put("Prog_05_2025.jpeg", picture, kFirstRun);
  Pack();
  const std::string one = ReadFile(Archive());
  const size_t directory = testing::Little(one, one.size() - 22 + 16, 4);
  const std::string central = one.substr(directory, one.size() - 22 - directory);
  constexpr unsigned kCopies = 1000;
  std::string many = one.substr(0, directory);
  for (unsigned i = 0; i < kCopies; ++i) many += central;
  std::string end = one.substr(one.size() - 22);
  for (const size_t at : {8, 10}) end.replace(at, 2, {char(kCopies & 0xFF), char(kCopies >> 8)});
  const auto directorySize = static_cast<std::uint32_t>(kCopies * central.size());
  for (int i = 0; i < 4; ++i) end[12 + i] = static_cast<char>(directorySize >> (8 * i));
  testing::WriteFile(Archive(), many + end);
  Put("Prog_06_2025.html", "a new page", kLater);

  rusage before{}, after{};
  ::getrusage(RUSAGE_SELF, &before);
  const PackReport report = PackOutput(Output(), Archive());
  ::getrusage(RUSAGE_SELF, &after);
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 100 * 1024) << "kilobytes more at the peak";
  EXPECT_TRUE(report.unreadableKeptAs.empty());
  EXPECT_LE(ReadFile(Archive()).size(), many.size() + end.size() + 200);
  EXPECT_EQ(Entries().size(), 2u);
}

// Entries whose local header names another file (the central names of two
// records swapped): the one with a file is packed from it again, the other
// dropped and reported, so that no reader unpacks one file as the other.
TEST_F(PackOutputTest, EntryWhoseHeadersDisagreeIsPackedAgainOrDropped) {
  fs::copy_file(kSeeds / "swapped_names.zip", Archive());
  Put("b_blu1.gif", "GIF89a blue", kFirstRun);
  const PackReport report = PackOutput(Output(), Archive());
  EXPECT_EQ(report.droppedEntries,
            (std::vector<PackReport::DroppedEntry>{
                {"\xcf\xf0.txt", "its local header disagrees with the central directory"}}));
  const auto entries = Entries();
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries.at("b_blu1.gif").data, "GIF89a blue");
}

// Where the data of an entry of our writer lies in the archive's bytes.
size_t DataOffset(const std::string& archive, const std::string& name) {
  for (size_t at = archive.find("PK\3\4"); at != std::string::npos;
       at = archive.find("PK\3\4", at + 1))
    if (archive.compare(at + 30, name.size(), name) == 0 &&
        testing::Little(archive, at + 26, 2) == name.size())
      return at + 30 + name.size() + testing::Little(archive, at + 28, 2);
  throw std::runtime_error("no local header of " + name);
}

// Damaged data in entries whose headers are whole: an entry whose file is
// there is packed from it again (even when its time and CRC say the file
// is unchanged), one whose file is gone is dropped and said. What comes out
// unpacks whole, each entry to its CRC.
TEST_F(PackOutputTest, EntryWithDamagedDataIsPackedAgainOrDropped) {
  auto files = PutForecast();
  Put("gone.html", "a page of an earlier forecast, gone since", kFirstRun);
  Pack();
  fs::remove(Output() / "gone.html");
  std::string bytes = ReadFile(Archive());
  for (const std::string name : {"b_button.jpg", "Prog_06_2025.html", "gone.html"})
    bytes.replace(DataOffset(bytes, name) + 2, 4, "\xde\xad\xbe\xef");
  testing::WriteFile(Archive(), bytes);
  const PackReport report = PackOutput(Output(), Archive());
  EXPECT_EQ(
      report.droppedEntries,
      (std::vector<PackReport::DroppedEntry>{
          {"gone.html", "its data does not unpack to the size and CRC-32 it is stored with"}}));
  const auto entries = Entries();
  EXPECT_EQ(entries.size(), files.size());
  for (const auto& [name, file] : files) EXPECT_EQ(entries.at(name).data, file.bytes) << name;
}

// Random single bytes changed anywhere in an archive whose files are all
// still there: whatever the change, the next archive unpacks whole and holds
// every file's bytes, each entry unpacking to its CRC (the damaged entry
// packed again, or the archive kept aside and a fresh one written).
TEST_F(PackOutputTest, RandomlyDamagedArchiveNeverCarriesDamageForward) {
  const auto files = PutForecast();
  Pack();
  const std::string good = ReadFile(Archive());
  std::mt19937 random(29);
  for (int round = 0; round < 120; ++round) {
    std::string bytes = good;
    const size_t at = random() % bytes.size();
    bytes[at] = static_cast<char>(bytes[at] ^ (1 + random() % 255));
    testing::WriteFile(Archive(), bytes);
    PackOutput(Output(), Archive());
    SCOPED_TRACE("byte " + std::to_string(at));
    std::map<std::string, ZipEntry> entries;
    // A time changed in one header only leaves the headers disagreeing on
    // what unpacking does not use: unzip -t passes, libzip's consistency
    // check would not.
    ASSERT_NO_THROW(for (ZipEntry& entry
                         : testing::ReadZip(Archive(), false)) entries[entry.name] =
                        std::move(entry));
    for (const auto& [name, file] : files) {
      ASSERT_TRUE(entries.count(name)) << name;
      EXPECT_EQ(entries.at(name).data, file.bytes) << name;
    }
  }
}

// What cannot be opened as an archive (a directory, a FIFO, a socket) is
// not opened, not read through and not packed: it is moved aside as it is
// and a fresh archive written in its place.
TEST_F(PackOutputTest, ArchiveThatIsNoFileIsMovedAsideAsItIs) {
  const auto files = PutForecast();
  const auto socketAt = [](const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
  };
  const struct {
    const char* kind;
    std::function<void()> make;
    fs::file_type type;
  } kCases[] = {
      {"a directory", [&] { testing::WriteFile(Archive() / "inside.html", "not for the archive"); },
       fs::file_type::directory},
      {"a FIFO", [&] { ASSERT_EQ(::mkfifo(Archive().c_str(), 0644), 0); }, fs::file_type::fifo},
      {"a socket", [&] { socketAt(Archive()); }, fs::file_type::socket},
  };
  std::set<fs::path> kept;
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.kind);
    fs::remove(Archive());
    fs::create_directories(Output());
    if (std::string(c.kind) == "a directory") fs::create_directory(Archive());
    c.make();
    const PackReport report = PackOutput(Output(), Archive());
    ASSERT_TRUE(kept.insert(report.unreadableKeptAs).second);
    EXPECT_EQ(fs::symlink_status(report.unreadableKeptAs).type(), c.type);
    EXPECT_NE(report.unreadableNotice.find(std::string("is not a file but ") + c.kind),
              std::string::npos)
        << report.unreadableNotice;
    EXPECT_EQ(Entries().size(), files.size());
  }
  EXPECT_EQ(ReadFile(*kept.begin() / "inside.html"), "not for the archive");
}

// Entries of an archive made elsewhere whose names would unpack outside the
// folder they are unpacked into, or print control characters onto a
// terminal, are dropped and said; a name in a folder of its own stays.
TEST_F(PackOutputTest, ForeignEntriesWithHostileNamesAreDropped) {
  ZipArchive foreign;
  for (const std::string name : {"../evil.html", "/etc/evil", "C:\\evil.txt", "a/../../evil",
                                 "bell\a.txt", "esc\x1b[31m.txt", "del\x7f.txt", "ok/fine.txt"})
    foreign.entries.push_back(DeflatedEntry(name, "data", 0x5AB16DAFu));
  foreign.entries.push_back(DeflatedEntry("c1\xc2\x9b.txt", "data", 0x5AB16DAFu));  // UTF-8 CSI
  testing::WriteFile(Archive(), WriteZip(foreign));
  Put("page.html", "a page", kFirstRun);
  const PackReport report = PackOutput(Output(), Archive());
  EXPECT_EQ(report.droppedEntries.size(), 8u);
  EXPECT_EQ(report.droppedEntries.front(),
            (PackReport::DroppedEntry{"../evil.html", "its name leads out of its folder"}));
  std::set<std::string> names;
  for (const auto& [name, entry] : Entries()) names.insert(name);
  EXPECT_EQ(names, (std::set<std::string>{"ok/fine.txt", "page.html"}));
}

// An end record that says "empty archive" inside the comment of the real
// one is not the end of the archive: taking it would drop every entry of
// earlier forecasts. The comment is not carried on, for readers that would
// take it for the end.
TEST(ParseZip, EndRecordInsideTheCommentIsNotTakenForAnEmptyArchive) {
  ZipArchive archive;
  archive.entries.push_back(DeflatedEntry("Prog_05_2025.html", "a page", 0x5AB16DAFu));
  archive.comment = std::string("PK\5\6", 4) + std::string(18, '\0');
  const ZipArchive read = ParseZip(WriteZip(archive));
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries[0].name, "Prog_05_2025.html");
  EXPECT_TRUE(read.comment.empty());
  EXPECT_TRUE(read.commentDropped);
  EXPECT_EQ(ParseZip(WriteZip(ZipArchive{})).entries.size(), 0u);
}

// What the reader takes from archives of Info-ZIP's zip, of this program and
// of hand-made hostile ones (tests/fuzz/corpus/archive, whose README says
// how each was made): -1 for an archive it refuses.
TEST(ParseZip, KeepsWhatAgreesDropsRepeatsAndDisagreementsRefusesTheRest) {
  const struct {
    const char* seed;
    int kept, dropped;
  } kCases[] = {
      {"ours.zip", 3, 0},
      {"infozip.zip", 3, 0},
      {"infozip_descriptors.zip", 3, 0},  // 16-byte data descriptors
      {"descriptor12.zip", 3, 0},         // 12-byte data descriptors, no signature
      {"infozip_zip64_stream.zip", -1, 0},
      {"repeated_name.zip", 2, 1},
      {"shared_record.zip", 1, 4},
      {"swapped_names.zip", 0, 2},
      {"overlapping_records.zip", -1, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.seed);
    try {
      const ZipArchive archive = ParseZip(ReadFile(kSeeds / c.seed));
      EXPECT_EQ(static_cast<int>(archive.entries.size()), c.kept);
      EXPECT_EQ(static_cast<int>(archive.dropped.size()), c.dropped);
    } catch (const ZipFormatError& error) {
      EXPECT_EQ(c.kept, -1) << error.what();
    }
  }
}

// Files of every size, empty to a few hundred kilobytes, deflated on as many
// threads as there are processors: each comes back in its own place, whole,
// with its own CRC-32, whichever thread took it and in whatever order the
// threads finished.
TEST(DeflateAll, EachFileInItsPlaceWhicheverThreadTookIt) {
  std::mt19937 random(29);
  std::vector<std::string> files;
  for (int i = 0; i < 40; ++i) {
    std::string file(i % 7 == 0 ? 0 : random() % (i % 5 == 0 ? 400000 : 3000), '\0');
    for (char& c : file) c = static_cast<char>(i % 2 ? random() % 4 + 'a' : random());
    files.push_back(std::move(file));
  }
  const std::vector<std::string_view> views(files.begin(), files.end());
  const std::vector<DeflatedData> deflated = DeflateAll(views);
  ASSERT_EQ(deflated.size(), files.size());
  ZipArchive archive;
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(deflated[i].crc, Crc32(files[i])) << i;
    archive.entries.push_back(DeflatedEntry("f" + std::to_string(i), deflated[i], 0x5A210000));
  }
  testing::ScratchProgramDir dir(false);
  const fs::path zip = dir.root() / "all.zip";
  testing::WriteFile(zip, WriteZip(archive));
  const std::vector<ZipEntry> read = testing::ReadZip(zip);
  ASSERT_EQ(read.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(read[i].name, "f" + std::to_string(i));
    EXPECT_TRUE(read[i].data == files[i]) << "file " << i << " came back other than it went in";
  }
  EXPECT_TRUE(DeflateAll({}).empty());
}

}  // namespace
}  // namespace meridan
