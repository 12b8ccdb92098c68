#pragma once
// The forecast session: the handful of values that the forecast run, the
// month graph and the viewer share for the whole run of the program.

#include <array>
#include <filesystem>
#include <string>

#include "base/cp1251.h"
#include "base/dates.h"

namespace meridan {

struct ForecastSession {
  // The name as it goes into the page: escaped, with character references
  // for what the code page lacks; at most 40 characters as typed, may be
  // empty.
  Cp1251Html Name;
  int BirthDay = 15;
  int BirthMonth = 6;
  int BirthYear = 1980;
  int CurrentYear = 0;  // the system clock, read once at start-up
  int CurrentMonth = 0;
  int StartYear = 0;  // first forecast month
  int StartMonth = 0;
  int PageYear = 0;  // the month being produced
  int PageMonth = 0;
  std::filesystem::path MainDir;                    // program directory
  std::filesystem::path DataDir;                    // MainDir / "System"
  std::array<std::filesystem::path, 13> PagePaths;  // by calendar month 1..12
  std::array<int, 5> ButtonMonths{};                // calendar month of button 1..4
  std::filesystem::path PageToShow;
  bool PurchaseSaleMarks = false;  // true only while a purchase-sale run is in progress

  Date Birth() const { return {BirthDay, BirthMonth, BirthYear}; }
  YearMonth Current() const { return {CurrentYear, CurrentMonth}; }
  std::filesystem::path OutputDir() const { return MainDir / "Output"; }
  std::filesystem::path ArchivePath() const { return OutputDir() / "Prognoz.zip"; }
};

// The longest name the name field takes, in characters.
inline constexpr size_t kMaxNameLength = 40;

// Sets MainDir and DataDir from a program directory.
inline void SetProgramDir(ForecastSession& session, const std::filesystem::path& programDir) {
  session.MainDir = programDir;
  session.DataDir = programDir / "System";
}

}  // namespace meridan
