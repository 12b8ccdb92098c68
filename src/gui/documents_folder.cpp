#include "gui/documents_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace meridan {

QString InDocumentsFolder(const QString& fileName) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir(folder).filePath(fileName);
}

}  // namespace meridan
