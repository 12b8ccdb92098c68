// The main window driven as a user drives it: start-up, the forecast
// commands from their buttons, failures, the month buttons and the menu.

#include "gui/main_window.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWindow>

#include <memory>

#include "base/month_names.h"
#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/problem_report.h"
#include "gui/spin_field.h"
#include "gui/viewer.h"
#include "gui_testing.h"
#include "output/pages/page.h"

namespace meridan::testing {
namespace {

class MainWindowTest : public GuiTest {
 protected:
  // Starts the program in the fresh program directory on the given day.
  void Start(QDate today = QDate(2025, 10, 3)) {
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->SetClock([today] { return today; });
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
  }
  template <class T = QPushButton>
  T* Find(const QString& name) const {
    return Child<T>(window.get(), name);
  }
  void Click(const QString& name) const { QTest::mouseClick(Find(name), Qt::LeftButton); }
  SpinField* Spin(int k) const { return Find<SpinField>(u"SpinEdit%1"_s.arg(k)); }
  void SetBirth(const QStringList& dayMonthYear) const {
    for (int k = 1; k <= 3; ++k) Spin(k)->SetText(dayMonthYear[k - 1]);
  }
  // The month buttons' captions, each after "+" when enabled, "-" when not.
  QStringList MonthButtons() const {
    QStringList buttons;
    for (int k = 1; k <= 4; ++k) {
      const QPushButton* button = Find(u"Button%1"_s.arg(k));
      buttons << (button->isEnabled() ? u"+"_s : u"-"_s) + button->text();
    }
    return buttons;
  }
  fs::path Page(int month, int year) const {
    return dir.output() / MonthFileName(month, year, ".html");
  }

