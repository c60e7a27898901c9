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
#include <utility>

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

    // Runs a print command and answers its dialog, counted in `answered` when
    // it works on the view's printer. Any other dialog is closed and named in
    // `others`.
    int answered = 0;
    QStringList others;
    template <typename Dialog>
    void answering(int command, int option, bool accept)
    {
        Ticker closer([&](QWidget *modal) {
            auto *dialog = qobject_cast<Dialog *>(modal);
            if (dialog && dialog->printer() == view->printer())
                ++answered;
            if (dialog && accept)
                dialog->accept();
            else if (modal) {
                if (!dialog)
                    others << modal->metaObject()->className();
                modal->close();
            }
        });
        view->ExecWB(command, option);
    }

    void killRenderer()
    {
        QSignalSpy gone(view->engine()->page(), &QWebEnginePage::renderProcessTerminated);
        ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
        QVERIFY(gone.wait(10000));
    }

    // Opens the preview and closes it once it shows; `whilePreparing` runs
    // in the meantime, while the pages are prepared.
    int previewPages(const std::function<void()> &whilePreparing = {})
    {
        int pages = -1;
        Ticker closer([&](QWidget *modal) {
            if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
                if (preview->printer() == view->printer())
                    ++answered;
                pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
                preview->reject();
            } else if (!modal && whilePreparing) {
                whilePreparing();
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
        Ticker closer([&](QWidget *modal) {
            if (modal) {
                others << modal->metaObject()->className();
                modal->close();
            }
        });
        QVERIFY_THROWS_EXCEPTION(WebViewError, view->ExecWB(command, option));
    }

    void previewShowsThePage()
    {
        int refused = 0, stopRefused = 0;
        const int pages = previewPages([&] {
            // A second command is refused, not stacked, and so is Stop, which
            // would bring the engine down.
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
        QCOMPARE(answered, 1);
        QVERIFY(pages >= 1);
        QVERIFY(stopRefused >= 1);
        QCOMPARE(refused, 2 * stopRefused);
        // Afterwards the view takes commands again.
        view->Stop();
    }

    void pageSetupUsesTheViewsPrinter()
    {
        answering<QPageSetupDialog>(WebView::PageSetupCmd, WebView::DoDefault, false);
        QCOMPARE(answered, 1);
        QCOMPARE(view->printer()->resolution(), 300);
    }

    void printWritesThePdf()
    {
        const QString file = folder.filePath("page.pdf");
        view->printer()->setOutputFormat(QPrinter::PdfFormat);
        view->printer()->setOutputFileName(file);
        answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true);
        QCOMPARE(answered, 1);
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
        try {
            answering<QPrintDialog>(WebView::PrintCmd, WebView::PromptUser, true);
            QFAIL("a failed print passed for a good one");
        } catch (const WebViewError &e) {
            QVERIFY2(QString::fromUtf8(e.what()).contains(folder.filePath(file)), e.what());
        }
        QCOMPARE(answered, 1);
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
