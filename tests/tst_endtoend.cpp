#include "httpserver.h"
#include "startup.h"
#include "testmain.h"

#include <QProcess>
#include <QScreen>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

Q_DECLARE_METATYPE(startup::Action)

namespace {
const QString HomePath = QStringLiteral("/home");
constexpr int Runs = -1; // a row's exit code: the program starts and opens its home page

bool runningAsRoot()
{
#ifdef _WIN32
    return false;
#else
    return geteuid() == 0;
#endif
}

// As root the program runs only when told to run without the sandbox.
QStringList sandboxArguments()
{
    return runningAsRoot() ? QStringList{QStringLiteral("--no-sandbox")} : QStringList();
}

// The test build's environment: its home page on `server`, and the engine's
// sandbox variable as `sandboxVariable` gives it (null: not set).
QProcessEnvironment environment(const HttpServer &server, const QString &sandboxVariable = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QLatin1String(startup::SandboxVariable)); // set for this suite's own engine
    if (!sandboxVariable.isNull())
        env.insert(QLatin1String(startup::SandboxVariable), sandboxVariable);
    env.insert(QStringLiteral("VELMORA_TEST_HOME_URL"), server.url(HomePath));
    return env;
}
} // namespace

// The program's start: its command line, and the built program under the
// test X server, its window and its home page.
class TestEndToEnd : public QObject
{
    Q_OBJECT

    static QString run(const QStringList &args)
    {
        QProcess tool;
        tool.start(QStringLiteral("xdotool"), args);
        tool.waitForFinished(10000);
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    // Page > Exit from the keyboard ends the program normally.
    static void exitThroughMenu(QProcess &program, const QString &window)
    {
        // A program still starting may miss the keys: they are sent again.
        for (int attempt = 0; attempt < 5 && program.state() != QProcess::NotRunning; ++attempt) {
            run({"windowfocus", "--sync", window});
            run({"key", "--window", window, "alt+p"});
            QTest::qWait(300);
            run({"key", "--window", window, "e"});
            program.waitForFinished(3000);
        }
        // The window goes at the press of "e", and xdotool, failing to find
        // it for the release, leaves the key down on the display, where it
        // would repeat into the next suite's windows: let go of the keys.
        run({"keyup", "alt", "p", "e"});
        QCOMPARE(program.state(), QProcess::NotRunning);
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

    HttpServer server;

private slots:
    void initTestCase()
    {
        QVERIFY(server.isListening());
        server.setPage(HomePath, "<html><head><title>Local home</title></head><body>Hotels</body></html>");
    }

    void startsOnTheHomePageAndExits()
    {
        QProcess program;
        program.setProcessEnvironment(environment(server));
        program.start(QStringLiteral(VELMORA_PROGRAM), sandboxArguments());
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(server.requests().contains(HomePath), 30000);

        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = run({"search", "--onlyvisible", "--name", "^Velmora$"})).isEmpty(), 10000);
        window = window.section('\n', 0, 0);
        const QString geometry = run({"getwindowgeometry", "--shell", window});
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY2(geometry.contains("X=0\n") && geometry.contains("Y=0\n"), qPrintable(geometry));
        QVERIFY2(geometry.contains(QStringLiteral("WIDTH=%1\n").arg(screen.width())), qPrintable(geometry));
        // Screen height less 450 twips: 30 pixels at 96 dpi.
        QVERIFY2(geometry.contains(QStringLiteral("HEIGHT=%1").arg(screen.height() - 30)), qPrintable(geometry));

        exitThroughMenu(program, window);
        QVERIFY(!program.readAllStandardError().contains("refusing"));
    }

    // Cookies a site keeps beyond the session are sent again in the next run;
    // session cookies are not.
    void cookiesLastFromOneRunToTheNext()
    {
        server.setHandler(HomePath, [](const QByteArray &) {
            HttpServer::Page home{"<html><head><title>Local home</title></head><body>Hotels</body></html>"};
            home.headers = "Set-Cookie: kept=1; Max-Age=3600\r\nSet-Cookie: session=1\r\n";
            return home;
        });
        for (int time = 0; time < 2; ++time) {
            const qsizetype before = server.requests().count(HomePath);
            QProcess program;
            program.setProcessEnvironment(environment(server));
            program.start(QStringLiteral(VELMORA_PROGRAM), sandboxArguments());
            QTRY_VERIFY_WITH_TIMEOUT(server.requests().count(HomePath) > before, 30000);
            QString window;
            QTRY_VERIFY_WITH_TIMEOUT(!(window = run({"search", "--onlyvisible", "--name", "^Velmora$"})).isEmpty(),
                                     10000);
            exitThroughMenu(program, window.section('\n', 0, 0));
            if (QTest::currentTestFailed())
                return;
        }
        QByteArray second;
        for (const QByteArray &request : server.rawRequests()) {
            if (request.startsWith("GET " + HomePath.toLatin1() + " "))
                second = request;
        }
        QVERIFY2(second.contains("kept=1") && !second.contains("session=1"), second.constData());
    }

