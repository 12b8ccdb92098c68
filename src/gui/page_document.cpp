#include "gui/page_document.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
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

// The height a one-row table of cells with background pictures lacks to be
// as tall as its tallest picture, as the cells' height makes it in a browser,
// or 0. Measured on a copy of the table alone at the page's width: laying
// out the whole page for it would cost far more than the rest together.
qreal MissingRowHeight(QTextDocument& document, QTextTable& table, qreal width) {
  if (table.rows() != 1) return 0;
  int picture = 0;
  for (int column = 0; column < table.columns(); ++column)
    picture = std::max(
        picture, BackgroundHeight(document, table.cellAt(0, column).format().toTableCellFormat()));
  if (picture == 0) return 0;
  QTextCursor whole(&document);
  whole.setPosition(table.firstPosition() - 1);
  whole.setPosition(table.lastPosition() + 1, QTextCursor::KeepAnchor);
  QTextDocument probe;
  probe.setDefaultFont(document.defaultFont());
  probe.setDocumentMargin(document.documentMargin());
  probe.setTextWidth(width);
  QTextCursor(&probe).insertFragment(QTextDocumentFragment(whole));
  auto* copy = qobject_cast<QTextTable*>(probe.rootFrame()->childFrames().value(0));
  if (copy == nullptr) return 0;
  const QTextTableFormat format = copy->format();
  const qreal row = probe.documentLayout()->frameBoundingRect(copy).height() -
                    2 * (format.border() + format.cellSpacing());
  return row > 0 ? std::max<qreal>(picture - row, 0) : 0;
}

// Adds the missing height as padding, half above and half below.
void PadRow(QTextTable& table, qreal room) {
  const QTextTableFormat tableFormat = table.format();
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

// A table of a fixed width wider than the page is laid out at (the pages'
// 800 pixels in a window on a screen 800 pixels wide) takes the width there
// is: its text wraps instead of hiding behind a horizontal scroll bar.
void NarrowToPage(QTextDocument& document, QTextTable& table, qreal width) {
  QTextTableFormat format = table.format();
  const QTextLength wanted = format.width();
  if (width <= 0 || wanted.type() != QTextLength::FixedLength ||
      wanted.rawValue() <= width - 2 * document.documentMargin())
    return;
  format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  table.setFormat(format);
}

void ArrangeTables(QTextDocument& document, QTextFrame* frame, qreal width) {
  if (auto* table = qobject_cast<QTextTable*>(frame)) {
    NarrowToPage(document, *table, width);
    CentreCellsVertically(*table);
    if (const qreal room = MissingRowHeight(document, *table, width); room > 0)
      PadRow(*table, room);
  }
  for (QTextFrame* child : frame->childFrames()) ArrangeTables(document, child, width);
}

// HTML takes an image's address without the blanks around it (a page may
// write src=" Prog_02_2027.jpeg "); Qt would look for a file whose name
// begins and ends with a blank.
QString WithoutSurroundingBlanks(const QString& address) {
  const auto blank = [](QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
  };
  qsizetype first = 0;
  qsizetype last = address.size();
  while (first < last && blank(address[first])) ++first;
  while (last > first && blank(address[last - 1])) --last;
  return address.mid(first, last - first);
}

void TrimImageSources(QTextDocument& document, const QTextBlock& block) {
  std::vector<QTextFragment> padded;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextCharFormat format = it.fragment().charFormat();
    if (format.isImageFormat() &&
        WithoutSurroundingBlanks(format.toImageFormat().name()) != format.toImageFormat().name())
      padded.push_back(it.fragment());
  }
  for (const QTextFragment& fragment : padded) {
    QTextImageFormat format = fragment.charFormat().toImageFormat();
    format.setName(WithoutSurroundingBlanks(format.name()));
    QTextCursor cursor(&document);
    cursor.setPosition(fragment.position());
    cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
    cursor.setCharFormat(format);
  }
}

// The navigation row: the page's first table, whose every cell links to a
// month's page. It goes, and the hint above it with it.
bool EveryCellLinks(const QTextTable& table) {
  for (int row = 0; row < table.rows(); ++row)
    for (int column = 0; column < table.columns(); ++column) {
      const QTextTableCell cell = table.cellAt(row, column);
      bool link = false;
      for (auto block = cell.begin(); !block.atEnd() && !link; ++block)
        for (auto it = block.currentBlock().begin(); !it.atEnd() && !link; ++it)
          link = it.fragment().charFormat().isAnchor();
      if (!link) return false;
    }
  return true;
}

