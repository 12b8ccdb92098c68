// What a screen reader hears: every control that takes the keyboard in
// every window has a name, without blanks at its ends; the fields are named
// by their captions, and the background picture is named nothing.

#include <QAccessible>
#include <QLabel>
#include <QTest>

#include "gui/about_box.h"
#include "gui/best_days_window.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/problem_report.h"
#include "gui/viewer.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class AccessibilityTest : public GuiTest {};

QString NameOf(QWidget* widget) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  return accessible ? accessible->text(QAccessible::Name) : QString();
}

TEST_F(AccessibilityTest, EveryControlOfEveryWindowHasATrimmedName) {
  CurrentProgramDir dir;
  MainWindow window(nullptr, QSize(1024, 768));
  window.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.Session().CurrentYear != 0; }, 2000));
  QStringList unnamed;
  for (QWidget* shown :
       std::initializer_list<QWidget*>{&window, window.ViewerForm(), window.AboutForm(),
                                       window.ProblemForm(), window.Help(), window.BestDays()})
    for (QWidget* control : shown->findChildren<QWidget*>()) {
      if (control->focusPolicy() == Qt::NoFocus || control->window() != shown ||
          control->objectName().startsWith(u"qt_"_s) ||
          !control->parentWidget()->isVisibleTo(shown))
        continue;
      const QString name = NameOf(control);
      if (name.isEmpty() || name != name.trimmed())
        unnamed << shown->objectName() + u"/"_s + control->objectName() + u" «"_s + name + u"»"_s;
    }
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join('\n').toStdString();

  QStringList fields;
  for (const char* name : {"Edit1", "SpinEdit1", "SpinEdit2", "SpinEdit3", "Edit2", "Edit3"})
    fields << NameOf(Child<QWidget>(&window, QString::fromLatin1(name)));
  EXPECT_EQ(fields, (QStringList{u"Имя (фамилия)"_s, u"День рождения"_s, u"Месяц рождения"_s,
                                 u"Год рождения"_s, u"Время рождения"_s, u"Место рождения"_s}));
  EXPECT_EQ(NameOf(Child<QLabel>(&window, u"Image1"_s)), QString());
}

}  // namespace
}  // namespace meridan::testing
