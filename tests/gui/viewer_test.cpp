// The viewer: its size by the screen, the page read from its file at every
// showing, a missing page said in the window, and printing to a PDF file.

#include "gui/viewer.h"

#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include "base/cp1251.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

class ViewerTest : public GuiTest {
 protected:
  // Writes the page as the page writer does, Windows-1251 with its meta tag,
  // and returns what the viewer shows of it.
  QString WriteAndShow(const std::string& bodyUtf8) {
    WriteFile(page, W("<html><head><meta content=\"text/html; charset=windows-1251\" "
                      "http-equiv=\"Content-Type\"></head><body>" +
                      bodyUtf8 + "</body></html>\r\n"));
    return Show();
  }
  QString Show() {
    viewer.hide();
    viewer.SetPageToShow(page);
    viewer.show();
    return viewer.Browser()->toPlainText().trimmed();
  }

  QTemporaryDir temp;
  fs::path page = fs::path(temp.path().toStdString()) / "Prog_02_2026.html";
  Viewer viewer{nullptr, QSize(1280, 1024)};
};

TEST(ViewerSize, Width950OnScreensWiderThan800Else770HeightTheScreenLess80) {
  EXPECT_EQ(Viewer::SizeForScreen({1024, 768}), QSize(950, 688));
  EXPECT_EQ(Viewer::SizeForScreen({801, 600}), QSize(950, 520));
  EXPECT_EQ(Viewer::SizeForScreen({800, 600}), QSize(770, 520));
  EXPECT_EQ(Viewer(nullptr, QSize(1920, 1080)).size(), QSize(950, 1000));
}

TEST_F(ViewerTest, ReadsTheWindows1251PageAfreshAtEveryShowingAndSaysWhenItIsMissing) {
  EXPECT_EQ(WriteAndShow("<p>Прогноз: Ёлка, ёж, № 5, «кавычки»</p>"),
            u"Прогноз: Ёлка, ёж, № 5, «кавычки»"_s);
  EXPECT_EQ(WriteAndShow("<p>второй прогноз</p>"), u"второй прогноз"_s);
  fs::remove(page);
  EXPECT_EQ(Show(), "Страница прогноза не найдена: файла " + QString::fromStdString(page.string()) +
                        " нет.\nСоставьте прогноз заново кнопкой в главном окне.");
  // The page comes back with the next run.
  EXPECT_EQ(WriteAndShow("<p>новый прогноз</p>"), u"новый прогноз"_s);
}

TEST_F(ViewerTest, PrintsTheShownPageAsTextAtScreenResolutionOnlyWhenAsked) {
  WriteAndShow("<h1>Апрель 2026</h1><p>Поездки</p>");
  const fs::path pdf = page.parent_path() / "page.pdf";
  for (const bool accept : {false, true}) {
    int resolution = 0;
    const auto previous = Viewer::SetPrintDialog([&](QPrinter& printer, QWidget*) {
      resolution = printer.resolution();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf.string()));
      return accept;
    });
    QTest::mouseClick(viewer.findChild<QPushButton*>(u"BitBtn1"_s), Qt::LeftButton);
    Viewer::SetPrintDialog(previous);
    // The screen's resolution, not the printer's 1200 dots per inch, at
    // which the cell background pictures would print as specks.
    EXPECT_EQ(resolution, qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch()));
    EXPECT_EQ(fs::exists(pdf), accept);
  }
  const std::string bytes = ReadFile(pdf);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  // Text goes out as text in an embedded font, not as a picture of it.
  EXPECT_NE(bytes.find("/FontFile"), std::string::npos);
  EXPECT_TRUE(errors.isEmpty());
}

}  // namespace
}  // namespace meridan::testing
