#include "pdfpageview.h"

#include "pdfpages.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// Room around and between the sheets, in pixels.
constexpr int Gap = 8;
// A sheet is at most this many pixels either way: a thousand of them stay
// within what a scroll bar counts.
constexpr qreal LargestSheet = 40000;
// Pages drawn whole up to this many device pixels; larger ones are drawn
// in the part in sight only.
constexpr qint64 WholePagePixels = 4 * 1024 * 1024;
// Device pixels of whole pages kept for scrolling back.
constexpr qint64 KeptPixels = 12 * 1024 * 1024;
// The zoom steps of Ctrl and the wheel, and of zoomBy.
constexpr qreal ZoomStep = 1.25;
} // namespace

PdfPageView::PdfPageView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("pdfPages"));
    setAccessibleName(tr("Pages"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
}

PdfPageView::~PdfPageView() = default;

void PdfPageView::setDocument(QPdfDocument *document, int pages)
{
    m_document = document;
    m_sizes.clear();
    m_drawn.clear();
    m_marks.clear();
    m_markedPage = -1;
    const int shown = document ? std::clamp(pages, 0, document->pageCount()) : 0;
    for (int page = 0; page < shown; ++page)
        m_sizes << pdfpages::pageSize(*document, page);
    m_current = 0;
    layOut(0);
    emit currentPageChanged(0);
}

void PdfPageView::setPaper(const QPageLayout &paper, bool wholeSheet)
{
    m_paper = paper;
    m_wholeSheet = wholeSheet;
    m_drawn.clear();
    layOut(m_current, within());
}

PdfPageView::Sheet PdfPageView::sheet(int page) const
{
    const QSizeF size = m_sizes.value(page, QSizeF(1, 1));
    if (!m_paper)
        return {size, QRectF(QPointF(), size)};
    const QRectF whole = m_paper->fullRectPoints();
    const QRectF area = m_wholeSheet ? whole : QRectF(m_paper->paintRectPoints());
    return {whole.size(), pdfpages::fitted(size, area)};
}

qreal PdfPageView::pixelsPerPoint() const
{
    return m_zoom * logicalDpiX() / 72.0;
}

qreal PdfPageView::within() const
{
    if (pageCount() == 0 || m_tops.size() <= m_current + 1)
        return 0;
    const int height = m_tops[m_current + 1] - m_tops[m_current];
    return std::clamp(qreal(verticalScrollBar()->value() + Gap - m_tops[m_current]) / height, 0.0, 1.0);
}

void PdfPageView::layOut(int anchor, qreal within)
{
    // The zoom that fits, then no more than the largest sheet allows.
    qreal largest = 1;
    QSizeF widest(1, 1);
    for (int page = 0; page < pageCount(); ++page) {
        const QSizeF size = sheet(page).size;
        largest = std::max({largest, size.width(), size.height()});
        widest = size.width() > widest.width() ? size : widest;
    }
    const qreal dpi = logicalDpiX() / 72.0;
    const QSize room = viewport()->size() - QSize(2 * Gap, 2 * Gap);
    qreal zoom = m_zoom;
    if (m_fit == Fit::Width) {
        zoom = room.width() / (widest.width() * dpi);
    } else if (m_fit == Fit::Page) {
        const QSizeF current = sheet(m_current).size;
        zoom = std::min(room.width() / current.width(), room.height() / current.height()) / dpi;
    }
    zoom = std::clamp(zoom, MinZoom, std::max(MinZoom, std::min(MaxZoom, LargestSheet / (largest * dpi))));
    if (!std::isfinite(zoom))
        zoom = 1;
    m_zoom = zoom;
    m_tops.clear();
    m_width = 0;
    int top = Gap;
    for (int page = 0; page < pageCount(); ++page) {
        m_tops << top;
        const QSize size = pdfpages::atLeastOnePixel(QRectF(QPointF(), sheet(page).size * pixelsPerPoint())).size();
        top += size.height() + Gap;
        m_width = std::max(m_width, size.width());
    }
    m_tops << top;
    verticalScrollBar()->setRange(0, std::max(0, top - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    horizontalScrollBar()->setRange(0, std::max(0, m_width + 2 * Gap - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    if (pageCount() > 0) {
        anchor = std::clamp(anchor, 0, pageCount() - 1);
        verticalScrollBar()->setValue(m_tops[anchor] - Gap + qRound(within * (m_tops[anchor + 1] - m_tops[anchor])));
    }
    viewport()->update();
    emit zoomChanged(m_zoom);
}

QRect PdfPageView::sheetRect(int page) const
{
    const QSize size = pdfpages::atLeastOnePixel(QRectF(QPointF(), sheet(page).size * pixelsPerPoint())).size();
    // Narrower sheets are centred; the widest starts at the gap.
    const int content = std::max(m_width + 2 * Gap, viewport()->width());
    const int left = (content - size.width()) / 2 - horizontalScrollBar()->value();
    return QRect(QPoint(left, m_tops.value(page) - verticalScrollBar()->value()), size);
}

QRect PdfPageView::pageRect(int page) const
{
    const QRect paper = sheetRect(page);
    const QRectF on = sheet(page).page;
    const qreal scale = pixelsPerPoint();
    return pdfpages::atLeastOnePixel(QRectF(paper.topLeft() + on.topLeft() * scale, on.size() * scale));
}

PdfPageView::Part PdfPageView::render(int page, const QRect &rect, const QRect &clip)
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(rect.size()) * ratio).toSize().expandedTo(QSize(1, 1));
    const bool whole = qint64(size.width()) * size.height() <= WholePagePixels;
    if (whole) {
        const auto kept = std::find_if(m_drawn.begin(), m_drawn.end(),
                                       [&](const Drawn &drawn) { return drawn.page == page && drawn.size == size; });
        if (kept != m_drawn.end()) {
            std::rotate(m_drawn.begin(), kept, kept + 1);
            return {rect.topLeft(), m_drawn.constFirst().image};
        }
    }
    QPdfDocumentRenderOptions options;
    QRect part(QPoint(), size);
    if (!whole) {
        // Only the part in sight, at the scale of the whole page.
        part = QRectF(QPointF(clip.topLeft() - rect.topLeft()) * ratio, QSizeF(clip.size()) * ratio).toAlignedRect()
            & part;
        options.setScaledSize(size);
        options.setScaledClipRect(part);
    }
    QImage image = m_document && !part.isEmpty() ? m_document->render(page, part.size(), options) : QImage();
    image.setDevicePixelRatio(ratio);
    if (whole && !image.isNull()) {
        m_drawn.prepend({page, size, image});
        qint64 pixels = 0;
        for (qsizetype i = 0; i < m_drawn.size(); ++i) {
            pixels += qint64(m_drawn[i].size.width()) * m_drawn[i].size.height();
            if (pixels > KeptPixels) {
                m_drawn.resize(i);
                break;
            }
        }
    }
    return {QPointF(rect.topLeft()) + QPointF(part.topLeft()) / ratio, image};
}

void PdfPageView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect seen = event->rect();
    const int scroll = verticalScrollBar()->value();
    // The first sheet that reaches into sight, then on until one starts below.
    const auto first = std::upper_bound(m_tops.begin(), m_tops.end(), scroll + seen.top()) - m_tops.begin() - 1;
    for (int page = std::max(0, int(first)); page < pageCount(); ++page) {
        const QRect paper = sheetRect(page);
        if (paper.top() > seen.bottom())
            break;
        painter.fillRect(paper, Qt::white);
        painter.setPen(palette().color(QPalette::Shadow));
        painter.drawRect(paper.adjusted(-1, -1, 0, 0));
        const QRect rect = pageRect(page);
        const QRect clip = rect & seen;
        if (clip.isEmpty())
            continue;
        const Part part = render(page, rect, clip);
        painter.drawImage(part.at, part.image);
        if (page == m_markedPage) {
            const QSizeF points = m_sizes.value(page);
            const qreal sx = rect.width() / points.width(), sy = rect.height() / points.height();
            for (const QRectF &box : std::as_const(m_marks))
                painter.fillRect(QRectF(rect.left() + box.left() * sx, rect.top() + box.top() * sy, box.width() * sx,
                                        box.height() * sy),
                                 QColor(255, 150, 0, 110));
        }
    }
}

void PdfPageView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layOut(m_current, within());
}

void PdfPageView::scrollContentsBy(int, int)
{
    viewport()->update();
    updateCurrent();
}

void PdfPageView::updateCurrent()
{
    if (pageCount() == 0)
        return;
    // The page at the top of the view; at the end, the one at its bottom.
    const QScrollBar *bar = verticalScrollBar();
    const int line = bar->value() + (bar->value() > 0 && bar->value() == bar->maximum() ? viewport()->height() - 1 : Gap);
    const int page = std::clamp(int(std::upper_bound(m_tops.begin(), m_tops.end(), line) - m_tops.begin()) - 1, 0,
                                pageCount() - 1);
    if (page != m_current) {
        m_current = page;
        emit currentPageChanged(page);
    }
}

void PdfPageView::goToPage(int page)
{
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 0, pageCount() - 1);
    verticalScrollBar()->setValue(m_tops.value(page) - Gap);
    if (page != m_current) {
        m_current = page;
        emit currentPageChanged(page);
    }
}

