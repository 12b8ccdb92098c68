// Every window on a screen of 800 × 600 (the offscreen platform is set to it
// by gui.ScreenOf800x600): whole on the screen with its frame, the month's
// page without a horizontal scroll bar, and the viewer's buttons whole when
// it is made as narrow as it goes.

#include "gui/screen_fit.h"

#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "gui/about_box.h"
#include "gui/best_days_window.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/problem_report.h"
#include "gui/viewer.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class ScreenFitTest : public GuiTest {};

TEST_F(ScreenFitTest, EveryWindowFitsAScreenOf800By600AndTheViewerKeepsItsButtonsWhole) {
  const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
  if (screen != QSize(800, 600))
    GTEST_SKIP() << "the screen is " << screen.width() << "x" << screen.height();
  CurrentProgramDir dir;
  MainWindow window(nullptr, screen);
  window.SetClock([] { return QDate(2025, 10, 3); });
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().CurrentYear != 0; }, 2000));
  const QSize room = screen - kFrameAllowance;
  for (const QWidget* shown : std::initializer_list<const QWidget*>{
           &window, window.ViewerForm(), window.AboutForm(), window.ProblemForm(), window.Help(),
           window.BestDays()})
    EXPECT_TRUE(QRect(QPoint(), room).contains(QRect(QPoint(), shown->size())))
        << shown->objectName().toStdString() << ' ' << shown->width() << 'x' << shown->height();

  // The month's page (its tables 800 pixels wide) wraps to the viewer.
  QTest::mouseClick(Child<QPushButton>(&window, u"Button18"_s), Qt::LeftButton);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  Viewer* viewer = window.ViewerForm();
  viewer->SetPageToShow(window.Latest().months.at(0).page);
  viewer->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer));
  EXPECT_EQ(viewer->Browser()->horizontalScrollBar()->maximum(), 0);

  viewer->resize(200, viewer->height());
  QApplication::processEvents();
  const QWidget* strip = Child<QWidget>(viewer, u"Panel1"_s);
  for (const QPushButton* button : strip->findChildren<QPushButton*>()) {
    EXPECT_TRUE(strip->rect().contains(button->geometry())) << button->text().toStdString();
    EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
  }
  viewer->hide();
}

}  // namespace
}  // namespace meridan::testing
