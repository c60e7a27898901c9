#include "httpserver.h"
#include "startup.h"
#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

Q_DECLARE_METATYPE(startup::Action)

namespace {
const QString HomePath = QStringLiteral("/home");
// A home page that writes to its console, then asks for LoggedPath.
const QString ConsolePath = QStringLiteral("/console");
const QString LoggedPath = QStringLiteral("/logged");
const QByteArray ConsolePage = "<html><head><title>Console</title></head><body>Hotels<script>"
                               "console.log('page-log-line'); console.error('page-error-line');"
                               "new Image().src = '/logged';</script></body></html>";
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

// The test build's environment: its home page on `server` at `home`, and the
// engine's sandbox variable as `sandboxVariable` gives it (null: not set).
QProcessEnvironment environment(const HttpServer &server, const QString &sandboxVariable = QString(),
                                const QString &home = HomePath)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QLatin1String(startup::SandboxVariable)); // set for this suite's own engine
    env.remove(QLatin1String(startup::FlagsVariable));
    if (!sandboxVariable.isNull())
        env.insert(QLatin1String(startup::SandboxVariable), sandboxVariable);
    env.insert(QStringLiteral("VELMORA_TEST_HOME_URL"), server.url(home));
    // What the program writes is its own, whatever the suite's runner set.
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    env.remove(QStringLiteral("QT_MESSAGE_PATTERN"));
    return env;
}
} // namespace

// The program's start: its command line, and the built program under the
// test X server, its window and its home page.
class TestEndToEnd : public QObject
{
    Q_OBJECT

