// The main window driven as a user drives it: start-up, the forecast
// commands from their buttons, failures, the month buttons and the menu.

#include "gui/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QWindow>

#include <memory>
#include <optional>

#include "base/month_names.h"
#include "forecast/lock.h"
#include "gui/about_box.h"
#include "gui/help_window.h"
#include "gui/launcher_notice.h"
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

// The name field takes no control characters, typed or pasted (a paste
// that holds one is refused whole); letters of any script it takes.
TEST_F(MainWindowTest, NameFieldRefusesControlCharacters) {
  Start();
  QLineEdit* name = Find<QLineEdit>(u"Edit1"_s);
  name->clear();
  for (const QString& text :
       {u"a\u0007b"_s, u"line\nbreak"_s, u"\u001b[31m"_s, u"del\u007f"_s, u"csi\u009b"_s}) {
    name->insert(text);
    EXPECT_EQ(name->text(), QString()) << text.toStdString();
  }
  name->insert(u"Ёлка Ωmega"_s);
  EXPECT_EQ(name->text(), u"Ёлка Ωmega"_s);
}

TEST_F(MainWindowTest, MissingBackgroundIsReportedAndStartUpGoesOn) {
  fs::remove(dir.system() / "diru2.bmp");
  Start();
  EXPECT_EQ(errors, QStringList{u"Не удалось показать картинку окна. Не удалось прочитать файл "
                                "«%1System/diru2.bmp» (нет такого файла или каталога). Проверьте, "
                                "что программа запущена из своей папки, что файл на месте и что у "
                                "Вас есть права на его чтение."_s.arg(dir.rootText())});
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
  EXPECT_EQ(std::tuple(s.BirthDay, s.BirthMonth, s.BirthYear, window->Latest().request.start),
            std::tuple(20, 5, 1984, YearMonth{2025, 10}));
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

// The four months may start later than the current month, which stays the
// default; the status line says which forecast the buttons open, also after
// a refused date, and over what was saved it comes back.
TEST_F(MainWindowTest, ForecastFromALaterMonthAndTheStatusLineSaysWhichTheButtonsOpen) {
  Start();
  auto* start = Find<QComboBox>(u"StartBox"_s);
  ASSERT_EQ(start->count(), 12);
  EXPECT_EQ(std::pair(start->currentText(), start->itemText(11)),
            std::pair(u"октябрь 2025"_s, u"сентябрь 2026"_s));
  Find<QLineEdit>(u"Edit1"_s)->setText(u" Анна "_s);
  SetBirth({u"1"_s, u"2"_s, u"1990"_s});
  start->setCurrentIndex(2);
  Click(u"Button7"_s);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_EQ(MonthButtons(), (QStringList{u"+Декабрь 2025"_s, u"+Январь 2026"_s, u"+Февраль 2026"_s,
                                         u"+Март 2026"_s}));
  EXPECT_EQ(window->Latest().request.start, (YearMonth{2025, 12}));
  const QString shown =
      u"Кнопки месяцев: Авто-сервис — Анна, 01.02.1990; декабрь 2025 – март 2026"_s;
  EXPECT_EQ(Find<QLabel>(u"Shown"_s)->text(), shown);

  SetBirth({u"31"_s, u"2"_s, u"1990"_s});
  Click(u"Button18"_s);
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(Find<QLabel>(u"Shown"_s)->text(), shown);
  EXPECT_EQ(MonthButtons().first(), u"+Декабрь 2025"_s);

  SetBirth({u"15"_s, u"6"_s, u"1980"_s});
  Find<QLineEdit>(u"Edit1"_s)->clear();
  start->setCurrentIndex(0);
  Click(u"Button8"_s);
  EXPECT_EQ(Find<QLabel>(u"Shown"_s)->text(),
            u"Кнопки месяцев: Покупка-Продажа — 15.06.1980; октябрь 2025 – январь 2026"_s);
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
  // The buttons index the failed run: the one month it finished.
  ASSERT_EQ(window->Latest().months.size(), 1u);
  EXPECT_EQ(window->Latest().request.kind, ForecastKind::Sale);
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

// A missing interpretation file is no error, but the window says that the
// forecast came out without texts, and which file to put back.
TEST_F(MainWindowTest, MissingInterpretationFileIsSaidInANotice) {
  Start();
  fs::remove(dir.system() / "go.dat");
  Click(u"Button18"_s);
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_EQ(notices.size(), 1);
  EXPECT_TRUE(notices[0].contains(u"go.dat» не найден"_s)) << notices[0].toStdString();
}

// A birth date that is not there to read, lies outside a field's limits or
// does not exist is refused in Russian, naming the field; the field gets the
// focus, and nothing is computed or written.
TEST_F(MainWindowTest, BirthDateThatCannotBeReadOrDoesNotExistIsRefusedBeforeAnythingIsWritten) {
  Start();
  const struct {
    QStringList birth;
    QString refusal;
    int field;
  } cases[] = {
      {{u"31"_s, u"2"_s, u"1990"_s},
       u"В феврале 1990 года 28 дней: в поле «День» должно стоять число от 1 до 28."_s,
       1},
      {{u"31"_s, u"4"_s, u"2000"_s},
       u"В апреле 2000 года 30 дней: в поле «День» должно стоять число от 1 до 30."_s,
       1},
      {{u"15"_s, u"6"_s, u"1899"_s},
       u"В поле «Год рождения» должно стоять число от 1920 до 2030, а не 1899."_s,
       3},
      {{u"0"_s, u"6"_s, u"1980"_s}, u"В поле «День» должно стоять число от 1 до 31, а не 0."_s, 1},
      {{u"15"_s, u"13"_s, u"1980"_s},
       u"В поле «Месяц» должно стоять число от 1 до 12, а не 13."_s,
       2},
      // Russian only: the field's English conversion message stays out.
      {{u""_s, u"6"_s, u"1980"_s},
       u"Поле «День» пусто: в нём должно стоять целое число от 1 до 31."_s,
       1},
      {{u"20.05"_s, u"6"_s, u"1980"_s},
       u"В поле «День» должно стоять целое число от 1 до 31, а не «20.05»."_s,
       1},
  };
  for (const auto& c : cases) {
    errors.clear();
    SetBirth(c.birth);
    Click(u"Button18"_s);
    EXPECT_EQ(errors, QStringList{c.refusal});
    EXPECT_EQ(QApplication::focusWidget(), Spin(c.field)) << c.refusal.toStdString();
    EXPECT_EQ(Spin(3)->text(), c.birth[2]);  // leaving the field changed nothing
  }
  EXPECT_EQ(std::tuple(window->Session().BirthDay, window->Session().BirthYear),
            std::tuple(15, 1980));
  EXPECT_FALSE(fs::exists(Page(10, 2025)));
  EXPECT_EQ(MonthButtons(), kNoMonths);
}

TEST_F(MainWindowTest, MenuShowsHelpOrNamesItsMissingFileShowsAboutAndExits) {
  Start();
  Find<QAction>(u"N1"_s)->trigger();
  EXPECT_EQ(errors, QStringList{u"Не удалось открыть справку: файла «%1help/10.html» нет. "
                                "Проверьте, что программа запущена из своей папки и что в ней "
                                "есть папка help со страницами справки."_s.arg(dir.rootText())});
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
  QString about;
  WhenModalShows([&] {
    aboutShown = QApplication::activeModalWidget() == window->AboutForm();
    for (const QLabel* label : window->AboutForm()->findChildren<QLabel*>()) about += label->text();
    QTest::mouseClick(window->AboutForm()->findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
  });
  Find<QAction>(u"N7"_s)->trigger();
  EXPECT_TRUE(aboutShown);
  // What the program is, its version, where its data lives, its licence.
  for (const QString& part :
       {u"Астрологические прогнозы для автомобилистов"_s, u"Версия "_s,
        u"Данные программы: "_s + dir.rootText() + u"System"_s, u"лицензия"_s})
    EXPECT_TRUE(about.contains(part)) << part.toStdString();
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
  EXPECT_EQ(menu->actions()[0]->text(), u"&О программе"_s);
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
  EXPECT_EQ(help->windowTitle(), u"Справка — Meridan Diru: о программе"_s);
  EXPECT_EQ(HelpWindowTitle({}), u"Справка — Meridan Diru"_s);
  // What the window manager shows starts with the words.
  QStringList titles;
  for (const QWidget* shown : std::initializer_list<const QWidget*>{
           window.get(), window->ViewerForm(), window->AboutForm(), window->ProblemForm(), help})
    titles << shown->windowTitle();
  EXPECT_EQ(titles, (QStringList{u"Meridan Diru"_s, u"Прогноз"_s, u"О программе"_s,
                                 u"Возможные проблемы и их решение"_s,
                                 u"Справка — Meridan Diru: о программе"_s}));
}

// From the keyboard the menu bar shows where the arrows stand: the current
// item is drawn in the highlight colour, the others not; Ctrl+Q quits.
TEST_F(MainWindowTest, MenuBarShowsTheKeyboardsItemAndCtrlQQuits) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  QMenuBar* menu = window->menuBar();
  const QColor highlight = menu->palette().color(QPalette::Highlight);
  const auto highlighted = [&](const char* name) {
    const QImage bar = menu->grab().toImage();
    const QRect item = menu->actionGeometry(Find<QAction>(QString::fromLatin1(name)));
    int pixels = 0;
    for (int y = item.top(); y <= item.bottom(); ++y)
      for (int x = item.left(); x <= item.right(); ++x)
        pixels += QColor(bar.pixel(x, y)) == highlight;
    return pixels > item.width() * item.height() / 4;
  };
  EXPECT_FALSE(highlighted("N7"));
  QTest::keyClick(window.get(), Qt::Key_F10);
  EXPECT_TRUE(highlighted("N7"));
  QTest::keyClick(menu, Qt::Key_Right);
  EXPECT_EQ(std::pair(highlighted("N7"), highlighted("N6")), std::pair(false, true));
  QTest::keyClick(menu, Qt::Key_Escape);
  EXPECT_FALSE(highlighted("N6"));
  QStringList captions;
  for (const QAction* item : menu->actions()) captions << item->text();
  EXPECT_EQ(captions, (QStringList{u"&О программе"_s, u"&Проблемы"_s, u"Помо&щь"_s, u"П&рогноз"_s,
                                   u"&Выход"_s}));
  captions.clear();
  for (const QAction* item : Find<QMenu>(u"ForecastMenu"_s)->actions()) captions << item->text();
  EXPECT_EQ(captions, (QStringList{u"&Лучшие дни…"_s, u"&Сохранить прогноз в PDF…"_s,
                                   u"Сохранить в &календарь…"_s}));
  // Every item in the window's width: none behind the bar's "››".
  for (QAction* item : menu->actions())
    EXPECT_TRUE(menu->rect().contains(menu->actionGeometry(item))) << item->text().toStdString();
  EXPECT_FALSE(Find<QToolButton>(u"qt_menubar_ext_button"_s)->isVisible());
  // Alt and the underlined letter, as on any desktop.
  bool aboutShown = false;
  WhenModalShows([&] {
    aboutShown = QApplication::activeModalWidget() == window->AboutForm();
    QTest::keyClick(window->AboutForm(), Qt::Key_Escape);
  });
  QTest::sendKeyEvent(QTest::Click, window.get(), Qt::Key(u'О'), u"о"_s, Qt::AltModifier);
  EXPECT_TRUE(aboutShown);
  QApplication::setActiveWindow(window.get());
  QTest::keyClick(window.get(), Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(window->isVisible());
}

// While another run holds the program directory, the window says so in a
// small dialog (the event loop goes on, so everything keeps painting) and
// starts as soon as the other ends; cancelled, it does nothing and says
// nothing.
TEST_F(MainWindowTest, ForecastWaitingForAnotherOneSaysSoAndCanBeCancelled) {
  Start();
  for (const bool cancel : {true, false}) {
    std::optional<ProgramDirLock> other = ProgramDirLock::Acquire(dir.root());
    QString shown;
    bool painted = false;
    WhenModalShows([&] {
      QWidget* wait = QApplication::activeModalWidget();
      shown = wait->objectName() + u": "_s + Child<QLabel>(wait, u"LockWaitText"_s)->text();
      painted = !window->grab().isNull() && QApplication::overrideCursor() &&
                QApplication::overrideCursor()->shape() == Qt::ArrowCursor;
      if (cancel)
        QTest::mouseClick(Child<QPushButton>(wait, u"LockWaitCancel"_s), Qt::LeftButton);
      else
        other.reset();  // the other run ends
    });
    Click(u"Button18"_s);
    EXPECT_EQ(shown,
              u"LockWait: Идёт другой прогноз в этой папке…\n"
              "Этот начнётся, как только тот закончится."_s);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_EQ(fs::exists(Page(10, 2025)), !cancel);
    EXPECT_EQ(Find(u"Button4"_s)->isEnabled(), !cancel);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
}

// The launcher names the changed files it kept; the window tells it once.
TEST_F(MainWindowTest, LauncherNoticeIsShownOnceInRussian) {
  qputenv(kKeptFilesVariable, "System/go.dat\nSystem/sale.dat\n");
  Start();
  EXPECT_EQ(notices, QStringList{u"Программа обновлена. Файлы, которые Вы меняли, оставлены как "
                                 "были: System/go.dat, System/sale.dat.\nНовые версии этих файлов "
                                 "лежат рядом с ними, с окончанием .new: сравните их со своими и "
                                 "перенесите нужное."_s});
  EXPECT_FALSE(qEnvironmentVariableIsSet(kKeptFilesVariable));
  EXPECT_EQ(LauncherNotice({}), QString());
}

}  // namespace
}  // namespace meridan::testing
