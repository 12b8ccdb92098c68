// The help pages that ship: UTF-8 with their charset and a title, every link
// leading to a page that ships, and the contents (topic 10) leading to every
// other topic.

#include <QRegularExpression>

#include <set>

#include "base/cp1251.h"
#include "gui/help_window.h"
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

}  // namespace
}  // namespace meridan::testing
