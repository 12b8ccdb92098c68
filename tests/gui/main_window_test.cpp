// The main window driven as a user drives it: start-up, the forecast
// commands from their buttons, failures, the month buttons and the menu.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <memory>

#include "app/gui/about_box.h"
#include "app/gui/main_window.h"
#include "app/gui/spin_field.h"
#include "app/gui/viewer.h"
#include "gui_testing.h"
#include "reports/page.h"

namespace meridan::testing {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public GuiTest {
 protected:
  // Starts the program in a fresh program directory on the given day.
  void Start(QDate today) {
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->SetClock([today] { return today; });
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
  }

  template <class T>
  T* Find(const char* name) const {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QPushButton* Button(const char* name) const { return Find<QPushButton>(name); }
  SpinField* Spin(const char* name) const { return Find<SpinField>(name); }
  QPushButton* MonthButton(int k) const {
    return Button(QStringLiteral("Button%1").arg(k).toLatin1().constData());
  }
  QStringList MonthCaptions() const {
    QStringList captions;
    for (int k = 1; k <= 4; ++k) captions << MonthButton(k)->text();
    return captions;
  }
  std::vector<bool> MonthEnabled() const {
    std::vector<bool> enabled;
    for (int k = 1; k <= 4; ++k) enabled.push_back(MonthButton(k)->isEnabled());
    return enabled;
  }
  // What a run writes into Output/, beside the furniture that ships there.
  std::vector<std::string> ForecastFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.output()))
      if (entry.path().filename().string().starts_with("Prog")) names.push_back(entry.path().filename());
    return names;
  }
  fs::path Page(int month, int year) const {
    return dir.output() / MonthFileName(month, year, ".html");
  }

  CurrentProgramDir dir;
  std::unique_ptr<MainWindow> window;
};

const QStringList kUnfinishedCaptions = {QStringLiteral("1-й месяц"), QStringLiteral("2-й месяц"),
                                         QStringLiteral("3-й месяц"), QStringLiteral("4-й месяц")};

TEST_F(MainWindowTest, StartUpSetsTheSessionAndTheFields) {
  Start(QDate(2025, 5, 14));
  const ForecastSession& session = window->Session();
  EXPECT_EQ(session.MainDir, dir.root());
  EXPECT_EQ(session.DataDir, dir.system());
  EXPECT_EQ(session.CurrentYear, 2025);
  EXPECT_EQ(session.CurrentMonth, 5);
  EXPECT_FALSE(session.PurchaseSaleMarks);
  EXPECT_EQ(Find<QLineEdit>("Edit1")->text(), QString());
  EXPECT_EQ(window->focusWidget(), Find<QLineEdit>("Edit1"));
  const struct {
    const char* name;
    int minimum, maximum;
    const char* text;
  } spins[] = {{"SpinEdit1", 1, 31, "15"}, {"SpinEdit2", 1, 12, "6"}, {"SpinEdit3", 1920, 2030, "1980"}};
  for (const auto& s : spins) {
    EXPECT_EQ(Spin(s.name)->Minimum(), s.minimum) << s.name;
    EXPECT_EQ(Spin(s.name)->Maximum(), s.maximum) << s.name;
    EXPECT_EQ(Spin(s.name)->text(), QString::fromLatin1(s.text)) << s.name;
  }
  EXPECT_EQ(MonthCaptions(), kUnfinishedCaptions);
  EXPECT_EQ(MonthEnabled(), std::vector<bool>(4, false));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, MonthButtonsLieInsideTheClientArea) {
  Start(QDate(2025, 5, 14));
  const QWidget* client = window->centralWidget();
  ASSERT_EQ(client->size(), QSize(634, 392));
  const int lefts[] = {20, 160, 300, 440};
  const int widths[] = {121, 122, 122, 122};
  for (int k = 1; k <= 4; ++k) {
    const QRect r = MonthButton(k)->geometry();
    EXPECT_EQ(r, QRect(lefts[k - 1], 357, widths[k - 1], 26)) << k;
    EXPECT_TRUE(client->rect().contains(r)) << k;
  }
}

