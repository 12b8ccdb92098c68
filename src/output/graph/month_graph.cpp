#include "output/graph/month_graph.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/cp1251.h"
#include "base/date_text.h"
#include "output/graph/bmp.h"
#include "output/graph/line.h"

namespace meridan {
namespace {

constexpr int kDayLabelLeft = -9;              // from the start of the labelled segment
constexpr int kCaptionLeft = kCurveLeft + 15;  // 105

// The pen is three pixels wide at its centre, so the centre keeps one
// pixel clear of the panel's edges.
constexpr long long kHighestCentre = kPlotPanel.top + 2;
constexpr long long kLowestCentre = kPlotPanel.bottom - 3;

using graph_colours::kCurvePen;
using graph_colours::kLabelBox;
using graph_colours::kLabelInk;
using graph_colours::kMarkPen;

// The curve is drawn five times over, shifted by one pixel each way, for a
// pen three pixels wide at its centre.
constexpr Point kStrokeShifts[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};

Point Shifted(Point p, Point by) { return {p.x + by.x, p.y + by.y}; }

void DrawCurve(Raster& surface, const std::vector<Point>& points, const Font& font) {
  int dayLabel = 0;
  for (size_t i = 1; i < points.size(); ++i) {
    const Point a = points[i - 1];
    const Point b = points[i];
    for (Point shift : kStrokeShifts)
      DrawLine(surface, Shifted(a, shift), Shifted(b, shift), kCurvePen);
    if (i % kSamplesPerLabel == 0) {
      dayLabel += 2;
      font.Draw(surface, a.x + kDayLabelLeft, kDayLabelTop, std::to_string(dayLabel), kLabelInk,
                kLabelBox);
    }
  }
}

// Mercury's retrograde samples as a red bar three pixels high on the zero
// line, under the curve: where the two meet the reader follows the curve.
void DrawRetrogradeMarks(Raster& surface, const SeriesStore& store, int samples) {
  for (int i = 1; i <= samples; ++i) {
    if (store.RetrogradeMarks[static_cast<size_t>(i)] != 1) continue;
    const long long xa = kCurveLeft + kSampleStep * (i - 1);
    const long long xb = kCurveLeft + kSampleStep * i;
    for (long long y = kZeroLine - 1; y <= kZeroLine + 1; ++y)
      DrawLine(surface, {xa, y}, {xb, y}, kMarkPen);
  }
}

}  // namespace

std::vector<Point> CurvePoints(const SeriesStore& store) {
  const int samples = store.SampleCount;
  if (samples < 0 || samples + 1 > kSeriesSlots)
    throw std::invalid_argument("series store holds " + std::to_string(samples) +
                                " samples; the graph takes 0 to " +
                                std::to_string(kSeriesSlots - 1));
  std::vector<Point> points;
  if (samples == 0) return points;
  for (int i = 1; i <= samples + 1; ++i) {
    const long long y =
        std::clamp(static_cast<long long>(kZeroLine) - store.RatingSeries[static_cast<size_t>(i)],
                   kHighestCentre, kLowestCentre);
    points.push_back({kCurveLeft + kSampleStep * (i - 1), y});
  }
  return points;
}

Raster ReadGraphTemplate(const std::filesystem::path& file) { return ReadBmp(file); }

Raster DrawMonthCurve(Raster picture, const SeriesStore& store, YearMonth month,
                      bool retrogradeMarks, const Font& font) {
  const std::vector<Point> points = CurvePoints(store);
  if (retrogradeMarks) DrawRetrogradeMarks(picture, store, store.SampleCount);
  DrawCurve(picture, points, font);
  const std::string caption = MonthAndYear(month);
  font.Draw(picture, kCaptionLeft, kCaptionTop, Cp1251ToUtf8(caption), kLabelInk, kLabelBox);
  return picture;
}

}  // namespace meridan
