#include "gui/error_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/files.h"
#include "texts/interpretation.h"

namespace meridan {
namespace {

QString Quoted(const std::filesystem::path& path) {
  return QStringLiteral("«") + QString::fromStdString(path.string()) + QStringLiteral("»");
}

const QString kCheckReading = QStringLiteral(
    "Проверьте, что программа запущена из своей папки, что файл на месте и что у Вас есть "
    "права на его чтение.");
const QString kCheckWriting = QStringLiteral(
    "Проверьте, что папка программы на месте, что у Вас есть права на запись в неё и что на "
    "диске есть свободное место.");

QString FileSentence(const FileError& error) {
  const QString reason = QStringLiteral(" (") + SystemReason(error.error()) + QStringLiteral("). ");
  if (std::strcmp(error.verb(), "open") == 0)
    return QStringLiteral("Не удалось прочитать файл ") + Quoted(error.path()) + reason +
           kCheckReading;
  if (std::strcmp(error.verb(), "create") == 0)
    return QStringLiteral("Не удалось записать файл ") + Quoted(error.path()) + reason +
           kCheckWriting;
  return QStringLiteral("Не удалось занять папку программы для прогноза: файл ") +
         Quoted(error.path()) + reason + kCheckWriting;
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
  const QString lead = task.isEmpty() ? QString() : task + QLatin1Char(' ');
  if (const auto* file = dynamic_cast<const FileError*>(&error)) return lead + FileSentence(*file);
  if (const auto* data = dynamic_cast<const DataFileError*>(&error))
    return lead + QStringLiteral("Файл данных ") + Quoted(data->file()) +
           QStringLiteral(" испорчен") +
           (data->line() > 0 ? QStringLiteral(" в строке %1").arg(data->line()) : QString()) +
           QStringLiteral(": ") + QString::fromUtf8(data->what()) +
           QStringLiteral(". Верните этот файл из установленной копии программы.");
  if (const auto* system = dynamic_cast<const std::filesystem::filesystem_error*>(&error))
    return lead + QStringLiteral("Не удалось прочитать или изменить ") + Quoted(system->path1()) +
           QStringLiteral(" (") + SystemReason(system->code().value()) + QStringLiteral("). ") +
           kCheckWriting;
  // The rest (a damaged picture, table or archive, a missing font) names
  // its file in the engine's words.
  return (task.isEmpty() ? QStringLiteral("Команда не выполнена. ") : lead) +
         QStringLiteral("Причина: ") + QString::fromUtf8(error.what()) +
         QStringLiteral(
             ". Проверьте файлы в папке программы (System и Output); если файл "
             "испорчен, верните его из установленной копии программы.");
}

}  // namespace meridan
