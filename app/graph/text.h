#pragma once
// Text on the graph: the font that fontconfig gives for "Arial" (Liberation
// Sans on a Debian system), regular, 9 points at 96 dots per inch (a 12-pixel
// em), drawn as the Windows GDI draws text in its opaque background mode: the
// text cell is first filled with the background colour, then the glyphs are
// laid over it (anti-aliased), without kerning.

#include <string_view>

#include "app/graph/raster.h"

namespace meridan {

// The text cell: the advance width of the string and the font's ascent plus
// descent, from the top left given.
struct TextCell {
  int width = 0;
  int height = 0;
  int ascent = 0;  // baseline below the top of the cell
};

// Loads the font on first use and keeps it for the life of the process.
// Throws std::runtime_error when fontconfig finds no font or FreeType cannot
// load the one found.
TextCell MeasureText(std::string_view utf8);

// Draws UTF-8 text with its cell's top left at (x, y), clipped at the edges.
// Returns the cell.
TextCell DrawText(Raster& raster, long long x, long long y, std::string_view utf8, Rgb ink,
                  Rgb background);

}  // namespace meridan
