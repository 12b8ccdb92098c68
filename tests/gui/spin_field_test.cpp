// The birth-date spin fields: what the keyboard lets in, what the arrows do,
// that leaving the field changes nothing, and how a command reads the text.

#include "gui/spin_field.h"

#include <QFocusEvent>
#include <QTest>

#include "gui_testing.h"

namespace meridan::testing {
namespace {

struct Field : SpinField {
  Field(const char* text, int minimum = 1, int maximum = 31) {
    SetLimits(minimum, maximum);
    SetText(QString::fromLatin1(text));
  }
};

TEST(SpinField, ArrowsStepWithinTheLimitsAndLeavingTheFieldKeepsWhatWasTyped) {
  constexpr Qt::Key kLeave = Qt::Key_Tab;  // the row leaves the field instead of stepping
  const struct {
    const char* name;
    const char* before;
    Qt::Key key;
    const char* after;
    int minimum = 1, maximum = 31;  // the day's limits; the year's are 1920..2030
  } cases[] = {
      // Refused with a reason when a command reads it, not quietly changed.
      {"leaving above the limit", "45", kLeave, "45"},
      {"leaving a year below the limit", "1800", kLeave, "1800", 1920, 2030},
      {"leaving in range keeps the sign as typed", "+7", kLeave, "+7"},
      {"leaving a decimal number", "1.5", kLeave, "1.5"},
      {"leaving an integer too big for 32 bits, which is no integer", "99999999999", kLeave,
       "99999999999"},
      {"up by one", "15", Qt::Key_Up, "16"},
      {"up at the upper limit stays", "31", Qt::Key_Up, "31"},
      {"up from above the limit comes back to it", "45", Qt::Key_Up, "31"},
      // A text that is no integer counts as the lower limit.
      {"up from empty", "", Qt::Key_Up, "2"},
      {"down from a decimal", "2.5", Qt::Key_Down, "1"},
  };
  for (const auto& c : cases) {
    Field field(c.before, c.minimum, c.maximum);
    if (c.key == kLeave) {
      QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
      QApplication::sendEvent(&field, &out);
    } else {
      QTest::keyClick(&field, c.key);
    }
    EXPECT_EQ(field.text(), QString::fromLatin1(c.after)) << c.name;
  }
}

TEST(SpinField, KeyboardTakesOnlyAsciiDigitsSignsAndThePoint) {
  Field field("");
  QTest::keyClicks(&field, "a1b,2 x.+-e");
  // Arabic-Indic digit three: a digit to Unicode, not to the conversion.
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(0x0663)));
  QApplication::sendEvent(&field, &press);
  EXPECT_EQ(field.text(), u"12.+-"_s);
}

TEST(SpinField, CommandReadsA32BitIntegerOrFailsWithTheText) {
  constexpr int kNoInteger = 0;  // the row expects the error
  const struct {
    const char* text;
    int value;
  } cases[] = {{"+7", 7},
               {"-3", -3},
               {"2100", 2100},
               {"007", 7},
               {"2147483647", 2147483647},
               {"-2147483648", -2147483647 - 1},
               {"2147483648", kNoInteger},
               {"-2147483649", kNoInteger},
               {"", kNoInteger},
               {"-", kNoInteger},
               {"+", kNoInteger},
               {"1.5", kNoInteger},
               {"1-2", kNoInteger}};
  for (const auto& c : cases) {
    try {
      EXPECT_EQ(Field(c.text).IntValue(), c.value) << "'" << c.text << "'";
      EXPECT_NE(c.value, kNoInteger) << "no error for '" << c.text << "'";
    } catch (const std::runtime_error& error) {
      EXPECT_EQ(c.value, kNoInteger) << "'" << c.text << "': " << error.what();
      EXPECT_EQ(std::string(error.what()),
                "'" + std::string(c.text) + "' is not a valid integer value");
    }
  }
}

}  // namespace
}  // namespace meridan::testing
