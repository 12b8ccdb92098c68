#pragma once
// The forecast session: what the desktop program holds between commands,
// the inputs as last typed, the clock's month and the directories. The
// engine keeps nothing of its own: a command makes a request of these
// values, and what the run made comes back as its result. The command line
// takes each value from its arguments and keeps none.

#include <filesystem>

#include "base/cp1251.h"
#include "base/dates.h"
#include "base/program_dir.h"

namespace meridan {

struct ForecastSession {
  // The name as it goes into the page: escaped, with character references
  // for what the code page lacks; at most kMaxNameLength characters as
  // typed, may be empty.
  Cp1251Html Name;
  int BirthDay = 15;
  int BirthMonth = 6;
  int BirthYear = 1980;
  int CurrentYear = 0;  // the system clock, read once at start-up
  int CurrentMonth = 0;
  std::filesystem::path MainDir;  // program directory
  std::filesystem::path DataDir;  // ProgramDir{MainDir}.data()
  // The page the viewer opens: a month button's page of the latest result.
  std::filesystem::path PageToShow;

  Date Birth() const { return {BirthDay, BirthMonth, BirthYear}; }
  YearMonth Current() const { return {CurrentYear, CurrentMonth}; }
};

// Sets MainDir and DataDir from a program directory.
inline void SetProgramDir(ForecastSession& session, const std::filesystem::path& programDir) {
  session.MainDir = programDir;
  session.DataDir = ProgramDir{programDir}.data();
}

}  // namespace meridan
