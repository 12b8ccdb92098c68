#include "app/core/forecast.h"

#include "app/archive/archive.h"
#include "app/graph/month_graph.h"
#include "reports/page.h"

namespace meridan {

void MakeForecast(ForecastSession& session, ForecastKind kind, SeriesStore& store,
                  const MonthDoneFn& onMonthDone) {
  session.PageYear = session.CurrentYear;
  session.StartYear = session.CurrentYear;
  session.StartMonth = session.CurrentMonth;
  const std::filesystem::path interpretationFile =
      session.DataDir / std::string(KindInfo(kind).interpretationFile);
  for (int k = 1; k <= 4; ++k) {
    session.PageMonth = session.CurrentMonth + k - 1;
    session.PageYear = session.CurrentYear;
    if (session.PageMonth > 12) {
      session.PageMonth -= 12;
      session.PageYear = session.CurrentYear + 1;
    }
    MakeMonthSeries(kind, session.BirthYear, session.BirthMonth, session.BirthDay, session.PageYear,
                    session.PageMonth, session.DataDir, interpretationFile, store);
    DrawMonthGraph(session, store);
    const std::filesystem::path page = WriteMonthPage(
        kind, session.Name, session.BirthYear, session.BirthMonth, session.BirthDay,
        session.PageYear, session.PageMonth, session.StartYear, session.StartMonth, session.MainDir,
        session.DataDir, interpretationFile);
    session.PagePaths[static_cast<size_t>(session.PageMonth)] = page;
    session.ButtonMonths[static_cast<size_t>(k)] = session.PageMonth;
    if (onMonthDone) onMonthDone({k, session.PageMonth, session.PageYear, page});
  }
}

void RunForecastCommand(ForecastSession& session, ForecastKind kind, SeriesStore& store,
                        const MonthDoneFn& onMonthDone) {
  struct Marks {
    bool& flag;
    ~Marks() { flag = false; }
  } marks{session.PurchaseSaleMarks};
  session.PurchaseSaleMarks = KindInfo(kind).retrogradeMarks;
  MakeForecast(session, kind, store, onMonthDone);
  session.PurchaseSaleMarks = false;
  PackOutput(session.OutputDir(), session.ArchivePath());
}

}  // namespace meridan
