#pragma once
// System/diru2.bmp: the main window's background, a road at dusk with a car
// driving towards the horizon under the zodiac.

#include "output/graph/raster.h"

namespace meridan::furniture {

// The main window's client area, which the picture fills from its top left.
inline constexpr int kWindowWidth = 634;
inline constexpr int kWindowHeight = 392;

// Where the name and birth-date labels, fields and command buttons sit (the
// label "Год  рождения" at x = 409 runs to about x = 520 in bold Arial); the
// picture keeps it light so the black labels stay readable.
struct InputArea {
  int left, top, right, bottom;
};
inline constexpr InputArea kInputArea{16, 8, 530, 101};

Raster WindowBackground();

}  // namespace meridan::furniture
