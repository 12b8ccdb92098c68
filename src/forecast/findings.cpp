#include "forecast/findings.h"

namespace meridan {

ForecastFindings FindingsOf(const ForecastResult& run, ForecastContext& context) {
  const ForecastRequest& request = run.request;
  const int months = static_cast<int>(run.months.size());
  std::vector<Influence> found = FindInfluences(run.natal, request.start, months);
  if (!request.hour.moment) AddHourWindows(found, run.arcs);
  ForecastFindings findings;
  findings.influences = AttachInfluenceTexts(found, context.interpretations(request.kind));
  findings.stations = FindStations(request.start, months);
  // The best windows from the scans the pages were made of; the scans hold
  // the same file's ratings, so the windows' reasons keep theirs.
  std::vector<MonthScan> scans;
  scans.reserve(run.months.size());
  for (const MonthForecast& month : run.months) scans.push_back(month.scan);
  findings.best = FindBestWindows(scans, request.kind, findings.influences);
  return findings;
}

}  // namespace meridan
