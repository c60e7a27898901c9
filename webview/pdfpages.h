#pragma once

#include <QList>
#include <QPdfDocument>
#include <QString>

#include <functional>

class QPrinter;

// Printing a PDF file as the file itself, page by page through Qt PDF: which
// pages a printer asks for, and the pages drawn at the printer's resolution.
namespace pdfpages {

// The pages of a `pageCount`-page document that `printer` asks for (0-based),
// in the order they go to it: its page range, its page order, and the copies
// the printer leaves to the program (collated or not).
QList<int> sequence(const QPrinter &printer, int pageCount);

// Whether `printer` asks for the whole document once, first page first: a PDF
// file may then be the document's own bytes, text and links included.
bool wholeDocument(const QPrinter &printer, int pageCount);

// What the user is told of a document Qt PDF could not open with `error`.
QString openFailure(QPdfDocument::Error error);

// Draws the pages `printer` asks for, each fitted into its paintable area
// (never enlarged) and centred; `goOn` runs between pages and stops the print,
// which is then aborted, when it says no. False when the printer would not
// start or a page could not be drawn.
bool print(QPdfDocument &document, QPrinter *printer, const std::function<bool()> &goOn = {});

} // namespace pdfpages
