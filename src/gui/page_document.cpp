#include "gui/page_document.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>
#include <memory>
#include <vector>

namespace meridan {
namespace {

void UseStyleSheetSize(QTextDocument& document, const QTextBlock& heading) {
  std::vector<QTextFragment> sized;
  for (auto it = heading.begin(); !it.atEnd(); ++it) {
    const QTextCharFormat format = it.fragment().charFormat();
    if (format.hasProperty(QTextFormat::FontPixelSize) &&
        format.hasProperty(QTextFormat::FontSizeAdjustment))
      sized.push_back(it.fragment());
  }
  for (const QTextFragment& fragment : sized) {
    QTextCharFormat format = fragment.charFormat();
    format.clearProperty(QTextFormat::FontSizeAdjustment);
    QTextCursor cursor(&document);
    cursor.setPosition(fragment.position());
    cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
  }
}

// The position of the first image after some text in the block, or -1.
int ImageAfterText(const QTextBlock& block) {
  bool text = false;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (fragment.charFormat().isImageFormat()) {
      if (text) return fragment.position();
    } else if (!fragment.text().trimmed().isEmpty()) {
      text = true;
    }
  }
  return -1;
}

void MoveToOwnBlock(QTextDocument& document, const QTextBlock& heading, int position) {
  QTextBlockFormat plain;
  plain.setAlignment(heading.blockFormat().alignment());
  QTextCursor cursor(&document);
  cursor.setPosition(position);
  cursor.insertBlock(plain);
}

// The height of a cell's background picture, or 0.
int BackgroundHeight(QTextDocument& document, const QTextTableCellFormat& format) {
  if (!format.hasProperty(QTextFormat::BackgroundImageUrl)) return 0;
  const QVariant picture = document.resource(
      QTextDocument::ImageResource, QUrl(format.stringProperty(QTextFormat::BackgroundImageUrl)));
  if (picture.canConvert<QImage>()) return picture.value<QImage>().height();
  if (picture.canConvert<QPixmap>()) return picture.value<QPixmap>().height();
  return 0;
}

void CentreCellsVertically(QTextTable& table) {
  for (int row = 0; row < table.rows(); ++row)
    for (int column = 0; column < table.columns(); ++column) {
      QTextTableCell cell = table.cellAt(row, column);
      if (cell.row() != row || cell.column() != column) continue;  // covered by a span
      QTextCharFormat format = cell.format();
      if (format.hasProperty(QTextFormat::TextVerticalAlignment)) continue;  // valign given
      format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
      cell.setFormat(format);
    }
}

// The pages make a cell as tall as its background picture with the cell's
// height attribute, which Qt ignores. A one-row table (the navigation row)
// gets the missing height as padding, half above and half below, measured
// on the laid-out page.
void FitRowToBackgrounds(QTextDocument& document, QTextTable& table) {
  if (table.rows() != 1) return;
  int picture = 0;
  for (int column = 0; column < table.columns(); ++column)
    picture = std::max(
        picture, BackgroundHeight(document, table.cellAt(0, column).format().toTableCellFormat()));
  if (picture == 0) return;
  const QTextTableFormat tableFormat = table.format();
  document.pageCount();  // lays the document out to the end
  const qreal row = document.documentLayout()->frameBoundingRect(&table).height() -
                    2 * (tableFormat.border() + tableFormat.cellSpacing());
  const qreal room = picture - row;
  if (row <= 0 || room <= 0) return;  // not laid out, or tall enough
  for (int column = 0; column < table.columns(); ++column) {
    QTextTableCell cell = table.cellAt(0, column);
    if (cell.column() != column) continue;
    QTextTableCellFormat format = cell.format().toTableCellFormat();
    const qreal top = format.hasProperty(QTextFormat::TableCellTopPadding)
                          ? format.topPadding()
                          : tableFormat.cellPadding();
    const qreal bottom = format.hasProperty(QTextFormat::TableCellBottomPadding)
                             ? format.bottomPadding()
                             : tableFormat.cellPadding();
    format.setTopPadding(top + room / 2);
    format.setBottomPadding(bottom + room / 2);
    cell.setFormat(format);
  }
  // A cell's new padding alone does not make the layout redo the table.
  document.markContentsDirty(table.firstPosition(), table.lastPosition() - table.firstPosition());
}

// A browser draws nothing for a line break that ends a paragraph, as every
// text of a day does ("...<br>" then the next "<p>"); Qt draws an empty line.
void DropClosingLineBreak(QTextDocument& document, const QTextBlock& block) {
  const QString text = block.text();
  if (text.isEmpty() || text.back() != QChar::LineSeparator) return;
  QTextCursor cursor(&document);
  cursor.setPosition(block.position() + static_cast<int>(text.size()) - 1);
  cursor.deleteChar();
}

void ArrangeTables(QTextDocument& document, QTextFrame* frame) {
  if (auto* table = qobject_cast<QTextTable*>(frame)) {
    CentreCellsVertically(*table);
    FitRowToBackgrounds(document, *table);
  }
  for (QTextFrame* child : frame->childFrames()) ArrangeTables(document, child);
}

}  // namespace

void MatchBrowserLayout(QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    DropClosingLineBreak(document, block);
    if (block.blockFormat().headingLevel() == 0) continue;
    UseStyleSheetSize(document, block);
    if (const int image = ImageAfterText(block); image >= 0) MoveToOwnBlock(document, block, image);
  }
  ArrangeTables(document, document.rootFrame());
}

void PrintPage(const QTextDocument& page, QPagedPaintDevice& printer) {
  const std::unique_ptr<QTextDocument> copy(page.clone());
  const qreal width = std::max(page.textWidth(), page.idealWidth());
  const QSizeF paper = printer.pageLayout().paintRectPixels(printer.logicalDpiX()).size();
  // A page size of the paper's proportions makes the document print page by
  // page, each drawn to fill the paper's width.
  copy->setPageSize(QSizeF(width, width * paper.height() / paper.width()));
  copy->print(&printer);
}

}  // namespace meridan
