#include "engineview.h"
#include "findbar.h"
#include "httpserver.h"
#include "pdffile.h"
#include "pdfmaker.h"
#include "pdfpageview.h"
#include "pdfpane.h"
#include "pdfviewer.h"
#include "session.h"
#include "testmain.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QScopeGuard>
#include <QWebEngineView>

#include <csignal>
#include <memory>

// The real web engine against a local server.
class TestEngineView : public QObject
{
    Q_OBJECT
private slots:
    void loadsAndReports()
    {
        HttpServer server;
        QVERIFY(server.isListening());
        server.setPage("/home", "<html><head><title>Home page</title></head><body>Hotels</body></html>");

        Session session;
        EngineView view(session);
        view.resize(640, 480);
        view.show();
        QVERIFY_THROWS_EXCEPTION(WebViewError, view.GoBack());
        QVERIFY_THROWS_EXCEPTION(WebViewError, view.GoForward());
        QCOMPARE(view.LocationURL(), QString());

        QSignalSpy progress(&view, &WebView::ProgressChange);
        QSignalSpy committed(&view, &WebView::NavigateComplete2);
        view.Navigate(server.url("/home"));
        // The end of the download is reported as progress -1.
        QTRY_VERIFY_WITH_TIMEOUT(!progress.isEmpty() && progress.last().at(0).toInt() == -1, 20000);
        QCOMPARE(progress.last().at(1).toInt(), 100);
        for (const QList<QVariant> &event : progress)
            QCOMPARE(event.at(1).toInt(), 100);
        QCOMPARE(committed.size(), 1);
        QCOMPARE(committed.first().at(0).toString(), server.url("/home"));
        QCOMPARE(server.requests().count("/home"), 1);
        QCOMPARE(view.LocationURL(), server.url("/home"));
        QTRY_COMPARE(view.LocationName(), QStringLiteral("Home page"));
        QVERIFY_THROWS_EXCEPTION(WebViewError, view.GoBack());
    }

