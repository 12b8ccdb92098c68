// Saving a forecast as a calendar file from the main window's menu: enabled
// only after a run that came to its end, beside the PDF, under the name
// given, and a file that cannot be written.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <optional>

#include "forecast/lock.h"
#include "gui/forecast_save.h"
#include "gui/main_window.h"
#include "gui/save_dialog.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class CalendarSaveTest : public GuiTest {
 protected:
  CalendarSaveTest() {
    previous = SetSaveDialog([this](QWidget*, const QString& suggested) {
      asked << suggested;
      return answer;
    });
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->SetClock([] { return QDate(2026, 11, 12); });
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
  }
  ~CalendarSaveTest() override { SetSaveDialog(previous); }

  QAction* Save() const { return Child<QAction>(window.get(), u"SaveCalendar"_s); }

  CurrentProgramDir dir;
  std::unique_ptr<MainWindow> window;
  SaveDialogFn previous;
  QString answer;
  QStringList asked;
};

TEST_F(CalendarSaveTest, MenuSavesTheFinishedForecast) {
  const QList<QAction*> menu = Child<QMenu>(window.get(), u"ForecastMenu"_s)->actions();
  const auto pdf = menu.indexOf(Child<QAction>(window.get(), u"SavePdf"_s));
  ASSERT_GE(pdf, 0);
  EXPECT_EQ(menu.value(pdf + 1), Save()) << "beside the PDF";
  EXPECT_FALSE(Save()->isEnabled());

  QTest::mouseClick(Child<QPushButton>(window.get(), u"Button7"_s), Qt::LeftButton);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_TRUE(Save()->isEnabled());
  answer = QString::fromStdString((dir.root() / "календарь").string());  // ".ics" is added
  Save()->trigger();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_TRUE(asked[0].endsWith(u"/Авто-сервис, ноябрь 2026 – февраль 2027.ics"_s))
      << asked[0].toStdString();
  EXPECT_EQ(ReadFile(dir.root() / "календарь.ics").rfind("BEGIN:VCALENDAR\r\n", 0), 0u);

  answer = QString::fromStdString((dir.root() / "нет" / "такой.ics").string());
  Save()->trigger();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].startsWith(u"Календарь не сохранён. Не удалось записать файл"_s))
      << errors[0].toStdString();
}

// The first calendar makes the directory's key under its lock: while another
// run holds it, the window waits in the forecast's dialog, and saves once
// the other run ends.
TEST_F(CalendarSaveTest, FirstCalendarWaitsForAnotherRunInTheDialog) {
  QTest::mouseClick(Child<QPushButton>(window.get(), u"Button7"_s), Qt::LeftButton);
  ASSERT_TRUE(Save()->isEnabled());
  std::optional<ProgramDirLock> other = ProgramDirLock::Acquire(dir.root());
  QString shown;
  WhenModalShows([&] {
    QWidget* wait = QApplication::activeModalWidget();
    shown = Child<QLabel>(wait, u"LockWaitText"_s)->text();
    other.reset();
  });
  answer = QString::fromStdString((dir.root() / "ждал.ics").string());
  Save()->trigger();
  EXPECT_EQ(shown,
            u"Идёт другой прогноз в этой папке…\n"
            "Календарь сохранится, как только тот закончится."_s);
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  EXPECT_TRUE(fs::exists(dir.root() / "ждал.ics"));
}

}  // namespace
}  // namespace meridan::testing
