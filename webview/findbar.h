#pragma once

#include <QKeySequence>
#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QPdfDocument;
class QPdfSearchModel;
class QWebEnginePage;
class QWebEngineFindTextResult;
class PdfPageView;

// The find bar below a page: finds as the user types; Enter or F3 goes to
// the next match, Shift+Enter or Shift+F3 to the one before; it counts the
// matches ("2 of 5", "Not found"). Esc closes it and leaves the match
// selected, with the keyboard back in the page.
class FindBar : public QWidget
{
    Q_OBJECT
public:
    FindBar(QWebEnginePage *page, QWidget *parent);

    // The bar's keys while it is open, wherever the focus is in its window:
    // the next match and the one before.
    struct Key
    {
        const char *text; // for the list of keys, in the context FindBar
        QKeySequence::StandardKey keys;
        bool backward;
    };
    static const std::vector<Key> &keys();

    // Shows the bar with its text selected and the keyboard in it.
    void open();
    // Goes to the next match, or the one before.
    void findAgain(bool backward);
    QLineEdit *field() const { return m_field; }
    // "2 of 5", "Not found", or nothing before the first search.
    QString countText() const;
    // Finds in `document`, shown in `pages`, instead of the page (Qt 6.6
    // and later); null finds in the page again.
    void searchPdf(QPdfDocument *document, PdfPageView *pages);
    bool searchesPdf() const { return m_pages != nullptr; }

signals:
    // The bar was closed; the page takes the keyboard back.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void find(bool backward);
    void showResult(const QWebEngineFindTextResult &result);
    // Marks the match of the document's search that the bar is on.
    void showPdfMatch();
    void close();

    QWebEnginePage *m_page;
    QLineEdit *m_field;
    QLabel *m_count;
    PdfPageView *m_pages = nullptr;
    QPdfSearchModel *m_pdfSearch = nullptr;
    int m_pdfMatch = 0;
};
