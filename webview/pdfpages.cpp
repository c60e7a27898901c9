#include "pdfpages.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfDocumentRenderOptions>
#include <QPdfSelection>
#include <QPrinter>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <numeric>

namespace pdfpages {

// More copies than any print dialog offers: a printer that says otherwise
// would have the program draw pages for ever.
static constexpr int MostCopies = 999;
// A page is drawn in bands of at most this many device pixels: a page on
// large paper at a printer's resolution is never held whole.
static constexpr qint64 BandPixels = 16 * 1024 * 1024;

QList<int> sequence(const QPrinter &printer, int pageCount, bool rangeDone)
{
    const QPageRanges ranges =
        printer.printRange() == QPrinter::PageRange && !rangeDone ? printer.pageRanges() : QPageRanges();
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

bool wholeDocument(const QPrinter &printer, int pageCount, bool rangeDone)
{
    QList<int> all(pageCount);
    std::iota(all.begin(), all.end(), 0);
    return pageCount > 0 && sequence(printer, pageCount, rangeDone) == all;
}

QString openFailure(QPdfDocument::Error error, int pages)
{
    switch (error) {
    case QPdfDocument::Error::IncorrectPassword:
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return QCoreApplication::translate("PdfPages", "The PDF file is locked with a password.");
    case QPdfDocument::Error::None:
        if (pages > 0)
            return QString();
        return QCoreApplication::translate("PdfPages", "The PDF file has no pages.");
    case QPdfDocument::Error::Unknown:
    case QPdfDocument::Error::DataNotYetAvailable:
    case QPdfDocument::Error::FileNotFound:
    case QPdfDocument::Error::InvalidFileFormat:
        break;
    }
    return QCoreApplication::translate("PdfPages", "The PDF file is damaged.");
}

QSizeF pageSize(const QPdfDocument &document, int page)
{
    QSizeF size = document.pagePointSize(page);
    // Not a number, nothing or less: a point.
    if (!(size.width() > 0))
        size.setWidth(1);
    if (!(size.height() > 0))
        size.setHeight(1);
    const qreal larger = std::max(size.width(), size.height());
    return larger > LargestSide ? size * (LargestSide / larger) : size;
}

QRectF fitted(QSizeF page, const QRectF &area)
{
    if (page.width() > area.width() || page.height() > area.height())
        page.scale(area.size(), Qt::KeepAspectRatio);
    return QRectF(area.center() - QPointF(page.width(), page.height()) / 2, page);
}

QRect atLeastOnePixel(const QRectF &rect)
{
    const QPoint corner(qFloor(rect.left()), qFloor(rect.top()));
    return QRect(corner, QSize(std::max(1, qRound(rect.width())), std::max(1, qRound(rect.height()))));
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

bool print(QPdfDocument &document, QPrinter *printer, bool wholeSheet, bool rangeDone,
           const std::function<bool()> &goOn)
{
    const QList<int> pages = sequence(*printer, document.pageCount(), rangeDone);
    if (pages.isEmpty())
        return false;
    const bool wasFullPage = printer->fullPage();
    printer->setFullPage(wholeSheet);
    QPainter painter;
    bool printed = painter.begin(printer);
    // Device pixels at the printer's resolution: what the printer's paint
    // engine puts on paper one to one.
    const QRect area = painter.viewport();
    const qreal pixelsPerPoint = printer->resolution() / 72.0;
    for (qsizetype i = 0; printed && i < pages.size(); ++i) {
        if (i > 0 && ((goOn && !goOn()) || !printer->newPage())) {
            printed = false;
            break;
        }
        const int page = pages[i];
        const QRect place = atLeastOnePixel(fitted(pageSize(document, page) * pixelsPerPoint, area));
        // One band, or as many as the page needs, each let go once drawn.
        const int rows = int(std::clamp<qint64>(BandPixels / place.width(), 1, place.height()));
        for (int top = 0; printed && top < place.height(); top += rows) {
            const QRect band(0, top, place.width(), std::min(rows, place.height() - top));
            QPdfDocumentRenderOptions options;
            if (band.size() != place.size()) {
                options.setScaledSize(place.size());
                options.setScaledClipRect(band);
            }
            const QImage image = document.render(page, band.size(), options);
            printed = !image.isNull();
            if (printed)
                painter.drawImage(place.topLeft() + band.topLeft(), image);
        }
        const QSizeF points = document.pagePointSize(page);
        if (printed && painter.paintEngine()->type() == QPaintEngine::Pdf && points.width() > 0)
            drawText(painter, document, page, place.topLeft(), place.width() / points.width());
    }
    // A print that stopped is aborted: nothing more is drawn on it.
    if (printed)
        printed = painter.end();
    else if (painter.isActive())
        printer->abort();
    printer->setFullPage(wasFullPage);
    return printed;
}

} // namespace pdfpages
