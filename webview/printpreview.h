#pragma once

#include <QDialog>

#include <functional>

class QPrinter;
class PdfFile;
class PdfPane;

// Print Preview: the document to be printed, each page on the printer's
// paper as it will print, drawn only where it is in sight. Its tool bar
// has Print, Page Setup, the page and the zoom; it shows at most the pane's
// page limit and says which pages are left out.
class PrintPreview : public QDialog
{
    Q_OBJECT
public:
    // `pageSetup` runs Page Setup over the dialog and returns the document
    // to show after it, or null to keep the one shown.
    PrintPreview(QPrinter *printer, std::function<PdfFile *()> pageSetup, QWidget *parent);

    // Shows `file` (opened), laid on the printer's paper as it is now.
    void showFile(PdfFile *file);
    PdfPane *pane() const { return m_pane; }
    // The user chose Print.
    bool printChosen() const { return m_printChosen; }

private:
    QPrinter *m_printer;
    PdfPane *m_pane;
    PdfFile *m_file = nullptr;
    bool m_printChosen = false;
};
