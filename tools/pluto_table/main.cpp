// Writes pluto.sys: Pluto's geocentric longitude in whole degrees for noon of
// every day from 1900 January 1 (line 1, Julian day 1) to 2100 December 31,
// CR LF line ends.
//
//     pluto_table data/System/pluto.sys

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "ephemeris/calendar.h"
#include "tools/pluto_table/pluto_theory.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pluto_table OUTPUT_FILE\n";
    return 2;
  }
  const std::string path = argv[1];
  try {
    // Line k holds Julian day k, so the table starts at day 1.
    const int first = 1;
    const int last = static_cast<int>(meridan::NoonJulianDay(31, 12, 2100));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot open " + path + " for writing");
    for (int day = first; day <= last; ++day) {
      const double longitude = meridan::pluto_table::PlutoGeocentricLongitude(day);
      out << meridan::pluto_table::TableDegree(longitude) << "\r\n";
    }
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path);
    std::cout << path << ": " << (last - first + 1) << " days, Julian days " << first << " to "
              << last << "\n";
  } catch (const std::exception& e) {
    std::cerr << "pluto_table: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
