#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPointer>

#include <optional>

class QPdfDocument;

// The pages of a PDF document one below the other, drawn only where they are
// in sight: each paint renders the visible part of each visible page at the
// screen's resolution and keeps a few recent pages, so that neither the
// number of pages nor the zoom makes memory grow. Every page is shown at
// least one pixel wide and high, however small or large the document makes
// it. Laid on paper, each page is fitted onto its sheet as it prints.
class PdfPageView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // How the zoom follows the view's size: not at all, the widest page
    // across the view, or the whole current page in sight.
    enum class Fit { None, Width, Page };
    static constexpr qreal MinZoom = 0.1;
    static constexpr qreal MaxZoom = 4.0;

    explicit PdfPageView(QWidget *parent = nullptr);
    ~PdfPageView() override;

    // Shows the first `pages` pages of `document`, from the first; the
    // document must stay open while the view shows it. Null shows nothing.
    void setDocument(QPdfDocument *document, int pages);
    // Lays each page on a sheet of `paper`, fitted into its printable area
    // (or onto the whole sheet with `wholeSheet`), as pdfpages prints it.
    void setPaper(const QPageLayout &paper, bool wholeSheet);
    int pageCount() const { return int(m_sizes.size()); }
    // The page at the top of the view, from 0.
    int currentPage() const { return m_current; }
    void goToPage(int page);
    // 1 is 100 %: a point of the page is a point on the screen.
    qreal zoom() const { return m_zoom; }
    void setZoom(qreal zoom);
    Fit fit() const { return m_fit; }
    void setFit(Fit fit);
    // Marks `boxes` (points of the page) on `page` and brings the first in
    // sight; none clears the mark.
    void mark(int page, const QList<QRectF> &boxes);

signals:
    void currentPageChanged(int page);
    void zoomChanged(qreal zoom);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // A sheet and the page on it, in points.
    struct Sheet
    {
        QSizeF size;
        QRectF page;
    };
    // A page drawn whole at one zoom, kept while it is likely to be seen again.
    struct Drawn
    {
        int page;
        QSize size;
        QImage image;
    };
    Sheet sheet(int page) const;
    qreal pixelsPerPoint() const;
    // Places the sheets at the current zoom, the view at `within` (0 its
    // top, 1 its end) of page `anchor`.
    void layOut(int anchor, qreal within = 0);
    // How far down the current page the view is.
    qreal within() const;
    // Where page `page` is drawn in the viewport, and its sheet.
    QRect sheetRect(int page) const;
    QRect pageRect(int page) const;
    // The page `page` drawn at `rect` in the viewport, whole or the part
    // `clip` of it, and where that goes.
    struct Part
    {
        QPointF at;
        QImage image;
    };
    Part render(int page, const QRect &rect, const QRect &clip);
    void updateCurrent();

    QPointer<QPdfDocument> m_document;
    QList<QSizeF> m_sizes; // of the pages shown, made usable
    std::optional<QPageLayout> m_paper;
    bool m_wholeSheet = false;
    QList<int> m_tops; // of each sheet in content pixels, and the end
    int m_width = 0;   // of the widest sheet
    qreal m_zoom = 1;
    Fit m_fit = Fit::Width;
    int m_current = 0;
    int m_markedPage = -1;
    QList<QRectF> m_marks;
    QList<Drawn> m_drawn; // the most recent first
};
