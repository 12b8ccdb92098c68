#include "tools/furniture/window_background.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "tools/furniture/paint.h"

namespace meridan::furniture {
namespace {

constexpr int kHorizon = 236;
// A frosted panel a few pixels larger than the input area.
constexpr double kPanelLeft = kInputArea.left - 10, kPanelTop = kInputArea.top - 4,
                 kPanelRight = kInputArea.right + 4, kPanelBottom = kInputArea.bottom + 6;
constexpr double kVanishingX = 317;
constexpr double kRoadHalfWidthAtBottom = 283;

struct SkyStop {
  int y;
  Rgb colour;
};
// Night above, the afterglow of the set sun at the horizon.
constexpr std::array<SkyStop, 5> kSky{{{0, {30, 36, 84}},
                                       {90, {72, 62, 126}},
                                       {165, {166, 92, 130}},
                                       {210, {236, 138, 98}},
                                       {kHorizon, {255, 196, 130}}}};

constexpr Rgb kStarlight{255, 248, 230};
constexpr Rgb kZodiacGold{255, 222, 160};
constexpr Rgb kSunDisc{255, 228, 168};
constexpr Rgb kSunGlow{255, 200, 132};
constexpr Rgb kFarHills{120, 76, 122};
constexpr Rgb kNearHills{76, 50, 92};
constexpr Rgb kFieldFar{60, 46, 72};
constexpr Rgb kFieldNear{26, 22, 36};
constexpr Rgb kRoadFar{96, 76, 96};
constexpr Rgb kRoadNear{46, 44, 54};
constexpr Rgb kRoadPaint{236, 224, 200};
constexpr Rgb kCentrePaint{240, 204, 120};
constexpr Rgb kCarBody{22, 19, 30};
constexpr Rgb kCarWheel{10, 9, 14};
constexpr Rgb kCarGlass{98, 72, 108};
constexpr Rgb kTailLight{255, 64, 52};
constexpr Rgb kPlate{150, 140, 122};
constexpr Rgb kHeadlight{255, 244, 210};
constexpr Rgb kPanel{255, 255, 255};
constexpr Rgb kShadow{0, 0, 0};

Rgb SkyAt(int y) {
  for (std::size_t i = 1; i < kSky.size(); ++i)
    if (y <= kSky[i].y)
      return Mix(kSky[i - 1].colour, kSky[i].colour,
                 static_cast<double>(y - kSky[i - 1].y) / (kSky[i].y - kSky[i - 1].y));
  return kSky.back().colour;
}

// Half the road's width at row y (0 at the horizon).
double RoadHalfWidth(double y) {
  return (y - kHorizon) / (kWindowHeight - kHorizon) * kRoadHalfWidthAtBottom;
}

// The row on which a point of the road `distance` units ahead of the bottom
// edge appears: a plain perspective, halving the height to the horizon at
// kDepth units.
double RoadRow(double distance) {
  constexpr double kDepth = 9;
  return kHorizon + (kWindowHeight - kHorizon) * kDepth / (kDepth + distance);
}

void Glow(Raster& picture, Vec centre, double radius, Rgb colour, double strength) {
  const int left = static_cast<int>(centre.x - radius),
            right = static_cast<int>(centre.x + radius) + 1;
  const int top = static_cast<int>(centre.y - radius),
            bottom = static_cast<int>(centre.y + radius) + 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const double d = std::hypot(x + 0.5 - centre.x, y + 0.5 - centre.y) / radius;
      if (d < 1) Paint(picture, x, y, colour, strength * (1 - d) * (1 - d));
    }
}

void DrawSky(Raster& picture) {
  for (int y = 0; y < kHorizon; ++y) FillBox(picture, {0, y, kWindowWidth, y + 1}, SkyAt(y));

  // Stars where the sky is dark enough, fewer towards the glow; a fixed seed
  // keeps the picture the same from run to run.
  std::uint32_t seed = 20250301;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / double(1 << 24);
  };
  for (int i = 0; i < 220; ++i) {
    const double x = next() * kWindowWidth, y = next() * 190, brightness = next();
    const double fade = 1 - y / 190;
    if (x < kPanelRight + 8 && y < kPanelBottom + 4) continue;
    if (brightness > 0.93)
      FillShape(picture, {int(x) - 2, int(y) - 2, int(x) + 3, int(y) + 3}, Disc({x, y}, 1.3),
                kStarlight, fade);
    else
      Paint(picture, int(x), int(y), kStarlight, fade * (0.35 + 0.5 * brightness));
  }

