#pragma once

#include <QList>
#include <QPdfDocument>
#include <QRect>
#include <QString>

#include <functional>

class QPrinter;

// Printing a PDF document page by page through Qt PDF: which pages a printer
// asks for, where each goes on the paper, and the pages drawn at the
// printer's resolution one at a time.
namespace pdfpages {

// The largest page side drawn, in points (200 inches, the most the PDF
// format itself allows); a larger page is drawn scaled down to it.
constexpr qreal LargestSide = 14400;

// The pages of a `pageCount`-page document that `printer` asks for (0-based),
// in the order they go to it: its page range (unless `rangeDone`, when the
// document holds only those pages already), its page order, and the copies
// the printer leaves to the program (collated or not).
QList<int> sequence(const QPrinter &printer, int pageCount, bool rangeDone = false);

// Whether `printer` asks for the whole document once, first page first: a PDF
// file may then be the document's own bytes, text and links included.
bool wholeDocument(const QPrinter &printer, int pageCount, bool rangeDone = false);

// Why Qt PDF could not open a document, in a sentence of its own; `pages`
// is the page count it found.
QString openFailure(QPdfDocument::Error error, int pages);

// The size of page `page` in points, fit to draw: a side that is not a
// positive number is a point, and the larger side at most LargestSide.
QSizeF pageSize(const QPdfDocument &document, int page);

// `page` scaled down (never up) to fit into `area`, keeping its shape, and
// centred in it.
QRectF fitted(QSizeF page, const QRectF &area);

// The pixels that cover `rect`, at least one each way.
QRect atLeastOnePixel(const QRectF &rect);

// Draws the pages `printer` asks for, each fitted into its printable area
// (onto the whole sheet with `wholeSheet`, for pages already laid out on the
// paper) and centred, one at a time at the printer's resolution; `goOn` runs
// between pages and stops the print, which is then aborted, when it says no.
// False when the printer would not start or a page could not be drawn.
bool print(QPdfDocument &document, QPrinter *printer, bool wholeSheet, bool rangeDone,
           const std::function<bool()> &goOn = {});

} // namespace pdfpages
