#include "output/pages/page.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/cp1251.h"
#include "base/lines.h"
#include "texts/interpretation.h"

namespace meridan {
namespace {

TEST(NameForPage, EscapesMarkupAndKeepsEveryCharacter) {
  EXPECT_EQ(NameForPage("Иван").bytes, W("Иван"));
  EXPECT_EQ(NameForPage("<b>Tom & \"Jerry\"</b>").bytes,
            "&lt;b&gt;Tom &amp; &quot;Jerry&quot;&lt;/b&gt;");
  EXPECT_EQ(NameForPage("Снег ☃").bytes, W("Снег ") + "&#9731;");
  EXPECT_EQ(NameForPage("&#9731;").bytes, "&amp;#9731;");
  EXPECT_EQ(NameForPage("Ёлкин №1 «Ё»").bytes, W("Ёлкин №1 «Ё»"));
  EXPECT_EQ(NameForPage("").bytes, "");
  EXPECT_THROW(NameForPage("\xff\xfe"), std::invalid_argument);
}

// The bar tag and line break the page puts around a text are what the print
// rule counts.
TEST(TextLine, BarTextAndLineBreak) {
  EXPECT_EQ(TextLine(5, "go"), "<p><img border=\"0\" src=\"b_blu5.gif\" >go<br>");
  EXPECT_EQ(TextLine(-2, "wait"), "<p><img border=\"0\" src=\"b_red2.gif\">wait<br>");
  EXPECT_EQ(TextLine(0, "bare "), "bare ");
  EXPECT_EQ(TextLine(106, "bare"), "bare");
  for (int rating = -7; rating <= 7; ++rating)
    EXPECT_EQ(TextLine(rating, "text").size(), PageLineLength(rating, "text")) << rating;
}

// A page written from hits made by hand: a heading for each day with a
// printed text, each hit on its line (an empty line for one not printed),
// nothing for a day without texts; the kind's legend and help after them.
TEST(RenderMonthPage, DaysAndTextsFromHandMadeHits) {
  MonthScan scan;
  scan.month = {2027, 2};
  scan.length = 28;
  scan.days.resize(28);
  scan.days[0].hits = {
      {.day = 1, .key = {1, 0, 3}, .rating = 3, .text = "One.", .accepted = true},
      {.day = 1, .key = {3, 90, 5}, .rating = -1, .text = "Short.", .accepted = false}};
  scan.days[0].hasText = true;
  scan.days[1].hits = {
      {.day = 2, .key = {4, 60, 7}, .rating = 2, .text = "Unprinted.", .accepted = false}};
  const MonthPage content{ForecastKind::Service,
                          {W("Аня")},
                          {20, 5, 1984},
                          std::nullopt,
                          {},
                          {2027, 2},
                          {2027, 1},
                          &scan,
                          {{"<style></style>"}, {"HELP"}}};
  const std::string page = RenderMonthPage(content);
  const std::vector<std::string_view> lines = SplitLines(page);
  std::vector<std::string_view> days;
  bool inDays = false;
  for (const std::string_view line : lines) {
    if (line == "</DIV> ")
      inDays = true;
    else if (line == W("<h1>Обозначения</h1>"))
      break;
    else if (inDays)
      days.push_back(line);
  }
  const std::vector<std::string> expected = {W("<p> <br> <b>Прогноз на 1 февраля</b></p>"),
                                             TextLine(3, "One."), "", ""};
  EXPECT_EQ(std::vector<std::string>(days.begin(), days.end()), expected);
  EXPECT_NE(page.find(W("<h1>Авто-сервис. Прогноз на февраль 2027 года для Вас, Аня</h1>")),
            std::string::npos);
  EXPECT_EQ(lines[lines.size() - 3], "HELP");
  EXPECT_TRUE(page.ends_with("</td></tr> </table> </body> </html>\r\n"));
}

}  // namespace
}  // namespace meridan
