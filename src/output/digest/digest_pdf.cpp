// The PDF of the digest: the composed pages drawn on a Cairo PDF surface
// with their footers, the title and outline, and the document's language.
#include <cairo-pdf.h>
#include <cstdio>
#include <cstdlib>
#include <pango/pangocairo.h>
#include <stdexcept>
#include <string>
#include <string_view>

#include "output/digest/digest.h"
#include "output/digest/digest_document.h"
#include "output/digest/digest_layout.h"
#include "output/digest/digest_title.h"

namespace meridan {
namespace {

using namespace digest;

cairo_status_t AppendToString(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void Footer(Composer& composer, cairo_t* cr, int page, int pages) {
  const Layout footer =
      composer.Text(Escaped("Страница " + std::to_string(page) + " из " + std::to_string(pages)), 8,
                    kBodyWidth, PANGO_ALIGN_CENTER);
  SetColour(cr, kQuiet);
  cairo_move_to(cr, kLeft, kFooterTop);
  pango_cairo_show_layout(cr, footer.get());
}

// The document's language, "ru-RU", in its catalog, for screen readers
// and archives. Cairo has no call for it, so the catalog it wrote is
// written again with /Lang and appended as an update of the file, as PDF
// allows (an incremental update: a new revision of the object, its own
// cross-reference section and a trailer pointing back to Cairo's), leaving
// Cairo's bytes as they are. A file whose trailer or catalog cannot be
// found is left without it.
void AddLanguage(std::string& pdf, std::string_view language) {
  const size_t trailer = pdf.rfind("trailer");
  const size_t startxref = pdf.rfind("startxref");
  if (trailer == std::string::npos || startxref == std::string::npos || startxref < trailer) return;
  const auto number = [&pdf](size_t from, size_t to, std::string_view key) -> long {
    const size_t at = pdf.find(key, from);
    if (at == std::string::npos || at >= to) return -1;
    // The number follows its key after a blank, and other keys follow it.
    return std::strtol(pdf.c_str() + at + key.size(), nullptr, 10);
  };
  const long size = number(trailer, startxref, "/Size"), root = number(trailer, startxref, "/Root");
  const long info = number(trailer, startxref, "/Info");
  const long previous = number(startxref, pdf.size(), "startxref");
  if (size <= 0 || root <= 0 || previous <= 0) return;
  const std::string head = "\n" + std::to_string(root) + " 0 obj";
  const size_t object = pdf.find(head);
  if (object == std::string::npos) return;
  const size_t open = pdf.find("<<", object), end = pdf.find("endobj", object);
  const size_t close = pdf.rfind(">>", end);
  if (open == std::string::npos || end == std::string::npos || close == std::string::npos ||
      close < open || pdf.find("/Lang", open) < close)
    return;
  const std::string catalog =
      pdf.substr(open, close - open) + "/Lang (" + std::string(language) + ")\n>>";
  if (!pdf.ends_with("\n")) pdf += '\n';
  const size_t offset = pdf.size();
  pdf += std::to_string(root) + " 0 obj\n" + catalog + "\nendobj\n";
  const size_t xref = pdf.size();
  char entry[32];
  std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
  pdf += "xref\n" + std::to_string(root) + " 1\n" + entry + "trailer\n<< /Size " +
         std::to_string(size) + " /Root " + std::to_string(root) + " 0 R" +
         (info > 0 ? " /Info " + std::to_string(info) + " 0 R" : "") + " /Prev " +
         std::to_string(previous) + " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
}

void Check(cairo_status_t status) {
  if (status != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error(std::string("the PDF could not be made: ") +
                             cairo_status_to_string(status));
}

}  // namespace

std::string RenderDigest(const Digest& digest) {
  if (digest.months.empty()) throw std::invalid_argument("a digest needs at least one month");
  std::string pdf;
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(AppendToString, &pdf, kPageWidth, kPageHeight);
  cairo_t* cr = cairo_create(surface);
  struct Release {
    cairo_surface_t* surface;
    cairo_t* cr;
    ~Release() {
      cairo_destroy(cr);
      cairo_surface_destroy(surface);
    }
  } release{surface, cr};
  Check(cairo_surface_status(surface));

  const YearMonth first =
      digest.months.front().scan ? digest.months.front().scan->month : YearMonth{};
  const YearMonth last = digest.months.back().scan ? digest.months.back().scan->month : YearMonth{};
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE,
                                 DigestTitle(digest.kind, digest.name, first, last).c_str());
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_AUTHOR, "Meridan Diru");
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Meridan Diru");

  Composer composer(cr);
  ComposeDigest(digest, composer);
  const int pages = composer.PageCount();
  // One document of headings, paragraphs, lists and figures, the page
  // numbers at the foot of each page with them.
  cairo_tag_begin(cr, "Document", "");
  for (int p = 0; p < pages; ++p) {
    for (const Draw& draw : composer.Pages()[static_cast<size_t>(p)]) draw(cr);
    Footer(composer, cr, p + 1, pages);
    if (p + 1 == pages) cairo_tag_end(cr, "Document");
    cairo_show_page(cr);
  }
  // A bookmark for each part: the best days, each month, how to read it.
  for (const Bookmark& mark : composer.Bookmarks()) {
    char target[80];
    std::snprintf(target, sizeof target, "page=%d pos=[%.1f %.1f]", mark.page + 1, kLeft, mark.y);
    cairo_pdf_surface_add_outline(surface, CAIRO_PDF_OUTLINE_ROOT, mark.title.c_str(), target,
                                  static_cast<cairo_pdf_outline_flags_t>(0));
  }
  Check(cairo_status(cr));
  cairo_surface_finish(surface);
  Check(cairo_surface_status(surface));
  AddLanguage(pdf, "ru-RU");
  return pdf;
}

}  // namespace meridan
