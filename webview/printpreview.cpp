#include "printpreview.h"

#include "pdffile.h"
#include "pdfpageview.h"
#include "pdfpane.h"

#include <QAction>
#include <QKeySequence>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

PrintPreview::PrintPreview(QPrinter *printer, std::function<PdfFile *()> pageSetup, QWidget *parent)
    : QDialog(parent), m_printer(printer)
{
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(tr("Print Preview"));
    auto *print = new QAction(tr("&Print..."), this);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, [this] {
        m_printChosen = true;
        accept();
    });
    auto *setup = new QAction(tr("Page &Setup..."), this);
    connect(setup, &QAction::triggered, this, [this, pageSetup] {
        if (PdfFile *again = pageSetup())
            m_file = again;
        showFile(m_file);
    });
    m_pane = new PdfPane({print, setup}, this);
    auto *close = m_pane->toolBar()->addAction(tr("Close"), this, &QDialog::reject);
    m_pane->toolBar()->insertSeparator(close);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_pane);
    // Room for a page and the whole tool bar.
    if (parent)
        resize(sizeHint().expandedTo(parent->window()->size() * 3 / 4));
}

void PrintPreview::showFile(PdfFile *file)
{
    m_file = file;
    // The engine lays a page out on the paper itself: its pages are the
    // sheets. A PDF file's pages go into the printable area.
    m_pane->pages()->setPaper(m_printer->pageLayout(), file && file->onPaper());
    m_pane->setDocument(file ? &file->document() : nullptr, PdfPane::PageLimit);
    m_pane->pages()->setFocus(Qt::OtherFocusReason);
}
