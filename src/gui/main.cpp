// meridan-diru: the desktop program. It works in its program directory, the
// current directory, reading System/ and writing Output/ there.

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "forecast/heap.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
  meridan::TuneHeapForForecasts();
  QApplication application(argc, argv);
  // The toolkit's own dialogs (saving a file, printing) speak Russian like
  // the rest of the program, where Qt's translations are installed.
  QTranslator toolkit;
  if (toolkit.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&toolkit);
  meridan::MainWindow window;
  window.show();
  return QApplication::exec();
}
