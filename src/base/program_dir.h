#pragma once
// The program directory and the files of it that the programs name. System/
// holds the data a forecast reads, and beside it what a forecast keeps
// there: the lock two runs share, the calendar key and the scratch files
// of the last run. Output/ holds the month pages, their graphs and the
// archive of them all. The desktop program, the command line and the run
// all take these names from here.

#include <filesystem>
#include <string>

#include "base/dates.h"
#include "base/month_names.h"

namespace meridan {

// A month's page and graph as the pages link them and the archive names
// them: "Prog_05_2025.html", "Prog_05_2025.jpeg".
inline std::string PageFileName(YearMonth month) {
  return MonthFileName(month.month, month.year, ".html");
}
inline std::string GraphFileName(YearMonth month) {
  return MonthFileName(month.month, month.year, ".jpeg");
}

struct ProgramDir {
  std::filesystem::path root;

  std::filesystem::path data() const { return root / "System"; }
  std::filesystem::path output() const { return root / "Output"; }

  std::filesystem::path archive() const { return output() / "Prognoz.zip"; }
  std::filesystem::path page(YearMonth month) const { return output() / PageFileName(month); }
  std::filesystem::path graph(YearMonth month) const { return output() / GraphFileName(month); }

  // The picture every month's graph is drawn on.
  std::filesystem::path graphTemplate() const { return data() / "month.bmp"; }
  // Held by a forecast for its whole length (a dot file: never packed).
  std::filesystem::path lock() const { return data() / ".meridan.lock"; }
  // The key that names the calendar's events, made on first use.
  std::filesystem::path calendarKey() const { return data() / ".calendar-key"; }
  // What the last run leaves for inspection: its last matched text plus
  // one blank, and its last month's graph as a bitmap.
  std::filesystem::path scratchText() const { return data() / "tmp.dat"; }
  std::filesystem::path scratchPicture() const { return data() / "tmp.bmp"; }
};

}  // namespace meridan
