#pragma once

#include "webview.h"

#include <QObject>

#include <functional>
#include <memory>

class QPdfDocument;
class QPrinter;
class QWebEngineView;
class QWidget;
class Session;
class WebPage;

// The print commands of one view over the engine: Print, Print Preview, Page
// Setup, and the prints a page asks for (window.print()). Every wait for the
// engine ends: when the engine reports, when the page's renderer ends, or
// after PrintLimitMs; the user is told why nothing was printed. One print
// command runs at a time. A PDF file in the engine's viewer is printed as the
// file itself, through Qt PDF, not as the viewer's controls.
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
    // The engine is gathering the page for a printer, also for a print that
    // was given up on: stopping the page now would bring the engine down
    // (Qt 6.4), and a new print would get no answer.
    bool rendering() const { return m_rendering; }
    // The page is a PDF file in the engine's viewer.
    bool showsPdf() const { return m_showsPdf; }
    // Sets how long a print may wait for the engine, for tests.
    void setLimitForTesting(int ms) { m_limitMs = ms; }

    // How a print ended.
    enum class Outcome { Done, Failed, RendererEnded, TimedOut };

private:
    void printPreview();
    void pageSetup();
    // False when the user cancelled the print dialog.
    bool print();
    // Print as the page asked for it (window.print(), the PDF viewer's button).
    void printForPage();
    // Print and Print Preview of a PDF file in the viewer.
    bool printPdf();
    void previewPdf();
    // Fetches the PDF file shown into `folder` and opens it; throws
    // WebViewError, saying why, when it cannot be fetched or Qt PDF cannot
    // open it. Null when this object went meanwhile.
    std::unique_ptr<QPdfDocument> openPdf(const QString &folder);
    // Has the engine make the page as a PDF document of its own, with text
    // and links, into `pdf`, and waits until it is done.
    Outcome makePdf(QByteArray *pdf);
    // Renders the page onto `target` and waits until the engine is done.
    Outcome renderPages(QPrinter *target);
    // Writes the engine's PDF document of the page to `file`.
    Outcome printToFile(const QString &file);
    // Whether a print may start now; the engine would ignore a second one
    // and never report on it.
    bool mayStart() const;
    // What the user is told of a print to `destination` that ended with
    // `outcome`; empty when it printed.
    QString failure(Outcome outcome, const QString &destination) const;

    QWebEngineView *m_view;
    WebPage *m_page;
    Session &m_session;
    std::function<bool()> m_shownElsewhere;
    QWidget *m_owner;
    // Shared with a print that is under way, which finishes or stops
    // cleanly should the view go meanwhile.
    std::shared_ptr<QPrinter> m_printer;
    int m_limitMs = PrintLimitMs;
    // The engine is rendering the page for a printer, until it answers or
    // the renderer ends.
    bool m_rendering = false;
    // The page's renderer has ended and no other has started yet.
    bool m_rendererGone = false;
    // The page is a PDF file in the engine's viewer, which the engine would
    // print as the viewer's controls and not as the file (Qt 6.4).
    bool m_showsPdf = false;
};