  CurrentProgramDir dir;
  std::unique_ptr<MainWindow> window;
};

const QStringList kNoMonths = {u"-1-й месяц"_s, u"-2-й месяц"_s, u"-3-й месяц"_s, u"-4-й месяц"_s};

TEST_F(MainWindowTest, StartUpSetsTheSessionAndTheFields) {
  Start(QDate(2025, 5, 14));
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  const ForecastSession& s = window->Session();
  EXPECT_EQ(std::tuple(s.MainDir, s.DataDir, s.CurrentYear, s.CurrentMonth),
            std::tuple(dir.root(), dir.system(), 2025, 5));
  QStringList fields;  // day, month and year: limits and starting text
  for (int k = 1; k <= 3; ++k)
    fields << u"%1..%2 %3"_s.arg(Spin(k)->Minimum()).arg(Spin(k)->Maximum()).arg(Spin(k)->text());
  EXPECT_EQ(fields, (QStringList{u"1..31 15"_s, u"1..12 6"_s, u"1920..2030 1980"_s}));
  EXPECT_EQ(MonthButtons(), kNoMonths);
  // The month buttons lie inside the 634 x 392 client area.
  const QRect buttons[] = {
      {20, 357, 121, 26}, {160, 357, 122, 26}, {300, 357, 122, 26}, {440, 357, 122, 26}};
  for (int k = 1; k <= 4; ++k)
    EXPECT_EQ(Find(u"Button%1"_s.arg(k))->geometry(), buttons[k - 1]) << k;
}

TEST_F(MainWindowTest, MissingBackgroundIsReportedAndStartUpGoesOn) {
  fs::remove(dir.system() / "diru2.bmp");
  Start();
  EXPECT_EQ(errors,
            QStringList{u"Cannot open file \"%1System/diru2.bmp\". No such file or directory"_s.arg(
                dir.rootText())});
  EXPECT_EQ(Spin(3)->text(), u"1980"_s);
}

TEST_F(MainWindowTest, TripsRunFromItsButtonEnablesTheFourMonthsWhichOpenTheirPages) {
  Start();
  Find<QLineEdit>(u"Edit1"_s)->setText(u"Иван <Ёжиков>"_s);
  SetBirth({u"20"_s, u"5"_s, u"1984"_s});
  Click(u"Button18"_s);

  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  // Started in October: the fourth month is January of the next year.
  EXPECT_EQ(MonthButtons(), (QStringList{u"+Октябрь 2025"_s, u"+Ноябрь 2025"_s, u"+Декабрь 2025"_s,
                                         u"+Январь 2026"_s}));
  const ForecastSession& s = window->Session();
  EXPECT_EQ(s.Name, NameForPage("Иван <Ёжиков>"));
  EXPECT_EQ(std::tuple(s.BirthDay, s.BirthMonth, s.BirthYear, s.StartYear),
            std::tuple(20, 5, 1984, 2025));
  for (const auto& [month, year] : {std::pair{10, 2025}, {11, 2025}, {12, 2025}, {1, 2026}})
    EXPECT_TRUE(fs::is_regular_file(Page(month, year))) << month;
  EXPECT_TRUE(fs::is_regular_file(dir.output() / "Prognoz.zip"));
  EXPECT_EQ(Find<QLabel>(u"Label1"_s)->text(), "    MainDir= " + dir.rootText());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // The second month's button shows November's page until Exit is pressed.
  Viewer* viewer = window->ViewerForm();
  QString text;
  WhenModalShows([&] {
    text = viewer->Browser()->toPlainText();
    QTest::mouseClick(viewer->findChild<QPushButton*>(u"BitBtn2"_s), Qt::LeftButton);
  });
  Click(u"Button2"_s);
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_EQ(viewer->Page(), Page(11, 2025));
  EXPECT_TRUE(text.contains(u"ноябрь 2025"_s, Qt::CaseInsensitive)) << text.left(400).toStdString();
}

TEST_F(MainWindowTest, FailedRunTakesBackTheLastRunsMonthsAndKeepsItsFinishedOnes) {
  Start();
  Click(u"Button18"_s);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  // November's page cannot be written over a directory of its name.
  fs::remove(Page(11, 2025));
  fs::create_directory(Page(11, 2025));
  fs::remove(dir.output() / "Prognoz.zip");
  Click(u"Button8"_s);

  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains(u"Prog_11_2025"_s)) << errors[0].toStdString();
  EXPECT_EQ(MonthButtons(),
            (QStringList{u"+Октябрь 2025"_s, u"-2-й месяц"_s, u"-3-й месяц"_s, u"-4-й месяц"_s}));
  EXPECT_FALSE(fs::exists(dir.output() / "Prognoz.zip"));
  EXPECT_FALSE(window->Session().PurchaseSaleMarks);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// An archive that cannot be read is kept beside a fresh one, and the
// window says so once the run is done.
TEST_F(MainWindowTest, UnreadableArchiveIsKeptAndSaidInANotice) {
  Start();
  testing::WriteFile(dir.output() / "Prognoz.zip", "not a zip archive");
  Click(u"Button18"_s);
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_EQ(notices.size(), 1);
  EXPECT_TRUE(notices[0].contains(u"Prognoz.zip.unreadable-"_s)) << notices[0].toStdString();
}

TEST_F(MainWindowTest, FieldThatIsNoIntegerStopsTheCommandBeforeAnythingIsWritten) {
  Start();
  SetBirth({u"20"_s, u"1.5"_s, u"1990"_s});
  Click(u"Button18"_s);
  EXPECT_EQ(errors, QStringList{u"'1.5' is not a valid integer value"_s});
  // Fields read before the failing one hold their new values; later ones not.
  EXPECT_EQ(std::pair(window->Session().BirthDay, window->Session().BirthYear),
            std::pair(20, 1980));
  EXPECT_FALSE(fs::exists(Page(10, 2025)));
  EXPECT_EQ(MonthButtons(), kNoMonths);
}

TEST_F(MainWindowTest, MenuShowsHelpOrNamesItsMissingFileShowsAboutAndExits) {
  Start();
  Find<QAction>(u"N1"_s)->trigger();
  EXPECT_EQ(errors, QStringList{u"Unable to open help file %1help/10.html"_s.arg(dir.rootText())});
  EXPECT_FALSE(window->Help()->isVisible());

  errors.clear();
  fs::copy(MERIDAN_HELP_DIR, dir.root() / "help", fs::copy_options::recursive);
  Find<QAction>(u"N1"_s)->trigger();
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  HelpWindow* help = window->Help();
  ASSERT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowModality(), Qt::NonModal);
  QTextBrowser* browser = help->Browser();
  EXPECT_EQ(browser->source().fileName(), u"10.html"_s);
  for (const QString& page : {u"12.html"_s, u"13.html"_s})
    browser->setSource(browser->source().resolved(QUrl(page)));
  QTest::mouseClick(help->findChild<QToolButton*>(u"Home"_s), Qt::LeftButton);
  EXPECT_EQ(browser->source().fileName(), u"10.html"_s);

