#include "gui/launcher_notice.h"

#include <QStringList>
#include <QtGlobal>

#include "gui/error_box.h"

namespace meridan {

QString LauncherNotice(const QByteArray& keptFiles) {
  const QStringList files =
      QString::fromUtf8(keptFiles).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  if (files.isEmpty()) return {};
  return QStringLiteral("Программа обновлена. Файлы, которые Вы меняли, оставлены как были: ") +
         files.join(QStringLiteral(", ")) +
         QStringLiteral(
             ".\nНовые версии этих файлов лежат рядом с ними, с окончанием .new: "
             "сравните их со своими и перенесите нужное.");
}

void ShowLauncherNotice(QWidget* parent) {
  const QString notice = LauncherNotice(qgetenv(kKeptFilesVariable));
  qunsetenv(kKeptFilesVariable);
  if (!notice.isEmpty()) NoticeBox::Show(parent, notice);
}

}  // namespace meridan
