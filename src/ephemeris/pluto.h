#pragma once
// Pluto: no series; its geocentric longitude is read from the table file
// pluto.sys (one line per day from 1900 January 1, whole degrees at the start
// of the line). A run loads the table once and keeps it (see the forecast
// context); the position routine only looks a day up.

#include <filesystem>
#include <string_view>
#include <vector>

#include "ephemeris/angles.h"

namespace meridan {

inline constexpr std::string_view kPlutoTableName = "pluto.sys";

class PlutoTable {
 public:
  // Reads and parses the file. Throws std::runtime_error naming the file for
  // a file that cannot be read and for a line that does not begin with an
  // integer (with its number); one empty line at the end is tolerated.
  static PlutoTable Load(const std::filesystem::path& file);
  static PlutoTable Parse(const std::filesystem::path& file, std::string_view text);

  // Whole degrees for the day: line n for the Julian day n. Throws naming the
  // file and the dates it covers for a day outside the table.
  int DegreesOn(double julianDay) const;

  const std::filesystem::path& file() const { return file_; }
  int days() const { return static_cast<int>(degrees_.size()); }

 private:
  std::filesystem::path file_;
  std::vector<int> degrees_;  // degrees_[n - 1] belongs to Julian day n
};

// Longitude of Pluto in degrees for a (noon) Julian day; sets the Sun vector
// to zeros.
void PlutoPosition(double julianDay, const PlutoTable& table, double& longitude, SunVector& sun);

}  // namespace meridan
