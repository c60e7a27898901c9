#include "httpserver.h"
#include "oneprogram.h"
#include "startup.h"
#include "testmain.h"

#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <array>
#include <memory>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// The home page counts its runs in the site's local storage and tells the
// server the count: a run that kept the site data says one more than the
// run before; a run without it says 1.
const QByteArray CountingPage = "<html><head><title>Local home</title></head><body>Hotels<script>"
                                "const runs = Number(localStorage.getItem('runs') || 0) + 1;"
                                "localStorage.setItem('runs', runs); fetch('/seen?' + runs);</script></body></html>";
const QString SeenPrefix = QStringLiteral("/seen?");
const QString InUse = QStringLiteral("Another copy of Velmora is using the site data");

QStringList sandboxArguments()
{
    return ::geteuid() == 0 ? QStringList{QStringLiteral("--no-sandbox")} : QStringList();
}

QString xdotool(const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), args);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QStringList programWindows()
{
    return xdotool({"search", "--onlyvisible", "--name", "^Velmora$"}).split('\n', Qt::SkipEmptyParts);
}

// The top-level windows from the bottom of the stack to its top (xwininfo
// lists them from the top).
QList<quint32> stackingOrder()
{
    QProcess tool;
    tool.start(QStringLiteral("xwininfo"), {"-root", "-children"});
    tool.waitForFinished(10000);
    QList<quint32> order;
    for (const QByteArray &line : tool.readAllStandardOutput().split('\n')) {
        const QByteArray id = line.trimmed().split(' ').value(0);
        if (id.startsWith("0x"))
            order.prepend(id.mid(2).toUInt(nullptr, 16));
    }
    return order;
}

// A socket file nobody listens on, as a program that died leaves it.
bool makeDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    qstrcpy(address.sun_path, name.constData());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}
} // namespace

// One program per user and copy: the built program started again hands over
// to the one running, which comes to the front and keeps the only profile.
class TestOneProgram : public QObject
{
    Q_OBJECT

    HttpServer server;
    QTemporaryDir elsewhere; // a second copy of the program, in a folder of its own
    std::unique_ptr<QWidget> cover; // a window of the suite's own over the program's

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QLatin1String(startup::SandboxVariable)); // set for this suite's own engine
        env.insert(QStringLiteral("VELMORA_TEST_HOME_URL"), server.url(QStringLiteral("/home")));
        env.remove(QStringLiteral("QT_LOGGING_RULES"));
        return env;
    }

    // The runs the site data counts, as the last page said; 0 before any.
    int lastCount() const
    {
        int count = 0;
        for (const QString &request : server.requests()) {
            if (request.startsWith(SeenPrefix))
                count = request.mid(SeenPrefix.size()).toInt();
        }
        return count;
    }
    int pagesSeen() const
    {
        return int(std::count_if(server.requests().cbegin(), server.requests().cend(),
                                 [](const QString &request) { return request.startsWith(SeenPrefix); }));
    }

    // Starts `program` and waits for its page to have counted its run.
    void startAndWait(QProcess &process, const QString &program = QStringLiteral(VELMORA_PROGRAM))
    {
        const int seen = pagesSeen();
        process.setProcessEnvironment(environment());
        process.start(program, sandboxArguments());
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(pagesSeen() > seen, 30000);
    }

    // Page > Exit from the keyboard ends the program normally.
    static void exitThroughMenu(QProcess &program, const QString &window)
    {
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

    static void end(QProcess &program)
    {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished(15000);
        }
    }

    static QString socketPath() { return OneProgram::place(QFileInfo(VELMORA_PROGRAM).path()).socket; }

