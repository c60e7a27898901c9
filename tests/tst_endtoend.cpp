#include "httpserver.h"
#include "testmain.h"

#include <QProcess>
#include <QScreen>

// The built program under the test X server: its window and its home page.
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

private slots:
    void startsOnTheHomePageAndExits()
    {
        const QUrl home(QStringLiteral(VELMORA_TEST_HOME_URL));
        HttpServer server(quint16(home.port()));
        QVERIFY2(server.isListening(), "the test home page's port is taken");
        server.setPage(home.path(), "<html><head><title>Local home</title></head><body>Hotels</body></html>");

        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VELMORA_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(server.requests().contains(home.path()), 30000);

        QString window;
        QTRY_VERIFY_WITH_TIMEOUT(!(window = run({"search", "--onlyvisible", "--name", "^Velmora$"})).isEmpty(), 10000);
        window = window.section('\n', 0, 0);
        const QString geometry = run({"getwindowgeometry", "--shell", window});
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY2(geometry.contains("X=0\n") && geometry.contains("Y=0\n"), qPrintable(geometry));
        QVERIFY2(geometry.contains(QStringLiteral("WIDTH=%1\n").arg(screen.width())), qPrintable(geometry));
        // Screen height less 450 twips: 30 pixels at 96 dpi.
        QVERIFY2(geometry.contains(QStringLiteral("HEIGHT=%1").arg(screen.height() - 30)), qPrintable(geometry));

        // Page > Exit from the keyboard ends the program normally.
        run({"windowfocus", "--sync", window});
        run({"key", "--window", window, "alt+p"});
        QTest::qWait(300);
        run({"key", "--window", window, "e"});
        QVERIFY(program.waitForFinished(15000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);

#ifndef _WIN32
        // As root the program turns the engine's sandbox off itself, and says so once.
        const QString said = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(said.count(QStringLiteral("sandbox is turned off")), geteuid() == 0 ? 1 : 0);
#endif
    }
};

VELMORA_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