  // The sun just gone below the far hills.
  const Vec sun{200, 214};
  Glow(picture, sun, 150, kSunGlow, 0.55);
  FillShape(picture, {170, 184, 232, 246}, Disc(sun, 20), kSunDisc);
}

// A bar along the ray from `centre` at `angle`, between radii `from` and
// `to`, `halfWidth` to either side.
std::array<Vec, 4> RadialBar(Vec centre, double angle, double from, double to, double halfWidth) {
  const Vec along{std::cos(angle), std::sin(angle)};
  const Vec side{-along.y * halfWidth, along.x * halfWidth};
  auto at = [&](double r, double s) {
    return Vec{centre.x + along.x * r + side.x * s, centre.y + along.y * r + side.y * s};
  };
  return {at(from, 1), at(to, 1), at(to, -1), at(from, -1)};
}

// The zodiac: two rings, twelve houses and a star at the centre.
void DrawZodiac(Raster& picture) {
  // Rising over the hills to the right of the panel.
  const Vec centre{574, 148};
  constexpr double kOuter = 52, kInner = 40, kHub = 9;
  const Box around{int(centre.x - kOuter) - 2, int(centre.y - kOuter) - 2,
                   int(centre.x + kOuter) + 3, int(centre.y + kOuter) + 3};
  Glow(picture, centre, 76, kZodiacGold, 0.12);
  FillShape(picture, around, Ring(centre, kOuter - 1.2, kOuter), kZodiacGold, 0.85);
  FillShape(picture, around, Ring(centre, kInner - 1.0, kInner), kZodiacGold, 0.75);
  FillShape(picture, around, Ring(centre, kHub - 0.8, kHub), kZodiacGold, 0.5);
  for (int house = 0; house < 12; ++house) {
    const double angle = house * std::numbers::pi / 6;
    const auto spoke = RadialBar(centre, angle, kInner, kOuter, 0.5);
    FillShape(picture, BoundsOf(spoke), Polygon(spoke), kZodiacGold, 0.6);
    const auto ray = RadialBar(centre, angle, kHub, kInner, 0.3);
    FillShape(picture, BoundsOf(ray), Polygon(ray), kZodiacGold, 0.22);
    // A dot in the middle of each house, larger for the four cardinal signs.
    const double middle = angle + std::numbers::pi / 12, r = (kOuter + kInner) / 2;
    const Vec dot{centre.x + std::cos(middle) * r, centre.y + std::sin(middle) * r};
    FillShape(picture, around, Disc(dot, house % 3 == 0 ? 2.2 : 1.5), kZodiacGold, 0.8);
  }
  const std::array<Vec, 8> star{{{centre.x, centre.y - 7},
                                 {centre.x + 1.8, centre.y - 1.8},
                                 {centre.x + 7, centre.y},
                                 {centre.x + 1.8, centre.y + 1.8},
                                 {centre.x, centre.y + 7},
                                 {centre.x - 1.8, centre.y + 1.8},
                                 {centre.x - 7, centre.y},
                                 {centre.x - 1.8, centre.y - 1.8}}};
  FillShape(picture, BoundsOf(star), Polygon(star), kZodiacGold, 0.9);
}

