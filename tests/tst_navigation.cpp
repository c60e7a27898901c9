#include "engineview.h"
#include "frmmain.h"
#include "httpserver.h"
#include "session.h"
#include "testmain.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <memory>

// The commands and the progress display with the real engine and a local server.
class TestNavigation : public QObject
{
    Q_OBJECT

    Session session;
    std::unique_ptr<HttpServer> server;
    std::unique_ptr<frmMain> window;
    EngineView *view = nullptr;

    void waitLoaded(const QString &path)
    {
        QTRY_COMPARE_WITH_TIMEOUT(view->LocationURL(), server->url(path), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!view->engine()->page()->isLoading(), 20000);
        // The end of the download hides the progress line.
        QTRY_VERIFY(!window->ProgressBar1->isVisible());
    }

    // The pages asked for, without the icon the engine fetches on its own time.
    QStringList pages() const
    {
        QStringList paths = server->requests();
        paths.removeAll("/favicon.ico");
        return paths;
    }

    // Clicks a control and lets the window system's events run: a command
    // that does nothing must not do it later either.
    void click(QPushButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::qWait(300);
        QVERIFY(!QApplication::activeModalWidget());
    }

private slots:
    void init()
    {
        server = std::make_unique<HttpServer>();
        QVERIFY(server->isListening());
        server->setPage("/home", "<html><head><title>Home</title></head><body style='margin:0'>"
                                 "<a id='next' href='/second' style='display:block;width:400px;height:200px'>"
                                 "Second page</a></body></html>");
        server->setPage("/second", "<html><head><title>Second</title></head><body>Second</body></html>");
        // The page arrives at once, its picture only after a while.
        server->setPage("/slow", "<html><body>Slow<img src='/picture.png'></body></html>");
        server->setPage("/picture.png", HttpServer::Page{"not really a picture", "image/png", 2500});

        window = std::make_unique<frmMain>([this](QWidget *parent) { return view = new EngineView(session, parent); },
                                           server->url("/home"));
        window->Form_Load();
        waitLoaded("/home");
    }
    void cleanup()
    {
        window.reset();
        server.reset();
    }

    void homeLoadsTheHomePageAgain()
    {
        QCOMPARE(pages(), QStringList{"/home"});
        click(window->cmdHome);
        QTRY_COMPARE_WITH_TIMEOUT(pages(), (QStringList{"/home", "/home"}), 20000);
        waitLoaded("/home");
    }

    void nothingToGoBackOrForwardTo()
    {
        const QStringList requests = pages();
        click(window->cmdBack);
        click(window->cmdForward);
        click(window->cmdStop);
        QCOMPARE(view->LocationURL(), server->url("/home"));
        QCOMPARE(pages(), requests);
        QVERIFY(window->isVisible());
    }

    // Back and Forward are greyed out exactly when the history has nothing
    // that way.
    bool backForward(bool back, bool forward) const
    {
        return window->cmdBack->isEnabled() == back && window->cmdForward->isEnabled() == forward;
    }

    void linkThenBackThenForward()
    {
        QVERIFY(backForward(false, false));
        // Let the page settle and the pointer arrive before clicking the link.
        // The answer may come after the wait has given up: it must not land on
        // a stack that has moved on.
        const auto scripted = std::make_shared<bool>(false);
        view->engine()->page()->runJavaScript("1", [scripted](const QVariant &) { *scripted = true; });
        QTRY_VERIFY_WITH_TIMEOUT(*scripted, 20000);
        QWidget *page = view->engine()->focusProxy();
        QTest::mouseMove(page, QPoint(50, 50));
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(50, 50));
        waitLoaded("/second");
        QVERIFY(backForward(true, false));

        click(window->cmdBack);
        waitLoaded("/home");
        QVERIFY(backForward(false, true));
        click(window->cmdForward);
        waitLoaded("/second");
        QVERIFY(backForward(true, false));
        click(window->cmdForward); // no later page: nothing happens
        QCOMPARE(view->LocationURL(), server->url("/second"));
    }

    void progressShownDuringASlowLoad()
    {
        bool shownWhileWaiting = false;
        bool finished = false;
        QTimer watch;
        // Only the slow page's end counts: the engine may still report the
        // home page's a moment after it said it was done with it.
        connect(view->engine(), &QWebEngineView::loadFinished, &watch,
                [&] { finished = finished || view->engine()->url() == server->url("/slow"); });
        connect(&watch, &QTimer::timeout, this, [&] {
            const bool pictureRequested = server->requests().contains("/picture.png");
            if (pictureRequested && !finished && window->ProgressBar1->isVisible()
                && window->lblStat->isVisible()
                && window->lblStat->text().startsWith("Please wait, connecting to server ["))
                shownWhileWaiting = true;
        });
        watch.start(50);
        view->Navigate(server->url("/slow"));
        QTRY_VERIFY_WITH_TIMEOUT(finished, 20000);
        QVERIFY(shownWhileWaiting);
        QTRY_VERIFY(!window->ProgressBar1->isVisible());
        QVERIFY(!window->lblStat->isVisible());
        QVERIFY(window->lblStat->text().endsWith(" %]"));
    }
};

VELMORA_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
