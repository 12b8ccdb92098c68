// The people remembered: kept per user in the settings, the most recent
// first, offered as a name is typed and from the list beside the name field,
// forgotten when asked; nothing of them in the program directory.

#include "gui/people.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "gui/main_window.h"
#include "gui/people_picker.h"
#include "gui/spin_field.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class PeopleTest : public GuiTest {
 protected:
  PeopleTest() { Clear(); }
  ~PeopleTest() override { Clear(); }
  static void Clear() {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, u"meridan-diru"_s,
                       u"people"_s);
    settings.clear();
  }
  static QStringList Captions(const People& people) {
    QStringList captions;
    for (const Person& person : people.List()) captions << person.Caption();
    return captions;
  }
};

TEST_F(PeopleTest, TheMostRecentFirstOnceEachKeptAcrossStartsAndForgottenWhenAsked) {
  {
    People people;
    people.Remember({u"Иван Петров"_s, {15, 6, 1980}});
    people.Remember({u"  Анна  "_s, {1, 2, 1990}});
    people.Remember({u"Иван Петров"_s, {15, 6, 1980}});
    people.Remember({u"Иван Петров"_s, {3, 4, 1975}});  // another Ivan
    people.Remember({u" "_s, {3, 4, 1975}});            // no name: not kept
  }
  People people;
  EXPECT_EQ(Captions(people), (QStringList{u"Иван Петров, 03.04.1975"_s,
                                           u"Иван Петров, 15.06.1980"_s, u"Анна, 01.02.1990"_s}));
  EXPECT_EQ(people.Named(u"иван петров"_s)->birth, (Date{3, 4, 1975}));
  EXPECT_FALSE(people.Named(u"Пётр"_s));
  people.Forget({u"Иван Петров"_s, {3, 4, 1975}});
  EXPECT_EQ(Captions(People()), (QStringList{u"Иван Петров, 15.06.1980"_s, u"Анна, 01.02.1990"_s}));

  for (int k = 0; k < 30; ++k) people.Remember({u"Человек %1"_s.arg(k), {1, 1, 1950 + k}});
  EXPECT_EQ(People().List().size(), People::kKept);
  EXPECT_EQ(People().List().front().name, u"Человек 29"_s);
}

// An entry edited by hand or left by another version is passed over.
TEST_F(PeopleTest, AnEntryThatIsNotAWholePersonIsPassedOver) {
  {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, u"meridan-diru"_s,
                       u"people"_s);
    settings.beginWriteArray(u"people"_s, 4);
    const QStringList births = {u"1980-02-31"_s, u"1900-01-01"_s, u"вчера"_s, u"1984-05-20"_s};
    for (int k = 0; k < 4; ++k) {
      settings.setArrayIndex(k);
      settings.setValue(u"name"_s, u"Имя %1"_s.arg(k));
      settings.setValue(u"birth"_s, births[k]);
    }
    settings.endArray();
  }
  EXPECT_EQ(Captions(People()), QStringList{u"Имя 3, 20.05.1984"_s});
}

TEST_F(PeopleTest, TheWindowRemembersWhomItMadeAForecastForAndOffersThemAgain) {
  CurrentProgramDir dir;
  MainWindow window(nullptr, QSize(1024, 768));
  window.SetClock([] { return QDate(2025, 10, 3); });
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().CurrentYear != 0; }, 2000));
  auto* name = Child<QLineEdit>(&window, u"Edit1"_s);
  const auto spin = [&](int k) { return Child<SpinField>(&window, u"SpinEdit%1"_s.arg(k)); };
  const auto birth = [&] {
    return spin(1)->text() + '.' + spin(2)->text() + '.' + spin(3)->text();
  };
  name->setText(u"Иван Ёжиков"_s);
  spin(1)->SetText(u"20"_s);
  spin(2)->SetText(u"5"_s);
  spin(3)->SetText(u"1984"_s);
  auto* time = Child<QLineEdit>(&window, u"Edit2"_s);
  auto* place = Child<QLineEdit>(&window, u"Edit3"_s);
  time->setText(u"14:30"_s);
  place->setText(u"Екатеринбург"_s);
  QTest::mouseClick(Child<QPushButton>(&window, u"Button18"_s), Qt::LeftButton);
  ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  const QStringList before = QDir(dir.rootText()).entryList(QDir::AllEntries | QDir::Hidden);

  // Typed again, part of the name offers the person; choosing fills the date.
  name->clear();
  spin(1)->SetText(u"1"_s);
  time->clear();
  place->clear();
  QApplication::setActiveWindow(&window);
  name->setFocus();
  for (const QChar letter : u"ёжи"_s)
    QTest::sendKeyEvent(QTest::Click, name, Qt::Key(letter.toUpper().unicode()), QString(letter),
                        Qt::NoModifier);
  QCompleter* completer = name->completer();
  ASSERT_TRUE(QTest::qWaitFor([&] { return completer->popup()->isVisible(); }, 2000));
  EXPECT_EQ(completer->currentCompletion(), u"Иван Ёжиков"_s);
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Return);
  EXPECT_EQ(name->text(), u"Иван Ёжиков"_s);
  EXPECT_EQ(birth(), u"20.5.1984"_s);
  EXPECT_EQ(time->text() + u", "_s + place->text(), u"14:30, Екатеринбург"_s);

  // The list beside the field: the person, and forgetting them.
  auto* menu = Child<QMenu>(&window, u"PeopleMenu"_s);
  spin(1)->SetText(u"1"_s);
  emit menu->aboutToShow();
  ASSERT_EQ(menu->actions().size(), 3);  // the person, a separator, "Забыть"
  EXPECT_EQ(menu->actions()[0]->text(), u"Иван Ёжиков, 20.05.1984"_s);
  menu->actions()[0]->trigger();
  EXPECT_EQ(birth(), u"20.5.1984"_s);
  QMenu* forget = menu->actions()[2]->menu();
  ASSERT_NE(forget, nullptr);
  EXPECT_EQ(forget->title(), u"Забыть"_s);
  forget->actions()[0]->trigger();
  EXPECT_TRUE(People().List().empty());
  emit menu->aboutToShow();
  EXPECT_FALSE(menu->actions()[0]->isEnabled());

  // Nothing of it went into the program directory.
  EXPECT_EQ(QDir(dir.rootText()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

}  // namespace
}  // namespace meridan::testing