void DrawHills(Raster& picture) {
  const auto farRidge = [](double x) {
    return 212 + 7 * std::sin(x / 53) + 5 * std::sin(x / 23 + 1) + 3 * std::sin(x / 9 + 2);
  };
  const auto nearRidge = [](double x) {
    return 224 + 6 * std::sin(x / 37 + 2) + 3 * std::sin(x / 15) -
           8 * std::exp(-std::pow((x - 520) / 60, 2));
  };
  const Box sky{0, 180, kWindowWidth, kHorizon};
  FillShape(
      picture, sky, [&](double x, double y) { return y >= farRidge(x); }, kFarHills);
  FillShape(
      picture, sky, [&](double x, double y) { return y >= nearRidge(x); }, kNearHills);
}

void DrawGround(Raster& picture) {
  FillVerticalGradient(picture, {0, kHorizon, kWindowWidth, kWindowHeight}, kFieldFar, kFieldNear);

  // The asphalt in bands that darken towards the viewer, light at the far
  // end where it mirrors the sky.
  constexpr int kBands = 26;
  for (int band = 0; band < kBands; ++band) {
    const int top = kHorizon + (kWindowHeight - kHorizon) * band / kBands;
    const int bottom = kHorizon + (kWindowHeight - kHorizon) * (band + 1) / kBands;
    const std::array<Vec, 4> slab{{{kVanishingX - RoadHalfWidth(top), double(top)},
                                   {kVanishingX + RoadHalfWidth(top), double(top)},
                                   {kVanishingX + RoadHalfWidth(bottom), double(bottom)},
                                   {kVanishingX - RoadHalfWidth(bottom), double(bottom)}}};
    const double t = std::sqrt(static_cast<double>(band) / (kBands - 1));
    FillShape(picture, BoundsOf(slab), Polygon(slab), Mix(kRoadFar, kRoadNear, t));
  }

  // Edge lines, growing from a hair at the horizon to three pixels.
  for (int side : {-1, 1}) {
    const double inset = 10;
    const std::array<Vec, 4> line{
        {{kVanishingX + side * RoadHalfWidth(kHorizon + 2), kHorizon + 2.0},
         {kVanishingX + side * (RoadHalfWidth(kWindowHeight) - inset), double(kWindowHeight)},
         {kVanishingX + side * (RoadHalfWidth(kWindowHeight) - inset - 4), double(kWindowHeight)},
         {kVanishingX + side * RoadHalfWidth(kHorizon + 2), kHorizon + 2.0}}};
    FillShape(picture, BoundsOf(line), Polygon(line), kRoadPaint, 0.55);
  }

  // Centre dashes, two units painted, two bare.
  for (double d = 0; d < 200; d += 4) {
    const double nearRow = RoadRow(d), farRow = RoadRow(d + 2);
    const double nearHalf = 0.5 + 2.5 * (nearRow - kHorizon) / (kWindowHeight - kHorizon);
    const double farHalf = 0.5 + 2.5 * (farRow - kHorizon) / (kWindowHeight - kHorizon);
    if (nearRow - farRow < 0.6) break;
    const std::array<Vec, 4> dash{{{kVanishingX - farHalf, farRow},
                                   {kVanishingX + farHalf, farRow},
                                   {kVanishingX + nearHalf, nearRow},
                                   {kVanishingX - nearHalf, nearRow}}};
    FillShape(picture, BoundsOf(dash), Polygon(dash), kCentrePaint, 0.8);
  }
}