void DropNavigationRow(QTextDocument& document) {
  const QList<QTextFrame*> frames = document.rootFrame()->childFrames();
  auto* table = frames.isEmpty() ? nullptr : qobject_cast<QTextTable*>(frames.first());
  if (table == nullptr || !EveryCellLinks(*table)) return;
  QTextCursor cursor(&document);
  cursor.setPosition(table->lastPosition() + 1, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

// A block that heads what follows: a heading, or a paragraph all of whose
// text is bold (a day's "Прогноз на 1 мая").
bool IsHeading(const QTextBlock& block) {
  if (block.blockFormat().headingLevel() > 0) return true;
  bool text = false;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment fragment = it.fragment();
    if (fragment.text().trimmed().isEmpty()) continue;
    if (fragment.charFormat().fontWeight() < QFont::Bold) return false;
    text = true;
  }
  return text;
}

int PageOf(qreal y, qreal pageHeight) { return static_cast<int>(y / pageHeight); }

// Where the text a heading leads begins on a later page than the heading's
// last line, the heading starts that page.
void KeepHeadingsWithTheirText(QTextDocument& document) {
  const qreal pageHeight = document.pageSize().height();
  QAbstractTextDocumentLayout* layout = document.documentLayout();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QTextBlock next = block.next();
    if (!next.isValid() || !IsHeading(block)) continue;
    const QTextLayout* own = block.layout();
    const QTextLayout* following = next.layout();
    if (own->lineCount() == 0 || following->lineCount() == 0) continue;
    const qreal headingEnd =
        layout->blockBoundingRect(block).top() + own->lineAt(own->lineCount() - 1).rect().bottom();
    const qreal textStart =
        layout->blockBoundingRect(next).top() + following->lineAt(0).rect().top();
    if (PageOf(textStart, pageHeight) <= PageOf(headingEnd - 0.5, pageHeight)) continue;
    QTextBlockFormat format;
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).mergeBlockFormat(format);
  }
}

std::unique_ptr<QTextDocument> PrintCopy(const QTextDocument& page, QSizeF paper) {
  std::unique_ptr<QTextDocument> copy(page.clone());
  // Qt keeps the document margin free at the top and bottom of every printed
  // page but draws a table's background into it, though not its borders:
  // where a page broke inside the framed table, small squares of the frame's
  // colour stood at the break. Without the margin each page's part of the
  // table closes cleanly; the printer's own margins keep the paper's edge
  // clear. The lines keep the width they have on the screen.
  const qreal margin = page.documentMargin();
  copy->setDocumentMargin(0);
  const qreal width = std::max(page.textWidth(), page.idealWidth()) - 2 * margin;
  // A page size of the paper's proportions makes the document print page by
  // page, each drawn to fill the paper's width.
  copy->setPageSize(QSizeF(width, width * paper.height() / paper.width()));
  DropNavigationRow(*copy);
  KeepHeadingsWithTheirText(*copy);
  return copy;
}

}  // namespace

void MatchBrowserLayout(QTextDocument& document, qreal width) {
  // One edit block: the layout is told of the changes once, at the end,
  // instead of redoing the page after each of the hundreds of edits.
  QTextCursor edit(&document);
  edit.beginEditBlock();
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    TrimImageSources(document, block);
    DropClosingLineBreak(document, block);
    if (block.blockFormat().headingLevel() == 0) continue;
    UseStyleSheetSize(document, block);
    if (const int image = ImageAfterText(block); image >= 0) MoveToOwnBlock(document, block, image);
  }
  ArrangeTables(document, document.rootFrame(), width);
  edit.endEditBlock();
}

std::unique_ptr<QTextDocument> PrintLayout(const QTextDocument& page, QSizeF paper) {
  return PrintCopy(page, paper);
}

void PrintPage(const QTextDocument& page, QPagedPaintDevice& printer) {
  const QSizeF paper = printer.pageLayout().paintRectPixels(printer.logicalDpiX()).size();
  PrintLayout(page, paper)->print(&printer);
}

}  // namespace meridan
