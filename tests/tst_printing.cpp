#include "appendonly.h"
#include "download.h"
#include "engineprinting.h"
#include "engineview.h"
#include "httpserver.h"
#include "pdfmaker.h"
#include "pdfpageview.h"
#include "pdfpane.h"
#include "pdfviewer.h"
#include "printpreview.h"
#include "session.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QLocale>
#include <QFileDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScopeGuard>
#include <QTimer>
#include <QWebEngineView>

#include <csignal>
#include <functional>
#include <memory>
#include <utility>

// The print commands of the web view with the real engine. There is no
// printer under the test X server: printing goes to a PDF file.
class TestPrinting : public QObject
{
    Q_OBJECT

    std::unique_ptr<HttpServer> server;
    Session session;
    std::unique_ptr<EngineView> view;
    QTemporaryDir folder;

    // Runs a print command and accepts or rejects its dialog, counted in
    // `answered` when it works on the view's printer (a preview always
    // counts); returns the pages a preview shows, and its note in `note`.
    // Any other dialog is closed and named in `others`. `whilePreparing`
    // runs while no dialog is up yet.
    int answered = 0;
    QStringList others;
    QString note;
    bool sheetShown = false;
    bool cancelSetup = false; // Page Setup from the preview first, cancelled
    template <typename Dialog>
    int answering(int command, int option, bool accept, const std::function<void()> &whilePreparing = {})
    {
        int pages = -1;
        ModalWatch closer(
            [&](QWidget *modal) {
                auto *dialog = qobject_cast<Dialog *>(modal);
                if (!modal) {
                    if (whilePreparing)
                        whilePreparing();
                } else if (!dialog) {
                    others << modal->metaObject()->className();
                    modal->close();
                } else if (auto *preview = qobject_cast<PrintPreview *>(modal)) {
                    ++answered;
                    if (std::exchange(cancelSetup, false)) {
                        QTimer::singleShot(100, [] {
                            if (auto *setup = qobject_cast<QPageSetupDialog *>(QApplication::activeModalWidget()))
                                setup->reject();
                        });
                        for (QAction *action : preview->findChildren<QAction *>())
                            if (action->text() == "Page &Setup...")
                                action->trigger();
                    }
                    pages = preview->pane()->pages()->pageCount();
                    note = preview->pane()->note();
                    // Some of the first sheet shows, however thin.
                    const QImage seen = preview->pane()->pages()->viewport()->grab().toImage();
                    sheetShown = false;
                    for (int y = 0; y < seen.height() && !sheetShown; ++y)
                        sheetShown = seen.pixelColor(seen.width() / 2, y) == Qt::white;
                    preview->reject();
                } else {
                    answered += printerOf(dialog) == view->printer();
                    accept ? dialog->accept() : dialog->reject();
                }
            },
            50);
        view->ExecWB(command, option);
        return pages;
    }
    static QPrinter *printerOf(QPrintDialog *dialog) { return dialog->printer(); }
    static QPrinter *printerOf(QPageSetupDialog *dialog) { return dialog->printer(); }
    static QPrinter *printerOf(QDialog *) { return nullptr; }
    int previewPages(const std::function<void()> &whilePreparing = {})
    {
        return answering<PrintPreview>(WebView::PrintPreviewCmd, WebView::DoDefault, false, whilePreparing);
    }
    // What a command said when it threw, or nothing.
    static QString said(const std::function<void()> &command)
    {
        try {
            command();
        } catch (const WebViewError &e) {
            return QString::fromUtf8(e.what());
        }
        return QString();
    }

    void killRenderer()
    {
        QSignalSpy gone(view->engine()->page(), &QWebEnginePage::renderProcessTerminated);
        ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
        QVERIFY(gone.wait(10000));
    }

