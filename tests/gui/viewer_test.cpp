// The viewer: its size by the screen, the page read from its file at every
// showing, a missing page said in the window, the busy cursor while a page
// loads, every kind's graph on the screen and on paper, and printing to a
// PDF file.

#include "gui/viewer.h"

#include <QAbstractTextDocumentLayout>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <optional>

#include "base/cp1251.h"
#include "forecast/forecast.h"
#include "gui/page_document.h"
#include "gui_testing.h"
#include "output/pages/page.h"

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

  // Prints through a stand-in for the dialog into pdf, unless told not to;
  // returns the file name the dialog was offered.
  QString Print(const fs::path& pdf, bool accept = true) {
    QString offered;
    const auto previous = Viewer::SetPrintDialog([&](QPrinter& printer, QWidget*) {
      offered = printer.outputFileName();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pdf.string()));
      return accept;
    });
    QTest::mouseClick(viewer.findChild<QPushButton*>(u"BitBtn1"_s), Qt::LeftButton);
    Viewer::SetPrintDialog(previous);
    return offered;
  }

  QTemporaryDir temp;
  fs::path page = fs::path(temp.path().toStdString()) / "Prog_02_2026.html";
  Viewer viewer{nullptr, QSize(1280, 1024)};
};

// The size of the first JPEG image of the page as the page draws it, or an
// empty size where the picture is not found.
QSize GraphSize(QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat format = it.fragment().charFormat();
      if (!format.isImageFormat() || !format.toImageFormat().name().contains(u".jpeg"_s)) continue;
      const QVariant picture =
          document.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name()));
      if (picture.canConvert<QImage>()) return picture.value<QImage>().size();
      return picture.value<QPixmap>().size();
    }
  return {};
}

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

// The purchase-sale page writes its graph's address with a blank on either
// side, which a browser ignores.
TEST_F(ViewerTest, EveryKindShowsItsGraphOnTheScreenAndOnPaper) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  for (const ForecastKind kind : {ForecastKind::Trips, ForecastKind::Service, ForecastKind::Sale}) {
    const ForecastRequest request{kind, NameForPage("Иван"), {15, 6, 1980}, {2027, 2}};
    page = RunForecast(context, request).months.front().page;
    Show();
    EXPECT_EQ(GraphSize(*viewer.Browser()->document()), QSize(626, 205)) << int(kind);
    const fs::path pdf = dir.root() / "page.pdf";
    Print(pdf);
    // The picture goes into the PDF file whole, at its own size.
    EXPECT_NE(ReadFile(pdf).find("/Width 626\n/Height 205"), std::string::npos) << int(kind);
  }
  EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

TEST_F(ViewerTest, BusyFromLoadingThePageUntilItIsPainted) {
  WriteFile(page, "<p>page</p>");
  std::optional<Qt::CursorShape> whileLoading;
  QObject::connect(viewer.Browser(), &QTextBrowser::sourceChanged, [&] {
    whileLoading =
        QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
  });
  viewer.SetPageToShow(page);
  viewer.show();
  EXPECT_EQ(whileLoading, Qt::WaitCursor);
  EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::overrideCursor() == nullptr; }, 2000));
}

TEST_F(ViewerTest, PrintingToAFileOffersThePagesNameInTheDocumentsFolder) {
  WriteAndShow("<p>Поездки</p>");
  const QByteArray home = qgetenv("HOME");
  const QByteArray config = qgetenv("XDG_CONFIG_HOME");
  const QString fakeHome = temp.path() + u"/home"_s;
  qputenv("HOME", fakeHome.toUtf8());
  qputenv("XDG_CONFIG_HOME", (fakeHome + u"/.config"_s).toUtf8());
  QDir().mkpath(fakeHome);
  const fs::path pdf = page.parent_path() / "page.pdf";
  // No documents folder: the home folder.
  const QString withoutDocuments = Print(pdf, false);
  QDir().mkpath(fakeHome + u"/Documents"_s);
  const QString withDocuments = Print(pdf, false);
  qputenv("HOME", home);
  config.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", config);
  EXPECT_EQ(withoutDocuments, fakeHome + u"/Prog_02_2026.pdf"_s);
  EXPECT_EQ(withDocuments, fakeHome + u"/Documents/Prog_02_2026.pdf"_s);
}

// The page's navigation row leads to another month: printing offers that
// month's name, not the name of the page the viewer was opened on.
TEST_F(ViewerTest, PrintingOffersTheNameOfTheMonthShown) {
  WriteAndShow("<p>Февраль</p>");
  const fs::path march = page.parent_path() / "Prog_03_2026.html";
  WriteFile(march, "<p>March</p>");
  viewer.Browser()->setSource(QUrl::fromLocalFile(QString::fromStdString(march.string())));
  EXPECT_TRUE(Print(page.parent_path() / "page.pdf", false).endsWith(u"/Prog_03_2026.pdf"_s));
}