void PdfPageView::setZoom(qreal zoom)
{
    m_fit = Fit::None;
    m_zoom = zoom;
    layOut(m_current, within());
}

void PdfPageView::setFit(Fit fit)
{
    m_fit = fit;
    layOut(m_current, within());
}

void PdfPageView::mark(int page, const QList<QRectF> &boxes)
{
    m_markedPage = boxes.isEmpty() ? -1 : page;
    m_marks = boxes;
    viewport()->update();
    if (boxes.isEmpty() || page < 0 || page >= pageCount())
        return;
    // The first box in sight, a little below the view's top edge when it
    // has to move.
    const QRect rect = pageRect(page);
    const QSizeF points = m_sizes.value(page);
    const QRectF box = boxes.constFirst();
    const int top = int(rect.top() + box.top() * rect.height() / points.height()) + verticalScrollBar()->value();
    const int left = int(rect.left() + box.left() * rect.width() / points.width()) + horizontalScrollBar()->value();
    const int height = std::max(1, int(box.height() * rect.height() / points.height()));
    if (top < verticalScrollBar()->value() || top + height > verticalScrollBar()->value() + viewport()->height())
        verticalScrollBar()->setValue(top - viewport()->height() / 3);
    if (left < horizontalScrollBar()->value() || left > horizontalScrollBar()->value() + viewport()->width())
        horizontalScrollBar()->setValue(left - Gap);
}

void PdfPageView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        setZoom(m_zoom * std::pow(ZoomStep, steps));
    event->accept();
}

void PdfPageView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Home:
        goToPage(0);
        break;
    case Qt::Key_End:
        goToPage(pageCount() - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}