    // Shows `document`: a PDF file, as its server sends it to be shown, or
    // a page. Three pages, one word and one colour each, when empty; it gets
    // what is served. A PDF file's server answers later requests otherwise
    // (`again`): 0 with other bytes, 404 not at all, -1 half and no more.
    // "empty" is a file of no bytes, "endless" one that never ends.
    void show(QByteArray *document, int again = 0)
    {
        if (document->isEmpty())
            *document = threePages();
        const bool pdf = !document->startsWith("<html");
        HttpServer::Page first{*document == "empty" ? QByteArray() : *document, pdf ? "application/pdf" : "text/html"};
        first.endless = *document == "endless";
        HttpServer::Page later{makePdf(1, QSizeF(595, 842), [](int) { return QStringLiteral("SWAPPED"); }),
                               first.contentType, 0, again > 0 ? again : 200};
        later.stall = again < 0;
        server->setPage("/doc", first);
        if (pdf)
            server->setHandler("/doc", [this, first, later](const QByteArray &) {
                return server->requests().count("/doc") > 1 ? later : first;
            });
        view->Navigate(server->url("/doc"));
        if (!pdf) {
            QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
            QVERIFY(finished.wait(20000));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!view->Busy() && view->pdfViewer()->isOpen() == pdf, 20000);
    }
    static QByteArray threePages()
    {
        static const char *const words[] = {"Alpha", "Bravo", "Charlie"};
        return makePdf(3, QSizeF(595, 842), [](int page) { return QString::fromLatin1(words[page - 1]); }, true);
    }
    static QString pdfText(const QString &file)
    {
        QProcess text;
        text.start("pdftotext", {file, "-"});
        text.waitForFinished(20000);
        return QString::fromUtf8(text.readAllStandardOutput()).simplified();
    }
    // The colour of each page of a PDF file, one letter a page: R, G, B, or ?
    // for none of them.
    static QString pageColours(const QString &file)
    {
        QPdfDocument document;
        if (document.load(file) != QPdfDocument::Error::None)
            return QStringLiteral("unreadable");
        QString colours;
        for (int page = 0; page < document.pageCount(); ++page) {
            // Pages drawn as pictures are stored as JPEG: near enough counts.
            const QColor seen = document.render(page, QSize(100, 140)).pixelColor(50, 40);
            const auto near = [&seen](int r, int g, int b) {
                return qAbs(seen.red() - r) < 40 && qAbs(seen.green() - g) < 40 && qAbs(seen.blue() - b) < 40;
            };
            colours += near(255, 0, 0) ? u'R' : near(0, 255, 0) ? u'G' : near(0, 0, 255) ? u'B' : u'?';
        }
        return colours;
    }

    enum Path { Preview, ToFile, PreviewSetupCancelled };

private slots:
    void init()
    {
        server = std::make_unique<HttpServer>();
        server->setPage("/page", "<html><head><title>Hotels</title></head><body><h1>Hotels in Lisbon</h1>"
                                 "<p>Three rooms left. <a href='https://velmora.example/deal'>Book</a></p></body></html>");
        view = std::make_unique<EngineView>(session);
        view->resize(800, 600);
        view->show();
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        view->Navigate(server->url("/page"));
        QVERIFY(finished.wait(20000));
    }
    void cleanup()
    {
        const QStringList unexpected = std::exchange(others, {});
        answered = 0;
        note.clear();
        sheetShown = false;
        cancelSetup = false;
        view.reset();
        server.reset();
        QCOMPARE(unexpected, QStringList());
    }

