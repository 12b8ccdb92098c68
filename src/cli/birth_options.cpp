#include "cli/birth_options.h"

#include <algorithm>
#include <filesystem>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "base/digits.h"
#include "base/places.h"
#include "cli/program_dir_option.h"
#include "ephemeris/calendar.h"
#include "forecast/birth_hour.h"

namespace meridan {
namespace {

// Two digits.
std::optional<int> TwoDigits(const std::string& text, size_t at) {
  if (at + 2 > text.size()) return std::nullopt;
  return ParseDigits(std::string_view(text).substr(at, 2));
}

// "DD.MM.YYYY HH:MM UT" of an instant, to the minute.
std::string UtText(double julianDay) {
  const CalendarMinute moment = ToCalendarMinute(julianDay);
  return DateInDigits(moment.date) + ' ' + TimeInDigits({moment.hour, moment.minute}) + " UT";
}

std::string LocalText(Date date, ClockTime time) {
  return TimeInDigits(time) + " on " + DateInDigits(date);
}

// Limits of the offsets clocks have kept.
constexpr int kWestmostOffset = -12 * 60;
constexpr int kEastmostOffset = 14 * 60;

// The zone of a place of the list, and its name as the list gives it
// (UTF-8). Namesakes in one zone are one place as far as the clocks go;
// namesakes in different zones are told apart by a zone.
std::string PlaceZone(const Options& options, const std::string& typed, std::string& name) {
  if (!Utf8Length(typed)) throw UsageError("--place is not valid UTF-8 text");
  const PlaceList list = LoadPlaceList(ProgramDirOf(options).data());
  const std::string wanted = Utf8ToCp1251(typed);
  const std::vector<Place> found = FindPlaces(list, wanted);
  if (found.empty()) {
    std::string message = "--place: no place is called '" + Shown(typed) + "'";
    const std::vector<std::string> near = SuggestPlaceNames(list, wanted);
    for (size_t i = 0; i < near.size(); ++i)
      message += (i ? ", " : "; the nearest names: ") + Cp1251ToUtf8(near[i]);
    throw UsageError(message);
  }
  for (const Place& other : found)
    if (other.zone != found.front().zone) {
      std::string message = "--place '" + Shown(typed) + "' names places in different zones:";
      for (const Place& each : found)
        message += " " + Cp1251ToUtf8(each.name) + " (" + Cp1251ToUtf8(each.region) + ", --tz " +
                   each.zone + ");";
      message.back() = '.';
      throw UsageError(message + " Add the --tz of the one meant");
    }
  name = Cp1251ToUtf8(found.front().name);
  return found.front().zone;
}

}  // namespace

std::vector<std::string> WithBirthOptions(std::vector<std::string> options) {
  for (const std::string& option : kBirthOptions)
    if (std::find(options.begin(), options.end(), option) == options.end())
      options.push_back(option);
  return options;
}

ClockTime ParseClockTime(const std::string& option, const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == 1 || colon == 2) {
    const std::string hour = colon == 1 ? "0" + text.substr(0, 1) : text.substr(0, 2);
    const auto h = TwoDigits(hour, 0), m = TwoDigits(text, colon + 1);
    if (h && m && text.size() == colon + 3 && *h <= 23 && *m <= 59) return {*h, *m};
  }
  throw UsageError(option + " wants a time HH:MM (00:00-23:59), not '" + Shown(text) + "'");
}

int ParseUtcOffset(const std::string& option, const std::string& text) {
  if (text.size() == 6 && (text[0] == '+' || text[0] == '-') && text[3] == ':') {
    const auto h = TwoDigits(text, 1), m = TwoDigits(text, 4);
    if (h && m && *m <= 59) {
      const int minutes = (text[0] == '-' ? -1 : 1) * (*h * 60 + *m);
      if (minutes >= kWestmostOffset && minutes <= kEastmostOffset) return minutes;
    }
  }
  throw UsageError(option + " wants an offset from UTC +HH:MM or -HH:MM (-12:00 to +14:00), not '" +
                   Shown(text) + "'");
}

BirthOptions ReadBirthOptions(const Options& options) {
  BirthOptions birth;
  birth.date = ParseBirthDate(options.Require("--birth"));
  const auto time = options.Get("--time"), place = options.Get("--place"), tz = options.Get("--tz"),
             offset = options.Get("--utc-offset");
  if (time) birth.time = ParseClockTime("--time", *time);
  BirthClock clock;
  if (place) clock.zone = PlaceZone(options, *place, birth.place);
  if (tz) {
    if (!ZoneExists(*tz))
      throw UsageError("--tz: the system's time zone database has no zone '" + Shown(*tz) +
                       "' (zones are named like Europe/Moscow or Asia/Yekaterinburg)");
    clock.zone = *tz;
  }
  if (offset) clock.utcOffsetMinutes = ParseUtcOffset("--utc-offset", *offset);
  if (birth.time && !clock.given())
    throw UsageError(
        "--time is read on the clocks of the birth place: add the place (--place NAME), its time "
        "zone (--tz ZONE, such as Europe/Moscow) or the clocks' offset from UTC (--utc-offset "
        "+HH:MM)");

  const BirthHourReading reading = ReadBirthHour(birth.date, birth.time, clock);
  const UtMoment& moment = reading.moment;
  switch (moment.status) {
    case MomentStatus::Ok:
      break;
    case MomentStatus::UnknownZone:
      throw UsageError("the system's time zone database has no zone '" + Shown(clock.zone) + "'");
    case MomentStatus::Ambiguous:
      throw UsageError(
          "--time " + LocalText(birth.date, *birth.time) + " happened twice in " + clock.zone +
          ": the clocks went back and showed it first at " + UtText(moment.before.julianDay) +
          " (UTC" + FormatUtcOffset(moment.before.offsetMinutes) + "), then at " +
          UtText(moment.after.julianDay) + " (UTC" + FormatUtcOffset(moment.after.offsetMinutes) +
          "); add --utc-offset " + FormatUtcOffset(moment.before.offsetMinutes) +
          " for the first or --utc-offset " + FormatUtcOffset(moment.after.offsetMinutes) +
          " for the second");
    case MomentStatus::Nonexistent:
      throw UsageError("--time " + LocalText(birth.date, *birth.time) + " never happened in " +
                       clock.zone + ": the clocks went forward from UTC" +
                       FormatUtcOffset(moment.before.offsetMinutes) + " to UTC" +
                       FormatUtcOffset(moment.after.offsetMinutes) +
                       " and skipped it; check the time, or give the offset the clocks kept "
                       "with --utc-offset");
  }
  birth.hour = reading.hour;
  return birth;
}

}  // namespace meridan
