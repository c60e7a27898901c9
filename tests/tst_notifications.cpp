#include "engineview.h"
#include "frmmain.h"
#include "httpserver.h"
#include "notificationpopup.h"
#include "notifications.h"
#include "session.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QBuffer>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QToolButton>
#include <QVariantMap>
#include <QWebEnginePage>

#include <memory>
#include <optional>

namespace {
const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ServicePath = QStringLiteral("/org/freedesktop/Notifications");

// A session bus of the suite's own, started before the application object so
// that the program's connection goes to it. Its configuration starts no
// service by itself: the only notification service is the suite's.
class PrivateBus
{
public:
    explicit PrivateBus(const QString &folder)
    {
        QFile config(folder + "/bus.conf");
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:dir="
                     + QFile::encodeName(folder)
                     + "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                       "<allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/>"
                       "<allow own=\"*\"/></policy></busconfig>\n");
        config.close();
        m_daemon.start("dbus-daemon", {"--config-file=" + config.fileName(), "--print-address", "--nofork"});
        if (!m_daemon.waitForStarted(20000))
            return;
        while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(20000)) {
        }
        address = QString::fromLocal8Bit(m_daemon.readLine().trimmed());
        if (!address.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLocal8Bit());
    }
    void stop()
    {
        m_daemon.kill();
        m_daemon.waitForFinished(20000);
    }
    QString address;

private:
    QProcess m_daemon;
};

// The desktop's notification service as the program meets it on the bus:
// on a connection of its own, it records what it is asked and sends the
// signals a user's click or a closed notification make.
class FakeDesktop : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call
    {
        QString app, icon, summary, body;
        uint replaces = 0;
        QStringList actions;
        QString desktopEntry;
        QSize image; // the image-data hint's size; invalid without one
        bool imageWhole = false;
        int timeout = 0;
    };

    explicit FakeDesktop(const QString &address)
        : bus(QDBusConnection::connectToBus(address, QStringLiteral("fake-desktop")))
    {
    }
    ~FakeDesktop() override
    {
        bus.unregisterObject(ServicePath);
        bus.unregisterService(ServiceName);
    }
    bool start()
    {
        return bus.registerObject(ServicePath, this, QDBusConnection::ExportAllSlots)
            && bus.registerService(ServiceName);
    }
    bool stop() { return bus.unregisterService(ServiceName); }
    // Sends `signal` of the service with `arguments` from `from`.
    static void emitFrom(QDBusConnection &from, const QString &signal, const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(ServicePath, ServiceName, signal);
        message.setArguments(arguments);
        from.send(message);
    }

    QDBusConnection bus;
    QList<Call> calls;
    QList<uint> closes;

public slots:
    uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        Call call{app, icon, summary, body, replaces, actions, hints.value("desktop-entry").toString(), {}, false,
                  timeout};
        if (hints.contains("image-data")) {
            const QDBusArgument data = hints.value("image-data").value<QDBusArgument>();
            int width = 0, height = 0, stride = 0, bits = 0, channels = 0;
            bool alpha = false;
            QByteArray bytes;
            data.beginStructure();
            data >> width >> height >> stride >> alpha >> bits >> channels >> bytes;
            data.endStructure();
            call.image = QSize(width, height);
            call.imageWhole = bits == 8 && channels == 4 && alpha && stride >= width * 4
                && bytes.size() == stride * height;
        }
        calls << call;
        return replaces ? replaces : uint(calls.size());
    }
    void CloseNotification(uint id)
    {
        closes << id;
        emitFrom(bus, "NotificationClosed", {id, 3u});
    }
};

// Another program on the same bus.
QDBusConnection intruder(const QString &address)
{
    return QDBusConnection::connectToBus(address, QStringLiteral("intruder"));
}
} // namespace

