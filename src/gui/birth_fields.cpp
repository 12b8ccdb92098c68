#include "gui/birth_fields.h"

#include <stdexcept>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "ephemeris/birth_date.h"
#include "ephemeris/calendar.h"
#include "gui/spin_field.h"

namespace meridan {
namespace {

struct Field {
  SpinField* field;
  const char* caption;  // as the field's label names it
};

QString Caption(const Field& f) {
  return QStringLiteral("«") + QString::fromUtf8(f.caption) + QStringLiteral("»");
}

QString Wants(const Field& f) {
  return QStringLiteral("целое число от %1 до %2").arg(f.field->Minimum()).arg(f.field->Maximum());
}

// The field's text as an integer, or the refusal. The sentence quotes what
// was typed; the field's own conversion message is the command line's
// English and stays out of the window.
std::optional<int> Read(const Field& f, BirthReading& reading) {
  try {
    return f.field->IntValue();
  } catch (const std::runtime_error&) {
    const QString text = f.field->text();
    reading.refusal =
        (text.isEmpty()
             ? QStringLiteral("Поле ") + Caption(f) +
                   QStringLiteral(" пусто: в нём должно стоять ") + Wants(f) + QLatin1Char('.')
             : QStringLiteral("В поле ") + Caption(f) + QStringLiteral(" должно стоять ") +
                   Wants(f) + QStringLiteral(", а не «") + text + QStringLiteral("»."));
    reading.field = f.field;
    return std::nullopt;
  }
}

QString OutsideLimits(const Field& f, int value) {
  return QStringLiteral("В поле ") + Caption(f) +
         QStringLiteral(" должно стоять число от %1 до %2, а не %3.")
             .arg(f.field->Minimum())
             .arg(f.field->Maximum())
             .arg(value);
}

}  // namespace

BirthReading ReadBirthDate(SpinField& day, SpinField& month, SpinField& year) {
  const Field fields[] = {{&day, "День"}, {&month, "Месяц"}, {&year, "Год рождения"}};
  BirthReading reading;
  int values[3];
  for (int k = 0; k < 3; ++k) {
    const std::optional<int> value = Read(fields[k], reading);
    if (!value) return reading;
    values[k] = *value;
  }
  const Date date{values[0], values[1], values[2]};
  switch (CheckBirthDate(date)) {
    case BirthDateFault::None:
      reading.date = date;
      return reading;
    case BirthDateFault::Day:
      reading.refusal = OutsideLimits(fields[0], date.day);
      reading.field = &day;
      return reading;
    case BirthDateFault::Month:
      reading.refusal = OutsideLimits(fields[1], date.month);
      reading.field = &month;
      return reading;
    case BirthDateFault::Year:
      reading.refusal = OutsideLimits(fields[2], date.year);
      reading.field = &year;
      return reading;
    case BirthDateFault::DayOfMonth: {
      const int length = MonthLength(date.month, date.year);
      // 28, 29 or 30: always "дней".
      reading.refusal =
          QStringLiteral("В %1 %2 года %3 дней: в поле «День» должно стоять число от 1 до %3.")
              .arg(QString::fromStdString(Cp1251ToUtf8(MonthNamePrepositional(date.month))))
              .arg(date.year)
              .arg(length);
      reading.field = &day;
      return reading;
    }
  }
  return reading;
}

}  // namespace meridan
