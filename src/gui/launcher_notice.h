#pragma once
// The launcher (meridan-diru-launch) keeps a data file the user changed when
// a newer one is installed, and puts the new one beside it as NAME.new. It
// names such files in MERIDAN_DIRU_KEPT_FILES, one a line, for the start
// that made them; the window tells the user once, in Russian, and a user
// who started from the desktop menu never sees the launcher's stderr.

#include <QByteArray>
#include <QString>

class QWidget;

namespace meridan {

inline constexpr char kKeptFilesVariable[] = "MERIDAN_DIRU_KEPT_FILES";

// The notice for the files named (one a line), or an empty text for none.
QString LauncherNotice(const QByteArray& keptFiles);

// Shows the notice, if the launcher left one, and clears the variable so
// that it is told once.
void ShowLauncherNotice(QWidget* parent);

}  // namespace meridan