    // A PDF file the page goes to shows in the program's own viewer in the
    // page's place, under its own address and name, also through a
    // redirect. Back leaves it for the page under it (which tells of a
    // renderer that ended meanwhile), Refresh fetches it again, Stop while it
    // comes and a new navigation leave it, and the view may close while it
    // comes: its private folder goes with it.
    void pdfInPlaceOfThePage_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("leave"); // what the user does then
        QTest::addColumn<QString>("location"); // afterwards; empty: the view is gone
        QTest::addColumn<bool>("shown"); // the viewer still shows the file
        QTest::addColumn<int>("requests"); // of the file
        QTest::newRow("back") << "/deal.pdf" << "back" << "/home" << false << 1;
        QTest::newRow("through a redirect, back") << "/go" << "back" << "/home" << false << 1;
        QTest::newRow("at a page of it, back") << "/deal.pdf#page=2" << "back" << "/home" << false << 1;
        QTest::newRow("refresh") << "/deal.pdf" << "refresh" << "/deal.pdf" << true << 2;
        QTest::newRow("new navigation") << "/deal.pdf" << "navigate" << "/other" << false << 1;
        QTest::newRow("renderer ends, then back") << "/deal.pdf" << "kill" << "/home" << false << 1;
        QTest::newRow("stop while it comes") << "/endless.pdf" << "stop" << "/home" << false << 1;
        QTest::newRow("closed while it comes") << "/endless.pdf" << "close" << "" << false << 1;
        QTest::newRow("find") << "/deal.pdf" << "find" << "/deal.pdf" << true << 1;
    }
    void pdfInPlaceOfThePage()
    {
        QFETCH(QString, path);
        QFETCH(QString, leave);
        QFETCH(QString, location);
        QFETCH(bool, shown);
        QTemporaryDir temporary;
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(temporary.path()));
        const auto restore = qScopeGuard([&] { qputenv("TMPDIR", tmp); });
        HttpServer server;
        server.setPage("/home", "<html><head><title>Home page</title></head><body>Hotels</body></html>");
        server.setPage("/other", "<html><head><title>Other</title></head><body>Other</body></html>");
        const QByteArray pdf = makePdf(2, QSizeF(595, 842), [](int page) { return QStringLiteral("Voucher %1").arg(page); });
        server.setPage("/deal.pdf", HttpServer::Page{pdf, "application/pdf"});
        HttpServer::Page endless{pdf, "application/pdf"};
        endless.endless = true;
        server.setPage("/endless.pdf", endless);
        HttpServer::Page redirect{QByteArray(), "text/html", 0, 302};
        redirect.headers = "Location: /deal.pdf\r\n";
        server.setPage("/go", redirect);
        Session session;
        auto view = std::make_unique<EngineView>(session);
        view->resize(640, 480);
        view->show();
        QSignalSpy loaded(view->engine(), &QWebEngineView::loadFinished);
        view->Navigate(server.url("/home"));
        QVERIFY(loaded.wait(20000));
        QSignalSpy history(view.get(), &WebView::CommandStateChange);
        view->Navigate(server.url(path));
        PdfViewer *viewer = view->pdfViewer();
        const QString file = path == "/go" ? QStringLiteral("/deal.pdf") : path.section(u'#', 0, 0);
        if (path.startsWith("/endless")) {
            QTRY_VERIFY_WITH_TIMEOUT(viewer->isLoading() && view->Busy(), 20000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(viewer->file(), 20000);
            QVERIFY(!view->Busy());
            QCOMPARE(view->LocationName(), QStringLiteral("deal.pdf"));
            // Back is offered: to the page under it.
            QVERIFY(!history.isEmpty() && history.last() == (QList<QVariant>{QVariant::fromValue(PageCommand::Back), true}));
        }
        QCOMPARE(view->LocationURL(), server.url(path == "/go" ? file : path));
        // An address naming a page opens at that page.
        QCOMPARE(viewer->pane()->pages()->currentPage(), path.endsWith("#page=2") ? 1 : 0);
        QVERIFY(!QDir(temporary.path()).isEmpty());
        if (leave == "back") {
            view->GoBack();
        } else if (leave == "refresh") {
            view->Refresh();
            QTRY_COMPARE_WITH_TIMEOUT(server.requests().count(file), 2, 20000);
            QTRY_VERIFY_WITH_TIMEOUT(viewer->file(), 20000);
        } else if (leave == "navigate") {
            view->Navigate(server.url("/other"));
            QTRY_COMPARE_WITH_TIMEOUT(view->LocationURL(), server.url("/other"), 20000);
        } else if (leave == "kill") {
            QSignalSpy gone(view->engine()->page(), &QWebEnginePage::renderProcessTerminated);
            ::kill(pid_t(view->engine()->page()->renderProcessPid()), SIGKILL);
            QVERIFY(gone.wait(10000));
            QVERIFY(viewer->file());
            QCOMPARE(view->notice(), QString());
            view->GoBack();
            QVERIFY(!view->notice().isEmpty());
        } else if (leave == "find") {
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
            view->Exec(PageCommand::Find);
            QTest::keyClicks(view->findBar()->field(), QStringLiteral("Voucher"));
            QTRY_COMPARE_WITH_TIMEOUT(view->findBar()->countText(), QStringLiteral("1 of 2"), 20000);
            view->findBar()->findAgain(false);
            QCOMPARE(view->findBar()->countText(), QStringLiteral("2 of 2"));
#else
            // Qt PDF finds no text before Qt 6.6: the bar is not offered.
            QVERIFY_THROWS_EXCEPTION(WebViewError, view->Exec(PageCommand::Find));
            QVERIFY(view->findBar()->isHidden());
#endif
        } else if (leave == "stop") {
            view->Stop();
            QVERIFY(!view->Busy());
        } else {
            view.reset();
        }
        if (view) {
            QCOMPARE(view->LocationURL(), server.url(location));
            QCOMPARE(bool(viewer->file()), shown);
        }
        QTEST(int(server.requests().count(file)), "requests");
        // Nothing of a file left is kept.
        // (The engine lets go of a cancelled file in its own time.)
        QTRY_VERIFY2_WITH_TIMEOUT(shown || QDir(temporary.path()).isEmpty(),
                                  qPrintable(QDirIterator(temporary.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                                          QDirIterator::Subdirectories).next()),
                                  20000);
    }
};

VELMORA_TEST_MAIN(TestEngineView)
#include "tst_engineview.moc"
