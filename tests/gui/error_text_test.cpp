// The window's wording of the engine's errors and notices: every kind the
// engine throws comes out as Russian sentences (only file paths and names,
// quoted in «», and the folder names System and Output stay as they are),
// and the engine's English goes to the box's details where the sentence
// cannot carry it.

#include "gui/error_text.h"

#include <QRegularExpression>

#include <cerrno>
#include <chrono>
#include <new>
#include <stdexcept>
#include <system_error>

#include "base/data_file_error.h"
#include "base/files.h"
#include "forecast/digest_file.h"
#include "forecast/lock.h"
#include "gui_testing.h"
#include "output/archive/zip_file.h"

namespace meridan::testing {
namespace {

// The Latin words of a text outside its «» quotations, but for the names
// the sentences use.
QStringList LatinWords(QString text) {
  text.remove(QRegularExpression(u"«[^»]*»"_s));
  QStringList words;
  for (const QRegularExpressionMatch& word : QRegularExpression(u"[A-Za-z]+"_s).globalMatch(text))
    if (!QStringList{u"PDF"_s, u"System"_s, u"Output"_s}.contains(word.captured()))
      words << word.captured();
  return words;
}

TEST(ErrorText, EveryEngineErrorIsWordedInRussian) {
  const fs::path data = "/home/user/Meridan Diru/System";
  const struct {
    std::shared_ptr<std::exception> error;
    bool detailed;  // the engine's English goes to the details
  } cases[] = {
      {std::make_shared<FileError>(FileError::Operation::kOpen, data / "pluto.sys", ENOENT), false},
      {std::make_shared<FileError>(FileError::Operation::kOpen, data / "go.dat", EINVAL,
                                   "Not a regular file (a FIFO)"),
       false},
      {std::make_shared<FileError>(FileError::Operation::kCreate, "/tmp/x.ics", EROFS), false},
      {std::make_shared<FileError>(FileError::Operation::kLock, data / ".meridan.lock", EIO),
       false},
      {std::make_shared<DataFileError>(data / "go.dat", 12,
                                       "go.dat:12: '0x1' is not a valid integer value",
                                       DataFileError::Remedy::kReinstall, "0x1"),
       false},
      {std::make_shared<fs::filesystem_error>("remove", data / "tmp.bmp",
                                              std::make_error_code(std::errc::permission_denied)),
       false},
      {std::make_shared<fs::filesystem_error>("directory iterator",
                                              std::make_error_code(std::errc::io_error)),
       false},
      {std::make_shared<ProgramDirBusy>(data.parent_path(), std::chrono::seconds(120)), false},
      {std::make_shared<DigestUnavailable>(DigestUnavailable::Cause::kNotLoaded,
                                           "/usr/lib/meridan-diru/digest.so",
                                           "the PDF digest cannot be made: cannot open"),
       true},
      {std::make_shared<DigestUnavailable>(DigestUnavailable::Cause::kOtherBuild,
                                           "/usr/lib/meridan-diru/digest.so",
                                           "the PDF digest cannot be made: another build"),
       false},
      {std::make_shared<DigestUnavailable>(DigestUnavailable::Cause::kNotMade, "digest.so",
                                           "the PDF could not be made: out of memory"),
       true},
      {std::make_shared<DataFileError>(data / "month.bmp", 0,
                                       "File \"month.bmp\" is not a BMP image"),
       true},
      {std::make_shared<std::runtime_error>("No font found for \"Arial\""), true},
      {std::make_shared<ZipFormatError>("Not a zip archive"), true},
      {std::make_shared<std::invalid_argument>("negative raster size"), true},
      {std::make_shared<std::out_of_range>("month 13 is not 1..12"), true},
      {std::make_shared<std::bad_alloc>(), false},
  };
  for (const auto& c : cases) {
    const QString message = ErrorMessage(*c.error, u"Прогноз не составлен."_s);
    EXPECT_TRUE(message.startsWith(u"Прогноз не составлен. "_s)) << message.toStdString();
    EXPECT_EQ(LatinWords(message), QStringList()) << message.toStdString();
    EXPECT_EQ(ErrorDetails(*c.error).isEmpty(), !c.detailed) << c.error->what();
    // The sentence points to the details where there are any.
    EXPECT_EQ(message.contains(u"«Показать подробности»"_s), c.detailed) << message.toStdString();
  }

  // The lock that another run kept too long, a PDF the user's folder would
  // not take, a header that is not a number.
  EXPECT_EQ(ErrorMessage(ProgramDirBusy(data.parent_path(), std::chrono::seconds(120)),
                         u"Прогноз не составлен."_s),
            u"Прогноз не составлен. В папке «/home/user/Meridan Diru» уже больше 120 секунд идёт "
            "другой прогноз. Попробуйте ещё раз, когда он закончится."_s);
  EXPECT_EQ(ErrorMessage(FileError(FileError::Operation::kCreate,
                                   "/home/user/Документы/Прогноз.pdf", EACCES),
                         u"PDF не сохранён."_s),
            u"PDF не сохранён. Не удалось записать файл «/home/user/Документы/Прогноз.pdf» "
            "(доступ запрещён). Проверьте, что папка «/home/user/Документы» на месте, что у Вас "
            "есть права на запись в неё и что на диске есть свободное место."_s);
  EXPECT_EQ(ErrorMessage(DataFileError(data / "go.dat", 12, "go.dat:12: '0x1' is not a number",
                                       DataFileError::Remedy::kReinstall, "0x1")),
            u"Файл данных «/home/user/Meridan Diru/System/go.dat» испорчен в строке 12: в "
            "заголовке записи стоит «0x1», а не число. Верните этот файл из установленной копии "
            "программы."_s);
  // A damaged file the program made itself is removed, not reinstalled;
  // the details say what is wrong with it.
  const DataFileError key(data / ".calendar-key", 0, "not 32 hexadecimal digits",
                          DataFileError::Remedy::kRemove);
  EXPECT_EQ(ErrorMessage(key),
            u"Файл данных «/home/user/Meridan Diru/System/.calendar-key» испорчен. Удалите его, и "
            "программа сделает новый; события календарей, сохранённых раньше, тогда добавятся в "
            "календарь заново. Подробности — по кнопке «Показать подробности»."_s);
  EXPECT_EQ(ErrorDetails(key), u"not 32 hexadecimal digits"_s);
}

TEST(ErrorText, PackingIsToldInRussianOneSentenceALine) {
  EXPECT_EQ(PackingNotice({}, "Output/Prognoz.zip"), QString());
  PackReport packed;
  packed.notPacked = {"Output/link.html"};
  packed.replacedLink = true;
  packed.droppedEntries = {{"a", "its name comes earlier in the archive"},
                           {"b.html", "its local header disagrees with the central directory"}};
  packed.unreadableKeptAs = "Output/Prognoz.zip.unreadable-20250501-120000";
  packed.unreadableNotice = "the archive Output/Prognoz.zip could not be read";
  const QString notice = PackingNotice(packed, "Output/Prognoz.zip");
  EXPECT_EQ(notice.count(QLatin1Char('\n')), 3) << notice.toStdString();
  EXPECT_EQ(LatinWords(notice), QStringList()) << notice.toStdString();
  EXPECT_TRUE(notice.contains(u"записи «a», «b.html» из него не сохранены"_s))
      << notice.toStdString();
  packed = {};
  packed.notPacked = {"Output/x", "Output/y"};
  EXPECT_EQ(PackingNotice(packed, "Output/Prognoz.zip"),
            u"В архив прогнозов не вошли «Output/x», «Output/y»: это не обычные файлы, а ссылки "
            "или особые файлы."_s);
}

}  // namespace
}  // namespace meridan::testing
