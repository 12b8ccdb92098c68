#pragma once
// The digest's page layout: A4 in points, the colours and bars it shares
// with the pages, and the composer that measures every block and gives it a
// place on a page before anything is drawn.

#include <cairo.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <pango/pangocairo.h>
#include <string>
#include <vector>

namespace meridan::digest {

// A4 in points, and the frame the body keeps to.
inline constexpr double kPageWidth = 595.276;
inline constexpr double kPageHeight = 841.890;
inline constexpr double kLeft = 40;
inline constexpr double kRight = 40;
inline constexpr double kTop = 36;
inline constexpr double kBodyBottom = kPageHeight - 46;
inline constexpr double kFooterTop = kPageHeight - 32;
inline constexpr double kBodyWidth = kPageWidth - kLeft - kRight;
// The pages are drawn at 96 pixels per inch; a pixel of theirs in points.
inline constexpr double kPixel = 72.0 / 96.0;
// The strip left of each text that holds its bar.
inline constexpr double kGutter = 54;

inline constexpr const char* kFamily = "Liberation Sans";
inline constexpr double kTextSize = 9.5;

struct Colour {
  double r, g, b;
};
constexpr Colour Rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }
inline constexpr Colour kInk = Rgb(0x22, 0x22, 0x22);
inline constexpr Colour kHeading = Rgb(0x2a, 0x4d, 0x7a);  // as the pages' headings
inline constexpr Colour kQuiet = Rgb(0x55, 0x55, 0x55);

void SetColour(cairo_t* cr, Colour c);

// The bars of the pages (b_blu1.gif .. b_red5.gif): 6 + 12 x strength pixels
// long, 10 high, a dark frame around a light-to-dark fall.
struct BarColours {
  Colour frame, top, bottom;
};
inline constexpr BarColours kBlue{Rgb(20, 50, 146), Rgb(132, 172, 250), Rgb(28, 72, 196)};
inline constexpr BarColours kRed{Rgb(146, 24, 20), Rgb(250, 146, 132), Rgb(196, 38, 30)};
inline constexpr double kBarHeight = 10 * kPixel;

// Whether a rating is drawn as a bar, and how long the bar is.
bool HasBar(int rating);
double BarWidth(int rating);
// A bar with its top left corner at (x, y).
void DrawBar(cairo_t* cr, double x, double y, int rating);

// Text made safe for Pango markup.
std::string Escaped(const std::string& text);

using Draw = std::function<void(cairo_t*)>;

struct LayoutUnref {
  void operator()(PangoLayout* layout) const { g_object_unref(layout); }
};
using Layout = std::shared_ptr<PangoLayout>;

// The most of a page's body a break may leave empty inside a part of the
// digest: a text that would leave more is split between its lines instead.
inline constexpr double kMostEmpty = 0.4 * (kBodyBottom - kTop);

// Where a part of the digest begins, for the PDF's outline: its title
// (UTF-8), its page (0-based) and the top of its heading.
struct Bookmark {
  std::string title;
  int page = 0;
  double y = 0;
};

// Lays the digest out page by page: every block is measured and given its
// place before anything is drawn, so the footers can say how many pages
// there are. Each block is drawn inside the structure tag in force when it
// was placed ("P", "H1", "LI"…), so that the PDF reads as headings,
// paragraphs and lists.
class Composer {
 public:
  explicit Composer(cairo_t* cr);
  ~Composer() { g_object_unref(context_); }
  Composer(const Composer&) = delete;
  Composer& operator=(const Composer&) = delete;

  // Pango markup in the digest's face at the size given, wrapped to width.
  Layout Text(const std::string& markup, double size, double width,
              PangoAlignment alignment = PANGO_ALIGN_LEFT) const;
  static double Height(const Layout& layout) {
    int width = 0, height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    return static_cast<double>(height) / PANGO_SCALE;
  }
  // The height of the layout's first line.
  static double FirstLineHeight(const Layout& layout) {
    PangoRectangle logical{};
    pango_layout_line_get_extents(pango_layout_get_line_readonly(layout.get(), 0), nullptr,
                                  &logical);
    return static_cast<double>(logical.height) / PANGO_SCALE;
  }

