#pragma once
// The natal chart: longitudes of the Sun and the planets at the moment of
// birth, or at noon (UT) of the birth date when its hour is not known. No
// houses, no Moon.

#include <array>
#include <optional>

#include "base/dates.h"
#include "ephemeris/positions.h"

namespace meridan {

// Ten longitudes indexed by body number 1..10; entry 2 (the Moon) stays 0.
using NatalChart = Longitudes;

// What is known of the hour of a birth date.
struct BirthHour {
  // The moment of birth in UT (a Julian day with its fraction), when the
  // time of birth is known.
  std::optional<double> moment;
  // When it is not, the hours it may have been: the birth date from 00:00
  // to 24:00 on the clocks of the birth place, in hours of UT from 00:00 UT
  // of that date ({-5, 19} at UTC+5; {0, 24}, the date in UT, where no
  // place is given; a day on which the clocks changed has 23 or 25).
  double fromHour = 0;
  double toHour = 24;
};

// Every body of the body table, in its order, at the moment of birth when
// it is known, else at noon UT of the birth date. The birth date is taken as
// entered: 31 February runs on into March.
NatalChart ComputeNatalChart(Date birth, const BirthHour& hour, const PlutoTable& pluto);
NatalChart ComputeNatalChart(Date birth, const PlutoTable& pluto);  // the hour unknown

// The Julian day the chart is computed at.
double NatalMoment(Date birth, const BirthHour& hour);

// The arc a natal body sweeps over the hours a birth may have had: its
// middle and half its length, in degrees.
struct NatalArc {
  double middle = 0;
  double halfLength = 0;
};
using NatalArcs = std::array<NatalArc, kBodySlots>;

// The arcs of the bodies of the body table over the hours of the birth date
// that `hour` leaves open (and over the noon the chart without an hour is
// computed at, which a place more than 12 hours ahead of UT leaves out of
// them): from the body's longitude at the first and the last of those
// hours, and at its station where it turns within them. Of a birth whose
// moment is known, every arc has length 0.
NatalArcs ComputeNatalArcs(Date birth, const BirthHour& hour, const PlutoTable& pluto);

}  // namespace meridan
