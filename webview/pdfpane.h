#pragma once

#include <QList>
#include <QWidget>

class QAction;
class QLabel;
class QPdfDocument;
class QSpinBox;
class QToolBar;
class PdfPageView;

// A PDF document's pages under a tool bar: the owner's own commands first
// (Print, Save...), then the page number and the way to the page before and
// after, and the zoom (out, in, the page's width, the whole page). Above the
// pages a note says which pages are not shown, when there are more than the
// pane shows.
class PdfPane : public QWidget
{
    Q_OBJECT
public:
    // The most pages shown: more than anyone reads on a screen, few enough
    // that laying them out takes no time.
    static constexpr int PageLimit = 1000;

    PdfPane(const QList<QAction *> &commands, QWidget *parent);

    // Shows the first `limit` pages of `document` (null: none), which must
    // stay open while it is shown.
    void setDocument(QPdfDocument *document, int limit);
    PdfPageView *pages() const { return m_pages; }
    QToolBar *toolBar() const { return m_toolBar; }
    // The note over the pages, empty when every page is shown.
    QString note() const;

private:
    void showPage(int page);
    void showZoom();

    QToolBar *m_toolBar;
    QLabel *m_note;
    PdfPageView *m_pages;
    QSpinBox *m_pageNumber;
    QLabel *m_pageCount;
    QLabel *m_zoom;
    QAction *m_previous;
    QAction *m_next;
    QAction *m_fitWidth;
    QAction *m_wholePage;
};
