#include "tools/furniture/month_template.h"

#include <string>

#include "output/graph/text.h"
#include "tools/furniture/paint.h"

namespace meridan::furniture {
namespace {

// Plot panel around the curve; a 31-day curve ends at x = 555.
constexpr Box kPlot{kPlotPanel.left, kPlotPanel.top, kPlotPanel.right, kPlotPanel.bottom};
// Band behind the day labels (154..167) and the caption (172..185).
constexpr Box kBand{4, 149, 622, 194};
constexpr int kGridStep = 20;  // pixels between the light horizontal lines

using namespace graph_colours;
// The day lines, laid over the tints at opacities of their own; the digest
// draws the blended colours the picture shows instead.
constexpr Rgb kDayGrid{120, 145, 185};

void DrawPlot(Raster& picture) {
  FillBox(picture, {kPlot.left, kPlot.top, kPlot.right, kZeroLine}, kFavourableTint);
  FillBox(picture, {kPlot.left, kZeroLine + 1, kPlot.right, kPlot.bottom}, kUnfavourableTint);

  // Dotted lines every kGridStep pixels above and below the zero line.
  for (int y = kZeroLine - kGridStep; y > kPlot.top; y -= kGridStep)
    for (int x = kPlot.left + 1; x < kPlot.right - 1; x += 2)
      Paint(picture, x, y, kFavourableGrid, 1);
  for (int y = kZeroLine + kGridStep; y < kPlot.bottom - 1; y += kGridStep)
    for (int x = kPlot.left + 1; x < kPlot.right - 1; x += 2)
      Paint(picture, x, y, kUnfavourableGrid, 1);

  // A line where each day starts; the even days, which carry the labels,
  // a little stronger.
  for (int day = 0; day <= kLongestMonth; ++day) {
    const int x = kCurveLeft + day * kDayWidth;
    const double opacity = day % 2 == 1 ? 0.32 : 0.16;
    for (int y = kPlot.top + 1; y < kPlot.bottom - 1; ++y) Paint(picture, x, y, kDayGrid, opacity);
    FillBox(picture, {x, kZeroLine - 3, x + 1, kZeroLine + 4}, kZeroPen);
  }

  FillBox(picture, {kPlot.left, kZeroLine, kPlot.right, kZeroLine + 1}, kZeroPen);

  // Frame.
  FillBox(picture, {kPlot.left, kPlot.top, kPlot.right, kPlot.top + 1}, kPanelEdge);
  FillBox(picture, {kPlot.left, kPlot.bottom - 1, kPlot.right, kPlot.bottom}, kPanelEdge);
  FillBox(picture, {kPlot.left, kPlot.top, kPlot.left + 1, kPlot.bottom}, kPanelEdge);
  FillBox(picture, {kPlot.right - 1, kPlot.top, kPlot.right, kPlot.bottom}, kPanelEdge);
}

// A plus in the favourable half and a minus in the unfavourable half, in the
// left margin, in the colours of the page's bars.
void DrawSigns(Raster& picture) {
  const int centre = (kPlot.left) / 2;
  const int plusY = (kPlot.top + kZeroLine) / 2;
  const int minusY = (kZeroLine + kPlot.bottom) / 2;
  FillShape(picture, {0, 0, kPlot.left, kPlot.bottom},
            RoundedBox(centre - 9, plusY - 2, centre + 9, plusY + 2, 1.5), kFavourableSign);
  FillShape(picture, {0, 0, kPlot.left, kPlot.bottom},
            RoundedBox(centre - 2, plusY - 9, centre + 2, plusY + 9, 1.5), kFavourableSign);
  FillShape(picture, {0, 0, kPlot.left, kPlot.bottom},
            RoundedBox(centre - 9, minusY - 2, centre + 9, minusY + 2, 1.5), kUnfavourableSign);
}

void DrawBand(Raster& picture) {
  FillShape(picture, {kBand.left - 1, kBand.top - 1, kBand.right + 1, kBand.bottom + 1},
            RoundedBox(kBand.left, kBand.top, kBand.right, kBand.bottom, 6), kLabelBox);
  FillBox(picture, {kBand.left + 6, kBand.top, kBand.right - 6, kBand.top + 1}, kBandLight);
  FillBox(picture, {kBand.left + 6, kBand.bottom - 1, kBand.right - 6, kBand.bottom}, kBandShade);
}

// "[sky] выше линии — благоприятно   [rose] ниже линии — неблагоприятно",
// right-aligned on the caption's row.
void DrawLegend(Raster& picture, const Font& font) {
  const std::string above = "выше линии — благоприятно";
  const std::string below = "ниже линии — неблагоприятно";
  constexpr int kSwatch = 10, kSwatchGap = 5, kItemGap = 18, kRightMargin = 14;
  const int aboveWidth = font.Measure(above).width;
  const int belowWidth = font.Measure(below).width;
  const TextCell cell = font.Measure(above);
  int x = kBand.right - kRightMargin -
          (kSwatch + kSwatchGap + aboveWidth + kItemGap + kSwatch + kSwatchGap + belowWidth);
  const int swatchTop = kCaptionTop + (cell.height - kSwatch) / 2;

  auto swatch = [&](Rgb tint) {
    FillShape(picture, {x, swatchTop, x + kSwatch, swatchTop + kSwatch},
              RoundedBox(x, swatchTop, x + kSwatch, swatchTop + kSwatch, 2), tint);
    x += kSwatch + kSwatchGap;
  };
  swatch(kFavourableTint);
  x += font.Draw(picture, x, kCaptionTop, above, kLabelInk, kLabelBox).width + kItemGap;
  swatch(kUnfavourableTint);
  font.Draw(picture, x, kCaptionTop, below, kLabelInk, kLabelBox);
}

}  // namespace

Raster MonthTemplate() {
  Raster picture(kTemplateWidth, kTemplateHeight, kPage);
  DrawPlot(picture);
  DrawSigns(picture);
  DrawBand(picture);
  DrawLegend(picture, Font::Load());
  return picture;
}

}  // namespace meridan::furniture