// Notifications of a page with the real engine, shown through a notification
// service on a private session bus, or by the program itself without one.
class TestNotifications : public QObject
{
    Q_OBJECT
public:
    explicit TestNotifications(const QString &busAddress) : m_busAddress(busAddress) {}

private:
    QString m_busAddress;
    std::unique_ptr<HttpServer> server;
    std::unique_ptr<Session> session;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<FakeDesktop> desktop;
    EngineView *view = nullptr;

    static QByteArray png(int width, int height)
    {
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }

    // The script's value; the answer may come after this gave up waiting.
    QVariant js(const QString &script)
    {
        const auto answer = std::make_shared<std::optional<QVariant>>();
        view->page()->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
        (void)QTest::qWaitFor([&] { return answer->has_value(); }, 20000);
        return answer->value_or(QVariant());
    }
    // What the page heard: clicks and closes, sorted.
    QStringList heard()
    {
        QStringList events = js("heard.join('\\n')").toString().split('\n', Qt::SkipEmptyParts);
        events.sort();
        return events;
    }
    // Runs each step; each makes notifications, and the next runs once the
    // last of them is shown.
    bool run(const QStringList &steps)
    {
        for (const QString &step : steps) {
            js(step);
            if (!QTest::qWaitFor([&] { return js("shown.includes(lastTitle)").toBool(); }, 20000))
                return false;
        }
        return true;
    }
    // After messages from other connections, one from the desktop: once the
    // page has heard of it, everything sent before has been dealt with.
    bool settle()
    {
        QDBusConnection other = intruder(m_busAddress);
        other.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "GetId"));
        js("make('Marker')");
        if (!QTest::qWaitFor([&] { return js("shown.includes('Marker')").toBool(); }, 20000))
            return false;
        FakeDesktop::emitFrom(desktop->bus, "NotificationClosed", {uint(desktop->calls.size()), 2u});
        return QTest::qWaitFor([&] { return heard().contains("close Marker"); }, 20000);
    }

