#include "engineview.h"
#include "httpserver.h"
#include "session.h"
#include "testmain.h"

#include <QWebEngineView>

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
};

VELMORA_TEST_MAIN(TestEngineView)
#include "tst_engineview.moc"
