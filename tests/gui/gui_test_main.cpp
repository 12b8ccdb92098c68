// The desktop program tests run inside one QApplication on the offscreen
// platform, so no window needs a display. The application is set up as the
// program sets itself up, but for Qt's translation, which a test installs.

#include "gui/application.h"
#include "gui_testing.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  meridan::SetUpDesktop(application);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