// A car seen from behind in the right lane, its tail lights on.
void DrawCar(Raster& picture) {
  constexpr double cx = 384, base = 306, w = 84;
  const Box around{int(cx - w), int(base - 70), int(cx + w), int(base + 24)};
  FillShape(picture, around, Ellipse({cx, base + 1}, w * 0.6, 4.5), kShadow, 0.55);
  // The tail lights' red on the asphalt behind the car.
  FillShape(picture, around, Ellipse({cx, base + 8}, w * 0.62, 6), kTailLight, 0.10);
  for (int side : {-1, 1}) {
    const double outer = cx + side * (w / 2 - 3), inner = cx + side * (w / 2 - 16);
    FillShape(picture, around,
              RoundedBox(std::min(outer, inner), base - 13, std::max(outer, inner), base, 2.5),
              kCarWheel);
  }
  const std::array<Vec, 4> cabin{{{cx - w * 0.43, base - 29},
                                  {cx + w * 0.43, base - 29},
                                  {cx + w * 0.31, base - 51},
                                  {cx - w * 0.31, base - 51}}};
  FillShape(picture, BoundsOf(cabin), Polygon(cabin), kCarBody);
  FillShape(picture, around, RoundedBox(cx - w * 0.31, base - 53, cx + w * 0.31, base - 47, 3),
            kCarBody);
  // The afterglow catching the roof's edge.
  FillShape(picture, around, RoundedBox(cx - w * 0.29, base - 53, cx + w * 0.29, base - 52, 0.5),
            kSunGlow, 0.45);
  FillShape(picture, around, RoundedBox(cx - w / 2, base - 31, cx + w / 2, base - 7, 5), kCarBody);
  const std::array<Vec, 4> glass{{{cx - w * 0.36, base - 32},
                                  {cx + w * 0.36, base - 32},
                                  {cx + w * 0.27, base - 48},
                                  {cx - w * 0.27, base - 48}}};
  FillShape(picture, BoundsOf(glass), Polygon(glass), kCarGlass);
  FillShape(picture, BoundsOf(glass), Polygon(glass), kSunGlow, 0.12);
  for (int side : {-1, 1}) {
    const double outer = cx + side * (w / 2 - 3), inner = cx + side * (w / 2 - 19);
    Glow(picture, {(outer + inner) / 2, base - 24}, 20, kTailLight, 0.45);
    FillShape(picture, around,
              RoundedBox(std::min(outer, inner), base - 27, std::max(outer, inner), base - 21, 2),
              kTailLight);
  }
  FillShape(picture, around, RoundedBox(cx - 10, base - 20, cx + 10, base - 13, 1), kPlate, 0.8);
}

// Two headlights far away in the oncoming lane.
void DrawOncomingCar(Raster& picture) {
  const double row = 246, centre = kVanishingX - RoadHalfWidth(row) / 2;
  for (int side : {-1, 1}) {
    const Vec light{centre + side * 2.6, row};
    Glow(picture, light, 9, kHeadlight, 0.5);
    FillShape(picture, {int(light.x) - 3, int(row) - 3, int(light.x) + 4, int(row) + 4},
              Disc(light, 1.2), kHeadlight);
  }
}

// A frosted panel under the input fields.
void DrawInputPanel(Raster& picture) {
  const double left = kPanelLeft, top = kPanelTop, right = kPanelRight, bottom = kPanelBottom,
               radius = 8;
  const Box around{0, 0, int(right) + 6, int(bottom) + 6};
  FillShape(picture, around, RoundedBox(left + 2, top + 3, right + 2, bottom + 3, radius), kShadow,
            0.3);
  FillShape(picture, around, RoundedBox(left, top, right, bottom, radius), kPanel, 0.84);
  const auto outer = RoundedBox(left, top, right, bottom, radius);
  const auto inner = RoundedBox(left + 1, top + 1, right - 1, bottom - 1, radius - 1);
  FillShape(
      picture, around, [&](double x, double y) { return outer(x, y) && !inner(x, y); }, kPanel,
      0.9);
}

}  // namespace

Raster WindowBackground() {
  Raster picture(kWindowWidth, kWindowHeight);
  DrawSky(picture);
  DrawZodiac(picture);
  DrawHills(picture);
  DrawGround(picture);
  DrawOncomingCar(picture);
  DrawCar(picture);
  DrawInputPanel(picture);
  return picture;
}

}  // namespace meridan::furniture
