#include "engineview.h"
#include "frmmain.h"
#include "httpserver.h"
#include "notificationpopup.h"
#include "notifications.h"
#include "session.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QBuffer>
#include <QtDBus>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <QWebEnginePage>

#include <map>
#include <memory>
#include <optional>

namespace {
const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ServicePath = QStringLiteral("/org/freedesktop/Notifications");

// The desktop's notification service on a connection of its own: it records
// each call as "summary|body|replaces[|WxH of a whole image, or broken]", and
// apart the fields every call shares.
class FakeDesktop : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeDesktop(const QString &address)
        : bus(QDBusConnection::connectToBus(address, QStringLiteral("fake-desktop")))
    {
    }
    ~FakeDesktop() override { bus.unregisterService(ServiceName); } // the connection outlives it
    static void emitFrom(QDBusConnection &from, const QString &signal, const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createSignal(ServicePath, ServiceName, signal);
        message.setArguments(arguments);
        from.send(message);
    }

    QDBusConnection bus;
    QStringList calls, shared;
    QList<uint> closes;

public slots:
    uint Notify(const QString &app, uint replaces, const QString &, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        shared << QStringList{app, actions.join(' '), hints.value("desktop-entry").toString(),
                              QString::number(timeout)}
                      .join('|');
        QString call = summary + '|' + body + '|' + QString::number(replaces);
        if (hints.contains("image-data")) {
            const QDBusArgument data = hints.value("image-data").value<QDBusArgument>();
            int width = 0, height = 0, stride = 0, bits = 0, channels = 0;
            bool alpha = false;
            QByteArray bytes;
            data.beginStructure();
            data >> width >> height >> stride >> alpha >> bits >> channels >> bytes;
            data.endStructure();
            const bool whole = bits == 8 && channels == 4 && alpha && stride >= width * 4
                && bytes.size() == stride * height;
            call += whole ? QString("|%1x%2").arg(width).arg(height) : QString("|broken");
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
} // namespace

// Notifications of a page with the real engine, shown through a notification
// service on a private session bus, or by the program itself without one.
class TestNotifications : public QObject
{
    Q_OBJECT
    const QString m_busAddress = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    std::unique_ptr<HttpServer> server;
    std::unique_ptr<Session> session;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<FakeDesktop> desktop;
    EngineView *view = nullptr;
    HttpServer second; // this site on another port
    // Pages of another site ("other": localhost) and of this one on another
    // port ("port"), each made by the first step run in it.
    std::map<QString, std::unique_ptr<EngineView>> others;
    qint64 clockMs = 0;                // the rate's clock, moved on by each notification
    qint64 tickMs = Notifications::RefillMs;

    static QByteArray png(int width, int height)
    {
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        image.save(&buffer, "PNG");
        return bytes;
    }
    // The script's value in `on`'s page; the answer may come after this gave up waiting.
    QVariant js(const QString &script, EngineView *on = nullptr)
    {
        const auto answer = std::make_shared<std::optional<QVariant>>();
        (on ? on : view)->page()->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
        (void)QTest::qWaitFor([&] { return answer->has_value(); }, 20000);
        return answer->value_or(QVariant());
    }
    // What the pages heard: clicks and closes, sorted.
    QStringList heard()
    {
        QStringList all = js("heard").toStringList();
        for (const auto &[name, page] : others)
            all += js("heard", page.get()).toStringList();
        all.sort();
        return all;
    }
    int made()
    {
        int all = js("all.length").toInt();
        for (const auto &[name, page] : others)
            all += js("all.length", page.get()).toInt();
        return all;
    }
    // The page `name` names, allowed to notify.
    EngineView *pageOf(const QString &name)
    {
        std::unique_ptr<EngineView> &page = others[name];
        if (!page) {
            page = std::make_unique<EngineView>(*session);
            page->resize(400, 300);
            page->show();
            page->Navigate(name == "other" ? QString("http://localhost:%1/home").arg(server->port())
                                           : second.url("/home"));
            (void)QTest::qWaitFor([&] { return !page->Busy() && js("typeof make", page.get()) == "function"; }, 20000);
            allow(page.get());
        }
        return page.get();
    }
    bool allow(EngineView *on)
    {
        ModalWatch yes([](QWidget *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                box->button(QMessageBox::Yes)->click();
        });
        js("Notification.requestPermission().then(p => window.permission = p)", on);
        return QTest::qWaitFor([&] { return js("window.permission", on).toString() == "granted"; }, 20000);
    }
    // Runs each step, the next once the last notification made is shown or
    // closed unshown. "other:" runs a step in the other site's page, "port:"
    // in this site's page on another port, "+N" moves the clock N ms on,
    // "still" stops it moving by itself.
    bool run(const QStringList &steps)
    {
        for (QString step : steps) {
            if (step == "still") {
                tickMs = 0;
                continue;
            }
            if (step.startsWith('+')) {
                clockMs += step.mid(1).toLongLong();
                continue;
            }
            const QString where = step.section(':', 0, 0);
            EngineView *on = where == "other" || where == "port" ? pageOf(where) : view;
            js(on == view ? step : step.section(':', 1), on);
            if (!QTest::qWaitFor(
                    [&] { return js("shown.includes(lastTitle) || heard.includes('close ' + lastTitle)", on).toBool(); },
                    20000))
                return false;
        }
        return true;
    }

private slots:
    void initTestCase() { QVERIFY2(!m_busAddress.isEmpty(), "dbus-daemon did not start"); }

    void init()
    {
        desktop = std::make_unique<FakeDesktop>(m_busAddress);
        QVERIFY(desktop->bus.registerObject(ServicePath, desktop.get(), QDBusConnection::ExportAllSlots)
                && desktop->bus.registerService(ServiceName));
        server = std::make_unique<HttpServer>();
        QVERIFY(server->isListening());
        server->setPage("/icon.png", HttpServer::Page{png(48, 48), "image/png"});
        server->setPage("/wide.png", HttpServer::Page{png(400, 200), "image/png"});
        for (HttpServer *on : {server.get(), &second})
            on->setPage("/home", "<html><head><title>Deals</title><script>"
                                 "var shown = [], heard = [], all = [], lastTitle = '', last = null;"
                                 "function make(title, options) {"
                                 "  const n = new Notification(title, options || {});"
                                 "  n.onshow = () => shown.push(title);"
                                 "  for (const e of ['click', 'close', 'error'])"
                                 "    n['on' + e] = () => heard.push(e + ' ' + title);"
                                 "  all.push(n); lastTitle = title; last = n;"
                                 "}"
                                 "</script></head><body>Deals</body></html>");
        session = std::make_unique<Session>();
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) { return view = new EngineView(*session, parent); }, server->url("/home"),
            session.get());
        window->Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(!view->Busy() && view->LocationURL() == server->url("/home"), 20000);
        QVERIFY(allow(view));
        clockMs = 0;
        tickMs = Notifications::RefillMs; // a site never held back unless a row says so
        session->notifications().setClock([this] { return clockMs += tickMs; });
    }
    void cleanup()
    {
        others.clear();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        session.reset();
        server.reset();
        desktop.reset();
    }

