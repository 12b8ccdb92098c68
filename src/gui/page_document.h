#pragma once
// Qt's rich text lays out the forecast pages a little differently from a web
// browser; these corrections, applied once a page is loaded, bring it back
// to what a browser shows.

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
//    makes it in a browser (Qt ignores a cell's height). Measuring needs a
//    document that has been given its width.
// 4. A line break that ends a paragraph draws no empty line.
void MatchBrowserLayout(QTextDocument& document);

// Prints the page as it is shown, scaled down where the paper is narrower
// than the page (the pages' tables are 800 pixels wide), split into pages of
// the paper's proportions.
void PrintPage(const QTextDocument& page, QPagedPaintDevice& printer);

}  // namespace meridan
