#include "engineprinting.h"

#include "download.h"
#include "errorpolicy.h"
#include "pdffile.h"
#include "pdfpages.h"
#include "pdfviewer.h"
#include "printpreview.h"
#include "session.h"
#include "webpage.h"
#include "webview.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPageRanges>
#include <QPageSetupDialog>
#include <QPdfDocument>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

#include <exception>
#include <utility>

namespace {
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

// The page is printed through the engine's PDF of it, which needs no view.
EnginePrinting::EnginePrinting(QWebEngineView *, WebPage *page, Session &session,
                               std::function<bool()> shownElsewhere, QWidget *owner)
    : QObject(owner), m_page(page), m_session(session), m_shownElsewhere(std::move(shownElsewhere)),
      m_owner(owner)
{
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        // A page that starts loading has a renderer again (the engine does
        // not always say so by a new process id when it comes back).
        m_rendererGone = false;
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
    // window.print(): the program's own Print, with its dialog.
    connect(m_page, &QWebEnginePage::printRequested, this, [this] { printForPage(); });
}

EnginePrinting::~EnginePrinting() = default;

QPrinter *EnginePrinting::printer()
{
    if (!m_printer) {
        // Pages reach a printer as pictures: 300 dpi is sharp on paper, while
        // a printer's full resolution costs seconds and memory a page.
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

QString EnginePrinting::failure(Outcome outcome, const QString &destination) const
{
    switch (outcome) {
    case Outcome::Done:
        return QString();
    case Outcome::NoRenderer:
        return tr("The page's renderer has ended: Refresh brings the page back to print it; nothing was printed.");
    case Outcome::RendererEnded:
        return tr("The page's renderer ended while printing; nothing was printed.");
    case Outcome::TimedOut:
        return tr("The page was not ready for printing within %1 seconds; nothing was printed.").arg(m_limitMs / 1000);
    case Outcome::Failed:
        break;
    }
    if (destination.isEmpty())
        return tr("The page could not be prepared for printing; nothing was printed.");
    return tr("The page could not be printed to %1.").arg(destination);
}

void EnginePrinting::pageSetup()
{
    runDialog(new QPageSetupDialog(printer(), m_owner));
}

bool EnginePrinting::showsPdf() const
{
    return m_viewer && m_viewer->isOpen();
}

void EnginePrinting::printPreview()
{
    QPointer<EnginePrinting> self(this);
    std::shared_ptr<PdfFile> file = document(false);
    if (!file || !self)
        return;
    // A page laid out again for new paper takes the old one's place; the old
    // one stays until the preview shows the new.
    std::shared_ptr<PdfFile> previous;
    PrintPreview *dialog = nullptr;
    dialog = new PrintPreview(
        printer(),
        [&]() -> PdfFile * {
            if (runDialog(new QPageSetupDialog(m_printer.get(), dialog)) != QDialog::Accepted || !self
                || !file->onPaper())
                return nullptr;
            try {
                std::shared_ptr<PdfFile> again = document(false);
                if (!again || !self)
                    return nullptr;
                previous = std::exchange(file, std::move(again));
                return file.get();
            } catch (const ExpectedFailure &e) {
                tellUser(dialog, QString::fromUtf8(e.what()));
                return nullptr;
            }
        },
        m_owner);
    dialog->showFile(file.get());
    bool printChosen = false;
    runDialog(dialog, [&] { printChosen = dialog->printChosen(); });
    if (printChosen && self)
        print(file);
}

bool EnginePrinting::print(std::shared_ptr<PdfFile> made)
{
    QPointer<EnginePrinting> self(this);
    // A PDF file is at hand before the dialog, which then knows its pages.
    if (!made && showsPdf())
        made = document(false);
    auto *dialog = new QPrintDialog(printer(), m_owner);
    if (made)
        dialog->setMinMax(1, made->document().pageCount());
    offerFile(dialog);
    if (runDialog(dialog) != QDialog::Accepted || !self)
        return false;
    // The print goes on with the printer whatever happens to the view.
    const std::shared_ptr<QPrinter> target = m_printer;
    const QString file = target->outputFileName();
    const QString destination = file.isEmpty() ? target->printerName() : file;
    const bool toFile = target->outputFormat() == QPrinter::PdfFormat && !file.isEmpty();
    // A page is laid out now, as the dialog left the paper, with only the
    // pages asked for; one the preview laid out again only for a page
    // range, should its renderer still be there.
    std::shared_ptr<PdfFile> printed = made;
    if (!made || (made->onPaper() && target->printRange() == QPrinter::PageRange && !m_rendererGone)) {
        printed = document(true);
        if (!self || !printed)
            throw WebViewError(tr("The page was closed before it was printed."));
    }
    QPdfDocument &pages = printed->document();
    if (pdfpages::sequence(*target, pages.pageCount(), printed->rangeDone()).isEmpty())
        throw WebViewError(tr("The document has none of the pages asked for; nothing was printed."));
    bool done = false;
    if (toFile && pdfpages::wholeDocument(*target, pages.pageCount(), printed->rangeDone())) {
        // The whole document to a PDF file is the document itself, with its
        // text and links.
        done = printed->copyTo(file);
    } else {
        // Pages are drawn one by one at the printer's resolution; the
        // program repaints between them, and the print stops should the
        // view go meanwhile.
        BusyCursor busy;
        done = pdfpages::print(pages, target.get(), printed->onPaper(), printed->rangeDone(), [&self] {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            return !self.isNull();
        });
        // What a print given up on wrote is no print.
        if (!done && toFile)
            QFile::remove(file);
    }
    if (!self)
        throw WebViewError(tr("The page was closed before it was printed."));
    if (!done)
        throw WebViewError(failure(Outcome::Failed, destination));
    return true;
}

void EnginePrinting::offerFile(QPrintDialog *dialog)
{
    // Qt's own dialog offers print.pdf in the home folder; where the user
    // chose a file of their own it offers that again.
    m_printer->setDocName(showsPdf() ? m_viewer->name() : m_page->title());
    auto *field = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
    const QString chosen = m_printer->outputFileName();
    if (!field || !(chosen.isEmpty() || chosen == m_offered))
        return;
    QString name = showsPdf() ? m_viewer->name() : m_page->title();
    // A title is no path: its slashes are part of the name.
    name.replace(u'/', u'-').replace(u'\\', u'-');
    if (!name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        name += QLatin1String(".pdf");
    m_offered = QDir(DownloadList::folder()).filePath(downloads::cleanFileName(name));
    field->setText(m_offered);
}

void EnginePrinting::keepPageForAnswer()
{
    if (m_answerOwed)
        m_page->setParent(&m_session);
}

std::shared_ptr<PdfFile> EnginePrinting::document(bool withRange)
{
    // What the viewer shows is what prints: the bytes it has, not what the
    // file's server might answer now.
    if (showsPdf()) {
        if (std::shared_ptr<PdfFile> shown = m_viewer->file())
            return shown;
        throw WebViewError(tr("%1 Nothing was printed.")
                               .arg(m_viewer->isLoading() ? tr("The PDF file has not arrived yet.") : m_viewer->problem()));
    }
    QPointer<EnginePrinting> self(this);
    QByteArray pdf;
    Outcome outcome = Outcome::Failed;
    {
        // The engine takes seconds over a long page.
        BusyCursor busy;
        outcome = makePdf(&pdf, withRange);
    }
    if (!self)
        return nullptr;
    if (outcome != Outcome::Done)
        throw WebViewError(failure(outcome, QString()));
    auto file = std::make_shared<PdfFile>(pdf, m_page->title(),
                                          withRange && m_printer->printRange() == QPrinter::PageRange);
    if (const QString problem = file->open(); !problem.isEmpty())
        throw WebViewError(tr("%1 Nothing was printed.").arg(problem));
    return file;
}

EnginePrinting::Outcome EnginePrinting::makePdf(QByteArray *pdf, bool withRange)
{
    if (m_rendererGone)
        return Outcome::NoRenderer;
    if (m_rendering || m_shownElsewhere())
        return Outcome::Failed;
    m_rendering = true;
    m_answerOwed = true;
    PrintWait wait(this, m_page, m_limitMs);
    // An answer after the wait has given up only says the engine is free again.
    QPointer<QObject> waiting(wait.context());
    QPointer<EnginePrinting> self(this);
    const QPageRanges ranges =
        withRange && m_printer->printRange() == QPrinter::PageRange ? m_printer->pageRanges() : QPageRanges();
    m_page->printToPdf(
        [self, waiting, &wait, pdf, page = QPointer<WebPage>(m_page),
         session = &m_session](const QByteArray &made) {
            if (self) {
                self->m_rendering = false;
                self->m_answerOwed = false;
            } else if (page && page->parent() == session) {
                page->deleteLater();
            }
            if (!waiting)
                return;
            *pdf = made;
            wait.finished(!made.isEmpty());
        },
        printer()->pageLayout(), ranges);
    return outcomeOf(wait.result());
}
