#pragma once
// Qt's rich text lays out the forecast pages a little differently from a web
// browser; these corrections, applied once a page is loaded, bring it back
// to what a browser shows.

#include <QSizeF>
#include <QtGlobal>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace meridan {

// 1. A heading whose style sheet gives it a pixel size is drawn at that size
//    (Qt keeps the size but lets the heading's own size step override it).
// 2. An image that follows a heading's text starts a block of its own,
//    aligned as the heading (Qt keeps it on the heading's line).
// 3. Table cells without a valign of their own centre their content
//    vertically (Qt puts it at the top), and a one-row table of cells with
//    background pictures is as tall as the pictures, as the cells' height
//    makes it in a browser (Qt ignores a cell's height), measured at the
//    width the page is laid out at.
// 4. A line break that ends a paragraph draws no empty line.
// 5. An image's address is taken without the blanks around it.
// 6. A table of a fixed width wider than the page takes the page's width.
// The corrections go in as one edit, so the page is laid out once.
void MatchBrowserLayout(QTextDocument& document, qreal width);

// The page as it goes to paper (paper: the printable area's size): its lines
// as wide as on the screen, split into pages of the paper's proportions;
// without the navigation row, which leads nowhere on paper; a heading (a
// day's "Прогноз на 1 мая", a title) that would end a page starts the next
// one, with the text it heads.
std::unique_ptr<QTextDocument> PrintLayout(const QTextDocument& page, QSizeF paper);

// Prints the page laid out as above, scaled down where the paper is narrower
// than the page (the pages' tables are 800 pixels wide); images are read
// relative to the page's address, as on the screen.
void PrintPage(const QTextDocument& page, QPagedPaintDevice& printer);

}  // namespace meridan
