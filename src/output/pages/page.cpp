#include "output/pages/page.h"

#include "base/date_text.h"
#include "base/files.h"
#include "base/lines.h"
#include "base/program_dir.h"
#include "output/pages/page_kind.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

// Lines of a furniture file as the page copies them: every line, and one
// empty line for an empty file.
std::vector<std::string> FurnitureLines(const fs::path& path) {
  const std::string bytes = ReadFile(path);
  std::vector<std::string> lines;
  for (const std::string_view line : SplitLines(bytes)) lines.emplace_back(line);
  if (lines.empty()) lines.emplace_back();
  return lines;
}

// The page in memory: each line followed by CR LF.
class Page {
 public:
  // A month page runs to some tens of kilobytes; growing it step by step
  // would copy it a dozen times.
  Page() { bytes_.reserve(64 * 1024); }
  void Line(const std::string& text) {
    bytes_ += text;
    bytes_ += "\r\n";
  }
  void Literal(std::string_view utf8) { Line(W(utf8)); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// ", 14:30, Екатеринбург" after the birth date, when the time is known.
std::string BirthTimeText(const std::optional<ClockTime>& time, const Cp1251Html& place) {
  if (!time) return {};
  return ", " + TimeInDigits(*time) + (place.bytes.empty() ? "" : ", " + place.bytes);
}

}  // namespace

std::string BarTag(int rating) {
  if (rating < -5 || rating > 5 || rating == 0) return {};
  const std::string n = std::to_string(rating > 0 ? rating : -rating);
  // The blue tags have a blank before their ">", the red ones none.
  return rating > 0 ? "<p><img border=\"0\" src=\"b_blu" + n + ".gif\" >"
                    : "<p><img border=\"0\" src=\"b_red" + n + ".gif\">";
}

std::string TextLine(int rating, std::string_view text) {
  const std::string bar = BarTag(rating);
  if (bar.empty()) return std::string(text);
  return bar + std::string(text) + "<br>";
}

PageFurniture ReadPageFurniture(ForecastKind kind, const fs::path& dataDir) {
  return {FurnitureLines(dataDir / "style.dat"),
          FurnitureLines(dataDir / PageWords(kind).helpFile)};
}

std::string RenderMonthPage(const MonthPage& content) {
  const PageKindWords& kind = PageWords(content.kind);
  const std::string imageName = GraphFileName(content.month);

  Page page;
  page.Line(
      "<html> <head> <title>" + W(kind.pageTitle) +
      "</title>  <meta content=\"text/html; charset=windows-1251\" http-equiv=\"Content-Type\">");
  for (const std::string& line : content.furniture.style) page.Line(line);
  page.Literal("</head> <body bgcolor=\"#FFFFFF\"> <DIV align=\"center\">");
  page.Literal(
      "<font face=\"Arial\" size=\"3\" color=\"#999999\"><b>Щелкните на кнопках ниже, чтобы выбрать месяц прогноза</b></font></td></tr>");
  page.Literal("<table><tr>");
  for (int n = 0; n < kForecastMonths; ++n) {
    const YearMonth button = content.start.Plus(n);
    page.Literal("<td background=\"b_button.jpg\" height=\"35\" width=\"119\">");
    page.Line("<a href=\"" + PageFileName(button) + "\">");
    page.Literal("<p style=\"text-align: left\">");
    page.Literal("<b><font face=\"Arial\" size=\"2\" color=\"#FFFFFF\">");
    page.Line("&nbsp;" + MonthAndYear(button) + "</font></b></a>");
    page.Literal("</td>");
  }
  page.Literal("</tr></table> </DIV>");
  page.Literal("<p>&nbsp;</p>");
  page.Literal("<DIV align=\"center\">");
  page.Literal(
      "<table border=\"0\" width=\"800\" cellpadding=\"8\"  bgcolor=\"#FF9966\" cellspacing=\"1\">");
  page.Literal("<tr> <td bgcolor=\"#EEF6FC\">");
  page.Literal("<DIV align=\"center\">");
  page.Line("<h1>" + W(kind.monthHeading) + MonthAndYearLower(content.month) + W(" года для Вас") +
            (content.name.bytes.empty() ? "" : ", " + content.name.bytes) + "</h1>");
  page.Line(W("<h3> Дата рождения: ") + DateInWords(content.birth) + W("г.") +
            BirthTimeText(content.birthTime, content.birthPlace) + " </h3>");
  if (kind.paddedImage)
    page.Line("<img border=\"0\" src=\" " + imageName + " \" width=\"626\" height=\"205\">");
  else
    page.Line("<img border=\"0\" src=\"" + imageName + "\" width=\"626\" height=\"205\">");
  page.Literal("</DIV> ");

  const MonthScan& scan = *content.scan;
  for (int d = 1; d <= scan.length; ++d) {
    const DayList& day = scan.days[static_cast<size_t>(d - 1)];
    if (day.hasText)
      page.Line(W("<p> <br> <b>Прогноз на ") + DayAndMonth(d, content.month.month) + "</b></p>");
    for (const TransitHit& hit : day.hits)
      page.Line(hit.accepted ? TextLine(hit.rating, hit.text) : std::string());
  }

  for (const std::string_view line : kind.legend) page.Literal(line);
  for (const std::string& line : content.furniture.help) page.Line(line);
  page.Literal("</DIV>");
  page.Literal("</td></tr> </table> </body> </html>");
  return page.bytes();
}

Cp1251Html NameForPage(std::string_view utf8) {
  std::string escaped;
  for (const char c : utf8) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  const auto html = Utf8ToCp1251Html(escaped);
  if (!html) throw std::invalid_argument("the name is not valid UTF-8 text");
  return {*html};
}

}  // namespace meridan
