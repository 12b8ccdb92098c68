#pragma once
// The month graph: the rating curve of the series store drawn over a copy of
// the template picture System/month.bmp, with the day labels, the month's
// caption and, for purchase-sale, Mercury's retrograde days.

#include <filesystem>

#include "base/dates.h"
#include "output/graph/raster.h"
#include "output/graph/text.h"
#include "transits/series.h"

namespace meridan {

// Reads the template picture, a BMP file; the drawing is clipped at its
// edges. Throws std::runtime_error naming the file.
Raster ReadGraphTemplate(const std::filesystem::path& file);

// Draws the graph on the template given. Throws std::invalid_argument for a
// store whose sample count the series slots cannot hold.
Raster DrawMonthCurve(Raster picture, const SeriesStore& store, YearMonth month,
                      bool retrogradeMarks, const Font& font);

}  // namespace meridan
