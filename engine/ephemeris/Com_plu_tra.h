#pragma once
// Pluto: no series; the geocentric longitude is read from the table file
// pluto.sys in the data directory (one line per day from 1900 January 1,
// whole degrees). The table is read once and again only when the file
// changes (path, size or modification time).

#include <filesystem>

#include "engine/ephemeris/Com_sol_tra.h"

namespace meridan {

// Longitude of Pluto in degrees for a (noon) Julian day; sets the Sun vector
// to zeros. Throws std::runtime_error naming the file for a missing or
// malformed table and for a day outside it.
void PlutoPosition(double julianDay, const std::filesystem::path& dataDir, double& longitude,
                   SunVector& sun);

}  // namespace meridan
