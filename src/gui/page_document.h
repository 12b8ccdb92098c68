#pragma once
// Qt's rich text lays out the forecast pages a little differently from a web
// browser; these corrections, applied once a page is loaded, bring it back
// to what a browser shows.

#include <QtGlobal>

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
// The corrections go in as one edit, so the page is laid out once.
void MatchBrowserLayout(QTextDocument& document, qreal width);

// Prints the page as it is shown, its lines as wide as on the screen, scaled
// down where the paper is narrower than the page (the pages' tables are 800
// pixels wide), split into pages of the paper's proportions; images are read
// relative to the page's address, as on the screen.
void PrintPage(const QTextDocument& page, QPagedPaintDevice& printer);

}  // namespace meridan
