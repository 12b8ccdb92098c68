// The corrections that make Qt's rich text lay out a forecast page as a web
// browser does.

#include "gui/page_document.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include "gui_testing.h"

namespace meridan::testing {
namespace {

// A browser's default text size; the viewer gives the page the same.
constexpr int kDefaultPixels = 16;

class PageDocumentTest : public ::testing::Test {
 protected:
  // Pictures are given after the text, as loading HTML drops earlier ones.
  void Load(const QString& html, const QString& picture, QSize size) {
    QFont font(u"Times New Roman"_s);
    font.setPixelSize(kDefaultPixels);
    document.setDefaultFont(font);
    document.setTextWidth(900);
    document.setHtml(html);
    document.addResource(QTextDocument::ImageResource, QUrl(picture),
                         QImage(size, QImage::Format_RGB32));
    MatchBrowserLayout(document, document.textWidth());
  }
  QTextBlock BlockWith(const QString& text) const {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
      if (block.text().contains(text)) return block;
    ADD_FAILURE() << "no block with " << text.toStdString();
    return {};
  }
  int PixelSize(const QString& text) const {
    return BlockWith(text).begin().fragment().charFormat().font().pixelSize();
  }

  QTextDocument document;
};

TEST_F(PageDocumentTest,
       HeadingsTakeTheirStyleSheetSizeAndAnImageAfterOneStartsItsOwnCentredBlock) {
  Load(
      u"<html><head><style>h1 { font-size: 22px; } h3 { font-size: 15px; }</style></head><body>"
      "<h1>Авто-прогноз</h1><h2>Без размера</h2><div align=\"center\"><h3>Дата рождения</h3>"
      "<img src=\"graph.jpeg\" width=\"626\" height=\"205\"></div><p>после</p></body></html>"_s,
      u"graph.jpeg"_s, QSize(626, 205));
  // Left to Qt, h1 would be twice the default size (32 pixels) and h3 1.2
  // times (19); a heading the style sheet leaves alone keeps Qt's step.
  EXPECT_EQ(PixelSize(u"Авто-прогноз"_s), 22);
  EXPECT_EQ(PixelSize(u"Дата рождения"_s), 15);
  EXPECT_GT(PixelSize(u"Без размера"_s), kDefaultPixels);
  const QTextBlock heading = BlockWith(u"Дата рождения"_s);
  EXPECT_EQ(heading.text(), u"Дата рождения"_s);
  const QTextBlock image = heading.next();
  EXPECT_EQ(image.text(), QString(QChar::ObjectReplacementCharacter));
  EXPECT_EQ(image.blockFormat().headingLevel(), 0);
  EXPECT_TRUE(image.blockFormat().alignment() & Qt::AlignHCenter);
}

// Each text of a day ends in "<br>" before the next paragraph: a browser
// shows no empty line there, and neither does the viewer; a break inside a
// paragraph stays.
TEST_F(PageDocumentTest, ALineBreakThatEndsAParagraphDrawsNothing) {
  Load(u"<p>Первый текст <br>\n<p>Второй<br>текст <br>"_s, u"none.gif"_s, QSize(1, 1));
  EXPECT_EQ(BlockWith(u"Первый"_s).text(), u"Первый текст "_s);
  EXPECT_EQ(BlockWith(u"Второй"_s).text(), u"Второй"_s + QChar(QChar::LineSeparator) + u"текст "_s);
}

TEST_F(PageDocumentTest, CellsCentreVerticallyAndARowOfBackgroundPicturesIsAsTallAsThey) {
  // The navigation buttons: a 119 x 35 picture behind one line of text.
  constexpr int kPictureHeight = 35;
  constexpr qreal kTolerance = 1.0;  // rounding of the split padding
  Load(
      u"<table border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
      "<td background=\"b_button.jpg\" height=\"35\" width=\"119\">"
      "<p style=\"text-align: left\"><font size=\"2\">Январь 2026</font></p></td>"
      "<td valign=\"top\">верх</td></tr></table>"_s,
      u"b_button.jpg"_s, QSize(119, kPictureHeight));
  auto* table = qobject_cast<QTextTable*>(document.rootFrame()->childFrames().value(0));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->cellAt(0, 0).format().verticalAlignment(), QTextCharFormat::AlignMiddle);
  EXPECT_EQ(table->cellAt(0, 1).format().verticalAlignment(), QTextCharFormat::AlignTop);
  EXPECT_NEAR(document.documentLayout()->frameBoundingRect(table).height(), kPictureHeight,
              kTolerance);
  const QTextTableCellFormat cell = table->cellAt(0, 0).format().toTableCellFormat();
  EXPECT_NEAR(cell.topPadding(), cell.bottomPadding(), kTolerance);
}

}  // namespace
}  // namespace meridan::testing
