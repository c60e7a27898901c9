#include "engineprinting.h"

#include "errorpolicy.h"
#include "pdfpages.h"
#include "session.h"
#include "webpage.h"
#include "webview.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfDocument>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <exception>

namespace {
// The name of the PDF file fetched again for a print, in a folder of its own.
constexpr QLatin1String FetchedName("document.pdf");

// A wait cursor over the program while a print gathers its pages, whichever
// way the print ends.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// Waits for the engine's report on a print it was asked for: timers and
// repaints go on meanwhile, the user's input waits. It ends when the engine
// reports, when the page's renderer ends, after `limitMs`, or (as a failure)
// when `printing` goes.
class PrintWait
{
public:
    enum Ending { Reported, RendererEnded, TimedOut, Gone };

    PrintWait(QObject *printing, QWebEnginePage *page, int limitMs)
    {
        QObject::connect(printing, &QObject::destroyed, &m_loop, [this] { end(Gone); });
        QObject::connect(page, &QWebEnginePage::renderProcessTerminated, &m_loop, [this] { end(RendererEnded); });
        m_limit.setSingleShot(true);
        QObject::connect(&m_limit, &QTimer::timeout, &m_loop, [this] { end(TimedOut); });
        m_limit.start(limitMs);
    }
    // What the engine's report connects to.
    QObject *context() { return &m_loop; }
    void finished(bool ok)
    {
        m_ok = ok;
        end(Reported);
    }
    // How the wait ended, and whether the engine said it printed.
    std::pair<Ending, bool> result()
    {
        if (!m_ended)
            m_loop.exec(QEventLoop::ExcludeUserInputEvents);
        return {m_ending, m_ok};
    }

private:
    void end(Ending ending)
    {
        if (m_ended)
            return;
        m_ended = true;
        m_ending = ending;
        m_loop.quit();
    }

    QEventLoop m_loop;
    QTimer m_limit;
    bool m_ended = false;
    Ending m_ending = Gone;
    bool m_ok = false;
};
} // namespace

// What the end of a wait means for the print.
static EnginePrinting::Outcome outcomeOf(std::pair<PrintWait::Ending, bool> ended)
{
    switch (ended.first) {
    case PrintWait::RendererEnded:
        return EnginePrinting::Outcome::RendererEnded;
    case PrintWait::TimedOut:
        return EnginePrinting::Outcome::TimedOut;
    case PrintWait::Reported:
    case PrintWait::Gone:
        break;
    }
    return ended.second ? EnginePrinting::Outcome::Done : EnginePrinting::Outcome::Failed;
}

EnginePrinting::EnginePrinting(QWebEngineView *view, WebPage *page, Session &session,
                               std::function<bool()> shownElsewhere, QWidget *owner)
    : QObject(owner), m_view(view), m_page(page), m_session(session), m_shownElsewhere(std::move(shownElsewhere)),
      m_owner(owner)
{
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        // A page that starts loading has a renderer again (the engine does
        // not always say so by a new process id when it comes back).
        m_rendererGone = false;
        m_showsPdf = false;
    });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this] {
        // The viewer's page is the file in one frame of the engine's own.
        // A page that ends first answers with nothing, from its destructor,
        // while the view is being taken apart: only a real answer is used.
        QPointer<QObject> alive(this);
        m_page->runJavaScript(QStringLiteral("document.body && document.body.childElementCount === 1"
                                             " && !!document.querySelector('body > embed[type=\"application/pdf\"][internalid]')"),
                              QWebEngineScript::ApplicationWorld, [alive, this](const QVariant &pdf) {
                                  if (alive && pdf.isValid())
                                      m_showsPdf = pdf.toBool();
                              });
    });
    // The engine cannot print a page whose renderer has gone (it crashes on
    // Qt 6.4), so keep track until a new one takes over.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        m_rendererGone = true;
        // The engine will not answer a print of that renderer's.
        m_rendering = false;
    });
    connect(m_page, &QWebEnginePage::renderProcessPidChanged, this, [this](qint64 pid) {
        if (pid != 0)
            m_rendererGone = false;
    });
    // window.print(), and the Print button of a PDF viewer that has one (the
    // one of Qt 6.4 has none): the program's own Print, with its dialog.
    connect(m_page, &QWebEnginePage::printRequested, this, [this] { printForPage(); });
}

