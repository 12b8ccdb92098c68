#pragma once
// What the main window's layout and its behaviour share: the client area's
// size, the birth fields' limits and the month buttons' captions.

#include <QString>

#include "ephemeris/birth_date.h"

namespace meridan {

inline constexpr int kClientWidth = 634;
inline constexpr int kClientHeight = 392;

struct BirthLimits {
  int minimum, maximum, initial;
};
inline constexpr BirthLimits kDayLimits{1, 31, 15};
inline constexpr BirthLimits kMonthLimits{1, 12, 6};
inline constexpr BirthLimits kYearLimits{kFirstBirthYear, kLastBirthYear, 1980};

// How far ahead a forecast may start: the current month and the eleven
// after it.
inline constexpr int kStartMonthsOffered = 12;

// "1-й месяц" … "4-й месяц": a month button before its month is made.
inline QString MonthButtonCaption(int k) { return QString::number(k) + QStringLiteral("-й месяц"); }

}  // namespace meridan
