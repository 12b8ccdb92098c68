#pragma once
// The file dialog that asks where to save a forecast's PDF or calendar. It
// sits behind a seam, so tests never wait on it.

#include <QString>

#include <functional>

class QWidget;

namespace meridan {

// Given the suggested path, the chosen one, or an empty string when the
// user cancels.
using SaveDialogFn = std::function<QString(QWidget* parent, const QString& suggested)>;

// Puts a stand-in in the dialog's place (an empty one puts the dialog
// back); returns what stood there.
SaveDialogFn SetSaveDialog(SaveDialogFn dialog);

// Asks through the dialog (or its stand-in), with its title and file filter.
QString AskWhereToSave(QWidget* parent, const QString& title, const QString& suggested,
                       const QString& filter);

}  // namespace meridan
