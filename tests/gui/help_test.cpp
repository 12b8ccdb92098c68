// The help pages that ship: UTF-8 with their charset and a title, every link
// leading to a page that ships, and the contents (topic 10) leading to every
// other topic.

#include <QRegularExpression>

#include <set>

#include "base/cp1251.h"
#include "gui/best_days_window.h"
#include "gui/birth_fields.h"
#include "gui/help_window.h"
#include "gui/main_window_parts.h"
#include "gui/spin_field.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

TEST(HelpPages, EveryTopicIsWholeAndEveryLinkLeadsToAPageThatShips) {
  const fs::path helpDir = MERIDAN_HELP_DIR;
  std::set<std::string> fromContents;
  for (int topic : {10, 11, 12, 13, 14}) {
    const fs::path page = HelpTopicPath(helpDir.parent_path(), topic);
    const std::string html = ReadFile(page);
    EXPECT_TRUE(Utf8Length(html).has_value()) << page;
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
    EXPECT_NE(html.find("<title>"), std::string::npos) << page;
    for (const auto& link :
         QRegularExpression(u"href=\"([^\"#]+)"_s).globalMatch(QString::fromStdString(html))) {
      const std::string target = link.captured(1).toStdString();
      EXPECT_TRUE(fs::is_regular_file(helpDir / target)) << page.filename() << " -> " << target;
      if (topic == 10) fromContents.insert(target);
    }
  }
  EXPECT_EQ(fromContents, (std::set<std::string>{"11.html", "12.html", "13.html", "14.html"}));
}

// The data entry topic quotes the window's refusals word for word, with the
// limits the fields have: a change to either shows here.
TEST(HelpPages, DataEntryQuotesTheRefusalsTheWindowGives) {
  QString html =
      QString::fromStdString(ReadFile(HelpTopicPath(fs::path(MERIDAN_HELP_DIR).parent_path(), 11)));
  html.replace(u'\n', u' ');
  SpinField day, month, year;
  day.SetLimits(kDayLimits.minimum, kDayLimits.maximum);
  month.SetLimits(kMonthLimits.minimum, kMonthLimits.maximum);
  year.SetLimits(kYearLimits.minimum, kYearLimits.maximum);
  const auto refusal = [&](const char* d, const char* m, const char* y) {
    day.SetText(QString::fromUtf8(d));
    month.SetText(QString::fromUtf8(m));
    year.SetText(QString::fromUtf8(y));
    return ReadBirthDate(day, month, year).refusal;
  };
  for (const QString& quoted : {refusal("15", "6", "2100"), refusal("31", "4", "1990"),
                                refusal("1.5", "6", "1980"), refusal("15", "", "1980")}) {
    ASSERT_FALSE(quoted.isEmpty());
    EXPECT_TRUE(html.contains(u"«"_s + quoted + u"»"_s)) << quoted.toStdString();
  }
  EXPECT_TRUE(html.contains(u"год от %1 до %2"_s.arg(kFirstBirthYear).arg(kLastBirthYear)));
  // No English message reaches the window any more.
  EXPECT_FALSE(html.contains(u"is not a valid integer"_s));
}

// The data entry topic sends the reader to the best days by the menu item's
// own caption.
TEST(HelpPages, DataEntryNamesTheBestDaysItemAsTheMenuShowsIt) {
  const QString html =
      QString::fromStdString(ReadFile(HelpTopicPath(fs::path(MERIDAN_HELP_DIR).parent_path(), 11)));
  BestDaysWindow best(nullptr);
  const QString caption = best.Action()->text().remove(u'&');
  EXPECT_TRUE(html.contains(u"«"_s + caption + u"»"_s)) << caption.toStdString();
}

}  // namespace
}  // namespace meridan::testing
