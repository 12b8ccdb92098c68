#pragma once
// Output/ furniture of the forecast pages: the navigation button background
// (b_button.jpg) and the rating bars (b_blu1.gif .. b_blu5.gif,
// b_red1.gif .. b_red5.gif).

#include "output/graph/raster.h"
#include "tools/furniture/gif.h"

namespace meridan::furniture {

// The page's navigation cells are 119 x 35 and carry white bold text.
inline constexpr int kButtonWidth = 119;
inline constexpr int kButtonHeight = 35;

inline constexpr int kBarHeight = 10;
inline constexpr int kBarUnit = 12;  // bar length per step of strength
inline constexpr int kBarGap = 6;    // see-through space between bar and text
inline constexpr int kStrongest = 5;

// The palette index of the see-through background of a bar image.
inline constexpr int kBarBackground = 0;

Raster NavigationButton();

// strength 1..kStrongest (std::invalid_argument otherwise): a bar
// kBarUnit * strength pixels long followed by kBarGap see-through pixels.
IndexedImage RatingBar(bool favourable, int strength);

}  // namespace meridan::furniture
