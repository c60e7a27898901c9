#pragma once

#include "webview.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QPrintDialog;
class QPrinter;
class QWebEngineView;
class QWidget;
class PdfFile;
class PdfViewer;
class Session;
class WebPage;

// The print commands of one view over the engine: Print, Print Preview, Page
// Setup, and the prints a page asks for (window.print()). Everything prints
// through a PDF document: the page as the engine lays it out on the
// printer's paper, or the bytes of the PDF file the view shows in `viewer`
// in its place (see setViewer). A preview draws only the pages in
// sight; a printer gets one page at a time; a PDF file gets the document's
// own bytes where it can. Every wait for the engine ends: when the engine
// reports, when the page's renderer ends, or after PrintLimitMs; the user is
// told why nothing was printed. One print command runs at a time.
class EnginePrinting : public QObject
{
    Q_OBJECT
public:
    // How long a print may keep the program waiting for the engine: a long
    // page takes seconds, an engine that has lost the print never answers.
    static constexpr int PrintLimitMs = 60000;

    // Prints `page` as `view` shows it, with dialogs over `owner`;
    // `shownElsewhere` says whether the page is in another view just now (full
    // screen), where `view` cannot print it.
    EnginePrinting(QWebEngineView *view, WebPage *page, Session &session, std::function<bool()> shownElsewhere,
                   QWidget *owner);
    ~EnginePrinting() override;

    // The one printer of the view (300 dpi), shared by Print, Print Preview
    // and Page Setup so that settings carry over between them.
    QPrinter *printer();
    // Runs the print command `command` (Print, PrintPreview or PageSetup)
    // as the page's one open question; throws WebViewError when it fails,
    // or when another question of the page is open.
    void exec(PageCommand command);
    // The engine is making a PDF document of the page, also for a print that
    // was given up on: stopping the page now would bring the engine down
    // (Qt 6.4), and a new print would get no answer.
    bool rendering() const { return m_rendering; }
    // The view is going. The engine answers a print whose renderer ended
    // later all the same, and ends the program should the page be gone by
    // then (Qt 6.4 to 6.8): the page stays with the session until then.
    void keepPageForAnswer();
    // Prints what `viewer` shows, while it shows a PDF file, in place of the
    // page.
    void setViewer(PdfViewer *viewer) { m_viewer = viewer; }
    // Sets how long a print may wait for the engine, for tests.
    void setLimitForTesting(int ms) { m_limitMs = ms; }

    // How a print ended.
    enum class Outcome { Done, Failed, NoRenderer, RendererEnded, TimedOut };

private:
    void printPreview();
    void pageSetup();
    // Prints `made`, or what the view shows; false when the user cancelled
    // the print dialog.
    bool print(std::shared_ptr<PdfFile> made = {});
    // Print as the page asked for it (window.print()).
    void printForPage();
    // The PDF file shown in place of the page, if one is.
    bool showsPdf() const;
    // The document to print, opened: the PDF file shown, or the page laid
    // out on the printer's paper (only the printer's page range with
    // `withRange`). Throws WebViewError, saying why, when there is none; null
    // when this object went meanwhile.
    std::shared_ptr<PdfFile> document(bool withRange);
    // Has the engine make the page as a PDF document of its own, with text
    // and links, into `pdf`, and waits until it is done.
    Outcome makePdf(QByteArray *pdf, bool withRange);
    // Offers, in `dialog`, a PDF file in the Downloads folder named after
    // the page, unless the user has chosen a file of their own.
    void offerFile(QPrintDialog *dialog);
    // What the user is told of a print to `destination` that ended with
    // `outcome`; empty when it printed.
    QString failure(Outcome outcome, const QString &destination) const;

    WebPage *m_page;
    Session &m_session;
    std::function<bool()> m_shownElsewhere;
    QWidget *m_owner;
    PdfViewer *m_viewer = nullptr;
    // Shared with a print that is under way, which finishes or stops
    // cleanly should the view go meanwhile.
    std::shared_ptr<QPrinter> m_printer;
    int m_limitMs = PrintLimitMs;
    // The file Print to File offered last.
    QString m_offered;
    // The engine is making a PDF document of the page, until it answers or
    // the renderer ends.
    bool m_rendering = false;
    // The engine has not answered a PDF document asked of it.
    bool m_answerOwed = false;
    // The page's renderer has ended and no other has started yet.
    bool m_rendererGone = false;
};
