// meridan-diru: the desktop program. It works in its program directory, the
// current directory, reading System/ and writing Output/ there.

#include <QApplication>

#include "forecast/heap.h"
#include "gui/application.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
  meridan::TuneHeapForForecasts();
  QApplication application(argc, argv);
  meridan::InstallQtTranslation(application);
  meridan::SetUpDesktop(application);
  meridan::MainWindow window;
  window.show();
  return QApplication::exec();
}
