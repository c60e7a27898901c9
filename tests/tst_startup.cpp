#include "deferredview.h"
#include "engineview.h"
#include "fakewebview.h"
#include "frmmain.h"
#include "httpserver.h"
#include "rendering.h"
#include "session.h"
#include "testmain.h"

#include <QSignalSpy>
#include <QWindow>

#include <functional>
#include <memory>

using Calls = std::function<void(WebView &)>;
Q_DECLARE_METATYPE(Calls)

// Start-up as the user sees it: the window first, the web engine right after,
// and nothing called on the view in between lost or reordered.
class TestStartup : public QObject
{
    Q_OBJECT

    Session session;
    std::unique_ptr<frmMain> window;
    int enginesMade = 0;

    // The main window as the program builds it, with the engine's view
    // behind a stand-in; `home` is the home page.
    void build(const QString &home)
    {
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) {
                return new DeferredView(
                    [this](QWidget *place) {
                        ++enginesMade;
                        // The window must be on screen before the engine starts.
                        exposedAtEngineStart = place->window()->windowHandle()->isExposed();
                        return new EngineView(session, place);
                    },
                    parent);
            },
            home);
    }
    bool exposedAtEngineStart = false;

private slots:
    void cleanup()
    {
        window.reset();
        enginesMade = 0;
    }

    // Calls made before the real view is up are done on it in order once it
    // is; one that fails is dropped and the next still runs. From then on
    // calls pass straight through, failures included.
    void callsBeforeTheViewIsUp_data()
    {
        QTest::addColumn<Calls>("calls");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<QStringList>("done");
        QTest::addColumn<bool>("reenter");
        const Calls all = [](WebView &view) {
            view.Navigate(QStringLiteral("http://a/"));
            view.GoBack();
            view.Exec(PageCommand::ZoomIn);
            view.ExecWB(WebView::PrintPreviewCmd, WebView::DoDefault);
            view.Stop();
            view.Refresh();
            view.GoForward();
        };
        const QStringList allDone{"Navigate(http://a/)", "GoBack", "Exec(ZoomIn)", "Exec(PrintPreview)", "Stop", "Refresh",
                                  "GoForward"};
        const Calls twice = [](WebView &view) {
            view.Navigate(QStringLiteral("http://a/"));
            view.Navigate(QStringLiteral("http://a/"));
        };
        QTest::newRow("none") << Calls([](WebView &) {}) << false << QStringList() << false;
        QTest::newRow("every operation, in order") << all << false << allDone << false;
        QTest::newRow("each one failing") << all << true << allDone << false;
        QTest::newRow("the same call twice") << twice << false
                                             << QStringList{"Navigate(http://a/)", "Navigate(http://a/)"} << false;
        // A kept call that makes another (a dialog it opened, say): the new
        // one joins the end of the queue, after every call kept before it.
        QTest::newRow("a call made while they run")
            << twice << false << QStringList{"Navigate(http://a/)", "Navigate(http://a/)", "Refresh"} << true;
    }
    void callsBeforeTheViewIsUp()
    {
        QFETCH(Calls, calls);
        QFETCH(bool, failing);
        QFETCH(bool, reenter);
        FakeWebView *fake = nullptr;
        DeferredView *stand = nullptr;
        DeferredView view([&](QWidget *parent) {
            fake = new FakeWebView(parent);
            fake->fail = failing;
            fake->url = QStringLiteral("http://up/");
            if (reenter) {
                fake->onCall = [&stand, fake](const QString &call) {
                    if (call == "Navigate(http://a/)" && fake->calls.size() == 1)
                        stand->Refresh();
                };
            }
            return fake;
        });
        stand = &view;
        calls(view);
        // Until then it answers as a fresh view does, without starting one.
        QVERIFY(!fake);
        QCOMPARE(view.LocationURL(), QString());
        QCOMPARE(view.LocationName(), QString());
        QVERIFY(!view.Busy());

        QSignalSpy started(&view, &DeferredView::started);
        view.start();
        QVERIFY(fake && view.view() == fake);
        QTEST(fake->calls, "done");
        QCOMPARE(started.size(), 1);
        if (!failing)
            QCOMPARE(view.LocationURL(), QStringLiteral("http://up/"));

        fake->calls.clear();
        if (failing)
            QVERIFY_THROWS_EXCEPTION(WebViewError, view.Refresh());
        else
            view.Refresh();
        QCOMPARE(fake->calls, QStringList{"Refresh"});

        // The real view's events are the stand-in's.
        QSignalSpy progress(&view, &WebView::ProgressChange);
        QSignalSpy committed(&view, &WebView::NavigateComplete2);
        QSignalSpy busy(&view, &WebView::BusyChanged);
        QSignalSpy state(&view, &WebView::CommandStateChange);
        fake->emitProgress(5, 10);
        fake->emitNavigateComplete(QStringLiteral("http://b/"));
        fake->allowEverything();
        QCOMPARE(progress.value(0), (QList<QVariant>{5, 10}));
        QCOMPARE(committed.value(0), QList<QVariant>{"http://b/"});
        QCOMPARE(busy.value(0), QList<QVariant>{true});
        QCOMPARE(state.size(), 2);
        QVERIFY(view.Busy());
    }

    // The window with its controls is drawn before the engine starts; the
    // home page is asked for then, and the engine's view takes the stand-in's
    // place in the same window, at the layout rule's size.
    void windowFirstThenThePage()
    {
        HttpServer server;
        server.setPage(QStringLiteral("/home"), "<html><head><title>Home</title></head><body>Hotels</body></html>");
        build(server.url(QStringLiteral("/home")));
        auto *stand = qobject_cast<DeferredView *>(window->Web.at(0));
        QVERIFY(stand);
        bool visibleAtRequest = false;
        connect(&server, &HttpServer::requested, this, [&] { visibleAtRequest = window->isVisible(); });

        window->Form_Load();
        QCOMPARE(enginesMade, 0);
        const WId native = window->winId();
        const QSize fitted = stand->size();
        QTRY_VERIFY_WITH_TIMEOUT(server.requests().contains(QStringLiteral("/home")), 30000);
        QVERIFY(exposedAtEngineStart);
        QVERIFY(visibleAtRequest);
        QCOMPARE(enginesMade, 1);
        auto *engine = qobject_cast<EngineView *>(stand->view());
        QVERIFY(engine && engine->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(engine->LocationName(), QStringLiteral("Home"), 30000);
        // No jump: the same native window, the view where the stand-in is.
        QCOMPARE(window->winId(), native);
        QCOMPARE(stand->size(), fitted);
        QCOMPARE(engine->geometry(), stand->rect());
        window->resize(window->width() - 100, window->height() - 50);
        QTRY_COMPARE(engine->size(), stand->size());
        QVERIFY(stand->size() != fitted);
    }

    // Closed before the engine is up, the program ends as usual and never
    // starts the engine.
    void closedBeforeTheEngineIsUp()
    {
        build(QStringLiteral("http://127.0.0.1:9/home"));
        window->Form_Load();
        QMetaObject::invokeMethod(window.get(), &QWidget::close, Qt::QueuedConnection);
        QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(1); }); // instead of hanging
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!window->isVisible());
        QTest::qWait(1500); // past the stand-in's latest start
        QCOMPARE(enginesMade, 0);
    }

    // Software drawing only without a graphics device and without a choice
    // of the user's own.
    void drawingChoice_data()
    {
        QTest::addColumn<bool>("device");
        QTest::addColumn<QStringList>("set");
        QTest::addColumn<bool>("software");
        QTest::newRow("graphics device") << true << QStringList() << false;
        QTest::newRow("no device") << false << QStringList{QStringLiteral("DISPLAY")} << true;
        for (const char *name : {"QT_QUICK_BACKEND", "QT_XCB_GL_INTEGRATION", "QT_OPENGL"})
            QTest::newRow(name) << false << QStringList{QString::fromLatin1(name)} << false;
    }
    void drawingChoice()
    {
        QFETCH(bool, device);
        QFETCH(QStringList, set);
        QFETCH(bool, software);
        QCOMPARE(rendering::softwareFits(device, set), software);
    }
};

VELMORA_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
