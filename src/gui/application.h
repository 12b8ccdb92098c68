#pragma once
// What the desktop program sets up once for all of its windows.

#include <QString>

class QAbstractButton;
class QApplication;
class QCoreApplication;

namespace meridan {

// The desktop entry, meridan-diru.desktop, that window managers and docks
// match the program's windows with.
inline const QString kDesktopFileName = QStringLiteral("meridan-diru");

// Qt's own texts in Russian, as the program's: the print dialog and its page
// setup, standard buttons, the text fields' context menus. Read from Qt's
// translations path; false when the translation is not installed there, and
// those texts then stay in English.
bool InstallQtTranslation(QCoreApplication& application);

// The program's icon on every window, the desktop entry's name, Enter
// pressing the focused button as Space does, and a focus mark on every
// focused button however the focus came to it.
void SetUpDesktop(QApplication& application);

// A button that Enter leaves alone: one whose action (the print dialog) is
// not what anyone means by the key that ends their typing. Space and a click
// still press it.
void LeaveToSpaceAndClick(QAbstractButton& button);

}  // namespace meridan