private slots:
    void initTestCase() { QVERIFY2(!m_busAddress.isEmpty(), "dbus-daemon did not start"); }

    void init()
    {
        desktop = std::make_unique<FakeDesktop>(m_busAddress);
        QVERIFY(desktop->bus.isConnected());
        QVERIFY(desktop->start());
        server = std::make_unique<HttpServer>();
        QVERIFY(server->isListening());
        server->setPage("/icon.png", HttpServer::Page{png(48, 48), "image/png"});
        server->setPage("/wide.png", HttpServer::Page{png(400, 200), "image/png"});
        server->setPage("/home",
                        "<html><head><title>Deals</title><script>"
                        "var shown = [], heard = [], all = [], lastTitle = '', last = null;"
                        "function make(title, options) {"
                        "  const n = new Notification(title, options || {});"
                        "  n.onshow = () => shown.push(title);"
                        "  n.onclick = () => heard.push('click ' + title);"
                        "  n.onclose = () => heard.push('close ' + title);"
                        "  n.onerror = () => heard.push('error ' + title);"
                        "  all.push(n); lastTitle = title; last = n; return n;"
                        "}"
                        "</script></head><body>Deals</body></html>");
        session = std::make_unique<Session>();
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) { return view = new EngineView(*session, parent); }, server->url("/home"),
            session.get());
        window->Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(!view->Busy() && view->LocationURL() == server->url("/home"), 20000);
        // The user lets the site notify.
        ModalWatch yes([](QWidget *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                box->button(QMessageBox::Yes)->click();
        });
        js("Notification.requestPermission().then(p => window.permission = p)");
        QTRY_COMPARE_WITH_TIMEOUT(js("window.permission").toString(), QString("granted"), 20000);
    }
    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        session.reset();
        server.reset();
        desktop.reset();
    }

    // What reaches the desktop: the title as it is, the text with what the
    // desktop would read as markup escaped, the program's name and entry, a
    // Show action, the picture; a tag replaces, a flood loses its oldest.
    void toDesktop_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("notified"); // summary|body|replaces id
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QList<uint>>("closed");
        QTest::addColumn<QStringList>("pageHeard");
        QTest::addColumn<int>("live");
        QTest::newRow("markup in the text") << QStringList{"make('Deal', {body: '<b>x</b> 20% off'})"}
                                            << QStringList{"Deal|&lt;b&gt;x&lt;/b&gt; 20% off|0"} << QSize()
                                            << QList<uint>{} << QStringList{} << 1;
        QTest::newRow("ampersand, an entity, quotes, markup in the title")
            << QStringList{"make('<i>Tom</i> & \"Jerry\"', {body: 'Fish &amp; chips & <img src=x>'})"}
            << QStringList{"<i>Tom</i> & \"Jerry\"|Fish &amp;amp; chips &amp; &lt;img src=x&gt;|0"} << QSize()
            << QList<uint>{} << QStringList{} << 1;
        QTest::newRow("two without a tag")
            << QStringList{"make('One', {body: '1'})", "make('Two', {body: '2'})"}
            << QStringList{"One|1|0", "Two|2|0"} << QSize() << QList<uint>{} << QStringList{} << 2;
        QTest::newRow("same tag replaces")
            << QStringList{"make('One', {body: '1', tag: 'deal'})", "make('Two', {body: '2', tag: 'deal'})"}
            << QStringList{"One|1|0", "Two|2|1"} << QSize() << QList<uint>{} << QStringList{"close One"} << 1;
        QTest::newRow("picture") << QStringList{"make('Pic', {icon: '/icon.png'})"} << QStringList{"Pic||0"}
                                 << QSize(48, 48) << QList<uint>{} << QStringList{} << 1;
        QTest::newRow("large picture made smaller")
            << QStringList{"make('Wide', {icon: '/wide.png'})"} << QStringList{"Wide||0"} << QSize(128, 64)
            << QList<uint>{} << QStringList{} << 1;
        QStringList flood, floodNotified;
        for (int i = 0; i < Notifications::MaxShown + 3; ++i)
            floodNotified << QString("N%1||0").arg(i);
        flood << QString("for (let i = 0; i < %1; ++i) make('N' + i)").arg(Notifications::MaxShown + 3);
        QTest::newRow("flood loses the oldest") << flood << floodNotified << QSize() << QList<uint>{1, 2, 3}
                                                << QStringList{"close N0", "close N1", "close N2"}
                                                << Notifications::MaxShown;
    }
    void toDesktop()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, notified);
        QFETCH(QSize, image);
        QFETCH(QList<uint>, closed);
        QFETCH(QStringList, pageHeard);
        QFETCH(int, live);
        QVERIFY(run(steps));
        QTRY_COMPARE_WITH_TIMEOUT(desktop->calls.size(), notified.size(), 20000);
        QStringList seen;
        for (const FakeDesktop::Call &call : desktop->calls) {
            seen << call.summary + '|' + call.body + '|' + QString::number(call.replaces);
            QCOMPARE(call.app, QString("Velmora"));
            QCOMPARE(call.actions, (QStringList{"default", "Show"}));
            QCOMPARE(call.desktopEntry, QString("velmora"));
            QCOMPARE(call.timeout, -1);
            QCOMPARE(call.image, image);
            QVERIFY(call.imageWhole == image.isValid());
        }
        QCOMPARE(seen, notified);
        QTRY_COMPARE_WITH_TIMEOUT(heard(), pageHeard, 20000);
        std::sort(desktop->closes.begin(), desktop->closes.end());
        QCOMPARE(desktop->closes, closed);
        QCOMPARE(session->notifications().count(), live);
        QVERIFY(session->notifications().popups().isEmpty());
    }

    // What the desktop and the page say about a shown notification: a click
    // and a close reach the page and bring the window up; the page's own
    // close takes it off the desktop; another program cannot click or close
    // it.
    void fromDesktop_data()
    {
        QTest::addColumn<QString>("sender"); // desktop, intruder or page
        QTest::addColumn<QString>("signal");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QStringList>("pageHeard");
        QTest::addColumn<QList<uint>>("closed");
        QTest::addColumn<bool>("raised");
        QTest::newRow("click") << "desktop" << "ActionInvoked" << QVariantList{1u, "default"}
                               << QStringList{"click Deal"} << QList<uint>{} << true;
        QTest::newRow("another action") << "desktop" << "ActionInvoked" << QVariantList{1u, "settings"}
                                        << QStringList{} << QList<uint>{} << false;
        QTest::newRow("another notification's click") << "desktop" << "ActionInvoked"
                                                       << QVariantList{99u, "default"} << QStringList{}
                                                       << QList<uint>{} << false;
        QTest::newRow("dismissed") << "desktop" << "NotificationClosed" << QVariantList{1u, 2u}
                                   << QStringList{"close Deal"} << QList<uint>{} << false;
        QTest::newRow("expired") << "desktop" << "NotificationClosed" << QVariantList{1u, 1u}
                                 << QStringList{"close Deal"} << QList<uint>{} << false;
        QTest::newRow("click from another program") << "intruder" << "ActionInvoked"
                                                    << QVariantList{1u, "default"} << QStringList{}
                                                    << QList<uint>{} << false;
        QTest::newRow("close from another program") << "intruder" << "NotificationClosed"
                                                    << QVariantList{1u, 2u} << QStringList{} << QList<uint>{}
                                                    << false;
        QTest::newRow("page closes it") << "page" << "last.close()" << QVariantList{} << QStringList{"close Deal"}
                                        << QList<uint>{1} << false;
    }
    void fromDesktop()
    {
        QFETCH(QString, sender);
        QFETCH(QString, signal);
        QFETCH(QVariantList, arguments);
        QFETCH(QStringList, pageHeard);
        QFETCH(QList<uint>, closed);
        QFETCH(bool, raised);
        QVERIFY(run({"make('Deal', {body: '20% off'})"}));
        window->setWindowState(Qt::WindowMinimized);
        if (sender == "page") {
            js(signal);
            QTRY_COMPARE_WITH_TIMEOUT(desktop->closes, closed, 20000);
        } else {
            QDBusConnection from = sender == "desktop" ? desktop->bus : intruder(m_busAddress);
            FakeDesktop::emitFrom(from, signal, arguments);
        }
        QVERIFY(settle());
        QStringList expected = pageHeard + QStringList{"close Marker"};
        expected.sort();
        QTRY_COMPARE_WITH_TIMEOUT(heard(), expected, 20000);
        QCOMPARE(desktop->closes, closed);
        QCOMPARE(!(window->windowState() & Qt::WindowMinimized), raised);
        QCOMPARE(session->notifications().count(), pageHeard.contains("close Deal") ? 0 : 1);
    }

    // Without a notification service on the bus the program shows them
    // itself: plain text in the window's bottom-right corner, stacked
    // upward, a few at most; a click reaches the page and brings the window
    // up, the close button closes.
    void popups_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("action"); // click, close, a script or nothing
        QTest::addColumn<int>("popupMs");
        QTest::addColumn<QStringList>("shown"); // title|body of each popup, oldest first
        QTest::addColumn<QStringList>("pageHeard");
        QTest::addColumn<bool>("raised");
        const QString deal = "make('<b>Deal</b>', {body: '<b>x</b> 20% off & more'})";
        const int longer = 3600 * 1000; // longer than any row: only the row about the time sees it end
        QTest::newRow("shown as written") << QStringList{deal} << QString() << longer
                                          << QStringList{"<b>Deal</b>|<b>x</b> 20% off & more"} << QStringList{}
                                          << false;
        QTest::newRow("click") << QStringList{deal} << "click" << longer << QStringList{}
                               << QStringList{"click <b>Deal</b>", "close <b>Deal</b>"} << true;
        QTest::newRow("close button") << QStringList{deal} << "close" << longer << QStringList{}
                                      << QStringList{"close <b>Deal</b>"} << false;
        QTest::newRow("page closes it") << QStringList{deal} << "last.close()" << longer << QStringList{}
                                        << QStringList{"close <b>Deal</b>"} << false;
        QTest::newRow("time is up") << QStringList{deal} << QString() << 1 << QStringList{}
                                    << QStringList{"close <b>Deal</b>"} << false;
        QTest::newRow("same tag replaces")
            << QStringList{"make('One', {body: '1', tag: 't'})", "make('Two', {body: '2', tag: 't'})"} << QString()
            << longer << QStringList{"Two|2"} << QStringList{"close One"} << false;
        QStringList flood, floodShown, floodHeard;
        for (int i = 0; i < Notifications::MaxPopups + 2; ++i) {
            flood << QString("make('N%1', {body: 'Room %1'})").arg(i);
            if (i < 2)
                floodHeard << QString("close N%1").arg(i);
            else
                floodShown << QString("N%1|Room %1").arg(i);
        }
        QTest::newRow("stacked, the oldest go") << flood << QString() << longer << floodShown << floodHeard << false;
    }
    void popups()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, action);
        QFETCH(int, popupMs);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, pageHeard);
        QFETCH(bool, raised);
        QVERIFY(desktop->stop());
        Notifications &notifications = session->notifications();
        notifications.setPopupTime(popupMs);
        QVERIFY(run(steps));
        window->setWindowState(Qt::WindowMinimized);
        if (action == "click" || action == "close") {
            QVERIFY(!notifications.popups().isEmpty());
            NotificationPopup *newest = notifications.popups().last();
            QTRY_VERIFY(newest->isVisible());
            if (action == "click")
                QTest::mouseClick(newest->body(), Qt::LeftButton); // on its text, as users do
            else
                newest->closeButton()->click();
        } else if (!action.isEmpty()) {
            js(action);
        }
        QTRY_COMPARE_WITH_TIMEOUT(heard(), pageHeard, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(notifications.popups().size(), shown.size(), 20000);
        QStringList seen;
        int above = window->height();
        for (NotificationPopup *popup : notifications.popups()) {
            seen << popup->title()->text() + '|' + popup->body()->text();
            for (QLabel *label : {popup->title(), popup->body(), popup->site()})
                QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(popup->site()->text(), QString("http://127.0.0.1:%1").arg(server->port()));
            QVERIFY(popup->isVisible());
            QCOMPARE(popup->parentWidget(), window.get());
            // In the corner, each above the one before, all inside the window.
            const QRect place = popup->geometry();
            QVERIFY(window->rect().contains(place));
            QVERIFY(place.right() > window->width() - 20);
            QVERIFY(place.bottom() < above);
            above = place.top();
        }
        QCOMPARE(seen, shown);
        QCOMPARE(notifications.count(), shown.size());
        QVERIFY(desktop->calls.isEmpty());
        QCOMPARE(!(window->windowState() & Qt::WindowMinimized), raised);
    }
};

// The suite's own bus comes first: the program connects to the session bus
// it finds in the environment.
int main(int argc, char *argv[])
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(runtime.path() + "/cache"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(runtime.path() + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(runtime.path() + "/config"));
    velmoraTestSandbox();
    PrivateBus bus(runtime.path());
    const bool software = rendering::chooseBeforeApplication();
    int result = 1;
    {
        QApplication app(argc, argv);
        rendering::keepChoiceFromChildren(software);
        QApplication::setApplicationName(QStringLiteral("Velmora"));
        QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
        TestNotifications test(bus.address);
        result = QTest::qExec(&test, argc, argv);
    }
    bus.stop();
    return result;
}

#include "tst_notifications.moc"