  bool aboutShown = false;
  WhenModalShows([&] {
    aboutShown = QApplication::activeModalWidget() == window->AboutForm();
    QTest::mouseClick(window->AboutForm()->findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
  });
  Find<QAction>(u"N7"_s)->trigger();
  EXPECT_TRUE(aboutShown);
  EXPECT_FALSE(window->AboutForm()->isVisible());
  Find<QAction>(u"N3"_s)->trigger();
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(help->isVisible());
}

// The keyboard: Enter presses a focused button, F1 opens the help from any
// window (over a modal one, as its dependent, which a modal window lets take
// input), Escape closes the help, the About box and the viewer, and F10 or
// Alt take the keyboard to the menu. Tests make a window active by hand, as
// the offscreen platform has no window manager to do it.
TEST_F(MainWindowTest, KeyboardPressesButtonsOpensHelpClosesWindowsAndReachesTheMenu) {
  Start();
  fs::copy(MERIDAN_HELP_DIR, dir.root() / "help", fs::copy_options::recursive);
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QTest::keyClick(Find(u"Button18"_s), Qt::Key_Return);
  EXPECT_TRUE(Find(u"Button1"_s)->isEnabled());

  Viewer* viewer = window->ViewerForm();
  HelpWindow* help = window->Help();
  QStringList seen;
  WhenModalShows([&] {
    QApplication::setActiveWindow(viewer);
    QTest::keyClick(viewer, Qt::Key_F1);
    if (help->isVisible() && help->windowHandle()->transientParent() == viewer->windowHandle())
      seen << u"help over the viewer"_s;
    QApplication::setActiveWindow(help);
    QTest::keyClick(help, Qt::Key_Escape);
    if (!help->isVisible()) seen << u"help closed"_s;
    QTest::keyClick(viewer->Browser(), Qt::Key_Escape);
  });
  QTest::keyClick(Find(u"Button1"_s), Qt::Key_Enter);
  EXPECT_EQ(seen, (QStringList{u"help over the viewer"_s, u"help closed"_s}));
  EXPECT_FALSE(viewer->isVisible());

  QMenuBar* menu = window->menuBar();
  for (const Qt::Key key : {Qt::Key_F10, Qt::Key_Alt}) {
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), key);
    EXPECT_EQ(menu->activeAction(), Find<QAction>(u"N7"_s)) << key;
    QTest::keyClick(menu, Qt::Key_Right);
    EXPECT_EQ(menu->activeAction(), Find<QAction>(u"N6"_s)) << key;
    QTest::keyClick(menu, Qt::Key_Escape);
  }
  EXPECT_EQ(menu->actions()[0]->text(), u" О программе "_s);
  bool aboutShown = false;
  WhenModalShows([&] {
    aboutShown = QApplication::activeModalWidget() == window->AboutForm();
    QTest::keyClick(window->AboutForm(), Qt::Key_Escape);
  });
  QTest::keyClick(window.get(), Qt::Key_F10);
  QTest::keyClick(menu, Qt::Key_Return);
  EXPECT_TRUE(aboutShown);
  EXPECT_FALSE(window->AboutForm()->isVisible());
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The help opens over the main window, not in a corner of the screen, and
// its title names the program once.
TEST_F(MainWindowTest, HelpOpensOverTheMainWindowTitledByItsPage) {
  Start();
  fs::copy(MERIDAN_HELP_DIR, dir.root() / "help", fs::copy_options::recursive);
  window->move(300, 200);
  Find<QAction>(u"N1"_s)->trigger();
  HelpWindow* help = window->Help();
  EXPECT_TRUE(window->frameGeometry().intersects(help->frameGeometry()))
      << help->frameGeometry().x() << "," << help->frameGeometry().y();
  EXPECT_EQ(help->windowTitle(), u"Meridan Diru: о программе"_s);
  EXPECT_EQ(HelpWindowTitle(u"Печать прогноза"_s), u"Печать прогноза — Meridan Diru"_s);
  EXPECT_EQ(HelpWindowTitle({}), u"Meridan Diru — помощь"_s);
}

}  // namespace
}  // namespace meridan::testing
