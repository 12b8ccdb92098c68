// The best days from the main window: the menu item and the button wait for
// a finished forecast, open the list of its kind in Russian words, widen it
// to twelve months, copy and print it, and answer the keyboard.

#include "gui/best_days_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <memory>

#include "gui/main_window.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class BestDaysWindowTest : public GuiTest {
 protected:
  BestDaysWindowTest() {
    previous = BestDaysWindow::SetPrintDialog([this](QPrinter& printer, QWidget*) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString((dir.root() / "best.pdf").string()));
      ++printed;
      return true;
    });
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->SetClock([] { return QDate(2025, 11, 12); });
    window->show();
    EXPECT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
  }
  ~BestDaysWindowTest() override { BestDaysWindow::SetPrintDialog(previous); }

  QAction* Item() const { return Child<QAction>(window.get(), u"BestDays"_s); }
  QPushButton* Button() const { return Child<QPushButton>(window.get(), u"ButtonBest"_s); }

  CurrentProgramDir dir;
  std::unique_ptr<MainWindow> window;
  BestDaysWindow::PrintDialogFn previous;
  int printed = 0;
};

TEST_F(BestDaysWindowTest, ListsTheWindowsOfTheLatestForecast) {
  EXPECT_TRUE(Child<QMenu>(window.get(), u"ForecastMenu"_s)->actions().contains(Item()));
  EXPECT_FALSE(Item()->isEnabled());
  EXPECT_FALSE(Button()->isEnabled());
  // The button fits the window, beside the commands.
  EXPECT_TRUE(window->centralWidget()->rect().contains(Button()->geometry()));
  EXPECT_GE(Button()->width(), Button()->sizeHint().width());

  window->findChild<QLineEdit*>(u"Edit1"_s)->setText(u"Иван"_s);
  QTest::mouseClick(Child<QPushButton>(window.get(), u"Button8"_s), Qt::LeftButton);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  ASSERT_TRUE(Item()->isEnabled());
  ASSERT_TRUE(Button()->isEnabled());

  QTest::mouseClick(Button(), Qt::LeftButton);
  BestDaysWindow* best = window->BestDays();
  ASSERT_TRUE(best->isVisible());
  EXPECT_EQ(best->windowTitle(), u"Лучшие дни для покупки и продажи машины"_s);
  const QString four = best->Text();
  EXPECT_TRUE(four.contains(u"С ноября 2025 по февраль 2026"_s)) << four.toStdString();
  EXPECT_TRUE(four.contains(u"1. "_s)) << four.toStdString();
  EXPECT_TRUE(four.contains(u"Лучший день: "_s));
  EXPECT_TRUE(four.contains(u"Почему:\n   + "_s)) << four.toStdString();
  EXPECT_TRUE(four.contains(u" с натальн"_s)) << four.toStdString();
  // The weekday stands with every date.
  EXPECT_TRUE(four.contains(QRegularExpression(
      u"(понедельник|вторник|среда|четверг|пятница|суббота|воскресенье), \\d+ "_s)));
  EXPECT_EQ(Child<QTextBrowser>(best, u"List"_s)->toPlainText().contains(u"Почему:"_s), true);

  // Twelve months from the keyboard: the period list, then the list.
  QComboBox* period = Child<QComboBox>(best, u"Period"_s);
  period->setFocus();
  QTest::keyClick(period, Qt::Key_End);
  QTest::keyClick(period, Qt::Key_Return);
  QApplication::processEvents();
  const QString twelve = best->Text();
  EXPECT_TRUE(twelve.contains(u"С ноября 2025 по октябрь 2026"_s)) << twelve.toStdString();

  QTest::keyClick(best, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), twelve);
  QTest::keyClick(best, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(printed, 1);
  EXPECT_GT(std::filesystem::file_size(dir.root() / "best.pdf"), 1000u);

  QTest::keyClick(best, Qt::Key_Escape);
  EXPECT_FALSE(best->isVisible());
  // The menu item opens it again, at the forecast's four months.
  Item()->trigger();
  EXPECT_TRUE(best->isVisible());
  EXPECT_EQ(best->Text(), four);
}

// The windows are those of the chart the forecast was made with: a birth
// time moves the natal bodies, and with them the days.
TEST_F(BestDaysWindowTest, FollowsTheBirthTime) {
  window->findChild<QLineEdit*>(u"Edit1"_s)->setText(u"Иван"_s);
  const auto bestOfARun = [this] {
    QTest::mouseClick(Child<QPushButton>(window.get(), u"Button8"_s), Qt::LeftButton);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    Item()->trigger();
    return window->BestDays()->Text();
  };
  const QString atNoon = bestOfARun();
  window->findChild<QLineEdit*>(u"Edit2"_s)->setText(u"00:05"_s);
  window->findChild<QLineEdit*>(u"Edit3"_s)->setText(u"Москва"_s);
  EXPECT_NE(bestOfARun(), atNoon);
}

}  // namespace
}  // namespace meridan::testing
