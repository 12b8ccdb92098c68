#include "gui/birth_hour_fields.h"

#include <QRegularExpression>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "base/places.h"
#include "ephemeris/calendar.h"
#include "ephemeris/time_zone.h"
#include "forecast/birth_hour.h"

namespace meridan {
namespace {

using Field = BirthHourFields::Field;

// The offsets clocks have kept, west and east.
constexpr int kWestmostOffset = -12 * 60;
constexpr int kEastmostOffset = 14 * 60;

QString Utf8(const std::string& cp1251) { return QString::fromStdString(Cp1251ToUtf8(cp1251)); }
std::string Cp1251(const QString& text) { return Utf8ToCp1251(text.toStdString()); }

QString Quoted(const QString& text) { return QStringLiteral("«") + text + QStringLiteral("»"); }

QString Offset(int minutes) {
  return QStringLiteral("UTC") + QString::fromStdString(FormatUtcOffset(minutes));
}

QString TimeText(ClockTime time) { return QString::fromStdString(TimeInDigits(time)); }

QString DateText(Date date) { return QString::fromStdString(DateInDigits(date)); }

// "21:30 25.10.2014 UT": an instant, to the minute.
QString UtText(double julianDay) {
  const CalendarMinute moment = ToCalendarMinute(julianDay);
  return TimeText({moment.hour, moment.minute}) + QLatin1Char(' ') + DateText(moment.date) +
         QStringLiteral(" UT");
}

BirthHourFields Refused(Field field, const QString& message) {
  BirthHourFields reading;
  reading.refusal = message;
  reading.field = field;
  return reading;
}

// "Екатеринбург" or, among namesakes, "Киров (Кировская область)" as the
// completion offers it.
struct PlaceText {
  QString name;
  QString region;  // empty when not given
};

PlaceText SplitPlaceText(const QString& text) {
  static const QRegularExpression withRegion(QStringLiteral("^(.*\\S)\\s*\\(([^()]*)\\)\\s*$"));
  const QRegularExpressionMatch match = withRegion.match(text);
  if (match.hasMatch()) return {match.captured(1), match.captured(2).trimmed()};
  return {text.trimmed(), {}};
}

// The place the field names, or the refusal. Namesakes in one zone are one
// place as far as the clocks go.
std::optional<Place> FindPlace(const PlaceList& places, const QString& text,
                               BirthHourFields& refusal) {
  const PlaceText typed = SplitPlaceText(text);
  std::vector<Place> found = FindPlaces(places, Cp1251(typed.name));
  if (!typed.region.isEmpty()) {
    const std::string region = Cp1251(typed.region);
    std::erase_if(found, [&](const Place& p) { return p.region != region; });
  }
  if (found.empty()) {
    QString message = QStringLiteral("Места ") + Quoted(text.trimmed()) +
                      QStringLiteral(" нет в списке мест рождения.");
    const std::vector<std::string> near = SuggestPlaceNames(places, Cp1251(typed.name));
    QStringList names;
    for (const std::string& name : near) names << Quoted(Utf8(name));
    message += names.isEmpty()
                   ? QStringLiteral(
                         " Впишите по-русски город или область, например «Екатеринбург», или "
                         "ближайший большой город с теми же часами.")
                   : QStringLiteral(" Ближайшие названия: ") + names.join(QStringLiteral(", ")) +
                         QLatin1Char('.');
    refusal = Refused(Field::Place, message);
    return std::nullopt;
  }
  for (const Place& other : found)
    if (other.zone != found.front().zone) {
      QStringList each;
      for (const Place& p : found)
        each << Quoted(Utf8(p.name) + QStringLiteral(" (") + Utf8(p.region) + QLatin1Char(')'));
      refusal = Refused(Field::Place,
                        QStringLiteral("Так называются места с разными часами: ") +
                            each.join(QStringLiteral(", ")) +
                            QStringLiteral(". Выберите одно из них в подсказке под полем или "
                                           "впишите его так, как оно написано здесь."));
      return std::nullopt;
    }
  return found.front();
}

// A time the clocks showed twice, that night they went back: both moments
// are offered to choose from, as the time with its offset.
BirthHourFields TwiceShownTime(Date date, ClockTime time, const UtMoment& moment,
                               const QString& where) {
  const QString first = TimeWithOffset(time, moment.before.offsetMinutes);
  const QString second = TimeWithOffset(time, moment.after.offsetMinutes);
  BirthHourFields refused = Refused(
      Field::Time,
      QStringLiteral("Время %1 %2 %3 было дважды: в ту ночь часы перевели назад с %4 на %5. "
                     "Первый раз это было в %6, второй — в %7. Какое из двух — время "
                     "рождения? Его можно указать и в поле, дописав смещение: %8 — "
                     "первое, %9 — второе.")
          .arg(TimeText(time), DateText(date), where, Offset(moment.before.offsetMinutes),
               Offset(moment.after.offsetMinutes), UtText(moment.before.julianDay),
               UtText(moment.after.julianDay), Quoted(first), Quoted(second)));
  refused.choices = {first, second};
  refused.choiceCaptions = {
      QStringLiteral("Первое (") + Offset(moment.before.offsetMinutes) + QLatin1Char(')'),
      QStringLiteral("Второе (") + Offset(moment.after.offsetMinutes) + QLatin1Char(')')};
  return refused;
}

// A time the clocks skipped, that night they went forward.
BirthHourFields SkippedTime(Date date, ClockTime time, const UtMoment& moment,
                            const QString& where) {
  return Refused(
      Field::Time,
      QStringLiteral("Времени %1 %2 %3 не было: в ту ночь часы перевели вперёд с %4 на %5, "
                     "и этот час пропустили. Проверьте время рождения; если часы в тот день "
                     "шли иначе, допишите к времени их смещение от UTC, например %6.")
          .arg(TimeText(time), DateText(date), where, Offset(moment.before.offsetMinutes),
               Offset(moment.after.offsetMinutes),
               Quoted(TimeWithOffset(time, moment.before.offsetMinutes))));
}

}  // namespace

std::optional<TimeFieldValue> ParseTimeField(const QString& text) {
  if (text.trimmed().isEmpty()) return TimeFieldValue{};
  // "14:30", "9:05", "01:30 +04:00", "01:30 UTC-05:00"; the minus sign may
  // be typed as a dash.
  static const QRegularExpression form(
      QStringLiteral(
          "^\\s*(\\d{1,2}):(\\d\\d)(?:\\s*(?:UTC|GMT)?\\s*([-+\\x{2212}\\x{2013}])(\\d\\d):(\\d\\d))?"
          "\\s*$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = form.match(text);
  if (!match.hasMatch()) return std::nullopt;
  TimeFieldValue value;
  const ClockTime time{match.captured(1).toInt(), match.captured(2).toInt()};
  if (time.hour > 23 || time.minute > 59) return std::nullopt;
  value.time = time;
  if (match.hasCaptured(3)) {
    const int hours = match.captured(4).toInt(), minutes = match.captured(5).toInt();
    if (minutes > 59) return std::nullopt;
    const int offset = (match.captured(3) == QLatin1String("+") ? 1 : -1) * (hours * 60 + minutes);
    if (offset < kWestmostOffset || offset > kEastmostOffset) return std::nullopt;
    value.utcOffsetMinutes = offset;
  }
  return value;
}

QString TimeWithOffset(ClockTime time, int utcOffsetMinutes) {
  return TimeText(time) + QLatin1Char(' ') +
         QString::fromStdString(FormatUtcOffset(utcOffsetMinutes));
}

BirthHourFields ReadBirthHourFields(Date date, const QString& timeText, const QString& placeText,
                                    const PlaceList* places, const QString& listError) {
  const std::optional<TimeFieldValue> typed = ParseTimeField(timeText);
  if (!typed)
    return Refused(Field::Time,
                   QStringLiteral("В поле «Время рождения» должно стоять время по часам места "
                                  "рождения, от 00:00 до 23:59, например 14:30, а не ") +
                       Quoted(timeText.trimmed()) +
                       QStringLiteral(". Если час рождения неизвестен, оставьте поле пустым."));

  BirthClock clock;
  BirthHourFields reading;
  if (!placeText.trimmed().isEmpty()) {
    if (!places)
      return Refused(
          Field::Place,
          QStringLiteral("Место рождения не найти: список мест не прочитан. ") + listError);
    const std::optional<Place> place = FindPlace(*places, placeText, reading);
    if (!place) return reading;
    clock.zone = place->zone;
    reading.place = Utf8(place->name);
  }
  clock.utcOffsetMinutes = typed->utcOffsetMinutes;
  if (typed->time && !clock.given())
    return Refused(Field::Place,
                   QStringLiteral("Время рождения читается по часам места рождения: впишите "
                                  "в поле «Место рождения» город или область (или допишите к "
                                  "времени смещение часов от UTC, например «") +
                       TimeWithOffset(*typed->time, 5 * 60) + QStringLiteral("»)."));

  const BirthHourReading hour = ReadBirthHour(date, typed->time, clock);
  const UtMoment& moment = hour.moment;
  const QString where = QStringLiteral("по часам места ") + Quoted(reading.place);
  switch (moment.status) {
    case MomentStatus::Ok:
      reading.hour = hour.hour;
      reading.time = typed->time;
      return reading;
    case MomentStatus::UnknownZone:
      return Refused(Field::Place,
                     QStringLiteral("В базе часовых поясов системы нет пояса ") +
                         Quoted(QString::fromStdString(clock.zone)) + QStringLiteral(" места ") +
                         Quoted(reading.place) +
                         QStringLiteral(": обновите пакет tzdata или допишите к времени рождения "
                                        "смещение часов от UTC, например «14:30 +05:00»."));
    case MomentStatus::Ambiguous:
      return TwiceShownTime(date, *typed->time, moment, where);
    case MomentStatus::Nonexistent:
      return SkippedTime(date, *typed->time, moment, where);
  }
  return reading;
}

}  // namespace meridan
