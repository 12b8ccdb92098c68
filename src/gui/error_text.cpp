#include "gui/error_text.h"

#include <QStringList>

#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "base/data_file_error.h"
#include "base/files.h"
#include "forecast/digest_file.h"
#include "forecast/lock.h"

namespace meridan {
namespace {

QString Quoted(const QString& text) { return QStringLiteral("«") + text + QStringLiteral("»"); }
QString Quoted(const std::filesystem::path& path) {
  return Quoted(QString::fromStdString(path.string()));
}

const QString kCheckReading = QStringLiteral(
    "Проверьте, что программа запущена из своей папки, что файл на месте и что у Вас есть "
    "права на его чтение.");
const QString kReturnFile = QStringLiteral("Верните этот файл из установленной копии программы.");
const QString kReinstall = QStringLiteral("Установите программу заново.");
const QString kSeeDetails = QStringLiteral("Подробности — по кнопке «Показать подробности».");

// The advice names the folder the file is to be written in: the program's
// own for its pages and archive, the user's for a PDF or a calendar saved
// elsewhere.
QString CheckWriting(const std::filesystem::path& file) {
  const std::filesystem::path folder = file.parent_path();
  return QStringLiteral("Проверьте, что папка ") +
         (folder.empty() ? QStringLiteral("программы") : Quoted(folder)) +
         QStringLiteral(
             " на месте, что у Вас есть права на запись в неё и что на диске есть "
             "свободное место.");
}

QString InParentheses(int error) {
  return QStringLiteral(" (") + SystemReason(error) + QStringLiteral("). ");
}

QString FileSentence(const FileError& error) {
  const QString reason = InParentheses(error.error());
  switch (error.operation()) {
    case FileError::Operation::kOpen:
      return QStringLiteral("Не удалось прочитать файл ") + Quoted(error.path()) + reason +
             kCheckReading;
    case FileError::Operation::kCreate:
      return QStringLiteral("Не удалось записать файл ") + Quoted(error.path()) + reason +
             CheckWriting(error.path());
    case FileError::Operation::kLock:
      break;
  }
  return QStringLiteral("Не удалось занять папку программы для прогноза: файл ") +
         Quoted(error.path()) + reason + CheckWriting(error.path());
}

QString DataSentence(const DataFileError& error) {
  QString sentence =
      QStringLiteral("Файл данных ") + Quoted(error.file()) + QStringLiteral(" испорчен");
  if (error.line() > 0) sentence += QStringLiteral(" в строке %1").arg(error.line());
  if (!error.field().empty())
    sentence += QStringLiteral(": в заголовке записи стоит ") +
                Quoted(QString::fromStdString(error.field())) + QStringLiteral(", а не число");
  sentence += QStringLiteral(". ");
  switch (error.remedy()) {
    case DataFileError::Remedy::kReinstall:
      sentence += kReturnFile;
      break;
    case DataFileError::Remedy::kRemove:
      sentence += QStringLiteral(
          "Удалите его, и программа сделает новый; события календарей, сохранённых раньше, "
          "тогда добавятся в календарь заново.");
      break;
  }
  // What is wrong, where the sentence does not quote it, is in the details.
  return error.field().empty() ? sentence + QLatin1Char(' ') + kSeeDetails : sentence;
}

// "секунды" after "больше 1", "больше 21"; "секунд" after the rest.
QString MoreThanSeconds(long long n) {
  return QStringLiteral("больше %1 ").arg(n) +
         (n % 10 == 1 && n % 100 != 11 ? QStringLiteral("секунды") : QStringLiteral("секунд"));
}

QString DigestSentence(const DigestUnavailable& error) {
  switch (error.cause()) {
    case DigestUnavailable::Cause::kNotLoaded:
      return QStringLiteral("Не удалось загрузить часть программы, которая составляет PDF: ") +
             Quoted(error.module()) + QStringLiteral(". ") + kReinstall + QLatin1Char(' ') +
             kSeeDetails;
    case DigestUnavailable::Cause::kOtherBuild:
      return QStringLiteral("Часть программы, которая составляет PDF (") + Quoted(error.module()) +
             QStringLiteral("), осталась от другой версии программы. ") + kReinstall;
    case DigestUnavailable::Cause::kNotMade:
      break;
  }
  return QStringLiteral(
             "Программе не удалось составить PDF. Если это повторится, сообщите нам об этом "
             "через меню «Проблемы». ") +
         kSeeDetails;
}

// An error that only the engine's English words describe.
bool WordedOnlyInDetails(const std::exception& error) {
  // A damaged data file's sentence names the file and the line; what is
  // wrong there, but for a header field it quotes, is left to the details.
  if (const auto* data = dynamic_cast<const DataFileError*>(&error)) return data->field().empty();
  return !dynamic_cast<const FileError*>(&error) &&
         !dynamic_cast<const std::filesystem::filesystem_error*>(&error) &&
         !dynamic_cast<const ProgramDirBusy*>(&error) &&
         !dynamic_cast<const std::bad_alloc*>(&error) &&
         !(dynamic_cast<const DigestUnavailable*>(&error) &&
           static_cast<const DigestUnavailable&>(error).cause() ==
               DigestUnavailable::Cause::kOtherBuild);
}

QString Sentence(const std::exception& error) {
  if (const auto* file = dynamic_cast<const FileError*>(&error)) return FileSentence(*file);
  if (const auto* data = dynamic_cast<const DataFileError*>(&error)) return DataSentence(*data);
  if (const auto* system = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
    const std::filesystem::path& path = system->path1();
    return (path.empty() ? QStringLiteral("Не удалось прочитать или изменить файлы программы")
                         : QStringLiteral("Не удалось прочитать или изменить ") + Quoted(path)) +
           InParentheses(system->code().value()) + CheckWriting(path);
  }
  if (const auto* busy = dynamic_cast<const ProgramDirBusy*>(&error))
    return QStringLiteral("В папке ") + Quoted(busy->programDir()) + QStringLiteral(" уже ") +
           MoreThanSeconds(busy->waited().count()) +
           QStringLiteral(" идёт другой прогноз. Попробуйте ещё раз, когда он закончится.");
  if (const auto* digest = dynamic_cast<const DigestUnavailable*>(&error))
    return DigestSentence(*digest);
  if (dynamic_cast<const std::bad_alloc*>(&error))
    return QStringLiteral(
        "Программе не хватило памяти. Закройте другие программы и попробуйте ещё раз.");
  if (dynamic_cast<const std::logic_error*>(&error))
    return QStringLiteral(
               "В программе произошла внутренняя ошибка. Пожалуйста, сообщите нам о ней через "
               "меню «Проблемы». ") +
           kSeeDetails;
  // The rest (a damaged picture, table or archive, a missing font) names
  // its file in the engine's words only.
  return QStringLiteral(
             "Один из файлов программы испорчен или недоступен. Проверьте файлы в папке "
             "программы (System и Output); если файл испорчен, верните его из установленной "
             "копии программы. ") +
         kSeeDetails;
}

}  // namespace

QString SystemReason(int error) {
  switch (error) {
    case ENOENT:
      return QStringLiteral("нет такого файла или каталога");
    case EACCES:
      return QStringLiteral("доступ запрещён");
    case EPERM:
      return QStringLiteral("действие не разрешено");
    case ENOSPC:
      return QStringLiteral("на диске не осталось места");
    case EDQUOT:
      return QStringLiteral("исчерпана дисковая квота");
    case EROFS:
      return QStringLiteral("диск доступен только для чтения");
    case EISDIR:
      return QStringLiteral("на этом месте каталог, а не файл");
    case ENOTDIR:
      return QStringLiteral("часть пути — не каталог");
    case ELOOP:
      return QStringLiteral("на этом месте символическая ссылка");
    case EEXIST:
      return QStringLiteral("файл уже существует");
    case EINVAL:
      return QStringLiteral("это не обычный файл");
    case EIO:
      return QStringLiteral("ошибка ввода-вывода");
    case ENAMETOOLONG:
      return QStringLiteral("слишком длинное имя");
    case EMFILE:
    case ENFILE:
      return QStringLiteral("открыто слишком много файлов");
    case EBUSY:
      return QStringLiteral("файл занят");
    default:
      return QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(", код ") +
             QString::number(error);
  }
}

QString ErrorMessage(const std::exception& error, const QString& task) {
  return (task.isEmpty() ? QString() : task + QLatin1Char(' ')) + Sentence(error);
}

QString ErrorDetails(const std::exception& error) {
  return WordedOnlyInDetails(error) ? QString::fromUtf8(error.what()) : QString();
}

QString PackingNotice(const PackReport& packed, const std::filesystem::path& archive) {
  QStringList lines;
  if (!packed.unreadableKeptAs.empty())
    lines << QStringLiteral(
                 "Старый архив прогнозов не удалось прочитать. Он не удалён, а "
                 "сохранён под именем ") +
                 Quoted(packed.unreadableKeptAs) +
                 QStringLiteral(", а на его месте записан новый архив.");
  if (packed.replacedLink)
    lines << QStringLiteral("На месте архива прогнозов ") + Quoted(archive) +
                 QStringLiteral(
                     " стояла ссылка. Архив записан вместо неё, а то, на что она "
                     "указывала, не тронуто.");
  if (!packed.notPacked.empty()) {
    QStringList files;
    for (const std::filesystem::path& file : packed.notPacked) files << Quoted(file);
    lines << (files.size() == 1
                  ? QStringLiteral("В архив прогнозов не вошёл ") + files.front() +
                        QStringLiteral(": это не обычный файл, а ссылка или особый файл.")
                  : QStringLiteral("В архив прогнозов не вошли ") +
                        files.join(QStringLiteral(", ")) +
                        QStringLiteral(": это не обычные файлы, а ссылки или особые файлы."));
  }
  for (const PackReport::LeftOut& file : packed.leftOut)
    lines << QStringLiteral("В архив прогнозов не вошёл ") + Quoted(file.path) +
                 (file.tooLarge ? QStringLiteral(": он слишком велик для архива ZIP.")
                                : QStringLiteral(": его не удалось прочитать (") +
                                      QString::fromStdString(file.why) + QStringLiteral(")."));
  if (!packed.droppedEntries.empty()) {
    QStringList names;
    for (const PackReport::DroppedEntry& entry : packed.droppedEntries)
      names << Quoted(QString::fromStdString(entry.name));
    lines << QStringLiteral("Старый архив прогнозов был повреждён: ") +
                 (names.size() == 1
                      ? QStringLiteral("запись ") + names.front() +
                            QStringLiteral(" из него не сохранена, а её файла в папке Output "
                                           "уже нет.")
                      : QStringLiteral("записи ") + names.join(QStringLiteral(", ")) +
                            QStringLiteral(" из него не сохранены, а их файлов в папке Output "
                                           "уже нет."));
  }
  return lines.join(QLatin1Char('\n'));
}

QString NoTextsNotice(const NoTexts& noTexts) {
  return (noTexts.missing ? QStringLiteral("Файл текстов прогноза ") + Quoted(noTexts.file) +
                                QStringLiteral(" не найден")
                          : QStringLiteral("В файле текстов прогноза ") + Quoted(noTexts.file) +
                                QStringLiteral(" нет ни одного текста")) +
         QStringLiteral(": прогноз составлен без текстов. ") + kReturnFile;
}

}  // namespace meridan
