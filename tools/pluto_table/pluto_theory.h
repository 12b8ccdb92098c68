#pragma once
// Pluto's geocentric ecliptic longitude for the pluto.sys table.
//
// Heliocentric coordinates from the periodic-term theory in Meeus,
// Astronomical Algorithms (2nd ed.), chapter 37, table 37.A (mean ecliptic
// and equinox of J2000.0). The theory is published as valid for 1885-2099;
// the table runs on to the end of 2100, one year past that, where its error
// is still far below the whole degree the table keeps.
//
// Time: the argument is a Julian Dynamical Time JDE; the table treats noon UT
// as TD (the difference of about a minute is nothing at whole degrees).

namespace meridan::pluto_table {

inline constexpr double kJde2000 = 2451545.0;  // J2000.0

// Ecliptic spherical coordinates: longitude and latitude in degrees, r in AU.
struct Ecliptic {
  double lon = 0.0;
  double lat = 0.0;
  double r = 0.0;
};

// Heliocentric l, b (degrees, l in [0, 360)), r (AU) on the mean ecliptic and
// equinox of J2000.0.
Ecliptic PlutoHeliocentricJ2000(double jde);

// Ecliptic coordinates of J2000.0 carried to the mean ecliptic and equinox of
// the date jde (Meeus (21.5)-(21.7) with the starting epoch J2000.0). The
// distance is passed through. Longitude in [0, 360).
Ecliptic PrecessFromJ2000(const Ecliptic& j2000, double jde);

// The Earth's heliocentric position on the mean ecliptic and equinox of date,
// from the program's own Sun series. julianDay counts days since
// 1900 January 0.5.
Ecliptic EarthHeliocentric(double julianDay);

// Pluto's geometric geocentric longitude in degrees [0, 360), mean ecliptic
// and equinox of date, corrected once for light-time.
double PlutoGeocentricLongitude(double julianDay);

// The whole degree a table line holds: nearest degree, 360 written as 0.
int TableDegree(double longitude);

}  // namespace meridan::pluto_table