  // A new page; continued: the line that heads it, or empty for none.
  void StartPage(const std::string& continued = {}) {
    pages_.emplace_back();
    y_ = kTop;
    if (continued.empty()) return;
    const Layout head = Text(Escaped(continued), 8, kBodyWidth);
    Add(head, kLeft, kQuiet);
    y_ += Height(head) + 8;
  }
  void SetContinued(std::string continued) { continued_ = std::move(continued); }
  void Gap(double height) { y_ += height; }
  double Room() const { return kBodyBottom - reserve_ - y_; }

  // Where the layout stands, to come back to and lay out again.
  struct Mark {
    size_t pages, items, bookmarks;
    double y;
  };
  Mark Here() const { return {pages_.size(), pages_.back().size(), bookmarks_.size(), y_}; }
  void Rewind(const Mark& mark) {
    pages_.resize(mark.pages);
    pages_.back().resize(mark.items);
    bookmarks_.resize(mark.bookmarks);
    y_ = mark.y;
  }

  // The structure tag the blocks placed from now on are drawn in; empty for
  // none.
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  // A tag that groups the blocks placed between the two ("L" around its
  // items): begun where the layout stands, ended where it then stands.
  void BeginGroup(const std::string& tag) {
    pages_.back().push_back([tag](cairo_t* cr) { cairo_tag_begin(cr, tag.c_str(), ""); });
  }
  void EndGroup(const std::string& tag) {
    pages_.back().push_back([tag](cairo_t* cr) { cairo_tag_end(cr, tag.c_str()); });
  }
  // A part of the digest begins here (with its heading, placed next).
  void BeginPart(std::string title) {
    bookmarks_.push_back({std::move(title), static_cast<int>(pages_.size()) - 1, y_});
  }
  const std::vector<Bookmark>& Bookmarks() const { return bookmarks_; }
  // Room kept free at the foot of every page from now on.
  void SetReserve(double reserve) { reserve_ = reserve; }

  // A block of the height given, kept on one page; draw(cr, y) puts it at y.
  void Place(double height, const std::function<void(cairo_t*, double)>& draw) {
    if (height > Room() && !Fresh()) StartPage(continued_);
    const double y = y_;
    pages_.back().push_back([draw, y, tag = tag_](cairo_t* cr) {
      if (!tag.empty()) cairo_tag_begin(cr, tag.c_str(), "");
      draw(cr, y);
      if (!tag.empty()) cairo_tag_end(cr, tag.c_str());
    });
    y_ += height;
  }

  // Text kept on one page where it fits there, or on the next where it fits
  // on one and moving it leaves no more than kMostEmpty of this page empty;
  // otherwise split between lines, in one structure tag all the same.
  // beside: drawn at the text's top on the page where it starts.
  void PlaceText(const Layout& layout, double x, Colour colour,
                 const std::function<void(cairo_t*, double)>& beside = {});

  const std::vector<std::vector<Draw>>& Pages() const { return pages_; }
  int PageCount() const { return static_cast<int>(pages_.size()); }

 private:
  bool Fresh() const { return pages_.back().empty() || y_ <= kTop + 30; }
  void Add(const Layout& layout, double x, Colour colour) {
    const double y = y_;
    pages_.back().push_back([layout, x, y, colour](cairo_t* cr) {
      SetColour(cr, colour);
      cairo_move_to(cr, x, y);
      pango_cairo_show_layout(cr, layout.get());
    });
  }

  PangoContext* context_;
  std::vector<std::vector<Draw>> pages_;
  std::string continued_;
  std::string tag_ = "P";
  std::vector<Bookmark> bookmarks_;
  double y_ = kTop;
  double reserve_ = 0;
};

}  // namespace meridan::digest
