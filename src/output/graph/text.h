#pragma once
// Text on the graph: the font that fontconfig gives for "Arial" (Liberation
// Sans on a Debian system), regular, 9 points at 96 dots per inch (a 12-pixel
// em), drawn as the Windows GDI draws text in its opaque background mode: the
// text cell is first filled with the background colour, then the glyphs are
// laid over it (anti-aliased), without kerning.

#include <memory>
#include <string>
#include <string_view>

#include "output/graph/raster.h"

namespace meridan {

// The text cell: the advance width of the string and the font's ascent plus
// descent, from the top left given.
struct TextCell {
  int width = 0;
  int height = 0;
  int ascent = 0;  // baseline below the top of the cell
};

// The graph's font, loaded once by whoever draws: a forecast run keeps one
// for its whole length.
class Font {
 public:
  // Finds the font through fontconfig and loads it. Throws std::runtime_error
  // when fontconfig finds no font or FreeType cannot load the one found.
  static Font Load();
  Font(Font&&) noexcept;
  Font& operator=(Font&&) noexcept;
  ~Font();

  // The text cell of UTF-8 text (a malformed sequence counts as U+FFFD).
  TextCell Measure(std::string_view utf8) const;
  // Draws UTF-8 text with its cell's top left at (x, y), clipped at the
  // edges. Returns the cell.
  TextCell Draw(Raster& raster, long long x, long long y, std::string_view utf8, Rgb ink,
                Rgb background) const;

 private:
  struct Face;
  explicit Font(std::unique_ptr<Face> face);
  std::unique_ptr<Face> face_;
};

}  // namespace meridan
