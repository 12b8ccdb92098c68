#include "output/calendar/forecast_events.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string_view>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "ephemeris/bodies.h"
#include "ephemeris/calendar.h"
#include "output/calendar/calendar_kind.h"
#include "texts/best_days_text.h"
#include "texts/influence_texts.h"

namespace meridan {
namespace {

// "2 августа 2025 в 17:35 по Москве", on the reader's clock.
std::string MomentText(double julianDay, const ReaderClock& clock) {
  const ClockReading reading = ReadClock(clock, julianDay);
  return DateInWords(reading.date) + ' ' + ClockText(clock, reading);
}

// A note as a sentence of its own: its first letter (Windows-1251 а..я)
// capital, a stop after it.
std::string Sentence(std::string note) {
  if (!note.empty() && static_cast<unsigned char>(note[0]) >= 0xE0)
    note[0] = static_cast<char>(static_cast<unsigned char>(note[0]) - 0x20);
  return note + '.';
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
                             const ReaderClock& clock, const SipKey& key) {
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
  description += W("\nДействует с ") + DateInWords(event.first) + W(" по ") +
                 DateInWords(DateOf(influence.lastNoon)) + ".\n";
  if (influence.exact.empty()) {
    description += W("Точным аспект в эти дни не становится.");
  } else {
    description += W("Точно: ");
    for (size_t i = 0; i < influence.exact.size(); ++i)
      description += (i ? "; " : "") + MomentText(influence.exact[i], clock);
    description += '.';
  }
  if (const std::string note = UnknownHourNote(influence); !note.empty())
    description += '\n' + Sentence(note);
  event.description = std::move(description);
  return event;
}

CalendarEvent StationEvent(ForecastKind kind, Date birth, const Station& station,
                           const ReaderClock& clock, const SipKey& key) {
  CalendarEvent event;
  // The day on the reader's clock; the name keeps the day in UT, so that it
  // stays the same whatever the clock.
  const Date ut = DateOf(station.moment);
  event.first = ReadClock(clock, station.moment).date;
  event.afterLast = DateOf(NoonJulianDay(event.first.day, event.first.month, event.first.year) + 1);
  const std::string day =
      std::to_string(ut.year) + '.' + std::to_string(ut.month) + '.' + std::to_string(ut.day);
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
                      MomentText(station.moment, clock) + '.';
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
                                          const std::vector<Station>& stations,
                                          const ReaderClock& clock, const SipKey& key) {
  std::vector<CalendarEvent> events;
  for (const InfluenceText& text : influences)
    if (text.accepted && text.record && std::abs(text.rating) >= kCalendarRating)
      events.push_back(InfluenceEvent(kind, birth, text, clock, key));
  for (const Station& station : stations)
    if (StationInCalendar(kind, station.body))
      events.push_back(StationEvent(kind, birth, station, clock, key));
  return events;
}

}  // namespace meridan
