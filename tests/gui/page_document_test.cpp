// The corrections that make Qt's rich text lay out a forecast page as a web
// browser does.

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "app/gui/page_document.h"
#include "gui_testing.h"

namespace meridan::testing {
namespace {

// A browser's default text size; the viewer gives the page the same.
constexpr int kDefaultPixels = 16;

class PageDocumentTest : public ::testing::Test {
 protected:
  PageDocumentTest() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(kDefaultPixels);
    document.setDefaultFont(font);
    document.setTextWidth(900);
  }
  // Pictures are given after the text, as loading HTML drops earlier ones.
  void Load(const QString& html, const QString& picture = {}, QSize size = {}) {
    document.setHtml(html);
    if (!picture.isEmpty())
      document.addResource(QTextDocument::ImageResource, QUrl(picture), QImage(size, QImage::Format_RGB32));
    MatchBrowserLayout(document);
  }
  QTextBlock BlockWith(const QString& text) const {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
      if (block.text().contains(text)) return block;
    ADD_FAILURE() << "no block with " << text.toStdString();
    return {};
  }
  QTextTable* FirstTable() const {
    for (QTextFrame* frame : document.rootFrame()->childFrames())
      if (auto* table = qobject_cast<QTextTable*>(frame)) return table;
    ADD_FAILURE() << "no table";
    return nullptr;
  }

  QTextDocument document;
};

TEST_F(PageDocumentTest, HeadingsTakeTheirStyleSheetPixelSize) {
  // The sizes the pages' style sheet gives; left to Qt, h1 would be twice
  // the default size (32 pixels) and h3 1.2 times (19).
  Load(QStringLiteral("<html><head><style>h1 { font-size: 22px; } h3 { font-size: 15px; }</style></head>"
                      "<body><h1>Авто-прогноз</h1><h3>Дата рождения</h3><h2>Без размера</h2></body></html>"));
  EXPECT_EQ(BlockWith(QStringLiteral("Авто-прогноз")).begin().fragment().charFormat().font().pixelSize(), 22);
  EXPECT_EQ(BlockWith(QStringLiteral("Дата рождения")).begin().fragment().charFormat().font().pixelSize(), 15);
  // A heading the style sheet leaves alone keeps Qt's step above the default.
  EXPECT_GT(BlockWith(QStringLiteral("Без размера")).begin().fragment().charFormat().font().pixelSize(),
            kDefaultPixels);
}

TEST_F(PageDocumentTest, ImageAfterAHeadingStartsItsOwnCentredBlock) {
  Load(QStringLiteral("<div align=\"center\"><h3>Дата рождения</h3>"
                      "<img src=\"graph.jpeg\" width=\"626\" height=\"205\"></div><p>после</p>"),
       QStringLiteral("graph.jpeg"), QSize(626, 205));
  const QTextBlock heading = BlockWith(QStringLiteral("Дата рождения"));
  EXPECT_EQ(heading.text(), QStringLiteral("Дата рождения"));
  const QTextBlock image = heading.next();
  EXPECT_EQ(image.text(), QString(QChar::ObjectReplacementCharacter));
  EXPECT_EQ(image.blockFormat().headingLevel(), 0);
  EXPECT_TRUE(image.blockFormat().alignment() & Qt::AlignHCenter);
}

TEST_F(PageDocumentTest, CellsCentreVerticallyUnlessTheyDoNotWantTo) {
  Load(QStringLiteral("<table><tr><td>середина</td><td valign=\"top\">верх</td></tr></table>"));
  QTextTable* table = FirstTable();
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->cellAt(0, 0).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
  EXPECT_EQ(table->cellAt(0, 1).format().verticalAlignment(), QTextCharFormat::AlignTop);
}

TEST_F(PageDocumentTest, CellWithABackgroundPictureIsAsTallAsThePicture) {
  // The navigation buttons: a 119 x 35 picture behind one line of text.
  constexpr int kPictureHeight = 35;
  constexpr qreal kTolerance = 1.0;  // rounding of the split padding
  Load(QStringLiteral("<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
                      "<td background=\"b_button.jpg\" height=\"35\" width=\"119\">"
                      "<p style=\"text-align: left\"><font size=\"2\">Январь 2026</font></p></td></tr></table>"),
       QStringLiteral("b_button.jpg"), QSize(119, kPictureHeight));
  QTextTable* table = FirstTable();
  ASSERT_NE(table, nullptr);
  const qreal height = document.documentLayout()->frameBoundingRect(table).height();
  EXPECT_NEAR(height, kPictureHeight, kTolerance);
  const QTextTableCellFormat cell = table->cellAt(0, 0).format().toTableCellFormat();
  EXPECT_NEAR(cell.topPadding(), cell.bottomPadding(), kTolerance);
}

}  // namespace
}  // namespace meridan::testing