EnginePrinting::~EnginePrinting() = default;

QPrinter *EnginePrinting::printer()
{
    if (!m_printer) {
        // The engine rasterises the pages: 300 dpi is sharp on paper, while
        // the printer's full resolution costs seconds and gigabytes a page.
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        m_printer->setResolution(300);
    }
    return m_printer.get();
}

void EnginePrinting::exec(PageCommand command)
{
    // The user's own command: always asked, a Cancel is no refusal. Its
    // failure is the caller's to tell.
    std::exception_ptr failure;
    QPointer<PageQuestions> questions(&m_page->questions());
    const bool ran = questions->ask(m_page->topSite(), PageRequest::Print, Actor::User, [&] {
        try {
            if (command == PageCommand::Print)
                print();
            else if (command == PageCommand::PrintPreview)
                printPreview();
            else if (command == PageCommand::PageSetup)
                pageSetup();
        } catch (...) {
            failure = std::current_exception();
        }
        return true;
    });
    if (failure)
        std::rethrow_exception(failure);
    // A page that went while its print command ran has nothing more to say.
    if (!ran && questions)
        throw WebViewError(tr("The page has a question open; answer it first."));
}

void EnginePrinting::printForPage()
{
    // The page's own print (window.print()): inside the user's click it is
    // the user's; by itself it is asked at most as often as the page's
    // limit lets it, and a Cancel or a failure counts as a refusal. A print
    // that fails says why, as Print does.
    PageQuestions &questions = m_page->questions();
    QPointer<EnginePrinting> self(this);
    questions.ask(m_page->topSite(), PageRequest::Print, questions.takeGesture(), [&] {
        try {
            return print();
        } catch (const ExpectedFailure &e) {
            if (self)
                tellUser(m_owner->window(), QString::fromUtf8(e.what()));
        }
        return false;
    });
}

bool EnginePrinting::mayStart() const
{
    return !m_rendering && !m_rendererGone && !m_shownElsewhere();
}

QString EnginePrinting::failure(Outcome outcome, const QString &destination) const
{
    switch (outcome) {
    case Outcome::Done:
        return QString();
    case Outcome::RendererEnded:
        return tr("The page's renderer ended while printing; nothing was printed.");
    case Outcome::TimedOut:
        return tr("The page was not ready for printing within %1 seconds; nothing was printed.").arg(m_limitMs / 1000);
    case Outcome::Failed:
        break;
    }
    return tr("The page could not be printed to %1.").arg(destination);
}

void EnginePrinting::printPreview()
{
    if (m_showsPdf) {
        previewPdf();
        return;
    }
    auto *dialog = new QPrintPreviewDialog(printer(), m_owner);
    // Room for the page and the whole tool bar, not just the smallest size.
    dialog->resize(dialog->sizeHint().expandedTo(m_owner->window()->size() * 3 / 4));
    // A page whose renderer ends has nothing more to show: the preview
    // closes rather than hand the engine a dead page to draw again.
    auto rendererEnded = std::make_shared<bool>(false);
    connect(m_page, &QWebEnginePage::renderProcessTerminated, dialog, [dialog, rendererEnded] {
        *rendererEnded = true;
        dialog->reject();
    });
    connect(dialog, &QPrintPreviewDialog::paintRequested, this, [this, rendererEnded](QPrinter *target) {
        QPointer<EnginePrinting> self(this);
        Outcome outcome = Outcome::RendererEnded;
        if (!*rendererEnded) {
            // The engine takes seconds over a long page.
            BusyCursor busy;
            outcome = renderPages(target);
        }
        if (outcome == Outcome::Done || !self)
            return;
        // An empty preview would look like an empty page: say what happened.
        QPainter painter;
        if (!painter.begin(target))
            return;
        const QString why = outcome == Outcome::Failed ? tr("The page could not be prepared for printing.")
                                                       : failure(outcome, QString());
        painter.drawText(painter.viewport(), Qt::AlignCenter | Qt::TextWordWrap, why);
    });
    runDialog(dialog);
    if (*rendererEnded)
        throw WebViewError(failure(Outcome::RendererEnded, QString()));
}