    // Through the desktop's service, or without one as plain-text popups
    // stacked upward in the window's corner. Only the desktop's own clicks
    // and closes count; a click brings the window up.
    void show_data()
    {
        QTest::addColumn<bool>("service");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("action"); // "sender signal id argument", click, close, expire or a script
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("pageHeard");
        QTest::addColumn<QList<uint>>("closed");
        QTest::addColumn<bool>("raised");
        const auto row = [](const char *name, bool service, const QStringList &steps, const QString &action,
                            const QStringList &shown, const QStringList &pageHeard, const QList<uint> &closed = {},
                            bool raised = false) {
            QTest::newRow(name) << service << steps << action << shown << pageHeard << closed << raised;
        };
        const auto flood = [](int count, const QString &name = "N", const QString &where = {}) {
            return where + QString("for (let i = 0; i < %1; ++i) make('%2' + i, {body: 'Room ' + i})").arg(count).arg(name);
        };
        const auto each = [](int from, int to, const char *format) {
            QStringList list;
            for (int i = from; i < to; ++i)
                list << QString(format).arg(i);
            return list;
        };
        // The desktop's text starts with the site: {a} this one, {b} another, {c} this one's other port.
        const QStringList deal{"make('Deal', {body: '20% off'})"}, dealShown{"Deal|{a}\n20% off|0"};
        const QStringList tags{"make('One', {body: '1', tag: 't'})", "make('Two', {body: '2', tag: 't'})"};
        row("markup in the text", true, {"make('<i>Tom</i> & \"Jerry\"', {body: '<b>x</b> &amp; & <img src=x>'})"}, {},
            {"<i>Tom</i> & \"Jerry\"|{a}\n&lt;b&gt;x&lt;/b&gt; &amp;amp; &amp; &lt;img src=x&gt;|0"}, {});
        row("same tag replaces", true, tags, {}, {"One|{a}\n1|0", "Two|{a}\n2|1"}, {"close One"});
        row("same tag of another site replaces nothing", true,
            {"make('One', {body: '1', tag: 't'})", "other:make('Two', {body: '2', tag: 't'})"}, {},
            {"One|{a}\n1|0", "Two|{b}\n2|0"}, {});
        row("picture", true, {"make('Pic', {icon: '/icon.png'})"}, {}, {"Pic|{a}|0|48x48"}, {});
        row("large picture made smaller", true, {"make('Wide', {icon: '/wide.png'})"}, {}, {"Wide|{a}|0|128x64"}, {});
        row("flood loses the oldest", true, {flood(Notifications::MaxShown + 3)}, {},
            each(0, Notifications::MaxShown + 3, "N%1|{a}\nRoom %1|0"), each(0, 3, "close N%1"), {1, 2, 3});
        // Five at once, then one a second; the rest closed unshown.
        row("flood held to its rate", true,
            {"still", flood(20), "+1000", flood(2, "L"), "+2500", flood(3, "M")}, {},
            each(0, 5, "N%1|{a}\nRoom %1|0") + QStringList{"L0|{a}\nRoom 0|0", "M0|{a}\nRoom 0|0", "M1|{a}\nRoom 1|0"},
            each(5, 20, "close N%1") + QStringList{"close L1", "close M2"});
        row("each site its own rate", true, {"still", flood(7), flood(7, "S", "other:")}, {},
            each(0, 5, "N%1|{a}\nRoom %1|0") + each(0, 5, "S%1|{b}\nRoom %1|0"),
            each(5, 7, "close N%1") + each(5, 7, "close S%1"));
        row("one site on two ports, one rate", true, {"still", flood(4), flood(4, "P", "port:")}, {},
            each(0, 4, "N%1|{a}\nRoom %1|0") + QStringList{"P0|{c}\nRoom 0|0"}, each(1, 4, "close P%1"));
        // At the cap a site's flood takes its own oldest, never another site's one.
        const QString bank = "other:make('Bank', {body: '123456'})";
        row("flood keeps another site's last", true, {bank, flood(Notifications::MaxShown + 3)}, {},
            QStringList{"Bank|{b}\n123456|0"} + each(0, Notifications::MaxShown + 3, "N%1|{a}\nRoom %1|0"),
            each(0, 4, "close N%1"), {2, 3, 4, 5});
        row("click", true, deal, "desktop ActionInvoked 1 default", dealShown, {"click Deal"}, {}, true);
        row("another action", true, deal, "desktop ActionInvoked 1 settings", dealShown, {});
        row("another notification's click", true, deal, "desktop ActionInvoked 99 default", dealShown, {});
        row("dismissed", true, deal, "desktop NotificationClosed 1 2", dealShown, {"close Deal"});
        row("expired", true, deal, "desktop NotificationClosed 1 1", dealShown, {"close Deal"});
        row("click from another program", true, deal, "intruder ActionInvoked 1 default", dealShown, {});
        row("close from another program", true, deal, "intruder NotificationClosed 1 2", dealShown, {});
        row("page closes it", true, deal, "last.close()", dealShown, {"close Deal"}, {1});

        const QStringList popup{"make('<b>Deal</b>', {body: '<b>x</b> 20% off & more'})"};
        row("popup as written", false, popup, {}, {"<b>Deal</b>|<b>x</b> 20% off & more"}, {});
        row("popup click", false, popup, "click", {}, {"click <b>Deal</b>", "close <b>Deal</b>"}, {}, true);
        row("popup close button", false, popup, "close", {}, {"close <b>Deal</b>"});
        row("popup closed by the page", false, popup, "last.close()", {}, {"close <b>Deal</b>"});
        row("popup time is up", false, popup, "expire", {}, {"close <b>Deal</b>"});
        row("popup same tag replaces", false, tags, {}, {"Two|2"}, {"close One"});
        row("popups stacked, the oldest go", false, {flood(Notifications::MaxPopups + 2)}, {},
            each(2, Notifications::MaxPopups + 2, "N%1|Room %1"), each(0, 2, "close N%1"));
        row("popups keep another site's last", false, {bank, flood(Notifications::MaxPopups + 2)}, {},
            QStringList{"Bank|123456|{b}"} + each(3, Notifications::MaxPopups + 2, "N%1|Room %1"),
            each(0, 3, "close N%1"));
    }
    void show()
    {
        QFETCH(bool, service);
        QFETCH(QStringList, steps);
        QFETCH(QString, action);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, pageHeard);
        QFETCH(QList<uint>, closed);
        QFETCH(bool, raised);
        const QString port = QString::number(server->port()), a = "http://127.0.0.1:" + port;
        shown.replaceInStrings("{a}", a).replaceInStrings("{b}", "http://localhost:" + port);
        shown.replaceInStrings("{c}", "http://127.0.0.1:" + QString::number(second.port()));
        pageHeard.sort();
        Notifications &notifications = session->notifications();
        if (!service)
            QVERIFY(desktop->bus.unregisterService(ServiceName));
        notifications.setPopupTime(action == "expire" ? 1 : 3600 * 1000); // only that row sees it end
        QVERIFY(run(steps));
        if (service)
            QTRY_COMPARE_WITH_TIMEOUT(desktop->calls, shown, 20000);
        for (const QString &shared : desktop->shared)
            QCOMPARE(shared, QString("Velmora|default Show|velmora|-1"));
        window->setWindowState(Qt::WindowMinimized);
        const QStringList signal = action.split(' ');
        if (action == "click" || action == "close") {
            QTRY_VERIFY(!notifications.popups().isEmpty() && notifications.popups().last()->isVisible());
            NotificationPopup *newest = notifications.popups().last();
            if (action == "click")
                QTest::mouseClick(newest->body(), Qt::LeftButton); // on its text, as users do
            else
                newest->closeButton()->click();
        } else if (signal.size() == 4) {
            QDBusConnection from = signal[0] == "desktop"
                ? desktop->bus
                : QDBusConnection::connectToBus(m_busAddress, QStringLiteral("intruder"));
            const QVariant last = signal[1] == "ActionInvoked" ? QVariant(signal[3]) : QVariant(signal[3].toUInt());
            FakeDesktop::emitFrom(from, signal[1], {signal[2].toUInt(), last});
            // Then, once the signal has surely reached the bus, the desktop closes
            // another: when the page hears of that, the first has been dealt with.
            from.call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                     "org.freedesktop.DBus", "GetId"));
            QVERIFY(run({"make('Marker')"}));
            FakeDesktop::emitFrom(desktop->bus, "NotificationClosed", {uint(desktop->calls.size()), 2u});
            pageHeard << "close Marker";
            pageHeard.sort();
        } else if (action != "expire") {
            js(action);
        }
        QTRY_COMPARE_WITH_TIMEOUT(heard(), pageHeard, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(desktop->closes, closed, 20000);
        QCOMPARE(notifications.count(), made() - int(pageHeard.filter("close ").size()));
        QCOMPARE(!(window->windowState() & Qt::WindowMinimized), raised);
        QVERIFY(service ? notifications.popups().isEmpty() : desktop->calls.isEmpty());
        if (service)
            return;
        QTRY_COMPARE_WITH_TIMEOUT(notifications.popups().size(), shown.size(), 20000);
        QStringList seen;
        int above = window->height();
        for (NotificationPopup *popup : notifications.popups()) {
            // Each names its site; another site's says which.
            const QString site = popup->site()->text();
            seen << popup->title()->text() + '|' + popup->body()->text() + (site == a ? QString() : '|' + site);
            for (QLabel *label : {popup->title(), popup->body(), popup->site()})
                QCOMPARE(label->textFormat(), Qt::PlainText);
            QVERIFY(popup->isVisible() && popup->parentWidget() == window.get());
            const QRect place = popup->geometry(); // in the corner, above the one before
            QVERIFY(window->rect().contains(place) && place.right() > window->width() - 20 && place.bottom() < above);
            above = place.top();
        }
        QCOMPARE(seen, shown);
    }
};

// The suite's bus comes first: the program connects to the one in the environment.
int main(int argc, char *argv[])
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(runtime.path() + "/cache"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(runtime.path() + "/data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(runtime.path() + "/config"));
    velmoraTestSandbox();
    // A session bus of the suite's own that starts no service by itself.
    QFile config(runtime.path() + "/bus.conf");
    if (config.open(QIODevice::WriteOnly))
        config.write("<busconfig><type>session</type><listen>unix:dir=" + QFile::encodeName(runtime.path())
                     + "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\" "
                       "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n");
    config.close();
    QProcess bus;
    bus.start("dbus-daemon", {"--config-file=" + config.fileName(), "--print-address", "--nofork"});
    while (bus.waitForStarted(20000) && !bus.canReadLine() && bus.waitForReadyRead(20000)) {
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    const bool software = rendering::chooseBeforeApplication();
    int result = 1;
    {
        QApplication app(argc, argv);
        rendering::keepChoiceFromChildren(software);
        QApplication::setApplicationName(QStringLiteral("Velmora"));
        QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
        TestNotifications test;
        result = QTest::qExec(&test, argc, argv);
    }
    bus.kill();
    bus.waitForFinished(20000);
    return result;
}

#include "tst_notifications.moc"