    // The built program with a command line; every failure is one line on stderr.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("sandboxVariable"); // null: not set
        QTest::addColumn<bool>("asRootOnly");
        QTest::addColumn<int>("exitCode"); // or Runs
        QTest::addColumn<QStringList>("printed"); // what stdout holds
        QTest::addColumn<QString>("said");        // what stderr holds; "": nothing
        const QStringList versions{"Velmora 1.0.0", qWebEngineVersion(), qWebEngineChromiumVersion(),
                                   qWebEngineChromiumSecurityPatchVersion()};
        const QStringList options{"--help", "--version", "--no-sandbox"};
        const auto row = [](const char *tag, const QStringList &arguments, const QString &variable, bool asRootOnly,
                            int exitCode, const QStringList &printed = {}, const QString &said = {}) {
            QTest::newRow(tag) << arguments << variable << asRootOnly << exitCode << printed << said;
        };
        // The versions and the help come before the question of the sandbox.
        row("--version", {"--version"}, {}, false, 0, versions);
        row("--help", {"--help"}, {}, false, 0, options);
        row("unknown option", sandboxArguments() << "--no-sanbox", {}, false, 1, {}, "no-sanbox");
        row("root without the option", {}, {}, true, 1, {}, "--no-sandbox");
        row("root, sandbox variable 0", {}, "0", true, 1, {}, "refusing to run as root");
        row("root, sandbox variable 1", {}, "1", true, Runs);
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, sandboxVariable);
        QFETCH(int, exitCode);
        QFETCH(QStringList, printed);
        QFETCH(QString, said);
        QFETCH(bool, asRootOnly);
        if (asRootOnly && !runningAsRoot())
            QSKIP("the program refuses only root");

        const qsizetype homeRequests = server.requests().count(HomePath);
        QProcess program;
        program.setProcessEnvironment(environment(server, sandboxVariable));
        program.start(QStringLiteral(VELMORA_PROGRAM), arguments);
        QVERIFY(program.waitForStarted());
        if (exitCode == Runs) {
            QTRY_VERIFY_WITH_TIMEOUT(server.requests().count(HomePath) > homeRequests, 30000);
            program.kill();
            QVERIFY(program.waitForFinished(15000));
            return;
        }
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        for (const QString &text : printed)
            QVERIFY2(out.contains(text), qPrintable(out));
        if (said.isEmpty()) {
            QCOMPARE(err, QString());
        } else {
            QVERIFY2(err.contains(said) && err.count('\n') == 1 && err.endsWith('\n'), qPrintable(err));
            QCOMPARE(out, QString());
        }
    }

    // What the command line settles before anything starts, for root and
    // for other users, whoever runs the suite.
    void decide_data()
    {
        using startup::Action;
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("asRoot");
        QTest::addColumn<QByteArray>("sandboxVariable");
        QTest::addColumn<Action>("action");
        QTest::addColumn<bool>("withoutSandbox");
        const auto row = [](const char *tag, const QStringList &arguments, bool asRoot, const QByteArray &variable,
                            Action action, bool withoutSandbox = false) {
            QTest::newRow(tag) << arguments << asRoot << variable << action << withoutSandbox;
        };
        row("user", {}, false, {}, Action::Run);
        row("user, --no-sandbox", {"--no-sandbox"}, false, {}, Action::Run, true);
        row("root", {}, true, {}, Action::Refuse);
        row("root, --no-sandbox", {"--no-sandbox"}, true, {}, Action::Run, true);
        row("root, variable 1", {}, true, "1", Action::Run);
        row("root, --version", {"--version"}, true, {}, Action::ShowVersion);
        row("root, -h", {"-h"}, true, {}, Action::ShowHelp);
        row("--help-all", {"--help-all"}, false, {}, Action::ShowHelp);
        // Qt's own single-dash options hold the letters v and h.
        row("Qt's options", {"-reverse", "-stylesheet", "a.qss", "--no-sandbox"}, true, {}, Action::Run, true);
        row("the engine's arguments", {"--webEngineArgs", "--no-sandbox", "--version"}, true, {}, Action::Refuse);
        row("an unknown option", {"--bogus", "--no-sandbox"}, true, {}, Action::RejectOption, true);
    }
    void decide()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, asRoot);
        QFETCH(QByteArray, sandboxVariable);
        const startup::Decision decision =
            startup::decide(QStringList{"velmora"} + arguments, asRoot, sandboxVariable);
        QTEST(decision.action, "action");
        QTEST(decision.withoutSandbox, "withoutSandbox");
    }
};

VELMORA_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
