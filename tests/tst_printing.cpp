#include "engineview.h"
#include "httpserver.h"
#include "testmain.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QWebEngineView>

#include <csignal>
#include <functional>
#include <memory>

// The print commands of the web view with the real engine. There is no
// printer under the test X server: printing goes to a PDF file.
class TestPrinting : public QObject
{
    Q_OBJECT

    std::unique_ptr<HttpServer> server;
    std::unique_ptr<EngineView> view;
    QTemporaryDir folder;

    // Calls `tick` every 50 ms with the modal dialog open at that moment (or
    // none) until the test ends.
    struct Ticker
    {
        QTimer timer;
        explicit Ticker(std::function<void(QWidget *)> tick)
        {
            QObject::connect(&timer, &QTimer::timeout, &timer,
                             [tick] { tick(QApplication::activeModalWidget()); });
            timer.start(50);
        }
    };

    void killRenderer()
    {
        QSignalSpy gone(view->engine()->page(), &QWebEnginePage::renderProcessTerminated);
        ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
        QVERIFY(gone.wait(10000));
    }

    // Opens the preview and closes it once it has its pages.
    int previewPages()
    {
        int pages = -1;
        Ticker closer([&](QWidget *modal) {
            if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
                pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
                preview->reject();
            }
        });
        view->ExecWB(WebView::PrintPreviewCmd, WebView::DoDefault);
        return pages;
    }

private slots:
    void init()
    {
        server = std::make_unique<HttpServer>();
        server->setPage("/page", "<html><head><title>Hotels</title></head><body><h1>Hotels in Lisbon</h1>"
                                 "<p>Three rooms left.</p></body></html>");
        view = std::make_unique<EngineView>();
        view->resize(800, 600);
        view->show();
        QSignalSpy finished(view->engine(), &QWebEngineView::loadFinished);
        view->Navigate(server->url("/page"));
        QVERIFY(finished.wait(20000));
    }
    void cleanup()
    {
        view.reset();
        server.reset();
    }

    void otherCommandsAreRefused_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("option");
        QTest::newRow("print without prompting") << 6 << 0;
        QTest::newRow("preview, prompting") << 7 << 1;
        QTest::newRow("page setup, prompting") << 8 << 1;
        QTest::newRow("open") << 1 << 0;
        QTest::newRow("negative") << -1 << -1;
    }
    void otherCommandsAreRefused()
    {
        QFETCH(int, command);
        QFETCH(int, option);
        int dialogs = 0;
        Ticker closer([&](QWidget *modal) {
            if (modal) {
                ++dialogs;
                modal->close();
            }
        });
        QVERIFY_THROWS_EXCEPTION(WebViewError, view->ExecWB(command, option));
        QCOMPARE(dialogs, 0);
    }

    void previewShowsThePage()
    {
        QSet<QWidget *> previews;
        int pages = 0, refused = 0, stopRefused = 0;
        Ticker closer([&](QWidget *modal) {
            if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
                previews << preview;
                QCOMPARE(preview->printer(), view->printer());
                pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
                if (pages > 0)
                    preview->reject();
                return;
            }
            // The preview is being prepared: a second command is refused, not
            // stacked, and so is Stop, which would bring the engine down.
            for (const int command : {7, 8})
                try {
                    view->ExecWB(command, 0);
                } catch (const WebViewError &) {
                    ++refused;
                }
            try {
                view->Stop();
            } catch (const WebViewError &) {
                ++stopRefused;
            }
        });
        view->ExecWB(WebView::PrintPreviewCmd, WebView::DoDefault);
        QCOMPARE(previews.size(), 1);
        QVERIFY(pages >= 1);
        // Every attempt while the pages were prepared was refused.
        QVERIFY(stopRefused >= 1);
        QCOMPARE(refused, 2 * stopRefused);
        // Afterwards the view takes commands again.
        view->Stop();
    }

    void pageSetupUsesTheViewsPrinter()
    {
        int seen = 0;
        Ticker closer([&](QWidget *modal) {
            if (auto *setup = qobject_cast<QPageSetupDialog *>(modal)) {
                ++seen;
                QCOMPARE(setup->printer(), view->printer());
                setup->reject();
            }
        });
        view->ExecWB(WebView::PageSetupCmd, WebView::DoDefault);
        QCOMPARE(seen, 1);
        QCOMPARE(view->printer()->resolution(), 300);
    }

    void printWritesThePdf()
    {
        const QString file = folder.filePath("page.pdf");
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        int seen = 0;
        Ticker closer([&](QWidget *modal) {
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
                ++seen;
                QCOMPARE(dialog->printer(), view->printer());
                dialog->accept();
            }
        });
        view->ExecWB(WebView::PrintCmd, WebView::PromptUser);
        QCOMPARE(seen, 1);
        QFile pdf(file);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.size() > 1000);
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
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
        QStringList seen;
        Ticker closer([&](QWidget *modal) {
            if (!modal)
                return;
            seen << modal->metaObject()->className();
            if (auto *dialog = qobject_cast<QPrintDialog *>(modal))
                dialog->accept();
            else
                modal->close();
        });
        try {
            view->ExecWB(WebView::PrintCmd, WebView::PromptUser);
            QFAIL("a failed print passed for a good one");
        } catch (const WebViewError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(folder.filePath(file)), e.what());
        }
        QCOMPARE(seen, QStringList{"QPrintDialog"});
        QVERIFY(!QFile::exists(folder.filePath(file)));
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