    // A search ends on an X error, having listed nothing, when a window goes
    // while it looks (a program starting makes and drops some): it is made again.
    static QString run(const QStringList &args)
    {
        for (int attempt = 1;; ++attempt) {
            QProcess tool;
            tool.start(QStringLiteral("xdotool"), args);
            tool.waitForFinished(10000);
            if (attempt < 5 && args.constFirst() == "search" && tool.readAllStandardError().contains("X Error"))
                continue;
            return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
        }
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
        // A field that takes the keyboard and tells the server what it was given.
        server.setPage(HomePath, "<html><head><title>Local home</title></head><body>Hotels"
                                 "<input autofocus oninput=\"fetch('/typed?' + this.value)\"></body></html>");
        server.setPage(ConsolePath, ConsolePage);
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

        // Typing goes to the page's field, not to the toolbar.
        // On a busy machine the page may still be getting its field when the
        // first keys come: the name is typed again until the field has it.
        run({"windowfocus", "--sync", window});
        const auto typed = [&] { return !server.requests().filter(QRegularExpression("^/typed\\?.*Ana$")).isEmpty(); };
        for (int attempt = 0; attempt < 5 && !typed(); ++attempt) {
            run({"type", "--delay", "30", "Ana"});
            (void)QTest::qWaitFor(typed, 4000);
        }
        QVERIFY2(typed(), qPrintable(server.requests().join(' ')));

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
        // The data folder holds what the program uses, and nothing it does not.
        const QDir data(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Velmora"));
        QCOMPARE(data.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(" "), QStringLiteral("web"));
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
        QTest::addColumn<QStringList>("unprinted"); // what stdout does not hold
        QTest::addColumn<bool>("display");          // false: DISPLAY unset
        QTest::addColumn<QString>("flags");         // the engine's flags variable; null: not set
        QTest::addColumn<bool>("box");              // what stderr holds is shown in a window too, closed with Return
        const QStringList versions{"Velmora 1.0.0", qWebEngineVersion(), qWebEngineChromiumVersion(),
                                   qWebEngineChromiumSecurityPatchVersion()};
        const QStringList options{"--help", "--help-all", "--version", "--no-sandbox", "--verbose"};
        // Qt's options the program accepts, which only --help-all lists.
        const QStringList qtOptions{"--platform <", "--reverse", "--style <", "--stylesheet <", "--display <",
                                    "--widgetcount"};
        const auto row = [](const char *tag, const QStringList &arguments, const QString &variable, bool asRootOnly,
                            int exitCode, const QStringList &printed = {}, const QString &said = {},
                            const QStringList &unprinted = {}, bool display = true, const QString &flags = {},
                            bool box = false) {
            QTest::newRow(tag) << arguments << variable << asRootOnly << exitCode << printed << said << unprinted
                               << display << flags << box;
        };
        // The versions and the help come before the question of the sandbox.
        row("--version", {"--version"}, {}, false, 0, versions);
        row("--help", {"--help"}, {}, false, 0, options, {}, qtOptions);
        row("--help-all", {"--help-all"}, {}, false, 0, options + qtOptions);
        row("unknown option", sandboxArguments() << "--no-sanbox", {}, false, 1, {}, "no-sanbox");
        // Without a display, the command line is answered just the same.
        row("no display, --version", {"--version"}, {}, false, 0, versions, {}, {}, false);
        row("no display, --help", {"--help"}, {}, false, 0, options, {}, qtOptions, false);
        row("no display, --help-all", {"--help-all"}, {}, false, 0, options + qtOptions, {}, {}, false);
        row("no display, unknown option", sandboxArguments() << "--no-sanbox", {}, false, 1, {}, "no-sanbox", {},
            false);
        // An address refused is said in a window too, where there is a display.
        const QString refused("only web pages (http or https) can be opened, not \"file:///etc/passwd\"");
        row("a file's address", sandboxArguments() << "file:///etc/passwd", {}, false, 1, {}, refused, {}, true, {}, true);
        row("no display, a file's address", sandboxArguments() << "file:///etc/passwd", {}, false, 1, {}, refused, {},
            false);
        row("root without the option", {}, {}, true, 1, {}, "--no-sandbox");
        row("root, sandbox variable 0", {}, "0", true, 1, {}, "refusing to run as root");
        row("root, sandbox variable 1", {}, "1", true, Runs, {},
            "velmora: the web engine's sandbox is off (QTWEBENGINE_DISABLE_SANDBOX is set)\n");
        // The engine takes its arguments from its variable alone, when set:
        // the program's --no-sandbox still reaches it.
        row("root, --no-sandbox, the engine's variable set", {"--no-sandbox"}, {}, true, Runs, {}, {}, {}, true,
            "--disable-gpu");
        row("root, --no-sandbox in the engine's variable", {}, "1", true, Runs, {},
            "velmora: the web engine's sandbox is off (QTWEBENGINE_CHROMIUM_FLAGS has --no-sandbox)\n", {}, true,
            "--disable-gpu --no-sandbox");
        row("root, part of it off on the command line", {"--webEngineArgs", "--disable-gpu-sandbox"}, "1", true, Runs,
            {}, "velmora: part of the web engine's sandbox is off (the command line has --disable-gpu-sandbox)\n");
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, sandboxVariable);
        QFETCH(int, exitCode);
        QFETCH(QStringList, printed);
        QFETCH(QString, said);
        QFETCH(bool, asRootOnly);
        QFETCH(QStringList, unprinted);
        QFETCH(bool, display);
        QFETCH(QString, flags);
        if (asRootOnly && !runningAsRoot())
            QSKIP("the program refuses only root");

        const qsizetype homeRequests = server.requests().count(HomePath);
        QProcess program;
        QProcessEnvironment env = environment(server, sandboxVariable);
        if (!flags.isNull())
            env.insert(QLatin1String(startup::FlagsVariable), flags);
        if (!display) {
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        }
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VELMORA_PROGRAM), arguments);
        QVERIFY(program.waitForStarted());
        if (exitCode == Runs) {
            QTRY_VERIFY_WITH_TIMEOUT(server.requests().count(HomePath) > homeRequests, 30000);
            const QStringList shown{"search", "--onlyvisible", "--pid", QString::number(program.processId()),
                                    "--name", "^Velmora$"};
            QTRY_VERIFY_WITH_TIMEOUT(!run(shown).isEmpty(), 10000);
            program.kill();
            QVERIFY(program.waitForFinished(15000));
            const QString err = QString::fromLocal8Bit(program.readAllStandardError());
            QVERIFY2(err.contains(said), qPrintable(err));
            return;
        }
        QFETCH(bool, box);
        // Closed with Return, as the user would, once it is there.
        QString shown;
        for (int attempt = 0; box && attempt < 10 && program.state() != QProcess::NotRunning; ++attempt) {
            shown = run({"search", "--onlyvisible", "--pid", QString::number(program.processId())}).section('\n', 0, 0);
            run({"windowfocus", "--sync", shown, "key", "--window", shown, "Return"});
            program.waitForFinished(3000);
        }
        QCOMPARE(!shown.isEmpty(), box);
        QVERIFY(program.state() == QProcess::NotRunning || program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), exitCode);
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        for (const QString &text : printed)
            QVERIFY2(out.contains(text), qPrintable(out));
        for (const QString &text : unprinted)
            QVERIFY2(!out.contains(text), qPrintable(out));
        if (said.isEmpty()) {
            QCOMPARE(err, QString());
        } else {
            QVERIFY2(err.contains(said) && err.count('\n') == 1 && err.endsWith('\n'), qPrintable(err));
            QCOMPARE(out, QString());
        }
    }

    // A start and a page that writes to its console leave standard error
    // empty; --verbose and QT_LOGGING_RULES bring the engine's report and the
    // console back.
    void quietUnlessAsked_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("rules"); // QT_LOGGING_RULES; null: not set
        QTest::addColumn<QStringList>("said");
        QTest::addColumn<QStringList>("unsaid");
        QTest::addColumn<bool>("onlySaid"); // nothing else is on stderr
        const QStringList console{"js: page-log-line", "js: page-error-line"};
        const QString report = QStringLiteral("Init Parameters:");
        const auto row = [](const char *tag, const QStringList &arguments, const QString &rules,
                            const QStringList &said, const QStringList &unsaid, bool onlySaid = false) {
            QTest::newRow(tag) << arguments << rules << said << unsaid << onlySaid;
        };
        row("a plain start", {}, {}, {}, console + QStringList{report, "Sandboxing"}, true);
        row("--verbose", {"--verbose"}, {}, console + QStringList{report}, {});
        row("QT_LOGGING_RULES", {}, "js.info=true", {"js: page-log-line"}, {"js: page-error-line", report});
        row("QT_LOGGING_RULES over --verbose", {"--verbose"}, "js=false", {report}, console);
    }
    void quietUnlessAsked()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, rules);
        QFETCH(QStringList, said);
        QFETCH(QStringList, unsaid);
        QFETCH(bool, onlySaid);

        const qsizetype logged = server.requests().count(LoggedPath);
        QProcess program;
        QProcessEnvironment env = environment(server, QString(), ConsolePath);
        if (!rules.isNull())
            env.insert(QStringLiteral("QT_LOGGING_RULES"), rules);
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VELMORA_PROGRAM), sandboxArguments() + arguments);
        QVERIFY(program.waitForStarted());
        // The page has written to its console before it asks for LoggedPath;
        // a whole program starting on a busy machine may take a minute.
        QTRY_VERIFY_WITH_TIMEOUT(server.requests().count(LoggedPath) > logged, 60000);
        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = run({"search", "--onlyvisible", "--name", "^Velmora$"})).isEmpty(), 10000);
        exitThroughMenu(program, window.section('\n', 0, 0));
        if (QTest::currentTestFailed())
            return;

        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        for (const QString &text : said)
            QVERIFY2(err.contains(text), qPrintable(err));
        for (const QString &text : unsaid)
            QVERIFY2(!err.contains(text), qPrintable(err));
        if (onlySaid)
            QVERIFY2(err.isEmpty(), qPrintable(err));
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
        // Qt's switches take no value, last on the line too.
        row("Qt's switches", {"--verbose", "-sync", "-widgetcount"}, false, {}, Action::Run);
        // One web page may be given; nothing else is opened.
        row("an address", {"https://example.com/a b"}, false, {}, Action::Run);
        row("a host name", {"example.com"}, false, {}, Action::Run);
        row("a file's address", {"file:///etc/passwd"}, false, {}, Action::RefuseAddress);
        row("a file's name", {"/etc/passwd"}, false, {}, Action::RefuseAddress);
        row("a script", {"javascript:alert(1)"}, false, {}, Action::RefuseAddress);
        row("the engine's page", {"chrome://gpu"}, false, {}, Action::RefuseAddress);
        row("two addresses", {"example.com", "example.org"}, false, {}, Action::RefuseAddress);
        const QString site = QStringLiteral("https://example.com/");
        row("an address at the limit", {site + QString(startup::AddressLimit - site.size(), 'a')}, false, {},
            Action::Run);
        row("an address past the limit", {"https://example.com/" + QString(startup::AddressLimit, 'a')}, false, {},
            Action::RefuseAddress);
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
        if (QTest::currentDataTag() == QLatin1String("an address"))
            QCOMPARE(decision.address, "https://example.com/a%20b");
        if (QTest::currentDataTag() == QLatin1String("a host name"))
            QCOMPARE(decision.address, "http://example.com");
    }

    // The home page: the user's setting, else the system's, else the build's,
    // else the start page built in; a setting that is not a web page is
    // passed over, and said.
    void homePage_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("system");
        QTest::addColumn<QString>("built");
        QTest::addColumn<QString>("home");
        QTest::addColumn<int>("said");
        const QString u("https://mine.example/"), s("https://distributor.example/"), b("http://127.0.0.1:8/b");
        QTest::newRow("nothing set") << "" << "" << "" << "velmora:start" << 0;
        QTest::newRow("the build's") << "" << "" << b << b << 0;
        QTest::newRow("the system's over the build's") << "" << s << b << s << 0;
        QTest::newRow("the user's over the system's") << u << s << b << u << 0;
        QTest::newRow("a file in the user's") << "file:///etc/passwd" << s << b << s << 1;
        QTest::newRow("a script in the system's") << "" << "javascript:alert(1)" << "" << "velmora:start" << 1;
        QTest::newRow("no scheme in either") << "mine.example" << "distributor.example" << b << b << 2;
    }
    void homePage()
    {
        QFETCH(QString, user);
        QFETCH(QString, system);
        QFETCH(QString, built);
        QStringList said;
        QTEST(startup::homePage(user, "user.conf", system, "system.conf", built, said), "home");
        QTEST(int(said.size()), "said");
        if (!said.isEmpty())
            QVERIFY2(said.constFirst().contains(user.isEmpty() ? "system.conf" : "user.conf"), qPrintable(said[0]));
    }

    // Where the engine's variable is set, the program's engine arguments go
    // into it, each once; where it is not, they stay on the command line. The
    // environment turning the sandbox off, in whole or in part, is said at
    // every start, unless the user asked for it with --no-sandbox.
    void engineEnvironment_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("flags");          // null: not set
        QTest::addColumn<bool>("sandboxVariable");
        QTest::addColumn<QStringList>("application");
        QTest::addColumn<QString>("newFlags");       // null: left unset
        QTest::addColumn<QStringList>("said");
        const QStringList noSandbox{"--no-sandbox"}, engine{"--no-sandbox", "--webEngineArgs", "--no-sandbox"};
        const QString off("velmora: the web engine's sandbox is off (QTWEBENGINE_CHROMIUM_FLAGS has %1)\n");
        const QString part("velmora: part of the web engine's sandbox is off (QTWEBENGINE_CHROMIUM_FLAGS has %1)\n");
        const QString variable("velmora: the web engine's sandbox is off (QTWEBENGINE_DISABLE_SANDBOX is set)\n");
        const QString pages("velmora: web pages run outside the web engine's sandbox (%1 has %2)\n");
        const QString flagsVariable("QTWEBENGINE_CHROMIUM_FLAGS"), commandLine("the command line");
        const auto row = [](const char *tag, const QStringList &arguments, const QString &flags, bool sandboxVariable,
                            const QStringList &application, const QString &newFlags, const QStringList &said = {}) {
            QTest::newRow(tag) << arguments << flags << sandboxVariable << application << newFlags << said;
        };
        row("unset", noSandbox, {}, false, engine, {});
        row("set", noSandbox, "--disable-gpu", false, noSandbox, "--disable-gpu --no-sandbox");
        row("set and empty, no option", {"-reverse"}, "", false, {"-reverse"}, "");
        row("the user's engine arguments", {"--no-sandbox", "--webEngineArgs", "--lang=fr", "--user-agent=a b"},
            "--lang=de \"--user-agent=a b\"", false, noSandbox, "--lang=de \"--user-agent=a b\" --lang=fr --no-sandbox");
        row("a quote in one", {"--webEngineArgs", "--user-agent=a \"b\""}, "-a", false, {}, "-a \"--user-agent=a b\"");
        row("other switches", {}, "--no-sandboxing --enable-sandbox", false, {}, "--no-sandboxing --enable-sandbox");
        row("--no-sandbox", {}, "--disable-gpu \"-no-sandbox=1\"", false, {}, "--disable-gpu \"-no-sandbox=1\"",
            {off.arg("-no-sandbox=1")});
        row("parts of it", {}, "--disable-setuid-sandbox --disable-seccomp-filter-sandbox", false, {},
            "--disable-setuid-sandbox --disable-seccomp-filter-sandbox",
            {part.arg("--disable-setuid-sandbox, --disable-seccomp-filter-sandbox")});
        row("both variables", {}, "--no-sandbox", true, {}, "--no-sandbox", {variable, off.arg("--no-sandbox")});
        // Switches that run pages outside it, each place named.
        row("a single process", {}, "--single-process", false, {}, "--single-process",
            {pages.arg(flagsVariable, "--single-process")});
        row("renderers through a program", {}, "\"--renderer-cmd-prefix=gdb --args\" --disable-gpu-sandbox", false, {},
            "\"--renderer-cmd-prefix=gdb --args\" --disable-gpu-sandbox",
            {pages.arg(flagsVariable, "--renderer-cmd-prefix=gdb --args, --disable-gpu-sandbox")});
        row("no zygote, the sandbox off", {}, "--no-zygote --no-sandbox", false, {}, "--no-zygote --no-sandbox",
            {off.arg("--no-zygote, --no-sandbox")});
        // The engine refuses to start with that alone; nor do these run pages.
        row("no zygote alone, other launchers", {}, "--no-zygote --gpu-launcher=strace --utility-cmd-prefix=strace "
            "--in-process-gpu --renderer-cmd-prefix=", false, {},
            "--no-zygote --gpu-launcher=strace --utility-cmd-prefix=strace --in-process-gpu --renderer-cmd-prefix=");
        row("on the command line", {"--webEngineArgs", "--single-process"}, {}, false,
            {"--webEngineArgs", "--single-process"}, {}, {pages.arg(commandLine, "--single-process")});
        row("both places", {"--webEngineArgs", "--no-sandbox"}, "--no-zygote", false, {}, "--no-zygote --no-sandbox",
            {pages.arg(flagsVariable, "--no-zygote"), off.arg("--no-sandbox").replace(flagsVariable, commandLine)});
        row("asked for with --no-sandbox", noSandbox, "--no-sandbox", true, noSandbox, "--no-sandbox");
    }
    void engineEnvironment()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, flags);
        QFETCH(QString, newFlags);
        const QStringList line = QStringList{"velmora"} + arguments;
        const std::optional<QString> variable = flags.isNull() ? std::nullopt : std::optional<QString>(flags);
        const startup::Decision decision = startup::decide(line, false, {});
        const startup::EngineSetup engine = startup::engineArguments(line, decision, variable);
        QTEST(engine.application.mid(1), "application");
        QCOMPARE(engine.flags.value_or(QString()), newFlags);
        QCOMPARE(engine.flags.has_value(), !newFlags.isNull());
        QFETCH(bool, sandboxVariable);
        QTEST(startup::sandboxWarnings(line, decision, variable, sandboxVariable), "said");
    }

    // The engine is told to run without its sandbox as one of its own
    // arguments, once, after the program's.
    void applicationArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("application");
        const QStringList noSandbox{"--webEngineArgs", "--no-sandbox"};
        QTest::newRow("no option") << QStringList{} << QStringList{};
        QTest::newRow("--no-sandbox") << QStringList{"--no-sandbox", "-reverse"}
                                      << QStringList{"--no-sandbox", "-reverse"} + noSandbox;
        QTest::newRow("the engine's arguments") << QStringList{"--no-sandbox", "--webEngineArgs", "--lang=fr"}
                                                << QStringList{"--no-sandbox", "--webEngineArgs", "--lang=fr",
                                                               "--no-sandbox"};
        QTest::newRow("--no-sandbox only for the engine") << QStringList{"--webEngineArgs", "--no-sandbox"}
                                                          << QStringList{"--webEngineArgs", "--no-sandbox"};
    }
    void applicationArguments()
    {
        QFETCH(QStringList, arguments);
        const QStringList line = QStringList{"velmora"} + arguments;
        const startup::Decision decision = startup::decide(line, false, {});
        QTEST(startup::applicationArguments(line, decision).mid(1), "application");
    }
};

VELMORA_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
