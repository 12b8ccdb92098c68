#pragma once
// The best days in words, as the desktop program's window, the digest and
// the calendar file tell them (Windows-1251): the days with their weekdays,
// each influence as planet, aspect and natal body with the first sentence
// of its text, and the plain statement when no window qualifies.

#include <string>
#include <vector>

#include "texts/best_days.h"
#include "texts/influence_texts.h"
#include "transits/forecast_kind.h"

namespace meridan {

// "четверг, 4 декабря 2025"
std::string DayWithWeekday(double noon);

// "1 день", "3 дня", "14 дней"
std::string DayCount(int days);

// "Солнце в трине с натальной Венерой"
std::string InfluenceTitle(int transitBody, int aspect, int natalBody);

// "Солнце в трине с натальной Венерой (+3): <the text's first sentence>"
std::string InfluenceReason(const InfluenceText& text);

// "Лучшие дни для поездок"
std::string BestDaysHeading(ForecastKind kind);

// What stands instead of the windows when none qualifies.
std::string NoBestWindowsText(ForecastKind kind);

// "4 декабря 2025, четверг — 17 декабря 2025, среда (14 дней)"
std::string WindowDays(const BestWindow& window);

// The lines that tell one window after its days: its peak and score, then
// "Почему:" with a line per reason and "Что учесть:" with a line per
// caution.
std::vector<std::string> WindowLines(const BestWindow& window);

// The whole answer as plain text, '\n' between lines: the heading, the
// period, then each window with its lines, or the plain statement.
std::string BestWindowsText(ForecastKind kind, YearMonth start, int months,
                            const std::vector<BestWindow>& windows);

}  // namespace meridan
