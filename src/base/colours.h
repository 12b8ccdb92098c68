#pragma once
// A colour as 24-bit RGB, and the month graph's colours. The graph is drawn
// three ways: the template picture (tools/furniture), each month's curve on
// it (output/graph) and the digest's vector copy (output/digest), which must
// look the same. Those do not see each other, so the one table all of them
// read lives here.

#include <cstdint>

namespace meridan {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace graph_colours {

// The page shows the graph on this colour; the picture's margins match it.
inline constexpr Rgb kPage{238, 246, 252};
// The plotting panel: tints above and below the zero line (as the blue and
// red bars), their dotted lines, the edge, the zero line with its day ticks,
// and the plus and minus in the left margin.
inline constexpr Rgb kFavourableTint{219, 233, 253};
inline constexpr Rgb kUnfavourableTint{253, 226, 224};
inline constexpr Rgb kFavourableGrid{190, 208, 234};
inline constexpr Rgb kUnfavourableGrid{236, 198, 196};
inline constexpr Rgb kPanelEdge{172, 192, 220};
inline constexpr Rgb kZeroPen{72, 88, 120};
inline constexpr Rgb kFavourableSign{64, 104, 184};
inline constexpr Rgb kUnfavourableSign{196, 84, 80};
// The band the day labels and the caption stand on: its box, its lit top
// edge and shaded bottom edge, and the labels' ink.
inline constexpr Rgb kLabelBox{111, 145, 190};
inline constexpr Rgb kBandLight{150, 178, 214};
inline constexpr Rgb kBandShade{92, 124, 170};
inline constexpr Rgb kLabelInk{255, 255, 255};
// The month's curve and the marks on it.
inline constexpr Rgb kCurvePen{0, 0, 255};
inline constexpr Rgb kMarkPen{255, 0, 0};

}  // namespace graph_colours
}  // namespace meridan