TEST_F(MainWindowTest, MissingBackgroundIsReportedAndStartUpGoesOn) {
  fs::remove(dir.system() / "diru2.bmp");
  Start(QDate(2025, 5, 14));
  ASSERT_EQ(messages.errors.size(), 1);
  EXPECT_EQ(messages.errors[0], QStringLiteral("Cannot open file \"%1System/diru2.bmp\". No such file or directory")
                                    .arg(dir.rootText()));
  EXPECT_EQ(Spin("SpinEdit3")->text(), QStringLiteral("1980"));
}

TEST_F(MainWindowTest, BackgroundIsDrawnAtItsOwnSize) {
  QImage picture(634, 392, QImage::Format_RGB888);
  picture.fill(QColor(10, 20, 30));
  ASSERT_TRUE(picture.save(QString::fromStdString((dir.system() / "diru2.bmp").string()), "BMP"));
  Start(QDate(2025, 5, 14));
  EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
  const QLabel* image = Find<QLabel>("Image1");
  EXPECT_EQ(image->pixmap().size(), QSize(634, 392));
  EXPECT_EQ(image->pixmap().toImage().pixelColor(5, 5), QColor(10, 20, 30));
}

TEST_F(MainWindowTest, TripsRunFromItsButtonEnablesTheFourMonths) {
  Start(QDate(2025, 10, 3));
  messages.errors.clear();
  Find<QLineEdit>("Edit1")->setText(QStringLiteral("Иван <Ёжиков>"));
  Spin("SpinEdit1")->SetText(QStringLiteral("20"));
  Spin("SpinEdit2")->SetText(QStringLiteral("5"));
  Spin("SpinEdit3")->SetText(QStringLiteral("1984"));
  QTest::mouseClick(Button("Button18"), Qt::LeftButton);

  EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
  // Started in October: the fourth month is January of the next year.
  EXPECT_EQ(MonthCaptions(), (QStringList{QStringLiteral("Октябрь 2025"), QStringLiteral("Ноябрь 2025"),
                                          QStringLiteral("Декабрь 2025"), QStringLiteral("Январь 2026")}));
  EXPECT_EQ(MonthEnabled(), std::vector<bool>(4, true));
  const ForecastSession& session = window->Session();
  EXPECT_EQ(session.Name, NameForPage("Иван <Ёжиков>"));
  EXPECT_EQ(session.BirthDay, 20);
  EXPECT_EQ(session.BirthMonth, 5);
  EXPECT_EQ(session.BirthYear, 1984);
  EXPECT_EQ(session.StartYear, 2025);
  EXPECT_EQ(session.ButtonMonths, (std::array<int, 5>{0, 10, 11, 12, 1}));
  for (const auto& [month, year] : {std::pair{10, 2025}, {11, 2025}, {12, 2025}, {1, 2026}}) {
    EXPECT_TRUE(fs::is_regular_file(Page(month, year))) << month;
    EXPECT_EQ(session.PagePaths[static_cast<size_t>(month)], Page(month, year));
  }
  EXPECT_TRUE(fs::is_regular_file(dir.output() / "Prognoz.zip"));
  EXPECT_EQ(Find<QLabel>("Label1")->text(), QStringLiteral("    MainDir= ") + dir.rootText());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, PurchaseSaleRunInJanuaryStaysInTheYear) {
  Start(QDate(2026, 1, 31));
  QTest::mouseClick(Button("Button8"), Qt::LeftButton);
  EXPECT_EQ(MonthCaptions(), (QStringList{QStringLiteral("Январь 2026"), QStringLiteral("Февраль 2026"),
                                          QStringLiteral("Март 2026"), QStringLiteral("Апрель 2026")}));
  EXPECT_FALSE(window->Session().PurchaseSaleMarks);
  // Only the trips command writes the status line.
  EXPECT_EQ(Find<QLabel>("Label1")->text(), QString());
}

