#pragma once
// Where the save dialogs suggest a file: the user's documents folder, or the
// home itself when there is none.

#include <QString>

namespace meridan {

QString InDocumentsFolder(const QString& fileName);

}  // namespace meridan
