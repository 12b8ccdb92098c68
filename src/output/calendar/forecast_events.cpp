#include "output/calendar/forecast_events.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "base/cp1251.h"
#include "base/month_names.h"
#include "ephemeris/bodies.h"
#include "ephemeris/calendar.h"
#include "output/calendar/calendar_kind.h"
#include "texts/best_days_text.h"

namespace meridan {
namespace {

// "2 августа 2025" (Windows-1251).
std::string DayText(const Date& date) {
  return std::to_string(date.day) + ' ' + MonthNameGenitive(date.month) + ' ' +
         std::to_string(date.year);
}

// "2 августа 2025, 14:35 UT".
std::string MomentText(double julianDay) {
  const CalendarMinute moment = ToCalendarMinute(julianDay);
  char time[16];
  std::snprintf(time, sizeof time, ", %02d:%02d UT", moment.hour, moment.minute);
  return DayText(moment.date) + time;
}

// 32 hexadecimal digits from two hashes of what names the event, then the
// program's domain.
std::string EventUid(const SipKey& key, const std::string& what) {
  char text[40];
  std::snprintf(text, sizeof text, "%016llx%016llx",
                static_cast<unsigned long long>(SipHash24(key, "1|" + what)),
                static_cast<unsigned long long>(SipHash24(key, "2|" + what)));
  return std::string(text) + "@meridan-diru";
}

std::string EventIdentity(ForecastKind kind, Date birth, const std::string& rest) {
  return std::string(KindInfo(kind).key) + '|' + std::to_string(birth.day) + '.' +
         std::to_string(birth.month) + '.' + std::to_string(birth.year) + '|' + rest;
}

std::string_view Topic(ForecastKind kind, int natalBody) {
  constexpr int kBodies[] = {kSun,    kMercury, kVenus,   kMars, kJupiter,
                             kSaturn, kUranus,  kNeptune, kPluto};
  for (size_t i = 0; i < std::size(kBodies); ++i)
    if (kBodies[i] == natalBody) return CalendarWords(kind).topics[i];
  return {};
}

CalendarEvent InfluenceEvent(ForecastKind kind, Date birth, const InfluenceText& text,
                             const SipKey& key) {
  const Influence& influence = text.influence;
  CalendarEvent event;
  event.first = DateOf(influence.firstNoon);
  event.afterLast = DateOf(influence.lastNoon + 1);
  event.uid =
      EventUid(key, EventIdentity(kind, birth,
                                  std::to_string(influence.key.transitBody) + '|' +
                                      std::to_string(influence.key.aspect) + '|' +
                                      std::to_string(influence.key.natalBody) + '|' +
                                      std::to_string(static_cast<long long>(influence.firstNoon))));
  // "Поездки: благоприятно — дальняя дорога": the sign in words, as the
  // pages' legend and the digest say it, and what the days are about.
  const bool favourable = text.rating > 0;
  event.summary =
      W(CalendarWords(kind).name) + W(favourable ? ": благоприятно" : ": неблагоприятно");
  if (const std::string_view topic = Topic(kind, influence.key.natalBody); !topic.empty())
    event.summary += W(" — ") + W(topic);
  std::string description = text.record->text;
  while (!description.empty() &&
         (description.back() == ' ' || description.back() == '\n' || description.back() == '\r'))
    description.pop_back();
  description +=
      W(favourable ? "\n\nБлагоприятное указание, сила " : "\n\nНеблагоприятное указание, сила ") +
      std::to_string(std::abs(text.rating)) + W(" из 5.");
  description += W("\nДействует с ") + DayText(event.first) + W(" по ") +
                 DayText(DateOf(influence.lastNoon)) + ".\n";
  if (influence.exact.empty()) {
    description += W("Точным аспект в эти дни не становится.");
  } else {
    description += W("Точно: ");
    for (size_t i = 0; i < influence.exact.size(); ++i)
      description += (i ? "; " : "") + MomentText(influence.exact[i]);
    description += '.';
  }
  event.description = std::move(description);
  return event;
}

CalendarEvent StationEvent(ForecastKind kind, Date birth, const Station& station,
                           const SipKey& key) {
  CalendarEvent event;
  event.first = DateOf(station.moment);
  event.afterLast = DateOf(station.moment + 1);
  const std::string day = std::to_string(event.first.year) + '.' +
                          std::to_string(event.first.month) + '.' + std::to_string(event.first.day);
  event.uid = EventUid(key, EventIdentity(kind, birth,
                                          "station|" + std::to_string(station.body) + '|' +
                                              (station.retrograde ? "R|" : "D|") + day));
  event.summary = W(CalendarWords(kind).name) + ": " + StationTitle(station);
  // One sentence on what the turn means for the kind, then its moment.
  const CalendarKindWords& words = CalendarWords(kind);
  const std::string_view meaning =
      station.body == kMercury
          ? (station.retrograde ? words.mercuryRetrograde : words.mercuryDirect)
          : (station.retrograde ? words.marsRetrograde : words.marsDirect);
  event.description = (meaning.empty() ? "" : W(meaning) + "\n\n") + StationTitle(station) + ": " +
                      MomentText(station.moment) + '.';
  return event;
}

}  // namespace

bool StationInCalendar(ForecastKind kind, int body) {
  return body == kMercury || (body == kMars && kind != ForecastKind::Sale);
}

std::vector<CalendarEvent> BestWindowEvents(ForecastKind kind, Date birth,
                                            const std::vector<BestWindow>& windows,
                                            const SipKey& key) {
  std::vector<CalendarEvent> events;
  for (const BestWindow& window : windows) {
    CalendarEvent event;
    event.first = DateOf(window.firstNoon);
    event.afterLast = DateOf(window.lastNoon + 1);
    event.uid = EventUid(key, EventIdentity(kind, birth,
                                            "best|" + std::to_string(event.first.year) + '.' +
                                                std::to_string(event.first.month) + '.' +
                                                std::to_string(event.first.day)));
    event.summary = W("Лучшие дни: ") + W(RowOf(kCalendarKindWords, kind).subject);
    event.description = WindowDays(window);
    for (const std::string& line : WindowLines(window)) event.description += '\n' + line;
    event.reminder = true;
    events.push_back(std::move(event));
  }
  return events;
}

std::vector<CalendarEvent> ForecastEvents(ForecastKind kind, Date birth,
                                          const std::vector<InfluenceText>& influences,
                                          const std::vector<Station>& stations, const SipKey& key) {
  std::vector<CalendarEvent> events;
  for (const InfluenceText& text : influences)
    if (text.accepted && text.record && std::abs(text.rating) >= kCalendarRating)
      events.push_back(InfluenceEvent(kind, birth, text, key));
  for (const Station& station : stations)
    if (StationInCalendar(kind, station.body))
      events.push_back(StationEvent(kind, birth, station, key));
  return events;
}

}  // namespace meridan
