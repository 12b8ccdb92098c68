#pragma once
// Reading the birth time and place, the two fields beside the birth date,
// when a forecast is asked for. The time is read on the clocks of the birth
// place ("14:30"); the place's zone in the system's database turns it into
// the moment in UT, daylight saving and every change of the zone counted,
// by the same reading as the command line's. An offset after the time
// ("01:30 +04:00") wins over the zone: it is how a reader picks one reading
// of an hour the clocks showed twice, or corrects a zone the database has
// wrong for their town and year. An empty time is an unknown hour: the
// chart stays at noon UT and the place tells which hours the date spans.
//
// What cannot be read is refused with a Russian sentence that names the
// choices: the places of that name, the nearest names, the two offsets of a
// repeated or skipped hour.

#include <QString>
#include <QStringList>

#include <optional>

#include "base/dates.h"
#include "transits/natal.h"

namespace meridan {

struct PlaceList;

// The time field's text: a clock time and, when given, an offset from UTC in
// minutes east of Greenwich. Empty text is no time; nullopt is text that is
// not a time.
struct TimeFieldValue {
  std::optional<ClockTime> time;
  std::optional<int> utcOffsetMinutes;
};
std::optional<TimeFieldValue> ParseTimeField(const QString& text);

// "01:30 +04:00": a time with the offset that picks its reading.
QString TimeWithOffset(ClockTime time, int utcOffsetMinutes);

struct BirthHourFields {
  enum class Field { None, Time, Place };

  BirthHour hour;
  std::optional<ClockTime> time;
  QString place;  // as the list names it; empty without a place

  // When the fields cannot be read: the message and the field to put right.
  // An hour the clocks showed twice also gives the time field's two texts
  // that pick one reading ("01:30 +04:00") and their captions for buttons.
  QString refusal;
  Field field = Field::None;
  QStringList choices;
  QStringList choiceCaptions;
  bool ok() const { return refusal.isEmpty(); }
};

// places: the list the place field is read in; null when it could not be
// loaded, listError then saying why.
BirthHourFields ReadBirthHourFields(Date date, const QString& timeText, const QString& placeText,
                                    const PlaceList* places, const QString& listError);

}  // namespace meridan
