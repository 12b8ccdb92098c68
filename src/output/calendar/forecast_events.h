#pragma once
// The events of a forecast's calendar: one all-day event for each accepted
// influence of rating 3 or more (or -3 or less), from its first to its last
// day in orb, and one for each station of Mercury (every kind) and of Mars
// (trips and car service). Each event's name is a keyed hash of what makes
// it that event (kind, birth date, the aspect and its first day, or the
// station), so a second export of the same forecast names its events as
// the first did and calendars update them instead of adding copies, while
// the names say nothing about the person without the key.

#include <vector>

#include "base/dates.h"
#include "output/calendar/icalendar.h"
#include "output/calendar/siphash.h"
#include "texts/best_days.h"
#include "texts/influence_texts.h"
#include "texts/reader_clock.h"
#include "transits/forecast_kind.h"

namespace meridan {

// The weakest rating, either way, that goes into the calendar.
inline constexpr int kCalendarRating = 3;

// Whether a planet's stations go into a kind's calendar.
bool StationInCalendar(ForecastKind kind, int body);

// One all-day event per best window, "Лучшие дни: поездки", its days, peak,
// reasons and cautions in the description, with a reminder the evening
// before; named by kind, birth date and first day.
std::vector<CalendarEvent> BestWindowEvents(ForecastKind kind, Date birth,
                                            const std::vector<BestWindow>& windows,
                                            const SipKey& key);

// Exact moments are told on the reader's clock, and a station stands on its
// day there; an influence whose days hang on an unknown birth hour says so.
std::vector<CalendarEvent> ForecastEvents(ForecastKind kind, Date birth,
                                          const std::vector<InfluenceText>& influences,
                                          const std::vector<Station>& stations,
                                          const ReaderClock& clock, const SipKey& key);

}  // namespace meridan
