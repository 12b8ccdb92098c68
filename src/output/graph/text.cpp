#include "output/graph/text.h"

#include <unistd.h>

#include <cmath>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include "base/cp1251.h"

namespace meridan {
namespace {

constexpr const char* kFamily = "Arial";
constexpr int kPoints = 9;
constexpr int kDotsPerInch = 96;
constexpr int kEmPixels = kPoints * kDotsPerInch / 72;  // 12

}  // namespace

struct Font::Face {
  Face() {
    file_ = FindFontFile();
    const std::string& file = file_;
    if (FT_Init_FreeType(&library_) != 0) throw std::runtime_error("Cannot start FreeType");
    // The font's own hinting instructions in both directions, as the Windows
    // rasteriser runs them: stems snap to whole pixels, so 12-pixel text
    // stays crisp. (FreeType's default interpreter hints only vertically.)
    FT_UInt interpreter = TT_INTERPRETER_VERSION_35;
    FT_Property_Set(library_, "truetype", "interpreter-version", &interpreter);
    if (const FT_Error error = FT_New_Face(library_, file.c_str(), index_, &face_); error != 0) {
      FT_Done_FreeType(library_);
      throw std::runtime_error("Cannot load font file \"" + file + "\" found for \"" + kFamily +
                               "\" (FreeType error " + std::to_string(error) + ")");
    }
    FT_Set_Pixel_Sizes(face_, 0, kEmPixels);
    SetCellMetrics();
  }
  ~Face() {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  FT_Face face() const { return face_; }
  int ascent() const { return ascent_; }
  int descent() const { return descent_; }

  // A glyph as drawn: its advance and its coverage bitmap, one byte a pixel.
  struct Glyph {
    int advance = 0;
    int left = 0, top = 0;  // bitmap offset from the pen and the baseline
    int width = 0, rows = 0;
    std::vector<std::uint8_t> coverage;
  };
  // Rendered once per code point for the font's life: a forecast draws the
  // same figures over and over, and hinting a glyph costs more than
  // drawing it.
  const Glyph& GlyphOf(char32_t cp) const;

 private:
  // The font fontconfig gives for Arial on the systems the program ships
  // for is Liberation Sans, Arial's metric twin (the package depends on
  // fonts-liberation2). Where it stands, it is taken directly: loading
  // fontconfig's configuration would cost a cold forecast a quarter of its
  // time, and the graph then looks the same on every such system.
  std::string FindFontFile() {
    for (const char* file : {"/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
                             "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"}) {
      if (::access(file, R_OK) == 0) return file;
    }
    return FontconfigFile();
  }

  std::string FontconfigFile() {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(kFamily));
    if (!pattern) throw std::runtime_error("fontconfig cannot parse the font name");
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    int index = 0;
    std::string path;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      path = reinterpret_cast<const char*>(file);
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) index_ = index;
    }
    if (match) FcPatternDestroy(match);
    if (path.empty())
      throw std::runtime_error(std::string("No font found for \"") + kFamily +
                               "\": fontconfig has no match (install fonts-liberation2)");
    return path;
  }

  // GDI's text cell is the font's Windows ascent and descent (the OS/2
  // table's), which hold every glyph; the typographic line gap is not part of
  // it.
  void SetCellMetrics() {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && face_->units_per_EM > 0) {
      const double scale = static_cast<double>(kEmPixels) / face_->units_per_EM;
      ascent_ = static_cast<int>(std::ceil(os2->usWinAscent * scale));
      descent_ = static_cast<int>(std::ceil(os2->usWinDescent * scale));
    } else {
      ascent_ = static_cast<int>((face_->size->metrics.ascender + 63) >> 6);
      descent_ = static_cast<int>((-face_->size->metrics.descender + 63) >> 6);
    }
  }

  std::string file_;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
  long index_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
};

