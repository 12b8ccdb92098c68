// The desktop program tests run inside one QApplication on the offscreen
// platform, so no window needs a display, with settings of their own. The application is set up as
// the program sets itself up, but for Qt's translation, which a test installs.

#include <QSettings>
#include <QTemporaryDir>

#include "gui/application.h"
#include "gui_testing.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // What the windows remember goes into a folder of the test's own, not
  // into the user's settings.
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  meridan::SetUpDesktop(application);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
