#include "download.h"
#include "engineprinting.h"
#include "engineview.h"
#include "httpserver.h"
#include "session.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>
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
    // `answered` when it works on the view's printer; returns the pages of a
    // preview. Any other dialog is closed and named in `others`.
    // `whilePreparing` runs while no dialog is up yet.
    int answered = 0;
    QStringList others;
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
                } else {
                    answered += dialog->printer() == view->printer();
                    if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal))
                        pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
                    accept ? dialog->accept() : dialog->reject();
                }
            },
            50);
        view->ExecWB(command, option);
        return pages;
    }
    int previewPages(const std::function<void()> &whilePreparing = {})
    {
        return answering<QPrintPreviewDialog>(WebView::PrintPreviewCmd, WebView::DoDefault, false, whilePreparing);
    }

    void killRenderer()
    {
        QSignalSpy gone(view->engine()->page(), &QWebEnginePage::renderProcessTerminated);
        ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
        QVERIFY(gone.wait(10000));
    }

private slots:
    void init()
    {
        server = std::make_unique<HttpServer>();
        server->setPage("/page", "<html><head><title>Hotels</title></head><body><h1>Hotels in Lisbon</h1>"
                                 "<p>Three rooms left.</p></body></html>");
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

    // A PDF file holds the page's own text, also once a renderer that died
    // has been brought back.
    void printWritesThePdf_data()
    {
        QTest::addColumn<bool>("rendererCameBack");
        QTest::newRow("as loaded") << false;
        QTest::newRow("after the renderer came back") << true;
    }
    void printWritesThePdf()
    {
        QFETCH(bool, rendererCameBack);
        if (rendererCameBack) {
            killRenderer();
            QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
            view->Refresh();
            QVERIFY(finished.wait(20000));
        }
        const QString file = folder.filePath(QStringLiteral("page%1.pdf").arg(rendererCameBack));
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true);
        QCOMPARE(answered, 1);
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.size() > 1000);
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
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

    // Shows a PDF file of three pages in the viewer, one word on each, as the
    // engine makes them, or `bytes` when given; `bytes` gets what is served.
    void showPdf(QByteArray *bytes)
    {
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        if (bytes->isEmpty()) {
            // Each page in a colour of its own, to tell which were printed.
            server->setPage("/three", "<html><style>p { height: 20cm; margin: 0; print-color-adjust: exact;"
                                      " -webkit-print-color-adjust: exact; break-after: page }</style><body>"
                                      "<p style='background: red'>Alpha</p><p style='background: lime'>Bravo</p>"
                                      "<p style='background: blue'>Charlie</p></body></html>");
            view->Navigate(server->url("/three"));
            QVERIFY(finished.wait(20000));
            const auto made = std::make_shared<QByteArray>();
            view->engine()->page()->printToPdf([made](const QByteArray &pdf) { *made = pdf; });
            QTRY_VERIFY_WITH_TIMEOUT(!made->isEmpty(), 20000);
            *bytes = *made;
        }
        server->setPage("/deal.pdf", HttpServer::Page{*bytes, "application/pdf"});
        view->Navigate(server->url("/deal.pdf"));
        QVERIFY(finished.wait(20000));
        QTRY_VERIFY_WITH_TIMEOUT(view->printing()->showsPdf(), 20000);
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

    // A PDF file in the viewer prints as the file itself, not as the viewer:
    // the whole of it to a PDF file is the file, byte for byte; otherwise the
    // pages asked for, as often as asked.
    void pdfInTheViewerPrints_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("lastFirst");
        QTest::addColumn<QString>("colours"); // of the pages printed
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 0 << 0 << 1 << false << "RGB" << "Alpha Bravo Charlie";
        QTest::newRow("pages 2 to 3") << 2 << 3 << 1 << false << "GB" << "Bravo Charlie";
        QTest::newRow("first page, two copies") << 1 << 1 << 2 << false << "RR" << "Alpha Alpha";
        QTest::newRow("all pages, two copies") << 1 << 3 << 2 << false << "RGBRGB" << "Alpha Bravo Charlie Alpha Bravo Charlie";
        QTest::newRow("last page first") << 0 << 0 << 1 << true << "BGR" << "Charlie Bravo Alpha";
    }
    void pdfInTheViewerPrints()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, copies);
        QFETCH(bool, lastFirst);
        QByteArray bytes;
        showPdf(&bytes);
        if (QTest::currentTestFailed())
            return;
        const qsizetype downloads = session.downloads().all().size();
        const QString file = folder.filePath(QStringLiteral("viewer-%1-%2-%3.pdf").arg(from).arg(to).arg(copies));
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        view->printer()->setPrintRange(from ? QPrinter::PageRange : QPrinter::AllPages);
        view->printer()->setFromTo(from, to);
        view->printer()->setCopyCount(copies);
        view->printer()->setPageOrder(lastFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
        answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true);
        QCOMPARE(answered, 1);
        QTEST(pageColours(file), "colours");
        QTEST(pdfText(file), "text");
        if (!from && !lastFirst) {
            QFile printed(file);
            QVERIFY(printed.open(QIODevice::ReadOnly));
            QVERIFY(printed.readAll() == bytes);
        }
        // Nothing of the print shows in the Downloads list.
        QCOMPARE(session.downloads().all().size(), downloads);
    }

    // A PDF file the viewer shows but Qt PDF cannot open, or that does not
    // come again from its server, is refused before any dialog, with a word
    // why, and nothing is written.
    void unprintablePdfIsRefused_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("againStatus"); // how the server answers the second time; 0: as the first
        QTest::addColumn<QString>("said");
        const QByteArray damaged("%PDF-1.7\n1 0 obj << /Type /Catalog /Pages 2 0 R >>\nendobj\ntrailer << /Root 1 0 R >>\n%%EOF\n");
        // Locked with a password that is not the empty one.
        const QByteArray locked("%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n"
                                "2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n"
                                "3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] >> endobj\n"
                                "4 0 obj << /Filter /Standard /V 1 /R 2 /P -4"
                                " /O <" + QByteArray(64, '7') + "> /U <" + QByteArray(64, '3') + "> >> endobj\n"
                                "trailer << /Root 1 0 R /Encrypt 4 0 R /Size 5"
                                " /ID [<" + QByteArray(32, 'a') + "> <" + QByteArray(32, 'a') + ">] >>\n%%EOF\n");
        const QString isDamaged = QStringLiteral("The PDF file is damaged and cannot be printed; nothing was printed.");
        const QString isLocked = QStringLiteral("The PDF file is locked with a password; nothing was printed.");
        QTest::newRow("print, damaged") << int(WebView::PrintCmd) << damaged << 0 << isDamaged;
        QTest::newRow("preview, damaged") << int(WebView::PrintPreviewCmd) << damaged << 0 << isDamaged;
        QTest::newRow("print, locked") << int(WebView::PrintCmd) << locked << 0 << isLocked;
        QTest::newRow("print, stalls on the way") << int(WebView::PrintCmd) << QByteArray() << -1
                                                  << "The PDF file did not come from its server within 2 seconds; nothing was printed.";
        QTest::newRow("print, gone from the server") << int(WebView::PrintCmd) << QByteArray() << 404
                                                     << "The PDF file could not be fetched again from its server; nothing was printed.";
    }
    void unprintablePdfIsRefused()
    {
        QFETCH(int, command);
        QFETCH(QByteArray, bytes);
        QFETCH(int, againStatus);
        showPdf(&bytes);
        if (QTest::currentTestFailed())
            return;
        HttpServer::Page again{bytes, "application/pdf", 0, againStatus > 0 ? againStatus : 200};
        again.stall = againStatus < 0;
        server->setPage("/deal.pdf", again);
        view->printing()->setLimitForTesting(2000);
        const QString file = folder.filePath(QStringLiteral("unprintable.pdf"));
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        QString said;
        try {
            answering<QPrintDialog>(command, command == WebView::PrintCmd ? WebView::PromptUser : WebView::DoDefault, true);
        } catch (const WebViewError &e) {
            said = QString::fromUtf8(e.what());
        }
        QTEST(said, "said");
        QCOMPARE(answered, 0);
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QApplication::overrideCursor());
    }

    // The preview shows a wait cursor while the pages are made, the engine's
    // or a PDF file's, and none once it is closed; a PDF file shows its own
    // pages.
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
            showPdf(&bytes);
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
        QVERIFY(busy);
        QVERIFY(!QApplication::overrideCursor());
    }

    // The view may go while a PDF file is fetched again, while its pages
    // print or while its preview is open: the print ends with a word and
    // nothing dangles. A fetch that comes after its view has gone is
    // cancelled by the next, not offered to the user as a download.
    void viewGoesWhilePdfPrints_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("whileFetched");
        QTest::newRow("while the file is fetched") << int(WebView::PrintCmd) << true;
        QTest::newRow("while pages print") << int(WebView::PrintCmd) << false;
        QTest::newRow("while the preview is open") << int(WebView::PrintPreviewCmd) << false;
    }
    void viewGoesWhilePdfPrints()
    {
        QFETCH(int, command);
        QFETCH(bool, whileFetched);
        QByteArray bytes;
        showPdf(&bytes);
        if (QTest::currentTestFailed())
            return;
        // The file comes back slowly the second time.
        HttpServer::Page slow{bytes, "application/pdf", whileFetched ? 3000 : 0};
        server->setPage("/deal.pdf", slow);
        QSignalSpy asked(server.get(), &HttpServer::requested);
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
            } else if (qobject_cast<QPrintPreviewDialog *>(modal) || (whileFetched && !modal && asked.count() > 0)) {
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
        if (whileFetched) {
            // Two pages hear of it, and the test after them; the request
            // goes soon after.
            view = std::make_unique<EngineView>(session);
            EngineView another(session);
            QObject hearing;
            std::optional<QWebEngineDownloadRequest::DownloadState> came;
            connect(session.profile(), &QWebEngineProfile::downloadRequested, &hearing,
                    [&came](QWebEngineDownloadRequest *request) { came = request->state(); });
            QTRY_VERIFY_WITH_TIMEOUT(came, 20000);
            QVERIFY(*came != QWebEngineDownloadRequest::DownloadInProgress);
        }
        // A print whose view went while fetching never got as far as its dialog.
        const QString dialog = command == WebView::PrintCmd ? "QPrintDialog" : "QPrintPreviewDialog";
        QCOMPARE(dialogs, whileFetched ? QStringList() : QStringList(dialog));
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
            server->setPage("/deal.pdf", HttpServer::Page{*bytes, "application/pdf"});
            QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
            view->Navigate(server->url("/deal.pdf"));
            QVERIFY(finished.wait(20000));
            QTRY_VERIFY_WITH_TIMEOUT(view->printing()->showsPdf(), 20000);
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

    void failedPrintIsAnError_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("rendererGone");
        QTest::newRow("folder not there") << "missing/page.pdf" << false;
        QTest::newRow("renderer gone") << "gone.pdf" << true;
    }
    void failedPrintIsAnError()
    {
        QFETCH(QString, file);
        QFETCH(bool, rendererGone);
        if (rendererGone)
            killRenderer();
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(folder.filePath(file));
        try {
            answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true);
            QFAIL("a failed print passed for a good one");
        } catch (const WebViewError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(folder.filePath(file)), e.what());
        }
        QCOMPARE(answered, 1);
        QVERIFY(!QFile::exists(folder.filePath(file)));
    }

    // A print command always ends, with a word to the user, and writes
    // nothing it should not: when the page's renderer ends while the preview
    // shows it (the preview closes rather than hand the engine a dead page),
    // and when the engine does not answer in time.
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
        // not answer before the limit.
        server->setPage("/busy", "<html><body><h1>Hotels</h1><script>addEventListener('beforeprint', () => {"
                                 " const end = Date.now() + 6000; while (Date.now() < end); });</script></body></html>");
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        view->Navigate(server->url(kill ? "/page" : "/busy"));
        QVERIFY(finished.wait(20000));
        view->printing()->setLimitForTesting(2000);
        const QString file = folder.filePath(QStringLiteral("ends.pdf"));
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        QStringList dialogs;
        int ticksSinceKill = -1;
        ModalWatch watch([&](QWidget *modal) {
            if (modal && !dialogs.contains(modal->metaObject()->className()))
                dialogs << modal->metaObject()->className();
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal))
                dialog->accept();
            if (kill && ticksSinceKill < 0 && qobject_cast<QPrintPreviewDialog *>(modal)
                && !view->printing()->rendering()) {
                ticksSinceKill = 0;
                ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
            } else if (ticksSinceKill >= 0 && ++ticksSinceKill > 500 && modal) {
                modal->close(); // it did not close itself
            }
        });
        QString said;
        try {
            view->ExecWB(command, command == WebView::PrintCmd ? WebView::PromptUser : WebView::DoDefault);
        } catch (const WebViewError &e) {
            said = QString::fromUtf8(e.what());
        }
        QTEST(said, "said");
        QVERIFY(ticksSinceKill < 500);
        QCOMPARE(dialogs, QStringList(command == WebView::PrintCmd ? "QPrintDialog" : "QPrintPreviewDialog"));
        QVERIFY(!QApplication::activeModalWidget());
        // The engine's late answer writes nothing either.
        QTRY_VERIFY_WITH_TIMEOUT(!view->printing()->rendering(), 20000);
        QVERIFY(!QFile::exists(file));
    }

    void previewWithoutRendererSaysSo()
    {
        killRenderer();
        QCOMPARE(previewPages(), 1); // the page that tells why
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        view->Refresh();
        QVERIFY(finished.wait(20000));
        QVERIFY(previewPages() >= 1);
    }
};

VELMORA_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
