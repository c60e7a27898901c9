#include "pdfpages.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfSelection>
#include <QPrinter>
#include <QTransform>

#include <algorithm>
#include <numeric>

namespace pdfpages {

// More copies than any print dialog offers: a printer that says otherwise
// would have the program draw pages for ever.
static constexpr int MostCopies = 999;

QList<int> sequence(const QPrinter &printer, int pageCount)
{
    const QPageRanges ranges = printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
    QList<int> chosen;
    for (int page = 1; page <= pageCount; ++page) {
        if (ranges.isEmpty() || ranges.contains(page))
            chosen << page - 1;
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(chosen.begin(), chosen.end());
    // A printer that makes copies itself gets each page once.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::clamp(printer.copyCount(), 1, MostCopies);
    const int documentCopies = printer.collateCopies() ? copies : 1;
    const int pageCopies = printer.collateCopies() ? 1 : copies;
    QList<int> pages;
    for (int copy = 0; copy < documentCopies; ++copy) {
        for (const int page : std::as_const(chosen)) {
            for (int again = 0; again < pageCopies; ++again)
                pages << page;
        }
    }
    return pages;
}

bool wholeDocument(const QPrinter &printer, int pageCount)
{
    QList<int> all(pageCount);
    std::iota(all.begin(), all.end(), 0);
    return pageCount > 0 && sequence(printer, pageCount) == all;
}

QString openFailure(QPdfDocument::Error error)
{
    switch (error) {
    case QPdfDocument::Error::IncorrectPassword:
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QCoreApplication::translate("EnginePrinting",
                                           "The PDF file is locked with a password; nothing was printed.");
    case QPdfDocument::Error::None:
    case QPdfDocument::Error::Unknown:
    case QPdfDocument::Error::DataNotYetAvailable:
    case QPdfDocument::Error::FileNotFound:
    case QPdfDocument::Error::InvalidFileFormat:
        break;
    }
    return QCoreApplication::translate("EnginePrinting",
                                       "The PDF file is damaged and cannot be printed; nothing was printed.");
}

// Lays the text of `page` over its picture, drawn at `corner` and `scale`
// device pixels a point, line by line where it shows, invisible: a PDF file
// made of pictures of the pages keeps their text to find, copy and read.
static void drawText(QPainter &painter, QPdfDocument &document, int page, QPointF corner, qreal scale)
{
    const QString text = document.getAllText(page).text();
    painter.save();
    painter.setPen(QColor(0, 0, 0, 0));
    int start = 0;
    for (const QString &line : text.split(u'\n')) {
        const QString shown = line.trimmed();
        const QRectF box = document.getSelectionAtIndex(page, start, int(line.size())).boundingRectangle();
        start += int(line.size()) + 1; // the line's end is a character of the page's text too
        if (shown.isEmpty() || box.isEmpty())
            continue;
        QFont font = painter.font();
        font.setPixelSize(std::max(1, qRound(box.height() * scale * 0.8)));
        painter.setFont(font);
        const QFontMetricsF metrics(font, painter.device());
        const qreal width = metrics.horizontalAdvance(shown);
        if (width <= 0)
            continue;
        QTransform place;
        place.translate(corner.x() + box.left() * scale, corner.y() + box.bottom() * scale - metrics.descent());
        place.scale(box.width() * scale / width, 1);
        painter.setTransform(place);
        painter.drawText(QPointF(0, 0), shown);
    }
    painter.restore();
}

bool print(QPdfDocument &document, QPrinter *printer, const std::function<bool()> &goOn)
{
    const QList<int> pages = sequence(*printer, document.pageCount());
    QPainter painter;
    if (pages.isEmpty() || !painter.begin(printer))
        return false;
    // Device pixels at the printer's resolution: what the printer's paint
    // engine puts on paper one to one.
    const QRect area = painter.viewport();
    const qreal pixelsPerPoint = printer->resolution() / 72.0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && ((goOn && !goOn()) || !printer->newPage())) {
            printer->abort();
            return false;
        }
        QSize size = (document.pagePointSize(pages[i]) * pixelsPerPoint).toSize();
        if (size.width() > area.width() || size.height() > area.height())
            size.scale(area.size(), Qt::KeepAspectRatio);
        const QImage image = size.isEmpty() ? QImage() : document.render(pages[i], size);
        if (image.isNull()) {
            printer->abort();
            return false;
        }
        const QPoint corner(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
        painter.drawImage(corner, image);
        if (painter.paintEngine()->type() == QPaintEngine::Pdf)
            drawText(painter, document, pages[i], corner, qreal(size.width()) / document.pagePointSize(pages[i]).width());
    }
    return painter.end();
}

} // namespace pdfpages
