#include "httpserver.h"
#include "oneprogram.h"
#include "settings.h"
#include "startup.h"
#include "testmain.h"
#include "zoomstore.h"

#include <QLocalSocket>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// The home page counts its runs in the site's local storage and tells the
// server the count: a run that kept the site data says one more than the
// run before; a run without it says 1.
const QByteArray CountingPage = "<html><head><title>Local home</title></head><body>Hotels<script>"
                                "const runs = Number(localStorage.getItem('runs') || 0) + 1;"
                                "localStorage.setItem('runs', runs); fetch('/seen?' + runs);</script></body></html>";
const QString InUse = QStringLiteral("Another copy of Velmora is using the site data");

QString run(const QString &tool, const QStringList &args)
{
    QProcess process;
    process.start(tool, args);
    process.waitForFinished(10000);
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}
QString xdotool(const QStringList &args) { return run(QStringLiteral("xdotool"), args); }
// A search ends on an X error, having listed nothing, when a window goes
// while it looks (a program starting makes and drops some): it is made again.
QStringList programWindows()
{
    for (int attempt = 1;; ++attempt) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Velmora$"});
        search.waitForFinished(10000);
        if (attempt < 5 && search.readAllStandardError().contains("X Error"))
            continue;
        return QString::fromLocal8Bit(search.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }
}
// True when window `upper` is stacked above `lower` (xwininfo lists from the top).
bool above(quint32 upper, quint32 lower)
{
    QList<quint32> order;
    for (const QString &line : run(QStringLiteral("xwininfo"), {"-root", "-children"}).split('\n')) {
        const QString id = line.trimmed().section(' ', 0, 0);
        if (id.startsWith("0x"))
            order.prepend(id.mid(2).toUInt(nullptr, 16));
    }
    return order.indexOf(upper) > order.indexOf(lower);
}
void end(QProcess &program)
{
    program.kill();
    program.waitForFinished(15000);
}
} // namespace

// One program per user and copy: the built program started again hands over
// to the one running, which comes to the front and keeps the only profile.
class TestOneProgram : public QObject
{
    Q_OBJECT

