#pragma once
// The month graph: the rating curve of the series store drawn over the
// template System/month.bmp, saved as Output/Prog_MM_YYYY.jpeg.

#include "app/core/session.h"
#include "engine/transits/series.h"

namespace meridan {

// Reads PageMonth, PageYear, DataDir, MainDir and PurchaseSaleMarks from the
// session and the curve from the store. Writes DataDir/tmp.bmp and the JPEG.
// Throws std::runtime_error naming the file on any file problem; no partial
// image is left behind.
void DrawMonthGraph(const ForecastSession& session, const SeriesStore& store);

}  // namespace meridan