// On paper a month's page has no navigation row, and no day's heading ends
// a page apart from its texts, whatever the paper's height.
TEST_F(ViewerTest, PrintedPageHasNoNavigationRowAndNoHeadingAloneAtThePagesFoot) {
  ScratchProgramDir dir;
  ForecastContext context(dir.root());
  const ForecastRequest request{ForecastKind::Trips, NameForPage("Иван"), {20, 5, 1984}, {2025, 5}};
  page = RunForecast(context, request).months.front().page;
  Show();
  ASSERT_TRUE(viewer.Browser()->toPlainText().contains(u"Щелкните на кнопках"_s));
  int headings = 0;
  for (int height = 500; height <= 1100; height += 43) {
    const std::unique_ptr<QTextDocument> paper =
        PrintLayout(*viewer.Browser()->document(), QSizeF(718, height));
    EXPECT_FALSE(paper->toPlainText().contains(u"Щелкните на кнопках"_s));
    EXPECT_FALSE(paper->toPlainText().contains(u"Июнь 2025"_s)) << "a button of the row";
    const qreal pageHeight = paper->pageSize().height();
    QAbstractTextDocumentLayout* layout = paper->documentLayout();
    const auto pageOf = [&](const QTextBlock& block, int line, bool bottom) {
      const QRectF rect = block.layout()->lineAt(line).rect();
      return int(
          (layout->blockBoundingRect(block).top() + (bottom ? rect.bottom() - 1 : rect.top())) /
          pageHeight);
    };
    for (QTextBlock block = paper->begin(); block.isValid(); block = block.next()) {
      if (!block.text().contains(u"Прогноз на "_s)) continue;
      ++headings;
      EXPECT_EQ(pageOf(block, block.layout()->lineCount() - 1, true),
                pageOf(block.next(), 0, false))
          << block.text().toStdString() << " at paper height " << height;
    }
  }
  EXPECT_GT(headings, 100);
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

// The page takes the keyboard when it shows: the reading keys scroll it at
// once, and Enter, whatever has the focus in the window, never prints.
TEST_F(ViewerTest, ThePageHasTheKeyboardAndEnterNeverPrints) {
  std::string days;
  for (int day = 1; day <= 60; ++day) days += "<p>День " + std::to_string(day) + "</p>";
  WriteAndShow(days);
  QApplication::setActiveWindow(&viewer);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&viewer));
  EXPECT_EQ(QApplication::focusWidget(), viewer.Browser());
  QScrollBar* bar = viewer.Browser()->verticalScrollBar();
  const auto after = [&](Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    return bar->value();
  };
  EXPECT_EQ(after(Qt::Key_End), bar->maximum());
  EXPECT_EQ(after(Qt::Key_Home), 0);
  EXPECT_GT(after(Qt::Key_Down), 0);
  const int line = bar->value();
  EXPECT_GT(after(Qt::Key_PageDown), line + bar->pageStep() / 2);
  const int pageDown = bar->value();
  const int up = after(Qt::Key_PageUp);
  EXPECT_LT(up, pageDown);
  EXPECT_GT(after(Qt::Key_Space), up + bar->pageStep() / 2);

  int dialogs = 0;
  const auto previous = Viewer::SetPrintDialog([&](QPrinter&, QWidget*) {
    ++dialogs;
    return false;
  });
  QTest::keyClick(viewer.Browser(), Qt::Key_Return);
  auto* print = viewer.findChild<QPushButton*>(u"BitBtn1"_s);
  print->setFocus(Qt::TabFocusReason);
  QTest::keyClick(print, Qt::Key_Return);
  QTest::keyClick(print, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(dialogs, 0);
  QTest::keyClick(print, Qt::Key_Space);
  EXPECT_EQ(dialogs, 1);
  Viewer::SetPrintDialog(previous);
}

// A button that has the keyboard shows it, also when the focus came to it
// from the program rather than from Tab.
TEST(FocusMark, AFocusedButtonLooksFocusedHoweverTheFocusCame) {
  QWidget window;
  auto* button = new QPushButton(u"Напечатать"_s, &window);
  auto* other = new QPushButton(u"Выйти"_s, &window);
  other->move(0, 40);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  other->setFocus(Qt::OtherFocusReason);
  const QImage plain = button->grab().toImage();
  button->setFocus(Qt::OtherFocusReason);
  ASSERT_TRUE(button->hasFocus());
  EXPECT_NE(button->grab().toImage(), plain);
}

}  // namespace
}  // namespace meridan::testing