TEST_F(MainWindowTest, FailureInsideTheRunKeepsFinishedMonthsAndResetsTheCursor) {
  Start(QDate(2025, 10, 3));
  messages.errors.clear();
  // November's page cannot be written over a directory of its name.
  fs::create_directory(Page(11, 2025));
  QTest::mouseClick(Button("Button7"), Qt::LeftButton);

  ASSERT_EQ(messages.errors.size(), 1);
  EXPECT_TRUE(messages.errors[0].contains(QStringLiteral("Prog_11_2025"))) << messages.errors[0].toStdString();
  EXPECT_EQ(MonthEnabled(), (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(MonthCaptions(), (QStringList{QStringLiteral("Октябрь 2025"), QStringLiteral("2-й месяц"),
                                          QStringLiteral("3-й месяц"), QStringLiteral("4-й месяц")}));
  EXPECT_FALSE(fs::exists(dir.output() / "Prognoz.zip"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(window->Session().PurchaseSaleMarks);
}

TEST_F(MainWindowTest, NewRunFirstTakesBackTheButtonsOfTheLastOne) {
  Start(QDate(2025, 10, 3));
  messages.errors.clear();
  QTest::mouseClick(Button("Button18"), Qt::LeftButton);
  ASSERT_EQ(MonthEnabled(), std::vector<bool>(4, true));
  fs::remove_all(dir.output());
  QTest::mouseClick(Button("Button18"), Qt::LeftButton);
  EXPECT_EQ(messages.errors.size(), 1);
  EXPECT_EQ(MonthEnabled(), std::vector<bool>(4, false));
  EXPECT_EQ(MonthCaptions(), kUnfinishedCaptions);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, FieldThatIsNoIntegerStopsTheCommandBeforeAnythingIsWritten) {
  Start(QDate(2025, 10, 3));
  messages.errors.clear();
  Spin("SpinEdit1")->SetText(QStringLiteral("20"));
  Spin("SpinEdit2")->SetText(QStringLiteral("1.5"));
  Spin("SpinEdit3")->SetText(QStringLiteral("1990"));
  QTest::mouseClick(Button("Button18"), Qt::LeftButton);

  EXPECT_EQ(messages.errors, QStringList{QStringLiteral("'1.5' is not a valid integer value")});
  // Fields read before the failing one hold their new values; later ones not.
  EXPECT_EQ(window->Session().BirthDay, 20);
  EXPECT_EQ(window->Session().BirthYear, 1980);
  EXPECT_TRUE(ForecastFiles().empty());
  EXPECT_EQ(MonthCaptions(), kUnfinishedCaptions);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowTest, EmptyDayFieldFailsWithItsText) {
  Start(QDate(2025, 10, 3));
  messages.errors.clear();
  Spin("SpinEdit1")->SetText(QString());
  QTest::mouseClick(Button("Button8"), Qt::LeftButton);
  EXPECT_EQ(messages.errors, QStringList{QStringLiteral("'' is not a valid integer value")});
  EXPECT_TRUE(ForecastFiles().empty());
}

TEST_F(MainWindowTest, MonthButtonOpensItsPageInTheViewer) {
  Start(QDate(2025, 10, 3));
  QTest::mouseClick(Button("Button18"), Qt::LeftButton);
  Viewer* viewer = window->ViewerForm();
  fs::path shown;
  QString text;
  WhenModalShows([&] {
    shown = viewer->Page();
    text = viewer->Browser()->toPlainText();
    QTest::mouseClick(viewer->findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
  });
  QTest::mouseClick(MonthButton(2), Qt::LeftButton);
  EXPECT_FALSE(viewer->isVisible());
  EXPECT_EQ(shown, Page(11, 2025));
  EXPECT_EQ(window->Session().PageToShow, Page(11, 2025));
  EXPECT_TRUE(text.contains(QStringLiteral("ноябрь 2025"), Qt::CaseInsensitive)) << text.left(400).toStdString();
}

TEST_F(MainWindowTest, MenuOpensAboutBoxAndExitCloses) {
  Start(QDate(2025, 10, 3));
  bool aboutShown = false;
  WhenModalShows([&] {
    aboutShown = QApplication::activeModalWidget() == window->AboutForm();
    QTest::mouseClick(window->AboutForm()->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
  });
  Find<QAction>("N7")->trigger();
  EXPECT_TRUE(aboutShown);
  EXPECT_FALSE(window->AboutForm()->isVisible());
  Find<QAction>("N3")->trigger();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, MenuCaptionsInOrder) {
  Start(QDate(2025, 10, 3));
  QStringList captions;
  for (const QAction* action : window->menuBar()->actions()) captions << action->text();
  EXPECT_EQ(captions, (QStringList{QStringLiteral(" О программе "), QStringLiteral("Проблемы"),
                                   QStringLiteral("Помощь"), QStringLiteral(" Выход ")}));
}

}  // namespace
}  // namespace meridan::testing
