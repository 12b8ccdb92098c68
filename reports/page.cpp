#include "reports/page.h"

#include <cstdint>
#include <span>
#include <vector>

#include "engine/transits/scan.h"
#include "reports/cp1251.h"
#include "reports/file_io.h"
#include "reports/month_names.h"

namespace fs = std::filesystem;

namespace meridan {
namespace {

// What the page of each forecast kind puts in place of the trips pieces.
struct PageKind {
  const char* helpFile;
  const char* title;        // inside <title>
  const char* titlePrefix;  // before the lower-case month name
  bool paddedImage;         // blanks around the src address of the graph
  bool twoColumnLegend;     // favourable and unfavourable bars explained
};

const PageKind& PageKindOf(ForecastKind kind) {
  static const PageKind kKinds[] = {
      {"help_go.dat", "Авто-прогноз", "<h1>Авто-прогноз на ", false, false},
      {"help_servis.dat", "Сервис-прогноз", "<h1>Авто-сервис. Прогноз на ", false, true},
      {"help_sale.dat", "Покупка-продажа. Прогноз", "<h1>Покупка-продажа. Прогноз на ", true, true},
  };
  return kKinds[static_cast<int>(kind)];
}

constexpr const char* kLegendTrips[] = {
    "<h1>Обозначения</h1>",
    "<p>Для наглядности неблагоприятные указания помечены красными черточками. Их длина соответствует силе влияния этого фактора. </p>",
    "<p> <img border=\"0\" src=\"b_red1.gif\"> -1  Очень слабое негативное указание <br>",
    "<p> <img border=\"0\" src=\"b_red2.gif\"> -2  Слабое негативное указание  <br>",
    "<p> <img border=\"0\" src=\"b_red3.gif\"> -3  Негативное указание средней силы  <br>",
    "<p> <img border=\"0\" src=\"b_red4.gif\"> -4  Сильное негативное указание <br>",
    "<p> <img border=\"0\" src=\"b_red5.gif\"> -5  Очень сильное негативное указание </p>",
};

constexpr const char* kLegendTwoColumns[] = {
    "<h1>Обозначения</h1>",
    "<p>Для наглядности благоприятные указания помечены синими черточками перед текстом, а неблагоприятные - красными черточками. Их длина соответствует силе влияния этого фактора. </p>",
    "<table border=\"0\" width=\"100%\">",
    "<tr><td>",
    "<p><img border=\"0\" src=\"b_blu1.gif\"> 1  Очень слабое позитивное указание <br>",
    "<img border=\"0\" src=\"b_blu2.gif\"> 2  Слабое позитивное указание  <br>",
    "<img border=\"0\" src=\"b_blu3.gif\"> 3  Позитивное указание средней силы  <br>",
    "<img border=\"0\" src=\"b_blu4.gif\"> 4  Сильное позитивное указание <br>",
    "<img border=\"0\" src=\"b_blu5.gif\"> 5  Очень сильное позитивное указание </p>",
    "</td> <td>",
    " <p> <img border=\"0\" src=\"b_red1.gif\"> -1  Очень слабое негативное указание <br>",
    "<img border=\"0\" src=\"b_red2.gif\"> -2  Слабое негативное указание  <br>",
    "<img border=\"0\" src=\"b_red3.gif\"> -3  Негативное указание средней силы  <br>",
    "<img border=\"0\" src=\"b_red4.gif\"> -4  Сильное негативное указание <br>",
    "<img border=\"0\" src=\"b_red5.gif\"> -5  Очень сильное негативное указание </p>",
    "</td></tr> </table>",
};

// Lines of a furniture file as the page copies them: every line, and one
// empty line for an empty file. Read whole before the page is begun, so a
// missing file leaves no page behind.
std::vector<std::string> FurnitureLines(const fs::path& path) {
  const std::vector<std::uint8_t> raw = ReadFileBytes(path);
  const std::string bytes(raw.begin(), raw.end());
  std::vector<std::string> lines;
  size_t pos = 0;
  do {
    size_t end = bytes.find('\n', pos);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    pos = end + 1;
  } while (pos < bytes.size());
  return lines;
}

// The page in memory: each line followed by CR LF.
class Page {
 public:
  void Line(const std::string& text) {
    bytes_ += text;
    bytes_ += "\r\n";
  }
  void Literal(const char* utf8) { Line(W(utf8)); }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace

std::filesystem::path WriteMonthPage(ForecastKind kind, const std::string& name, int birthYear,
                                     int birthMonth, int birthDay, int pageYear, int pageMonth,
                                     int startYear, int startMonth, const fs::path& mainDir,
                                     const fs::path& dataDir, const fs::path& interpretationFile) {
  const PageKind& pieces = PageKindOf(kind);
  const std::string imageName = MonthFileName(pageMonth, pageYear, ".jpeg");
  const fs::path pagePath = mainDir / "Output" / MonthFileName(pageMonth, pageYear, ".html");

  const std::vector<std::string> style = FurnitureLines(dataDir / "style.dat");
  const std::vector<std::string> help = FurnitureLines(dataDir / pieces.helpFile);

  Page page;
  page.Line("<html> <head> <title>" + W(pieces.title) +
            "</title>  <meta content=\"text/html; charset=windows-1251\" http-equiv=\"Content-Type\">");
  for (const std::string& line : style) page.Line(line);
  page.Literal("</head> <body bgcolor=\"#FFFFFF\"> <DIV align=\"center\">");
  page.Literal("<font face=\"Arial\" size=\"3\" color=\"#999999\"><b>Щелкните на кнопках ниже, чтобы выбрать месяц прогноза</b></font></td></tr>");
  page.Literal("<table><tr>");
  for (int n = 0; n < 4; ++n) {
    int m = startMonth + n;
    int y = startYear;
    if (m > 12) {
      m -= 12;
      y += 1;
    }
    page.Literal("<td background=\"b_button.jpg\" height=\"35\" width=\"119\">");
    page.Line("<a href=\"" + MonthFileName(m, y, ".html") + "\">");
    page.Literal("<p style=\"text-align: left\">");
    page.Literal("<b><font face=\"Arial\" size=\"2\" color=\"#FFFFFF\">");
    page.Line("&nbsp;" + MonthName(m) + " " + std::to_string(y) + "</font></b></a>");
    page.Literal("</td>");
  }
  page.Literal("</tr></table> </DIV>");
  page.Literal("<p>&nbsp;</p>");
  page.Literal("<DIV align=\"center\">");
  page.Literal("<table border=\"0\" width=\"800\" cellpadding=\"8\"  bgcolor=\"#FF9966\" cellspacing=\"1\">");
  page.Literal("<tr> <td bgcolor=\"#EEF6FC\">");
  page.Literal("<DIV align=\"center\">");
  page.Line(W(pieces.titlePrefix) + MonthNameLower(pageMonth) + " " + std::to_string(pageYear) +
            W(" года для Вас, ") + name + "</h1>");
  page.Line(W("<h3> Дата рождения: ") + std::to_string(birthDay) + " " +
            MonthNameGenitive(birthMonth) + " " + std::to_string(birthYear) + W("г. </h3>"));
  if (pieces.paddedImage)
    page.Line("<img border=\"0\" src=\" " + imageName + " \" width=\"626\" height=\"205\">");
  else
    page.Line("<img border=\"0\" src=\"" + imageName + "\" width=\"626\" height=\"205\">");
  page.Literal("</DIV> ");

  const MonthScan scan =
      ScanMonth(birthDay, birthMonth, birthYear, pageMonth, pageYear, interpretationFile, dataDir);
  for (int d = 1; d <= scan.length; ++d) {
    const DayList& day = scan.days[static_cast<size_t>(d - 1)];
    if (day.hasText)
      page.Line(W("<p> <br> <b>Прогноз на ") + std::to_string(d) + " " +
                MonthNameGenitive(pageMonth) + "</b></p>");
    for (const TransitHit& hit : day.hits) page.Line(hit.accepted ? hit.fragment : std::string());
  }

  if (pieces.twoColumnLegend)
    for (const char* line : kLegendTwoColumns) page.Literal(line);
  else
    for (const char* line : kLegendTrips) page.Literal(line);
  for (const std::string& line : help) page.Line(line);
  page.Literal("</DIV>");
  page.Literal("</td></tr> </table> </body> </html>");

  const std::string& bytes = page.bytes();
  ReplaceFileBytes(pagePath, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  return pagePath;
}

std::string NameForPage(std::string_view utf8) {
  std::string escaped;
  for (const char c : utf8) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c;
    }
  }
  const auto html = Utf8ToCp1251Html(escaped);
  if (!html) throw std::invalid_argument("the name is not valid UTF-8 text");
  return *html;
}

}  // namespace meridan