namespace {

// UTF-8 to code points; a malformed sequence becomes U+FFFD.
std::vector<char32_t> CodePoints(std::string_view utf8) {
  std::vector<char32_t> out;
  for (size_t i = 0; i < utf8.size();) out.push_back(DecodeUtf8(utf8, i).value_or(U'\uFFFD'));
  return out;
}

std::uint8_t Blend(std::uint8_t under, std::uint8_t ink, unsigned coverage) {
  return static_cast<std::uint8_t>((under * (255 - coverage) + ink * coverage + 127) / 255);
}

}  // namespace

const Font::Face::Glyph& Font::Face::GlyphOf(char32_t cp) const {
  if (const auto found = glyphs_.find(cp); found != glyphs_.end()) return found->second;
  const FT_UInt index = FT_Get_Char_Index(face_, cp);
  if (const FT_Error error = FT_Load_Glyph(face_, index, FT_LOAD_RENDER); error != 0)
    throw std::runtime_error("FreeType cannot load the glyph of U+" + std::to_string(cp) +
                             " (error " + std::to_string(error) + ")");
  const FT_GlyphSlot slot = face_->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  const bool grey = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
  if (!grey && bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
    throw std::runtime_error("FreeType rendered U+" + std::to_string(cp) +
                             " in an unexpected pixel mode " + std::to_string(bitmap.pixel_mode));
  Glyph glyph;
  glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
  glyph.left = slot->bitmap_left;
  glyph.top = slot->bitmap_top;
  glyph.width = static_cast<int>(bitmap.width);
  glyph.rows = static_cast<int>(bitmap.rows);
  glyph.coverage.reserve(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.rows));
  for (unsigned r = 0; r < bitmap.rows; ++r) {
    const unsigned char* line = bitmap.buffer + static_cast<long>(r) * bitmap.pitch;
    for (unsigned c = 0; c < bitmap.width; ++c)
      glyph.coverage.push_back(
          static_cast<std::uint8_t>(grey ? line[c] : ((line[c / 8] >> (7 - c % 8)) & 1) * 255));
  }
  return glyphs_.emplace(cp, std::move(glyph)).first->second;
}

Font::Font(std::unique_ptr<Face> face) : face_(std::move(face)) {}
Font::Font(Font&&) noexcept = default;
Font& Font::operator=(Font&&) noexcept = default;
Font::~Font() = default;

Font Font::Load() { return Font(std::make_unique<Face>()); }

TextCell Font::Measure(std::string_view utf8) const {
  const Face& font = *face_;
  TextCell cell{0, font.ascent() + font.descent(), font.ascent()};
  for (char32_t cp : CodePoints(utf8)) cell.width += font.GlyphOf(cp).advance;
  return cell;
}

TextCell Font::Draw(Raster& raster, long long x, long long y, std::string_view utf8, Rgb ink,
                    Rgb background) const {
  const TextCell cell = Measure(utf8);
  for (long long row = y; row < y + cell.height; ++row)
    for (long long column = x; column < x + cell.width; ++column)
      SetPixel(raster, column, row, background);

  const Face& font = *face_;
  const long long baseline = y + cell.ascent;
  long long penX = x;
  for (char32_t cp : CodePoints(utf8)) {
    const Face::Glyph& glyph = font.GlyphOf(cp);
    const long long left = penX + glyph.left;
    const long long top = baseline - glyph.top;
    for (int r = 0; r < glyph.rows; ++r) {
      const std::uint8_t* line = glyph.coverage.data() + static_cast<size_t>(r * glyph.width);
      for (int c = 0; c < glyph.width; ++c) {
        const unsigned coverage = line[c];
        if (coverage == 0 || !raster.Contains(left + c, top + r)) continue;
        Rgb& pixel = raster.Row(static_cast<int>(top + r))[left + c];
        pixel = {Blend(pixel.r, ink.r, coverage), Blend(pixel.g, ink.g, coverage),
                 Blend(pixel.b, ink.b, coverage)};
      }
    }
    penX += glyph.advance;
  }
  return cell;
}

}  // namespace meridan