void EnginePrinting::pageSetup()
{
    runDialog(new QPageSetupDialog(printer(), m_owner));
}

bool EnginePrinting::print()
{
    if (m_showsPdf)
        return printPdf();
    QPointer<EnginePrinting> self(this);
    if (runDialog(new QPrintDialog(printer(), m_owner)) != QDialog::Accepted || !self)
        return false;
    // A PDF file gets the engine's own PDF, with text and links; a printer
    // gets the pages as the engine draws them.
    const QString file = m_printer->outputFileName();
    const bool toFile = m_printer->outputFormat() == QPrinter::PdfFormat && !file.isEmpty();
    Outcome outcome = Outcome::Failed;
    {
        BusyCursor busy;
        outcome = toFile ? printToFile(file) : renderPages(printer());
    }
    if (!self)
        throw WebViewError(tr("The page was closed before it was printed."));
    if (outcome != Outcome::Done)
        throw WebViewError(failure(outcome, file.isEmpty() ? m_printer->printerName() : file));
    return true;
}

EnginePrinting::Outcome EnginePrinting::printToFile(const QString &file)
{
    QByteArray pdf;
    const Outcome outcome = makePdf(&pdf);
    if (outcome != Outcome::Done)
        return outcome;
    // A failed write leaves no half-written file behind.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size() || !out.commit())
        return Outcome::Failed;
    return Outcome::Done;
}

EnginePrinting::Outcome EnginePrinting::makePdf(QByteArray *pdf)
{
    if (!mayStart())
        return Outcome::Failed;
    m_rendering = true;
    PrintWait wait(this, m_page, m_limitMs);
    // An answer after the wait has given up only says the engine is free again.
    QPointer<QObject> waiting(wait.context());
    QPointer<EnginePrinting> self(this);
    m_page->printToPdf(
        [self, waiting, &wait, pdf](const QByteArray &made) {
            if (self)
                self->m_rendering = false;
            if (!waiting)
                return;
            *pdf = made;
            wait.finished(!made.isEmpty());
        },
        m_printer->pageLayout(), m_printer->pageRanges());
    return outcomeOf(wait.result());
}

EnginePrinting::Outcome EnginePrinting::renderPages(QPrinter *target)
{
    if (!mayStart())
        return Outcome::Failed;
    m_rendering = true;
    PrintWait wait(this, m_page, m_limitMs);
    connect(
        m_view, &QWebEngineView::printFinished, this, [this] { m_rendering = false; }, Qt::SingleShotConnection);
    connect(m_view, &QWebEngineView::printFinished, wait.context(), [&wait](bool ok) { wait.finished(ok); });
    m_view->print(target); // the pages arrive asynchronously
    return outcomeOf(wait.result());
}

std::unique_ptr<QPdfDocument> EnginePrinting::openPdf(const QString &folder)
{
    // The viewer keeps the file to itself: it is fetched again through the
    // profile, as Save Page fetches it, so the server sees the same cookies
    // and sign-in. It goes to a private folder of its own, unasked and not
    // in the Downloads list.
    BusyCursor busy;
    QPointer<EnginePrinting> self(this);
    QPointer<QWebEngineDownloadRequest> fetched;
    Outcome outcome = Outcome::Failed;
    {
        PrintWait wait(this, m_page, m_limitMs);
        m_session.downloadRouter().fetch(m_page, m_page->url(), wait.context(), [&fetched, &wait, folder](QWebEngineDownloadRequest *request) {
            fetched = request;
            request->setDownloadDirectory(folder);
            request->setDownloadFileName(FetchedName);
            QObject::connect(request, &QWebEngineDownloadRequest::isFinishedChanged, wait.context(), [request, &wait] {
                if (request->isFinished())
                    wait.finished(request->state() == QWebEngineDownloadRequest::DownloadCompleted);
            });
            request->accept();
        });
        outcome = outcomeOf(wait.result());
    }
    // A fetch given up on goes no further, whoever gave up.
    if (fetched && !fetched->isFinished())
        fetched->cancel();
    if (!self)
        return nullptr;
    m_session.downloadRouter().forget(m_page);
    if (outcome == Outcome::TimedOut)
        throw WebViewError(tr("The PDF file did not come from its server within %1 seconds; nothing was printed.")
                               .arg(m_limitMs / 1000));
    if (outcome != Outcome::Done)
        throw WebViewError(tr("The PDF file could not be fetched again from its server; nothing was printed."));
    auto document = std::make_unique<QPdfDocument>();
    const QPdfDocument::Error error = document->load(QDir(folder).filePath(FetchedName));
    if (error != QPdfDocument::Error::None || document->pageCount() < 1)
        throw WebViewError(pdfpages::openFailure(error));
    return document;
}

