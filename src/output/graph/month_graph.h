#pragma once
// The month graph: the rating curve of the series store drawn over a copy of
// the template picture System/month.bmp, with the day labels, the month's
// caption and, for purchase-sale, Mercury's retrograde days.

#include <filesystem>
#include <vector>

#include "base/dates.h"
#include "output/graph/line.h"
#include "output/graph/raster.h"
#include "output/graph/text.h"
#include "transits/series.h"

namespace meridan {

// Where the graph draws on its template (pixels, origin top left, y
// downwards); the template picture is drawn to the same geometry.
inline constexpr int kCurveLeft = 90;              // x of the start of sample 1
inline constexpr int kZeroLine = 92;               // y of rating 0
inline constexpr int kSampleStep = 5;              // pixels per sample
inline constexpr int kDayWidth = 3 * kSampleStep;  // three samples a day
inline constexpr int kTemplateDays = 31;           // the template's day columns
// The picture's size, as the page shows it.
inline constexpr int kGraphWidth = 626;
inline constexpr int kGraphHeight = 205;
inline constexpr int kDayLabelTop = kZeroLine + 62;  // 154
inline constexpr int kCaptionTop = kZeroLine + 80;   // 172

// The plotting panel, its one-pixel edges included (right and bottom
// exclusive). The curve stays inside the edges: a value beyond the panel
// runs along its edge instead of over the day labels and the caption.
struct PanelBox {
  int left, top, right, bottom;
};
inline constexpr PanelBox kPlotPanel{72, 6, 574, 147};

// Day labels stand under every second day.
inline constexpr int kSamplesPerLabel = 6;

// The pen's centre at the curve's points 1..N+1 (N samples and the end of
// the last segment), each kept inside the panel: what the graph draws, for
// any drawing of the same curve. Throws std::invalid_argument for a store
// whose sample count the series slots cannot hold.
std::vector<Point> CurvePoints(const SeriesStore& store);

// Reads the template picture, a BMP file; the drawing is clipped at its
// edges. Throws std::runtime_error naming the file.
Raster ReadGraphTemplate(const std::filesystem::path& file);

// Draws the graph on the template given. Throws std::invalid_argument for a
// store whose sample count the series slots cannot hold.
Raster DrawMonthCurve(Raster picture, const SeriesStore& store, YearMonth month,
                      bool retrogradeMarks, const Font& font);

}  // namespace meridan
