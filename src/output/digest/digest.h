#pragma once
// The forecast digest: the whole forecast as one short PDF for reading and
// printing. First the best days for the kind's action; then per month, on a
// new page: a heading, the month's graph, then every text the month page
// prints, once, in the order of its first day, with the days it holds and its
// bar; for purchase-sale also Mercury's retrograde days in words. After the
// last month: how to read the graph and the bars, the day the forecast was
// made, and that its texts are no guarantee. A4, page numbers in the footer,
// text as text in embedded fonts, the graph as lines.

#include <string>
#include <utility>
#include <vector>

#include "base/cp1251.h"
#include "base/dates.h"
#include "texts/best_days.h"
#include "texts/month_scan.h"
#include "texts/reader_clock.h"
#include "transits/forecast_kind.h"
#include "transits/influences.h"
#include "transits/series.h"

namespace meridan {

// A month graph, drawn in the PDF as lines and text (sharp at any zoom) to
// the geometry of the page's graph picture: pixels of that picture, origin
// top left, y downwards. The curve's points are the ones the picture's pen
// follows, so the two graphs clamp alike.
struct DigestGraph {
  int width = 0, height = 0;                                         // the picture's size
  int panelLeft = 0, panelTop = 0, panelRight = 0, panelBottom = 0;  // at 31 days
  int curveLeft = 0;                                                 // x where day 1 starts
  int dayWidth = 0;                                                  // pixels per day
  int zeroLine = 0;                                                  // y of rating 0
  int dayLabelTop = 0;                                               // where the day numbers stand
  int captionTop = 0;  // where the month's name stands
  int days = 0;        // the month's days, one column each
  struct Point {
    double x, y;
  };
  std::vector<Point> curve;
  std::vector<std::pair<double, double>> marks;  // retrograde stretches of the zero line, x from-to
  std::string caption;                           // UTF-8: "Февраль 2027"
};

struct DigestMonth {
  const MonthScan* scan = nullptr;
  const SeriesStore* series = nullptr;  // its retrograde marks, for purchase-sale
  DigestGraph graph;
};

struct Digest {
  ForecastKind kind = ForecastKind::Trips;
  Cp1251Html name;  // as the pages carry it
  Date birth;
  Date made;                        // the day the forecast was made
  std::vector<DigestMonth> months;  // consecutive months, the first month first
  // The influences of the months, with their whole windows and exact
  // moments, and the planets' stations in them.
  std::vector<Influence> influences;
  std::vector<Station> stations;
  // The best windows of the months for the kind's action, told first; none
  // is said plainly.
  std::vector<BestWindow> best;
  // The reader's clock, which exact moments are told in.
  ReaderClock clock;
  // No birth time was given: the influences carry their hour windows, and
  // the closing part says how to make the dates exact.
  bool hourUnknown = false;
};

// The digest's PDF bytes. Throws std::invalid_argument for a month without
// its scan or series, or a graph whose pixels do not match its size, and
// std::runtime_error when Cairo fails.
std::string RenderDigest(const Digest& digest);

// The digest is a module of its own (meridan-digest.so): the PDF libraries
// it stands on would otherwise be loaded by every start of the programs,
// forecasts without a PDF included. The programs load it when they make a
// digest and hand it the digest as C data (output/digest/digest_module.h),
// which it renders with RenderDigest.

}  // namespace meridan