bool EnginePrinting::printPdf()
{
    QPointer<EnginePrinting> self(this);
    const QTemporaryDir folder; // open to its owner only
    if (!folder.isValid())
        throw WebViewError(tr("There is no room for the PDF file to be printed: %1").arg(folder.errorString()));
    const std::unique_ptr<QPdfDocument> document = openPdf(folder.path());
    if (!self)
        throw WebViewError(tr("The page was closed before it was printed."));
    auto *dialog = new QPrintDialog(printer(), m_owner);
    dialog->setMinMax(1, document->pageCount());
    if (runDialog(dialog) != QDialog::Accepted || !self)
        return false;
    // The print goes on with the printer whatever happens to the view.
    const std::shared_ptr<QPrinter> target = m_printer;
    const QString file = target->outputFileName();
    const QString destination = file.isEmpty() ? target->printerName() : file;
    if (pdfpages::sequence(*target, document->pageCount()).isEmpty())
        throw WebViewError(tr("The PDF file has none of the pages asked for; nothing was printed."));
    bool printed = false;
    const bool toFile = target->outputFormat() == QPrinter::PdfFormat && !file.isEmpty();
    if (toFile && pdfpages::wholeDocument(*target, document->pageCount())) {
        // The whole document to a PDF file is the file itself, with its text
        // and links; a failed write leaves no half-written file behind.
        QFile in(QDir(folder.path()).filePath(FetchedName));
        QSaveFile out(file);
        printed = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) && out.write(in.readAll()) == in.size()
                  && out.commit();
    } else {
        // Pages are drawn one by one at the printer's resolution; the
        // program repaints between them, and the print stops should the
        // view go meanwhile.
        BusyCursor busy;
        printed = pdfpages::print(*document, target.get(), [&self] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return !self.isNull();
        });
        // What a print given up on wrote is no print.
        if (!printed && toFile)
            QFile::remove(file);
    }
    if (!self)
        throw WebViewError(tr("The page was closed before it was printed."));
    if (!printed)
        throw WebViewError(failure(Outcome::Failed, destination));
    return true;
}

void EnginePrinting::previewPdf()
{
    QPointer<EnginePrinting> self(this);
    const QTemporaryDir folder;
    if (!folder.isValid())
        throw WebViewError(tr("There is no room for the PDF file to be printed: %1").arg(folder.errorString()));
    const std::unique_ptr<QPdfDocument> document = openPdf(folder.path());
    if (!self)
        return;
    auto *dialog = new QPrintPreviewDialog(printer(), m_owner);
    dialog->resize(dialog->sizeHint().expandedTo(m_owner->window()->size() * 3 / 4));
    // The document outlives the dialog: runDialog returns once it is gone.
    QPdfDocument *pages = document.get();
    connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [pages](QPrinter *target) {
        BusyCursor busy;
        if (pdfpages::print(*pages, target))
            return;
        QPainter painter;
        if (painter.begin(target))
            painter.drawText(painter.viewport(), Qt::AlignCenter | Qt::TextWordWrap,
                             tr("The PDF file has none of the pages asked for, or they could not be drawn."));
    });
    runDialog(dialog);
}
