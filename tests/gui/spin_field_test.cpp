// The birth-date spin fields: what the keyboard lets in, what the arrows do,
// what leaving the field corrects, and how a command reads the text.

#include <QApplication>
#include <QFocusEvent>
#include <QTest>

#include "app/gui/spin_field.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

void LoseFocus(SpinField& field) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&field, &out);
}

struct Field {
  SpinField field;
  Field(int minimum, int maximum, const QString& text) {
    field.SetLimits(minimum, maximum);
    field.SetText(text);
  }
};

struct FocusCase {
  const char* name;
  int minimum, maximum;
  const char* typed;
  const char* after;
};

// Day 1..31 and year 1920..2030 as the main window sets them.
const FocusCase kFocusCases[] = {
    {"day above the limit", 1, 31, "45", "31"},
    {"day below the limit", 1, 31, "0", "1"},
    {"negative day", 1, 31, "-5", "1"},
    {"year above the limit", 1920, 2030, "2100", "2030"},
    {"year below the limit", 1920, 2030, "1800", "1920"},
    {"in range keeps its sign as typed", 1, 31, "+7", "+7"},
    {"in range at the limit", 1, 31, "31", "31"},
    {"empty stays empty", 1, 31, "", ""},
    {"a sign alone stays", 1, 31, "-", "-"},
    {"a decimal number stays", 1, 31, "1.5", "1.5"},
    {"an integer too big for 32 bits is no integer and stays", 1, 31, "99999999999",
     "99999999999"},
};

TEST(SpinField, LeavingTheFieldBringsIntegersWithinLimitsAndKeepsOtherText) {
  for (const FocusCase& c : kFocusCases) {
    Field f(c.minimum, c.maximum, QString::fromLatin1(c.typed));
    LoseFocus(f.field);
    EXPECT_EQ(f.field.text(), QString::fromLatin1(c.after)) << c.name;
  }
}

TEST(SpinField, KeyboardTakesOnlyDigitsSignsAndThePoint) {
  Field f(1, 31, QString());
  QTest::keyClicks(&f.field, "a1b,2 x.+-e");
  EXPECT_EQ(f.field.text(), QStringLiteral("12.+-"));
}

TEST(SpinField, KeyboardRejectsDigitsOfOtherScripts) {
  Field f(1, 31, QString());
  // Arabic-Indic digit three: a digit to Unicode, not to the conversion.
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x0663)));
  QApplication::sendEvent(&f.field, &press);
  EXPECT_EQ(f.field.text(), QString());
}

struct StepCase {
  const char* name;
  const char* from;
  Qt::Key key;
  const char* to;
};

const StepCase kStepCases[] = {
    {"up by one", "15", Qt::Key_Up, "16"},
    {"down by one", "15", Qt::Key_Down, "14"},
    {"up at the upper limit stays", "31", Qt::Key_Up, "31"},
    {"down at the lower limit stays", "1", Qt::Key_Down, "1"},
    {"from above the limit comes back to it", "45", Qt::Key_Up, "31"},
    // A text that is no integer counts as the lower limit.
    {"up from empty", "", Qt::Key_Up, "2"},
    {"down from a decimal", "2.5", Qt::Key_Down, "1"},
};

TEST(SpinField, ArrowsStepByOneWithinLimits) {
  for (const StepCase& c : kStepCases) {
    Field f(1, 31, QString::fromLatin1(c.from));
    QTest::keyClick(&f.field, c.key);
    EXPECT_EQ(f.field.text(), QString::fromLatin1(c.to)) << c.name;
  }
}

TEST(SpinField, CommandReadsIntegerText) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"12", 12}, {"+7", 7}, {"-3", -3}, {"2100", 2100}, {"007", 7}};
  for (const auto& c : cases) {
    Field f(1, 31, QString::fromLatin1(c.text));
    EXPECT_EQ(f.field.IntValue(), c.value) << c.text;
  }
}

TEST(SpinField, CommandFailsOnTextThatIsNoInteger) {
  for (const char* text : {"", "-", "+", "1.5", "1-2", "99999999999"}) {
    Field f(1, 31, QString::fromLatin1(text));
    try {
      f.field.IntValue();
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

TEST(SpinField, IntegerRangeIsThirtyTwoBits) {
  EXPECT_EQ(ParseInteger(QStringLiteral("2147483647")), 2147483647);
  EXPECT_EQ(ParseInteger(QStringLiteral("-2147483648")), -2147483647 - 1);
  EXPECT_EQ(ParseInteger(QStringLiteral("2147483648")), std::nullopt);
  EXPECT_EQ(ParseInteger(QStringLiteral("-2147483649")), std::nullopt);
}

}  // namespace
}  // namespace meridan::testing