private slots:
    void initTestCase()
    {
        QVERIFY(server.isListening());
        server.setPage(QStringLiteral("/home"), CountingPage);
        QVERIFY(!socketPath().isEmpty());
        // A copy in another folder: a program of its own, on the same profile.
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_PROGRAM), elsewhere.filePath("velmora")));
        QVERIFY(QFile::setPermissions(elsewhere.filePath("velmora"), QFile::ReadOwner | QFile::ExeOwner));
        cover = std::make_unique<QWidget>();
        cover->setWindowTitle(QStringLiteral("Cover"));
        cover->setGeometry(QGuiApplication::primaryScreen()->geometry());
    }

    void cleanup()
    {
        cover->hide();
        xdotool({"keyup", "alt", "p", "e"});
    }

    // Whatever a program that is gone left at the socket, the next start
    // takes it over; a second start then hands over to it and ends with 0,
    // and its window comes up over the window that was in front. Another
    // user's socket is left alone, and the second start runs on its own
    // without the site data.
    void secondStartHandsOver_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("handsOver");
        QTest::newRow("nothing") << "nothing" << true;
        QTest::newRow("a plain file") << "file" << true;
        QTest::newRow("a socket nobody listens on") << "dead socket" << true;
        QTest::newRow("a killed program's socket and lock") << "killed" << true;
        QTest::newRow("another user's socket") << "foreign" << false;
    }
    void secondStartHandsOver()
    {
        QFETCH(QString, left);
        QFETCH(bool, handsOver);
        const QString socket = socketPath();
        QFile::remove(socket);
        const auto tidy = qScopeGuard([&] { QFile::remove(socket); });
        if (left == "file") {
            QFile file(socket);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("left") == 4);
        } else if (left == "dead socket") {
            QVERIFY(makeDeadSocket(socket));
        } else if (left == "killed") {
            QProcess killed;
            startAndWait(killed);
            killed.kill();
            QVERIFY(killed.waitForFinished(15000));
        } else if (left == "foreign") {
            if (::geteuid() != 0)
                QSKIP("only root can give a socket to another user");
            QVERIFY(makeDeadSocket(socket) && ::chown(QFile::encodeName(socket).constData(), 65534, 65534) == 0);
        }

        QProcess first;
        startAndWait(first);
        const auto endFirst = qScopeGuard([&] { end(first); });
        // The profile was free, whatever the program before left.
        const QString firstSaid = QString::fromLocal8Bit(first.readAllStandardError());
        QVERIFY2(!firstSaid.contains(InUse), qPrintable(firstSaid));
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 1, 10000);
        window = programWindows().constFirst();

        cover->show();
        cover->raise(); // shown again, it keeps its old place in the stack
        cover->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(cover.get()));
        QTRY_VERIFY(stackingOrder().indexOf(window.toUInt()) < stackingOrder().indexOf(quint32(cover->winId())));

        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(QStringLiteral(VELMORA_PROGRAM), sandboxArguments());
        const auto endSecond = qScopeGuard([&] { end(second); });
        if (!handsOver) {
            // The second runs, and its message box says why it keeps no site data.
            QString said;
            QTRY_VERIFY_WITH_TIMEOUT((said += QString::fromLocal8Bit(second.readAllStandardError())).contains(InUse),
                                     30000);
            QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() >= 2, 10000);
            QCOMPARE(second.state(), QProcess::Running);
            // Neither start removed or used the other user's socket.
            struct stat status;
            QVERIFY(::lstat(QFile::encodeName(socket).constData(), &status) == 0 && status.st_uid == 65534);
            QVERIFY2(firstSaid.contains("belongs to another user"), qPrintable(firstSaid));
            return;
        }
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        // The running program's window is in front, with the keyboard.
        QTRY_VERIFY(stackingOrder().indexOf(window.toUInt()) > stackingOrder().indexOf(quint32(cover->winId())));
        QTRY_COMPARE(xdotool({"getwindowfocus"}), window);
        QCOMPARE(programWindows().size(), 1);
        QCOMPARE(first.state(), QProcess::Running);
        exitThroughMenu(first, window);
    }

    // In one process: the later start's hand-over restores a minimised
    // window, and one that came before the window was set brings it up as
    // it is set.
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
        const OneProgram::Place place{folder.filePath("socket"), folder.filePath("socket.lock")};
        OneProgram running(place);
        QCOMPARE(running.start(), OneProgram::Outcome::First);
        QSignalSpy handedOver(&running, &OneProgram::handedOver);
        QWidget window;
        window.setWindowTitle(QStringLiteral("Running"));
        window.showMinimized();
        QVERIFY(window.isMinimized());
        if (windowFirst)
            running.setWindow(&window);
        // This thread answers only after the later start has stopped waiting.
        OneProgram later(place);
        QCOMPARE(later.start(), OneProgram::Outcome::HandedOver);
        QVERIFY(handedOver.wait(10000));
        if (!windowFirst) {
            QVERIFY(window.isMinimized());
            running.setWindow(&window);
        }
        QTRY_VERIFY(!window.isMinimized() && window.isVisible());
        QCOMPARE(handedOver.count(), 1);
    }

    // Starts at the same moment, many times over, in threads of one process
    // (closer together than programs can be started): each time, one listens
    // and the other hands over to it.
    void togetherInThreadsMakeOne()
    {
        for (int round = 0; round < 10; ++round) {
            QTemporaryDir folder;
            const OneProgram::Place place{folder.filePath("socket"), folder.filePath("socket.lock")};
            QAtomicInt ready = 0, finished = 0;
            std::array<OneProgram::Outcome, 2> outcomes{OneProgram::Outcome::Alone, OneProgram::Outcome::Alone};
            QList<QThread *> threads;
            for (int start = 0; start < 2; ++start) {
                threads << QThread::create([&, start] {
                    OneProgram program(place);
                    ready.fetchAndAddOrdered(1);
                    while (ready.loadAcquire() < 2) {
                    }
                    outcomes[start] = program.start();
                    finished.fetchAndAddOrdered(1);
                    // The one listening answers until both are done.
                    while (finished.loadAcquire() < 2)
                        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
                });
                threads.last()->start();
            }
            for (QThread *thread : threads) {
                QVERIFY(thread->wait(20000));
                delete thread;
            }
            std::sort(outcomes.begin(), outcomes.end());
            QCOMPARE(outcomes[0], OneProgram::Outcome::First);
            QCOMPARE(outcomes[1], OneProgram::Outcome::HandedOver);
        }
    }

    // Started at the same moment, one program runs and the other hands over.
    void togetherMakeOne()
    {
        QProcess one, other;
        for (QProcess *program : {&one, &other}) {
            program->setProcessEnvironment(environment());
            program->start(QStringLiteral(VELMORA_PROGRAM), sandboxArguments());
        }
        const auto endBoth = qScopeGuard([&] {
            end(one);
            end(other);
        });
        QTRY_VERIFY_WITH_TIMEOUT(one.state() == QProcess::NotRunning || other.state() == QProcess::NotRunning, 20000);
        QProcess &ended = one.state() == QProcess::NotRunning ? one : other;
        QProcess &running = &ended == &one ? other : one;
        QCOMPARE(ended.exitStatus(), QProcess::NormalExit);
        QCOMPARE(ended.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 1, 30000);
        QCOMPARE(running.state(), QProcess::Running);
        QVERIFY(!QString::fromLocal8Bit(running.readAllStandardError()).contains(InUse));
        exitThroughMenu(running, programWindows().constFirst());
    }

    // Site data a page stored is there after a restart. A copy from another
    // folder runs as a program of its own, but without the site data the
    // first is using: it says so, and its page stores nothing in it.
    void siteDataLastsAndHasOneProgram()
    {
        QProcess program;
        startAndWait(program);
        const int runs = lastCount();
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 1, 10000);
        exitThroughMenu(program, programWindows().constFirst());
        if (QTest::currentTestFailed())
            return;

        startAndWait(program);
        const auto endProgram = qScopeGuard([&] { end(program); });
        QCOMPARE(lastCount(), runs + 1);

        QProcess copy;
        startAndWait(copy, elsewhere.filePath("velmora"));
        const auto endCopy = qScopeGuard([&] { end(copy); });
        QCOMPARE(lastCount(), 1);
        QString said;
        QTRY_VERIFY_WITH_TIMEOUT((said += QString::fromLocal8Bit(copy.readAllStandardError())).contains(InUse), 10000);
        QCOMPARE(program.state(), QProcess::Running);
        end(copy);

        QTRY_VERIFY_WITH_TIMEOUT(programWindows().size() == 1, 10000);
        exitThroughMenu(program, programWindows().constFirst());
        startAndWait(program);
        QCOMPARE(lastCount(), runs + 2);
    }
};

VELMORA_TEST_MAIN(TestOneProgram)
#include "tst_oneprogram.moc"
