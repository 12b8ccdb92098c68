#include "tools/furniture/page_images.h"

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>

#include "tools/furniture/paint.h"

namespace meridan::furniture {
namespace {

// The face darkens downwards; the top row catches the light, the bottom row
// is the shadow.
constexpr Rgb kButtonTop{62, 100, 172};
constexpr Rgb kButtonBottom{24, 50, 114};
constexpr Rgb kButtonHighlight{132, 162, 218};
constexpr Rgb kButtonShadow{14, 30, 74};
constexpr Rgb kShine{255, 255, 255};
constexpr Rgb kDusk{0, 0, 0};
constexpr double kShineOpacity = 0.08;
constexpr double kSideShade = 0.10;  // darkening at the left and right ends

// The day sections stand on this colour; a viewer that ignores
// transparency shows it.
constexpr Rgb kSectionBackground{238, 246, 252};

struct BarColours {
  Rgb top, bottom, edge;
};
constexpr BarColours kBlueBar{{132, 172, 250}, {28, 72, 196}, {20, 50, 146}};
constexpr BarColours kRedBar{{250, 146, 132}, {196, 38, 30}, {146, 24, 20}};

constexpr std::uint8_t kBarEdge = 1;
constexpr std::uint8_t kBarFirstShade = 2;  // one shade per inner row below
constexpr int kInnerRows = kBarHeight - 2;

}  // namespace

// The page's cell is a little wider than the picture (the browser repeats
// its first columns after the last), so nothing in the picture may depend on
// where its left and right ends are except through a shading periodic over
// the width, which continues smoothly into the repeat.
Raster NavigationButton() {
  Raster button(kButtonWidth, kButtonHeight);
  FillVerticalGradient(button, {0, 0, kButtonWidth, kButtonHeight}, kButtonTop, kButtonBottom);
  FillBox(button, {0, 1, kButtonWidth, kButtonHeight / 2}, kShine, kShineOpacity);
  FillBox(button, {0, 0, kButtonWidth, 1}, kButtonHighlight);
  FillBox(button, {0, kButtonHeight - 1, kButtonWidth, kButtonHeight}, kButtonShadow);
  for (int x = 0; x < kButtonWidth; ++x) {
    const double shade =
        kSideShade * (1 + std::cos(2 * std::numbers::pi * (x + 0.5) / kButtonWidth)) / 2;
    FillBox(button, {x, 0, x + 1, kButtonHeight}, kDusk, shade);
  }
  return button;
}

IndexedImage RatingBar(bool favourable, int strength) {
  if (strength < 1 || strength > kStrongest)
    throw std::invalid_argument("bar strength " + std::to_string(strength) + " outside 1.." +
                                std::to_string(kStrongest));
  const BarColours& colours = favourable ? kBlueBar : kRedBar;
  const int length = kBarUnit * strength;

  IndexedImage bar;
  bar.width = length + kBarGap;
  bar.height = kBarHeight;
  bar.transparent = kBarBackground;
  bar.palette = {kSectionBackground, colours.edge};
  for (int row = 0; row < kInnerRows; ++row)
    bar.palette.push_back(Mix(colours.top, colours.bottom, row / double(kInnerRows - 1)));

  bar.pixels.assign(static_cast<std::size_t>(bar.width) * bar.height, kBarBackground);
  for (int y = 0; y < kBarHeight; ++y) {
    for (int x = 0; x < length; ++x) {
      const bool edgeRow = y == 0 || y == kBarHeight - 1;
      const bool edgeColumn = x == 0 || x == length - 1;
      if (edgeRow && edgeColumn) continue;  // rounded corners stay see-through
      bar.pixels[static_cast<std::size_t>(y) * bar.width + x] =
          edgeRow || edgeColumn ? kBarEdge : static_cast<std::uint8_t>(kBarFirstShade + y - 1);
    }
  }
  return bar;
}

}  // namespace meridan::furniture
