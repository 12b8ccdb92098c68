// meridan-diru: the desktop program. It works in its program directory, the
// current directory, reading System/ and writing Output/ there.

#include <QApplication>

#include <csignal>

#include "base/startup.h"
#include "forecast/heap.h"
#include "gui/application.h"
#include "gui/main_window.h"

int main(int argc, char** argv) {
  // As the command-line program: no lock file on descriptor 1 or 2, and no
  // named temporary file outliving a SIGTERM.
  meridan::OpenClosedStandardDescriptors();
  meridan::RemoveTemporaryFilesOnSignals();
  // A file size limit fails the write that passes it, which the window
  // reports, instead of killing the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  meridan::TuneHeapForForecasts();
  QApplication application(argc, argv);
  meridan::InstallQtTranslation(application);
  meridan::SetUpDesktop(application);
  meridan::MainWindow window;
  window.show();
  return QApplication::exec();
}