    HttpServer server;
    QTemporaryDir elsewhere; // a second copy of the program, in a folder of its own
    QWidget cover; // a window of the suite's own over the program's
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    // The run counts the pages reported, oldest first.
    QList<int> counts() const
    {
        QList<int> counts;
        for (const QString &request : server.requests())
            if (request.startsWith("/seen?"))
                counts << request.mid(6).toInt();
        return counts;
    }
    void launch(QProcess &process, const QString &program = QStringLiteral(VELMORA_PROGRAM),
                const QStringList &arguments = {})
    {
        process.setProcessEnvironment(environment);
        process.start(program, (::geteuid() == 0 ? QStringList{"--no-sandbox"} : QStringList()) + arguments);
    }
    // Starts `program` and waits for its page to have counted its run.
    void startAndWait(QProcess &process, const QString &program = QStringLiteral(VELMORA_PROGRAM))
    {
        const qsizetype seen = counts().size();
        launch(process, program);
        QTRY_VERIFY_WITH_TIMEOUT(counts().size() > seen, 30000);
    }
    static void waitToSayInUse(QProcess &program)
    {
        QString said;
        QTRY_VERIFY_WITH_TIMEOUT((said += QString::fromLocal8Bit(program.readAllStandardError())).contains(InUse),
                                 30000);
    }
    // Page > Exit from the keyboard ends the only program window normally.
    static void exitThroughMenu(QProcess &program)
    {
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 1, 30000);
        const QString window = programWindows().constFirst();
        for (int attempt = 0; attempt < 5 && program.state() != QProcess::NotRunning; ++attempt) {
            xdotool({"windowfocus", "--sync", window});
            xdotool({"key", "--window", window, "alt+p"});
            QTest::qWait(300);
            xdotool({"key", "--window", window, "e"});
            program.waitForFinished(3000);
        }
        xdotool({"keyup", "alt", "p", "e"});
        QCOMPARE(program.state(), QProcess::NotRunning);
        QCOMPARE(program.exitCode(), 0);
    }
    static OneProgram::Place placeIn(const QTemporaryDir &folder)
    {
        return {folder.filePath("socket"), folder.filePath("socket.lock")};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(server.isListening());
        server.setPage(QStringLiteral("/home"), CountingPage);
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_PROGRAM), elsewhere.filePath("velmora")));
        QVERIFY(QFile::setPermissions(elsewhere.filePath("velmora"), QFile::ReadOwner | QFile::ExeOwner));
        cover.setGeometry(QGuiApplication::primaryScreen()->geometry());
        environment.remove(QLatin1String(startup::SandboxVariable)); // set for this suite's own engine
        environment.remove(QStringLiteral("QT_LOGGING_RULES"));
        environment.insert(QStringLiteral("VELMORA_TEST_HOME_URL"), server.url(QStringLiteral("/home")));
    }
    void cleanup()
    {
        cover.hide();
        xdotool({"keyup", "alt", "p", "e"});
    }

    // Whatever a gone program left at the socket, the next start takes it and
    // the profile over; a second start hands over and ends with 0, bringing the
    // first's window to the front. Another user's socket is left alone: the
    // second runs on its own, without the site data.
    void secondStartHandsOver_data()
    {
        QTest::addColumn<QString>("left");
        QTest::newRow("nothing") << "nothing";
        QTest::newRow("a plain file") << "file";
        QTest::newRow("a socket nobody listens on") << "dead socket";
        QTest::newRow("a killed program's socket and lock") << "killed";
        QTest::newRow("another user's socket") << "foreign";
    }
    void secondStartHandsOver()
    {
        QFETCH(QString, left);
        const QByteArray path = QFile::encodeName(OneProgram::place(QFileInfo(VELMORA_PROGRAM).path()).socket);
        QVERIFY(!path.isEmpty());
        if (left == "foreign" && ::geteuid() != 0)
            QSKIP("only root can give a socket to another user");
        ::unlink(path.constData());
        const auto tidy = qScopeGuard([&] { ::unlink(path.constData()); });
        if (left == "killed") {
            QProcess killed;
            startAndWait(killed);
            end(killed);
        } else if (left != "nothing") { // a file, or a socket nobody listens on as a dead program leaves
            QVERIFY(::mknod(path.constData(), (left == "file" ? S_IFREG : S_IFSOCK) | 0600, 0) == 0);
        }
        if (left == "foreign")
            QVERIFY(::chown(path.constData(), 65534, 65534) == 0);
        QProcess first, second;
        const auto endBoth = qScopeGuard([&] { end(first); end(second); });
        startAndWait(first);
        const QString firstSaid = QString::fromLocal8Bit(first.readAllStandardError());
        QVERIFY2(!firstSaid.contains(InUse), qPrintable(firstSaid));
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 1, 10000);
        const quint32 window = programWindows().constFirst().toUInt();
        cover.show();
        cover.raise(); // shown again, it keeps its old place in the stack
        cover.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&cover));
        QTRY_VERIFY(above(quint32(cover.winId()), window));
        launch(second);
        if (left == "foreign") {
            waitToSayInUse(second);
            QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() >= 2, 10000);
            QCOMPARE(second.state(), QProcess::Running);
            struct stat status; // neither start removed the other user's socket
            QVERIFY(::lstat(path.constData(), &status) == 0 && status.st_uid == 65534);
            QVERIFY2(firstSaid.contains("belongs to another user"), qPrintable(firstSaid));
            return;
        }
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY(above(window, quint32(cover.winId())));
        QTRY_COMPARE(xdotool({"getwindowfocus"}).toUInt(), window);
        QCOMPARE(first.state(), QProcess::Running);
        exitThroughMenu(first);
    }

    // In one process: a hand-over restores a minimised window, and one that
    // came before the window was set brings it up as it is set.
    void handOverRestoresTheWindow_data()
    {
        QTest::addColumn<bool>("windowFirst");
        QTest::newRow("minimised window") << true;
        QTest::newRow("hand-over before the window") << false;
    }
    void handOverRestoresTheWindow()
    {
        QFETCH(bool, windowFirst);
        QTemporaryDir folder;
        OneProgram running(placeIn(folder));
        QCOMPARE(running.start(), OneProgram::Outcome::First);
        QSignalSpy handedOver(&running, &OneProgram::handedOver);
        QWidget window;
        window.showMinimized();
        QVERIFY(window.isMinimized());
        if (windowFirst)
            running.setWindow(&window);
        // This thread answers only after the later start has stopped waiting.
        QCOMPARE(OneProgram(placeIn(folder)).start(), OneProgram::Outcome::HandedOver);
        QVERIFY(handedOver.wait(10000));
        if (!windowFirst) {
            QVERIFY(window.isMinimized());
            running.setWindow(&window);
        }
        QTRY_VERIFY(!window.isMinimized() && window.isVisible());
        QCOMPARE(handedOver.count(), 1);
    }

    // What a later start asks for over the socket: an address is opened only
    // when it is a web page, whoever wrote it; a refusal is passed on to be
    // told; the window comes up each time.
    void handOverOpensWebPages_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QString>("opened"); // null: nothing; with "tell": the refusal told
        QTest::newRow("a later start's address") << QByteArray() << "http://127.0.0.1:1/a%20b?c=%C3%A9";
        QTest::newRow("just come up") << QByteArray("raise\n") << QString();
        QTest::newRow("a file") << QByteArray("open file:///etc/passwd\n") << QString();
        QTest::newRow("a script") << QByteArray("open javascript:alert(1)\n") << QString();
        QTest::newRow("no host") << QByteArray("open http:///x\n") << QString();
        QTest::newRow("a later start's refusal") << QByteArray("tell") << "not \"a\nb%20\" \u00e9";
    }
    void handOverOpensWebPages()
    {
        QFETCH(QByteArray, request);
        QFETCH(QString, opened);
        QTemporaryDir folder;
        OneProgram running(placeIn(folder));
        QCOMPARE(running.start(), OneProgram::Outcome::First);
        QSignalSpy handedOver(&running, &OneProgram::handedOver);
        QSignalSpy open(&running, &OneProgram::openRequested);
        QWidget window;
        running.setWindow(&window);
        QSignalSpy refused(&running, &OneProgram::refusalHandedOver);
        if (request.isEmpty()) {
            QCOMPARE(OneProgram(placeIn(folder)).start(opened), OneProgram::Outcome::HandedOver);
        } else if (request == "tell") {
            QVERIFY(OneProgram(placeIn(folder)).tell(opened));
        } else {
            QLocalSocket caller;
            caller.connectToServer(placeIn(folder).socket);
            QVERIFY(caller.waitForConnected(5000));
            caller.write(request);
            QVERIFY(caller.waitForBytesWritten(5000));
        }
        QVERIFY(handedOver.wait(10000));
        QTRY_VERIFY(window.isVisible());
        if (request == "tell")
            QCOMPARE(refused.value(0).value(0).toString(), std::exchange(opened, QString()));
        QCOMPARE(open.count(), opened.isNull() ? 0 : 1);
        if (!opened.isNull())
            QCOMPARE(open.constFirst().constFirst().toString(), opened);
    }

    // An address on the command line is the first page of a new program, at
    // its site's zoom when it has loaded, as a script measuring it then sees;
    // a later start's address opens in the running program's window. Anything
    // but a web page is refused with the reason, there too, and nothing starts.
    void addressOnCommandLine()
    {
        server.setPage("/measured", "<html><head><script>"
                                    "const report = (when) => fetch('/width-' + when + '?' + innerWidth + '&' + outerWidth);"
                                    "addEventListener('load', () => report('load'));"
                                    "addEventListener('resize', () => report('resize'))</script></head>"
                                    "<body>Measured</body></html>");
        server.setPage("/second", "<html><body><script>fetch('/second-seen')</script></body></html>");
        Settings settings(Settings::defaultFile());
        ZoomStore zoom(settings);
        zoom.setFactorFor(QUrl(server.url("/")), 1.5);
        const auto forget = qScopeGuard([&] { zoom.setFactorFor(QUrl(server.url("/")), 1.0); });
        QProcess first, second, refused;
        const auto endAll = qScopeGuard([&] { end(first); end(second); end(refused); });
        const qsizetype homeSeen = counts().size();
        launch(first, QStringLiteral(VELMORA_PROGRAM), {server.url("/measured")});
        // The first page after a restart is shown at its site's zoom, as the
        // widths the page reports say: at its load event, or as it is laid out
        // again should a busy machine's engine give the zoom after that.
        // (tst_pages checks that the zoom is given before the first frame.)
        const auto zoomed = [&] {
            for (const QString &width : server.requests().filter("/width-")) {
                const double inner = width.section('?', 1).section('&', 0, 0).toDouble();
                const double outer = width.section('&', 1).toDouble();
                if (inner * 1.5 <= outer && inner * 1.5 > outer - 40)
                    return true;
            }
            return false;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(zoomed(), qPrintable(server.requests().filter("/width-").join(' ')), 30000);
        QCOMPARE(counts().size(), homeSeen); // the home page was not opened

        launch(second, QStringLiteral(VELMORA_PROGRAM), {server.url("/second")});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(server.requests().contains("/second-seen"), 20000);
        QCOMPARE(programWindows().size(), 1);
        const QString main = programWindows().constFirst();

        launch(refused, QStringLiteral(VELMORA_PROGRAM), {"file:///etc/passwd"});
        QVERIFY(refused.waitForFinished(30000));
        QCOMPARE(refused.exitCode(), 1);
        const QString said = QString::fromLocal8Bit(refused.readAllStandardError());
        QVERIFY2(said.contains("only web pages (http or https) can be opened, not \"file:///etc/passwd\""),
                 qPrintable(said));
        QCOMPARE(first.state(), QProcess::Running);
        // The running program says so over its window; Return closes the box.
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 2, 10000);
        const QString box = programWindows().value(programWindows().indexOf(main) == 0 ? 1 : 0);
        QVERIFY(above(box.toUInt(), main.toUInt()));
        for (int attempt = 0; attempt < 5 && programWindows().size() == 2; ++attempt) {
            xdotool({"windowfocus", "--sync", box, "key", "--window", box, "Return"});
            (void)QTest::qWaitFor([] { return programWindows().size() == 1; }, 3000);
        }
        exitThroughMenu(first);
    }

    // Starts at the same moment in threads of one process, closer together
    // than programs can be started: each time, one listens and the other
    // hands over to it.
    void togetherInThreadsMakeOne()
    {
        for (int round = 0; round < 10; ++round) {
            QTemporaryDir folder;
            QAtomicInt ready = 0, finished = 0;
            std::array<OneProgram::Outcome, 2> outcomes{OneProgram::Outcome::Alone, OneProgram::Outcome::Alone};
            std::array<std::unique_ptr<QThread>, 2> threads;
            for (int start = 0; start < 2; ++start) {
                threads[start].reset(QThread::create([&, start] {
                    OneProgram program(placeIn(folder));
                    ready.fetchAndAddOrdered(1);
                    while (ready.loadAcquire() < 2) {
                    }
                    outcomes[start] = program.start();
                    finished.fetchAndAddOrdered(1);
                    while (finished.loadAcquire() < 2) // the one listening answers until both are done
                        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                }));
                threads[start]->start();
            }
            for (const auto &thread : threads)
                QVERIFY(thread->wait(20000));
            std::sort(outcomes.begin(), outcomes.end());
            QCOMPARE(outcomes[0], OneProgram::Outcome::First);
            QCOMPARE(outcomes[1], OneProgram::Outcome::HandedOver);
        }
    }

    // Of two programs started at the same moment, one hands over and ends
    // with 0, the other keeps the site data, which is there after a restart.
    // A copy from another folder runs as a program of its own, but without
    // the site data the first is using: it says so, and stores nothing in it.
    void siteDataLastsAndHasOneProgram()
    {
        QProcess one, other, copy;
        const auto endAll = qScopeGuard([&] { end(one); end(other); end(copy); });
        const qsizetype seen = counts().size();
        launch(one);
        launch(other);
        QTRY_VERIFY_WITH_TIMEOUT(one.state() == QProcess::NotRunning || other.state() == QProcess::NotRunning, 20000);
        QProcess &ended = one.state() == QProcess::NotRunning ? one : other;
        QProcess &program = &ended == &one ? other : one;
        QCOMPARE(ended.exitStatus(), QProcess::NormalExit);
        QCOMPARE(ended.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(counts().size() > seen, 30000);
        QVERIFY(!QString::fromLocal8Bit(program.readAllStandardError()).contains(InUse));
        const int runs = counts().constLast();
        exitThroughMenu(program);
        if (QTest::currentTestFailed())
            return;
        startAndWait(program);
        QCOMPARE(counts().constLast(), runs + 1);
        startAndWait(copy, elsewhere.filePath("velmora"));
        QCOMPARE(counts().constLast(), 1);
        waitToSayInUse(copy);
        QCOMPARE(program.state(), QProcess::Running);
        end(copy);
        exitThroughMenu(program);
        startAndWait(program);
        QCOMPARE(counts().constLast(), runs + 2);
    }
};

VELMORA_TEST_MAIN(TestOneProgram)
#include "tst_oneprogram.moc"