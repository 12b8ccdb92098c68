// The birth time and place beside the date: completion from the place list,
// an hour the clocks showed twice or never, and the forecast at the moment.

#include <QAbstractItemView>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTest>

#include <memory>

#include "base/cp1251.h"
#include "ephemeris/calendar.h"
#include "gui/main_window.h"
#include "gui/spin_field.h"
#include "gui_testing.h"
#include "output/pages/page.h"

namespace meridan::testing {
namespace {

class BirthHourTest : public GuiTest {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->SetClock([] { return QDate(2025, 10, 3); });
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
    ChoiceBox::SetHandler([this](QWidget*, const QString& message, const QStringList& choices) {
      questions << message + u" | "_s + choices.join(u" / "_s);
      return answer;
    });
  }
  void TearDown() override { ChoiceBox::SetHandler({}); }

  QLineEdit* Field(const char* name) const {
    return Child<QLineEdit>(window.get(), QString::fromLatin1(name));
  }
  void Birth(const QString& day, const QString& month, const QString& year, const QString& time,
             const QString& place) const {
    Child<SpinField>(window.get(), u"SpinEdit1"_s)->SetText(day);
    Child<SpinField>(window.get(), u"SpinEdit2"_s)->SetText(month);
    Child<SpinField>(window.get(), u"SpinEdit3"_s)->SetText(year);
    Field("Edit2")->setText(time);
    Field("Edit3")->setText(place);
  }
  void Trips() const {
    QTest::mouseClick(Child<QPushButton>(window.get(), u"Button18"_s), Qt::LeftButton);
  }
  bool Ran() const { return !window->Latest().months.empty(); }

  CurrentProgramDir dir;
  std::unique_ptr<MainWindow> window;
  QStringList questions;
  int answer = -1;
};

TEST_F(BirthHourTest, FieldsAreCaptionedAndThePlaceIsCompletedAsTheListFoldsNames) {
  for (const auto& [label, field, caption] : {std::tuple("Label6", "Edit2", u"Время рождения"_s),
                                              std::tuple("Label7", "Edit3", u"Место рождения"_s)}) {
    const auto* shown = Child<QLabel>(window.get(), QString::fromLatin1(label));
    EXPECT_EQ(shown->text(), caption);
    EXPECT_EQ(shown->buddy(), Field(field));
    EXPECT_EQ(Field(field)->accessibleName(), caption);
  }
  QLineEdit* place = Field("Edit3");
  QApplication::setActiveWindow(window.get());
  place->setFocus();
  const auto offered = [&](const QString& typed) {
    place->clear();
    for (const QChar letter : typed)
      QTest::sendKeyEvent(QTest::Click, place, Qt::Key(letter.toUpper().unicode()), QString(letter),
                          Qt::NoModifier);
    return qobject_cast<QStringListModel*>(place->completer()->model())->stringList();
  };
  EXPECT_EQ(offered(u"санкт п"_s), QStringList{u"Санкт-Петербург"_s});
  EXPECT_TRUE(offered(u"ОРЕЛ"_s).contains(u"Орёл"_s));
  EXPECT_TRUE(place->completer()->popup()->isVisible());
  // Namesakes with different clocks come with their regions.
  EXPECT_EQ(offered(u"железногорск"_s), (QStringList{u"Железногорск (Курская область)"_s,
                                                     u"Железногорск (Красноярский край)"_s}));
}

TEST_F(BirthHourTest, RepeatedHourAsksWhichReadingAndTheAnswerStaysInTheField) {
  // Moscow put its clocks back from UTC+4 to UTC+3 at 02:00 on 26.10.2014.
  Birth(u"26"_s, u"10"_s, u"2014"_s, u"01:30"_s, u"москва"_s);
  answer = -1;  // called off: nothing runs
  Trips();
  ASSERT_EQ(questions.size(), 1);
  EXPECT_EQ(questions[0],
            u"Время 01:30 26.10.2014 по часам места «Москва» было дважды: в ту ночь часы "
            "перевели назад с UTC+04:00 на UTC+03:00. Первый раз это было в 21:30 25.10.2014 UT, "
            "второй — в 22:30 25.10.2014 UT. Какое из двух — время рождения? Его можно указать и "
            "в поле, дописав смещение: «01:30 +04:00» — первое, «01:30 +03:00» — второе. | "
            "Первое (UTC+04:00) / Второе (UTC+03:00)"_s);
  EXPECT_FALSE(Ran());
  EXPECT_TRUE(errors.isEmpty());

  answer = 1;
  Trips();
  EXPECT_EQ(Field("Edit2")->text(), u"01:30 +03:00"_s);
  ASSERT_TRUE(Ran()) << errors.join('\n').toStdString();
  const ForecastRequest& request = window->Latest().request;
  ASSERT_TRUE(request.hour.moment);
  // 22:30 UT on 25.10.2014: that noon and 10.5 hours.
  EXPECT_NEAR(*request.hour.moment, NoonJulianDay(25, 10, 2014) + 10.5 / 24, 1e-6);
  const std::string page = ReadFile(window->Latest().months.at(0).page);
  EXPECT_NE(page.find(Utf8ToCp1251("1:30, Москва")), std::string::npos);
  // Asked again with the offset in the field: no question.
  questions.clear();
  Trips();
  EXPECT_TRUE(questions.isEmpty());
}

TEST_F(BirthHourTest, WhatCannotBeReadIsRefusedInRussianAtTheFieldToPutRight) {
  const struct {
    const char16_t *time, *place, *says;
    const char* field;
  } cases[] = {
      // Moscow put its clocks forward from UTC+3 to UTC+4 at 02:00 on 27.03.2011.
      {u"02:30", u"Москва", u"не было: в ту ночь часы перевели вперёд с UTC+03:00 на UTC+04:00",
       "Edit2"},
      {u"14:30", u"Екатеринбур", u"Ближайшие названия: «Екатеринбург»", "Edit3"},
      {u"14:30", u"", u"впишите в поле «Место рождения» город или область", "Edit3"},
      {u"25:00", u"Москва", u"от 00:00 до 23:59", "Edit2"},
      {u"14:30", u"Железногорск", u"«Железногорск (Курская область)»", "Edit3"},
  };
  QApplication::setActiveWindow(window.get());
  for (const auto& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.time).toStdString());
    errors.clear();
    Birth(u"27"_s, u"3"_s, u"2011"_s, QString::fromUtf16(c.time), QString::fromUtf16(c.place));
    Trips();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QString::fromUtf16(c.says))) << errors[0].toStdString();
    EXPECT_EQ(QApplication::focusWidget(), Field(c.field));
    EXPECT_FALSE(Ran());
  }
  // With the offset of the clocks the skipped hour is read, the place
  // aside; and with no time the place is enough.
  for (const auto& [time, place] :
       {std::pair(u"02:30 +03:00"_s, u"Москва"_s), std::pair(u""_s, u"Екатеринбург"_s)}) {
    errors.clear();
    Birth(u"27"_s, u"3"_s, u"2011"_s, time, place);
    Trips();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    EXPECT_TRUE(Ran());
  }
  // Yekaterinburg's day of 27.03.2011 ran from 19:00 UT the day before (UTC+5).
  EXPECT_FALSE(window->Latest().request.hour.moment);
  EXPECT_NEAR(window->Latest().request.hour.fromHour, -5, 1e-6);
}

}  // namespace
}  // namespace meridan::testing
