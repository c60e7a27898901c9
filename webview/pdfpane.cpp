#include "pdfpane.h"

#include "pdfpageview.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLocale>
#include <QPdfDocument>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

namespace {
// The zoom steps of the tool bar's buttons.
constexpr qreal ZoomStep = 1.25;
} // namespace

PdfPane::PdfPane(const QList<QAction *> &commands, QWidget *parent)
    : QWidget(parent), m_toolBar(new QToolBar(this)), m_note(new QLabel(this)), m_pages(new PdfPageView(this)),
      m_pageNumber(new QSpinBox(this)), m_pageCount(new QLabel(this)), m_zoom(new QLabel(this))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_toolBar->setObjectName(QStringLiteral("pdfTools"));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolBar->addActions(commands);
    m_toolBar->addSeparator();
    m_previous = m_toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowUp), tr("Previous Page"),
                                      this, [this] { m_pages->goToPage(m_pages->currentPage() - 1); });
    m_pageNumber->setObjectName(QStringLiteral("pageNumber"));
    m_pageNumber->setAccessibleName(tr("Page"));
    m_pageNumber->setKeyboardTracking(false);
    m_toolBar->addWidget(m_pageNumber);
    m_pageCount->setTextFormat(Qt::PlainText);
    m_pageCount->setContentsMargins(4, 0, 4, 0);
    m_toolBar->addWidget(m_pageCount);
    m_next = m_toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowDown), tr("Next Page"), this,
                                  [this] { m_pages->goToPage(m_pages->currentPage() + 1); });
    for (QAction *move : {m_previous, m_next})
        m_toolBar->widgetForAction(move)->setProperty("toolButtonStyle", int(Qt::ToolButtonIconOnly));
    m_toolBar->addSeparator();
    m_toolBar->addAction(tr("Zoom Out"), this, [this] { m_pages->setZoom(m_pages->zoom() / ZoomStep); });
    m_zoom->setObjectName(QStringLiteral("zoom"));
    m_zoom->setTextFormat(Qt::PlainText);
    m_zoom->setAlignment(Qt::AlignCenter);
    m_zoom->setMinimumWidth(m_zoom->fontMetrics().horizontalAdvance(QStringLiteral(" 400 % ")));
    m_toolBar->addWidget(m_zoom);
    m_toolBar->addAction(tr("Zoom In"), this, [this] { m_pages->setZoom(m_pages->zoom() * ZoomStep); });
    auto *fits = new QActionGroup(this);
    fits->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    m_fitWidth = m_toolBar->addAction(tr("Fit Width"), this, [this] { m_pages->setFit(PdfPageView::Fit::Width); });
    m_wholePage = m_toolBar->addAction(tr("Whole Page"), this, [this] { m_pages->setFit(PdfPageView::Fit::Page); });
    for (QAction *fit : {m_fitWidth, m_wholePage}) {
        fit->setCheckable(true);
        fits->addAction(fit);
    }
    m_note->setObjectName(QStringLiteral("pdfNote"));
    m_note->setTextFormat(Qt::PlainText);
    m_note->setWordWrap(true);
    m_note->setMargin(4);
    m_note->setAutoFillBackground(true);
    QPalette note = m_note->palette();
    note.setColor(QPalette::Window, QColor(255, 248, 196));
    note.setColor(QPalette::WindowText, Qt::black);
    m_note->setPalette(note);
    m_note->hide();
    column->addWidget(m_toolBar);
    column->addWidget(m_note);
    column->addWidget(m_pages, 1);
    setFocusProxy(m_pages);
    connect(m_pageNumber, &QSpinBox::valueChanged, this, [this](int number) { m_pages->goToPage(number - 1); });
    connect(m_pages, &PdfPageView::currentPageChanged, this, [this](int page) { showPage(page); });
    connect(m_pages, &PdfPageView::zoomChanged, this, [this] { showZoom(); });
    setDocument(nullptr, 0);
}

void PdfPane::setDocument(QPdfDocument *document, int limit)
{
    const int count = document ? document->pageCount() : 0;
    m_pages->setDocument(document, limit);
    const int shown = m_pages->pageCount();
    {
        const QSignalBlocker quiet(m_pageNumber);
        m_pageNumber->setRange(shown > 0 ? 1 : 0, shown);
    }
    m_pageCount->setText(tr("of %1").arg(QLocale().toString(count)));
    m_note->setVisible(shown < count);
    if (shown < count)
        m_note->setText(tr("Pages %1 to %2 are not shown: at most %3 pages are shown here.")
                            .arg(QLocale().toString(shown + 1), QLocale().toString(count), QLocale().toString(shown)));
    showPage(m_pages->currentPage());
    showZoom();
}

QString PdfPane::note() const
{
    return m_note->isVisibleTo(this) ? m_note->text() : QString();
}

void PdfPane::showPage(int page)
{
    const QSignalBlocker quiet(m_pageNumber);
    m_pageNumber->setValue(m_pages->pageCount() > 0 ? page + 1 : 0);
    m_previous->setEnabled(page > 0);
    m_next->setEnabled(page + 1 < m_pages->pageCount());
}

void PdfPane::showZoom()
{
    m_zoom->setText(tr("%1 %").arg(std::lround(m_pages->zoom() * 100)));
    m_fitWidth->setChecked(m_pages->fit() == PdfPageView::Fit::Width);
    m_wholePage->setChecked(m_pages->fit() == PdfPageView::Fit::Page);
}
