// The viewer: its size by the screen, the page read from its file at every
// showing, a missing page said in the window, and printing to a PDF file.

#include <QApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "app/gui/viewer.h"
#include "gui_testing.h"
#include "reports/cp1251.h"

namespace meridan::testing {
namespace {

namespace fs = std::filesystem;

// A page as the page writer makes them: Windows-1251 with its meta tag.
void WritePage(const fs::path& path, const std::string& bodyUtf8) {
  WriteFile(path, W("<html><head><meta content=\"text/html; charset=windows-1251\" "
                    "http-equiv=\"Content-Type\"></head><body>" +
                    bodyUtf8 + "</body></html>\r\n"));
}

class ViewerTest : public GuiTest {
 protected:
  QString ShowAndRead(const fs::path& page) {
    viewer.SetPageToShow(page);
    viewer.show();
    const QString text = viewer.Browser()->toPlainText();
    viewer.hide();
    return text;
  }

  QTemporaryDir temp;
  fs::path dir{temp.path().toStdString()};
  Viewer viewer{nullptr, QSize(1280, 1024)};
};

TEST(ViewerSize, WidthByScreenWidthHeightScreenLessEighty) {
  EXPECT_EQ(Viewer::SizeForScreen({1024, 768}), QSize(950, 688));
  EXPECT_EQ(Viewer::SizeForScreen({801, 600}), QSize(950, 520));
  EXPECT_EQ(Viewer::SizeForScreen({800, 600}), QSize(770, 520));
  EXPECT_EQ(Viewer::SizeForScreen({640, 480}), QSize(770, 400));
}

TEST(ViewerSize, WindowTakesTheSizeOfItsScreen) {
  const Viewer narrow(nullptr, QSize(800, 600));
  EXPECT_EQ(narrow.size(), QSize(770, 520));
  const Viewer wide(nullptr, QSize(1920, 1080));
  EXPECT_EQ(wide.size(), QSize(950, 1000));
}

TEST_F(ViewerTest, ShowsWindows1251PageAsCyrillic) {
  WritePage(dir / "Prog_01_2026.html", "<p>Прогноз на январь: Ёлка, ёж, № 5, «кавычки»</p>");
  EXPECT_EQ(ShowAndRead(dir / "Prog_01_2026.html").trimmed(),
            QStringLiteral("Прогноз на январь: Ёлка, ёж, № 5, «кавычки»"));
}

TEST_F(ViewerTest, ReadsThePageAgainAtEveryShowing) {
  const fs::path page = dir / "Prog_02_2026.html";
  WritePage(page, "<p>первый прогноз</p>");
  EXPECT_EQ(ShowAndRead(page).trimmed(), QStringLiteral("первый прогноз"));
  WritePage(page, "<p>второй прогноз</p>");
  EXPECT_EQ(ShowAndRead(page).trimmed(), QStringLiteral("второй прогноз"));
}

TEST_F(ViewerTest, MissingPageIsSaidInsteadOfShowingTheLastOne) {
  const fs::path page = dir / "Prog_03_2026.html";
  WritePage(page, "<p>мартовский прогноз</p>");
  ASSERT_EQ(ShowAndRead(page).trimmed(), QStringLiteral("мартовский прогноз"));
  fs::remove(page);
  const QString text = ShowAndRead(page);
  EXPECT_TRUE(text.contains(QStringLiteral("не найдена"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QString::fromStdString(page.string()))) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("мартовский"))) << text.toStdString();
  // The page comes back with the next run.
  WritePage(page, "<p>новый мартовский прогноз</p>");
  EXPECT_EQ(ShowAndRead(page).trimmed(), QStringLiteral("новый мартовский прогноз"));
}

TEST_F(ViewerTest, PrintsTheShownPageAsTextAtScreenResolution) {
  WritePage(dir / "Prog_04_2026.html", "<h1>Апрель 2026</h1><p>Поездки</p>");
  viewer.SetPageToShow(dir / "Prog_04_2026.html");
  viewer.show();
  const QString pdf = QString::fromStdString((dir / "page.pdf").string());
  int resolution = 0;
  const auto previous = Viewer::SetPrintDialog([&](QPrinter& printer, QWidget*) {
    resolution = printer.resolution();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    return true;
  });
  QTest::mouseClick(viewer.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  Viewer::SetPrintDialog(previous);

  // The screen's resolution, not the printer's 1200 dots per inch, at which
  // the cell background pictures would print as specks.
  EXPECT_EQ(resolution, qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
  const std::string bytes = ReadFile(dir / "page.pdf");
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  // Text goes out as text in an embedded font, not as a picture of it.
  EXPECT_NE(bytes.find("/FontFile"), std::string::npos);
  EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(ViewerTest, CancelledPrintDialogPrintsNothing) {
  WritePage(dir / "Prog_05_2026.html", "<p>Май</p>");
  viewer.SetPageToShow(dir / "Prog_05_2026.html");
  viewer.show();
  bool asked = false;
  const auto previous = Viewer::SetPrintDialog([&](QPrinter& printer, QWidget*) {
    asked = true;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((dir / "page.pdf").string()));
    return false;
  });
  QTest::mouseClick(viewer.findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  Viewer::SetPrintDialog(previous);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(fs::exists(dir / "page.pdf"));
}

TEST_F(ViewerTest, ExitButtonEndsTheModalShowing) {
  WhenModalShows([this] {
    QTest::mouseClick(viewer.findChild<QPushButton*>(QStringLiteral("BitBtn2")), Qt::LeftButton);
  });
  viewer.SetPageToShow(dir / "none.html");
  EXPECT_EQ(viewer.exec(), QDialog::Rejected);
  EXPECT_FALSE(viewer.isVisible());
}

}  // namespace
}  // namespace meridan::testing