    void otherCommandsAreRefused_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("option");
        QTest::newRow("print without prompting") << 6 << 0;
        QTest::newRow("preview, prompting") << 7 << 1;
        QTest::newRow("page setup, prompting") << 8 << 1;
        QTest::newRow("negative") << -1 << -1;
    }
    void otherCommandsAreRefused()
    {
        QFETCH(int, command);
        QFETCH(int, option);
        DialogCloser closer;
        QVERIFY_THROWS_EXCEPTION(WebViewError, view->ExecWB(command, option));
        QCOMPARE(closer.seen, QStringList());
    }

    void previewShowsThePage()
    {
        const auto refuses = [](const std::function<void()> &call) {
            try {
                call();
                return 0;
            } catch (const WebViewError &) {
                return 1;
            }
        };
        // The page keeps the engine a moment as it is printed.
        server->setPage("/slow", "<html><body><h1>Hotels</h1><script>addEventListener('beforeprint', () => {"
                                 " const end = Date.now() + 1000; while (Date.now() < end); });</script></body></html>");
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        view->Navigate(server->url("/slow"));
        QVERIFY(finished.wait(20000));
        // While the engine makes the pages, a second command is refused,
        // not stacked, and so is Stop, which would bring the engine down.
        // (The watch also runs once the dialog has gone, before the command
        // has returned: there only the commands are refused.)
        int whileRendering = 0, bothRefused = 0;
        const int pages = previewPages([&] {
            const int stop = refuses([&] { view->Stop(); });
            int refused = 0;
            for (const int command : {7, 8})
                refused += refuses([&] { view->ExecWB(command, 0); });
            whileRendering += stop;
            bothRefused += stop && refused == 2;
        });
        QCOMPARE(answered, 1);
        QVERIFY(pages >= 1);
        QVERIFY(whileRendering >= 1);
        QCOMPARE(bothRefused, whileRendering);
        // Afterwards the view takes commands again.
        view->Stop();
    }

    void pageSetupUsesTheViewsPrinter()
    {
        answering<QPageSetupDialog>(WebView::PageSetupCmd, WebView::DoDefault, false);
        QCOMPARE(answered, 1);
        QCOMPARE(view->printer()->resolution(), 300);
    }

    // A PDF file holds the page's own text and links, also once a renderer
    // that died has been brought back; the file offered is named after the
    // page, in the Downloads folder.
    void printWritesThePdf_data()
    {
        QTest::addColumn<bool>("rendererCameBack");
        QTest::addColumn<QString>("file"); // empty: as offered
        QTest::newRow("as loaded") << false << "page.pdf";
        QTest::newRow("after the renderer came back") << true << "page.pdf";
        QTest::newRow("as offered") << false << "";
    }
    void printWritesThePdf()
    {
        QFETCH(bool, rendererCameBack);
        QFETCH(QString, file);
        if (rendererCameBack) {
            killRenderer();
            QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
            view->Refresh();
            QVERIFY(finished.wait(20000));
        }
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(folder.path()));
        const auto restore = qScopeGuard([&] { qputenv("HOME", home); });
        file = file.isEmpty() ? folder.filePath(QStringLiteral("Downloads/Hotels.pdf")) : folder.filePath(file);
        QFile::remove(file);
        if (!file.contains("Downloads")) {
            view->printer()->setOutputFormat(QPrinter::PdfFormat);
            view->printer()->setOutputFileName(file);
        }
        answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true);
        QCOMPARE(answered, 1);
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.size() > 1000);
        QVERIFY(pdf.peek(5) == "%PDF-");
        QVERIFY(pdf.readAll().contains("https://velmora.example/deal"));
        QProcess text;
        text.start("pdftotext", {file, "-"});
        QVERIFY(text.waitForFinished(20000));
        const QString written = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(written.contains("Hotels in Lisbon") && written.contains("Three rooms left."), qPrintable(written));
    }

    // A page's window.print() goes through the program's own Print: its
    // dialog, its printer, the file with the page's text.
    void windowPrintUsesTheProgramsPrint()
    {
        const QString file = folder.filePath(QStringLiteral("asked.pdf"));
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        QStringList dialogs;
        ModalWatch closer([&](QWidget *modal) {
            if (!modal)
                return;
            dialogs << modal->metaObject()->className();
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal); dialog && dialog->printer() == view->printer())
                dialog->accept();
            else
                modal->close();
        });
        view->engine()->page()->runJavaScript(QStringLiteral("window.print()"));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(file).size() > 0, 20000);
        QCOMPARE(dialogs, QStringList("QPrintDialog"));
        QProcess text;
        text.start("pdftotext", {file, "-"});
        QVERIFY(text.waitForFinished(20000));
        const QString written = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(written.contains("Hotels in Lisbon"), qPrintable(written));
    }

    // A page that asks to print again each time the user cancels is heard
    // as often as a question, then no more.
    void cancelledPrintsSilenceThePage()
    {
        int dialogs = 0;
        ModalWatch closer([&](QWidget *modal) {
            if (modal) {
                ++dialogs;
                modal->close();
            }
        });
        // Heard once the program has dealt with the request.
        QSignalSpy asked(view->engine()->page(), &QWebEnginePage::printRequested);
        for (int time = 1; time <= SiteAnswers::RefusalsBeforeSilence + 2; ++time) {
            view->engine()->page()->runJavaScript(QStringLiteral("window.print()"));
            QTRY_COMPARE_WITH_TIMEOUT(asked.count(), time, 20000);
        }
        QCOMPARE(dialogs, SiteAnswers::RefusalsBeforeSilence);
    }

    // The documents a page may bring, over the ways of printing them: a
    // preview shows its pages (at most a thousand, with a note naming the
    // rest); a PDF file gets the document's own bytes whole, the pages asked
    // for, as often as asked, drawn one by one as a printer gets them; a
    // document that cannot be printed says why, and nothing is written. A
    // Page Setup opened from the preview and cancelled leaves it as it was.
    void documents_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<int>("path");
        QTest::addColumn<QList<int>>("printer"); // from, to, copies, last page first
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("pages"); // shown by the preview, or in the file written
        QTest::addColumn<QString>("colours"); // of the pages written
        QTest::addColumn<QString>("text"); // of the file written
        QTest::addColumn<int>("again"); // how the server answers a second request (see show)
        const QList<int> whole{0, 0, 1, 0};
        const QByteArray ordinary = threePages();
        QTest::newRow("ordinary, preview") << ordinary << int(Preview) << whole << "" << 3 << "" << "" << 0;
        QTest::newRow("ordinary, whole") << ordinary << int(ToFile) << whole << "" << 3 << "RGB" << "Alpha Bravo Charlie" << 0;
        QTest::newRow("ordinary, pages 2 to 3") << ordinary << int(ToFile) << QList<int>{2, 3, 1, 0} << "" << 2 << "GB"
                                                << "Bravo Charlie" << 0;
        QTest::newRow("ordinary, first page twice") << ordinary << int(ToFile) << QList<int>{1, 1, 2, 0} << "" << 2
                                                    << "RR" << "Alpha Alpha" << 0;
        QTest::newRow("ordinary, all twice") << ordinary << int(ToFile) << QList<int>{1, 3, 2, 0} << "" << 6 << "RGBRGB"
                                             << "Alpha Bravo Charlie Alpha Bravo Charlie" << 0;
        QTest::newRow("ordinary, last page first") << ordinary << int(ToFile) << QList<int>{0, 0, 1, 1} << "" << 3
                                                   << "BGR" << "Charlie Bravo Alpha" << 0;
        const QByteArray web = "<html><style>p { height: 20cm; margin: 0; print-color-adjust: exact;"
                               " -webkit-print-color-adjust: exact; break-after: page }</style><body>"
                               "<p style='background: red'>Alpha</p><p style='background: lime'>Bravo</p>"
                               "<p style='background: blue'>Charlie</p></body></html>";
        QTest::newRow("page, preview") << web << int(Preview) << whole << "" << 3 << "" << "" << 0;
        QTest::newRow("page, preview, Page Setup cancelled") << web << int(PreviewSetupCancelled) << whole << "" << 3
                                                             << "" << "" << 0;
        QTest::newRow("page, pages 2 to 3") << web << int(ToFile) << QList<int>{2, 3, 1, 0} << "" << 2 << "GB"
                                            << "Bravo Charlie" << 0;
        QTest::newRow("page, all twice") << web << int(ToFile) << QList<int>{0, 0, 2, 0} << "" << 6 << "RGBRGB"
                                         << "Alpha Bravo Charlie Alpha Bravo Charlie" << 0;
        // A page far wider than high, and one far larger than any paper:
        // each is fitted onto the paper, at least a pixel high.
        const QByteArray sliver = makePdf(1, QSizeF(14400, 3), [](int) { return QStringLiteral("Sliver"); });
        QTest::newRow("sliver, preview") << sliver << int(Preview) << whole << "" << 1 << "" << "" << 0;
        QTest::newRow("sliver, whole") << sliver << int(ToFile) << whole << "" << 1 << "" << "Sliver" << 0;
        QTest::newRow("sliver, twice") << sliver << int(ToFile) << QList<int>{0, 0, 2, 0} << "" << 2 << "" << "" << 0;
        const QByteArray huge = makePdf(1, QSizeF(14400, 14400), [](int) { return QStringLiteral("Huge"); }, true);
        QTest::newRow("huge, preview") << huge << int(Preview) << whole << "" << 1 << "" << "" << 0;
        QTest::newRow("huge, twice") << huge << int(ToFile) << QList<int>{0, 0, 2, 0} << "" << 2 << "RR" << "Huge Huge" << 0;
        const QByteArray many = makePdf(1003, QSizeF(200, 100), [](int page) { return QString::number(page); });
        QTest::newRow("1,003 pages, preview") << many << int(Preview) << whole
                                              << QStringLiteral("Pages %1 to %2 are not shown: at most %3 pages are shown here.")
                                                     .arg(QLocale().toString(1001), QLocale().toString(1003), QLocale().toString(1000))
                                              << 1000 << "" << "" << 0;
        QTest::newRow("1,003 pages, last two") << many << int(ToFile) << QList<int>{1002, 1003, 1, 0} << "" << 2 << ""
                                               << "1002 1003" << 0;
        const QByteArray damaged("%PDF-1.7\n1 0 obj << /Type /Catalog /Pages 2 0 R >>\nendobj\ntrailer << /Root 1 0 R >>\n%%EOF\n");
        // Locked with a password that is not the empty one.
        const QByteArray locked("%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                                "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
                                "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >> endobj\n"
                                "4 0 obj << /Filter /Standard /V 1 /R 2 /P -4"
                                " /O <" + QByteArray(64, '7') + "> /U <" + QByteArray(64, '3') + "> >> endobj\n"
                                "trailer << /Root 1 0 R /Encrypt 4 0 R /Size 5"
                                " /ID [<" + QByteArray(32, 'a') + "> <" + QByteArray(32, 'a') + ">] >>\n%%EOF\n");
        const QString isDamaged = QStringLiteral("The PDF file is damaged. Nothing was printed.");
        const QString isLocked = QStringLiteral("The PDF file is locked with a password. Nothing was printed.");
        QTest::newRow("damaged, preview") << damaged << int(Preview) << whole << isDamaged << -1 << "" << "" << 0;
        QTest::newRow("damaged, whole") << damaged << int(ToFile) << whole << isDamaged << 0 << "" << "" << 0;
        QTest::newRow("locked, preview") << locked << int(Preview) << whole << isLocked << -1 << "" << "" << 0;
        QTest::newRow("locked, twice") << locked << int(ToFile) << QList<int>{0, 0, 2, 0} << isLocked << 0 << "" << "" << 0;
        QTest::newRow("empty, preview") << QByteArray("empty") << int(Preview) << whole
                                        << "The PDF file is empty. Nothing was printed." << -1 << "" << "" << 0;
        QTest::newRow("endless, whole") << QByteArray("endless") << int(ToFile) << whole
                                        << "The PDF file is larger than 1 MB; it is not shown. Nothing was printed." << 0
                                        << "" << "" << 0;
        // Every PDF file's server answers a second request with other bytes;
        // these not at all, or never in whole.
        QTest::newRow("stalls on a second request") << ordinary << int(ToFile) << whole << "" << 3 << "RGB"
                                                    << "Alpha Bravo Charlie" << -1;
        QTest::newRow("gone on a second request") << ordinary << int(ToFile) << whole << "" << 3 << "RGB"
                                                  << "Alpha Bravo Charlie" << 404;
    }
    void documents()
    {
        QFETCH(QByteArray, document);
        QFETCH(int, path);
        QFETCH(QList<int>, printer);
        QFETCH(int, pages);
        QFETCH(int, again);
        view->pdfViewer()->setSizeLimitForTesting(1024 * 1024);
        show(&document, again);
        if (QTest::currentTestFailed())
            return;
        const qsizetype downloads = session.downloads().all().size();
        const QString file = folder.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".pdf");
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        view->printer()->setPrintRange(printer[0] ? QPrinter::PageRange : QPrinter::AllPages);
        view->printer()->setFromTo(printer[0], printer[1]);
        view->printer()->setCopyCount(printer[2]);
        view->printer()->setPageOrder(printer[3] ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        QFETCH(QString, colours);
        QFETCH(QString, text);
        if (path != ToFile) {
            cancelSetup = path == PreviewSetupCancelled;
            int shown = -1;
            const QString told = said([&] { shown = previewPages(); });
            QTEST(told.isEmpty() ? note : told, "said");
            QCOMPARE(shown, pages);
            QCOMPARE(sheetShown, shown > 0);
            QVERIFY(!QFile::exists(file));
        } else {
            QTEST(said([&] { answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true); }), "said");
            QPdfDocument written;
            written.load(file);
            QCOMPARE(written.pageCount(), pages);
            if (!text.isEmpty())
                QCOMPARE(pdfText(file), text);
            if (!colours.isEmpty())
                QCOMPARE(pageColours(file), colours);
            // The whole PDF file, once, is the file itself; any other print
            // of it is drawn page by page, a picture of each however thin.
            QFile printed(file);
            if (!document.startsWith("<html") && printed.open(QIODevice::ReadOnly)) {
                const QByteArray written = printed.readAll();
                if (printer == QList<int>{0, 0, 1, 0})
                    QVERIFY(written == document);
                else
                    QVERIFY(written.count("/Subtype /Image") >= pages);
            }
        }
        QVERIFY(!QApplication::overrideCursor());
        // Nothing of the print shows in the Downloads list, and a PDF file
        // came once.
        QCOMPARE(session.downloads().all().size(), downloads);
        QCOMPARE(server->requests().count("/doc"), 1);
    }

    // The preview shows a wait cursor while the engine makes a page's
    // document, and none once it is closed; a PDF file shown has its pages
    // at hand.
    void previewIsBusyWhileItMakesPages_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<int>("pages");
        QTest::newRow("page") << false << 1;
        QTest::newRow("PDF file in the viewer") << true << 3;
    }
    void previewIsBusyWhileItMakesPages()
    {
        QFETCH(bool, pdf);
        QByteArray bytes;
        if (pdf)
            show(&bytes);
        if (QTest::currentTestFailed())
            return;
        bool busy = false;
        ModalWatch watch(
            [&](QWidget *) {
                if (QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor)
                    busy = true;
            },
            5);
        QTEST(previewPages(), "pages");
        QCOMPARE(busy, !pdf);
        QVERIFY(!QApplication::overrideCursor());
    }

    // The view may go while a PDF file's pages print or while its preview is
    // open: the print ends with a word and nothing dangles.
    void viewGoesWhilePdfPrints_data()
    {
        QTest::addColumn<int>("command");
        QTest::newRow("while pages print") << int(WebView::PrintCmd);
        QTest::newRow("while the preview is open") << int(WebView::PrintPreviewCmd);
    }
    void viewGoesWhilePdfPrints()
    {
        QFETCH(int, command);
        QByteArray bytes;
        show(&bytes);
        if (QTest::currentTestFailed())
            return;
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(folder.filePath("closing.pdf"));
        view->printer()->setPrintRange(QPrinter::PageRange);
        view->printer()->setFromTo(1, 2); // drawn page by page
        QStringList dialogs;
        ModalWatch closer([&](QWidget *modal) {
            if (modal && !dialogs.contains(modal->metaObject()->className()))
                dialogs << modal->metaObject()->className();
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
                dialog->accept();
                QTimer::singleShot(0, [&] { view.reset(); });
            } else if (qobject_cast<PrintPreview *>(modal)) {
                view.reset();
            } else if (modal) {
                modal->close();
            }
        });
        EngineView *printing = view.get();
        QString said;
        try {
            printing->ExecWB(command, command == WebView::PrintCmd ? WebView::PromptUser : WebView::DoDefault);
        } catch (const WebViewError &e) {
            said = QString::fromUtf8(e.what());
        }
        QVERIFY(!view);
        QVERIFY2(said.isEmpty() || said == "The page was closed before it was printed.", qPrintable(said));
        QVERIFY(!QFile::exists(folder.filePath("closing.pdf")));
        QTRY_VERIFY(!QApplication::overrideCursor());
        QCOMPARE(dialogs, QStringList(command == WebView::PrintCmd ? "QPrintDialog" : "PrintPreview"));
    }

    // Save Page keeps what is shown, by way of the save dialog and the
    // downloads: a PDF file in the viewer as the file itself, byte for byte,
    // a page as the engine saves it.
    void savePage_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::newRow("page") << false;
        QTest::newRow("PDF file in the viewer") << true;
    }
    void savePage()
    {
        QFETCH(bool, pdf);
        const auto bytes = std::make_shared<QByteArray>();
        if (pdf) {
            view->engine()->page()->printToPdf([bytes](const QByteArray &made) { *bytes = made; });
            QTRY_VERIFY_WITH_TIMEOUT(!bytes->isEmpty(), 20000);
            show(bytes.get());
        }
        const QString target = folder.filePath(pdf ? "saved.pdf" : "saved.html");
        QStringList dialogs;
        ModalWatch answer([&](QWidget *dialog) {
            if (!dialog)
                return;
            dialogs << dialog->metaObject()->className();
            if (auto *save = qobject_cast<QFileDialog *>(dialog)) {
                answerSave(save, target);
            } else {
                dialog->close();
            }
        });
        const qsizetype before = session.downloads().all().size();
        view->Exec(PageCommand::SavePage);
        QTRY_COMPARE_WITH_TIMEOUT(session.downloads().all().size(), before + 1, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(session.downloads().all().constLast()->isFinished(), 20000);
        QCOMPARE(dialogs, QStringList("QFileDialog"));
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray content = saved.readAll();
        if (pdf)
            QVERIFY(content == *bytes);
        else
            QVERIFY2(content.contains("Hotels in Lisbon"), content.left(300).constData());
    }

    // A print that cannot be made says why and writes nothing: a file that
    // cannot be written or cannot take the place of the one there, a page
    // whose renderer has gone (until Refresh brings it back).
    void failedPrintIsAnError_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("rendererGone");
        QTest::addColumn<QString>("said"); // in part; %1 the file
        const QString gone("The page's renderer has ended: Refresh brings the page back to print it; nothing was printed.");
        QTest::newRow("folder not there") << int(WebView::PrintCmd) << "missing/page.pdf" << false << "%1";
        QTest::newRow("file may not be replaced") << int(WebView::PrintCmd) << "kept.pdf" << false << "%1";
        QTest::newRow("renderer gone") << int(WebView::PrintCmd) << "gone.pdf" << true << gone;
        QTest::newRow("preview, renderer gone") << int(WebView::PrintPreviewCmd) << "gone.pdf" << true << gone;
    }
    void failedPrintIsAnError()
    {
        QFETCH(int, command);
        QFETCH(QString, file);
        QFETCH(bool, rendererGone);
        QFETCH(QString, said);
        if (rendererGone)
            killRenderer();
        // kept.pdf stands there already, and may only be appended to.
        const bool kept = file == "kept.pdf";
        if (kept)
            QVERIFY(QFile(folder.filePath(file)).open(QIODevice::WriteOnly));
        const AppendOnly appendOnly(kept ? folder.filePath(file) : QString());
        if (kept && !appendOnly.isSet())
            QSKIP("needs a file system and rights that make a file append-only");
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(folder.filePath(file));
        const QString told = this->said([&] {
            answering<QPrintDialog>(command, command == WebView::PrintCmd ? WebView::PromptUser : WebView::DoDefault,
                                    true);
        });
        QVERIFY2(told.contains(QString(said).replace(QLatin1String("%1"), folder.filePath(file))), qPrintable(told));
        QCOMPARE(answered, command == WebView::PrintCmd ? 1 : 0);
        QCOMPARE(QFileInfo(folder.filePath(file)).exists(), kept);
        QCOMPARE(QFileInfo(folder.filePath(file)).size(), 0);
        if (rendererGone) {
            QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
            view->Refresh();
            QVERIFY(finished.wait(20000));
            QVERIFY(previewPages() >= 1);
        }
    }

    // A print command always ends, with a word to the user, and writes
    // nothing it should not: when the page's renderer ends while the engine
    // makes the document (no preview opens), and when the engine does not
    // answer in time.
    void printAlwaysEnds_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("kill");
        QTest::addColumn<QString>("said");
        QTest::newRow("preview, renderer ends") << int(WebView::PrintPreviewCmd) << true
                                                << "The page's renderer ended while printing; nothing was printed.";
        QTest::newRow("print to file, no answer")
            << int(WebView::PrintCmd) << false << "The page was not ready for printing within 2 seconds; nothing was printed.";
    }
    void printAlwaysEnds()
    {
        QFETCH(int, command);
        QFETCH(bool, kill);
        // The page keeps its renderer busy as it is printed: the engine does
        // not answer before the limit. A long page takes the engine seconds;
        // its renderer ends once it is well into it (the engine of Qt 6.4
        // itself ends the program when the renderer ends in its first
        // moments).
        server->setPage("/busy", "<html><body><h1>Hotels</h1><script>addEventListener('beforeprint', () => {"
                                 " const end = Date.now() + 6000; while (Date.now() < end); });</script></body></html>");
        QByteArray sections = "<html><style>section { break-after: page }</style><body>";
        for (int section = 0; section < 600; ++section)
            sections += "<section><h1>Hotel " + QByteArray::number(section) + "</h1><p>Three rooms left.</p></section>";
        server->setPage("/long", sections + "</body></html>");
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        view->Navigate(server->url(kill ? "/long" : "/busy"));
        QVERIFY(finished.wait(20000));
        view->printing()->setLimitForTesting(kill ? 20000 : 2000);
        const QString file = folder.filePath(QStringLiteral("ends.pdf"));
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        QStringList dialogs;
        int rendering = 0;
        ModalWatch watch([&](QWidget *modal) {
            if (modal && !dialogs.contains(modal->metaObject()->className()))
                dialogs << modal->metaObject()->className();
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal))
                dialog->accept();
            if (kill && !modal && view->printing()->rendering() && ++rendering == 10) {
                ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
            } else if (modal && !qobject_cast<QPrintDialog *>(modal)) {
                modal->close(); // it should not have opened
            }
        });
        QString said;
        try {
            view->ExecWB(command, command == WebView::PrintCmd ? WebView::PromptUser : WebView::DoDefault);
        } catch (const WebViewError &e) {
            said = QString::fromUtf8(e.what());
        }
        QTEST(said, "said");
        QCOMPARE(dialogs, command == WebView::PrintCmd ? QStringList("QPrintDialog") : QStringList());
        QVERIFY(!QApplication::activeModalWidget());
        // The engine's late answer writes nothing either.
        QTRY_VERIFY_WITH_TIMEOUT(!view->printing()->rendering(), 20000);
        QVERIFY(!QFile::exists(file));
    }
};

VELMORA_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
