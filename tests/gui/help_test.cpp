// Help: the pages that ship hold together, and the menu opens topic 10 in a
// window beside the main window, or says which file is missing.

#include <QAction>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <memory>

#include "app/gui/help_window.h"
#include "app/gui/main_window.h"
#include "gui_testing.h"
#include "reports/cp1251.h"

namespace meridan::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kHelpDir = MERIDAN_HELP_DIR;
const int kTopics[] = {10, 11, 12, 13, 14};

TEST(HelpPages, EveryTopicIsUtf8WithItsCharsetAndATitle) {
  for (int topic : kTopics) {
    const fs::path page = HelpTopicPath(kHelpDir.parent_path(), topic);
    ASSERT_TRUE(fs::is_regular_file(page)) << page;
    const std::string html = ReadFile(page);
    EXPECT_TRUE(Utf8Length(html).has_value()) << page;
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << page;
    EXPECT_NE(html.find("<title>"), std::string::npos) << page;
  }
}

TEST(HelpPages, EveryLinkLeadsToAPageThatShips) {
  const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
  int links = 0;
  for (const auto& entry : fs::directory_iterator(kHelpDir)) {
    const QString html = QString::fromStdString(ReadFile(entry.path()));
    for (const auto& match : link.globalMatch(html)) {
      ++links;
      EXPECT_TRUE(fs::is_regular_file(kHelpDir / match.captured(1).toStdString()))
          << entry.path().filename() << " -> " << match.captured(1).toStdString();
    }
  }
  EXPECT_GE(links, 8);
}

TEST(HelpPages, ContentsLeadToEveryTopic) {
  const std::string contents = ReadFile(HelpTopicPath(kHelpDir.parent_path(), 10));
  for (int topic : kTopics) {
    if (topic == 10) continue;
    EXPECT_NE(contents.find("href=\"" + std::to_string(topic) + ".html\""), std::string::npos) << topic;
  }
}

class HelpMenuTest : public GuiTest {
 protected:
  void Start() {
    window = std::make_unique<MainWindow>(nullptr, QSize(1024, 768));
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return window->Session().CurrentYear != 0; }, 2000));
    messages.errors.clear();
  }
  void OpenHelp() { window->findChild<QAction*>(QStringLiteral("N1"))->trigger(); }

  CurrentProgramDir dir;
  std::unique_ptr<MainWindow> window;
};

TEST_F(HelpMenuTest, MissingHelpNamesTheTopicFile) {
  Start();
  OpenHelp();
  EXPECT_EQ(messages.errors, QStringList{QStringLiteral("Unable to open help file %1help/10.html").arg(dir.rootText())});
  EXPECT_FALSE(window->Help()->isVisible());
}

TEST_F(HelpMenuTest, OpensTopicTenBesideTheMainWindowWithWorkingNavigation) {
  fs::copy(kHelpDir, dir.root() / "help", fs::copy_options::recursive);
  Start();
  OpenHelp();
  EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join('\n').toStdString();
  HelpWindow* help = window->Help();
  ASSERT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowModality(), Qt::NonModal);
  EXPECT_TRUE(window->isEnabled());
  QTextBrowser* browser = help->Browser();
  EXPECT_EQ(browser->source().fileName(), QStringLiteral("10.html"));
  EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Meridan Diru")));

  browser->setSource(browser->source().resolved(QUrl(QStringLiteral("12.html"))));
  auto* back = help->findChild<QToolButton*>(QStringLiteral("Back"));
  ASSERT_TRUE(back->isEnabled());
  QTest::mouseClick(back, Qt::LeftButton);
  EXPECT_EQ(browser->source().fileName(), QStringLiteral("10.html"));
  browser->setSource(browser->source().resolved(QUrl(QStringLiteral("13.html"))));
  QTest::mouseClick(help->findChild<QToolButton*>(QStringLiteral("Home")), Qt::LeftButton);
  EXPECT_EQ(browser->source().fileName(), QStringLiteral("10.html"));
}

}  // namespace
}  // namespace meridan::testing
