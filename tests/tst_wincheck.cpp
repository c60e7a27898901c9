#include "testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

// Which of the build's compile commands the Windows check runs, and how:
// every product source, wherever it is added; nothing of the tests, the
// benchmarks, the build-machine tools or the generated code.
class TestWincheck : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // Runs the command list maker over one compile command per file (SRC and
    // BUILD stand for the two folders); the Ninja file it wrote, or the exit
    // code as text when it failed.
    QString checks(const QStringList &files)
    {
        const QString source = m_dir.filePath(QStringLiteral("src")), build = source + QStringLiteral("/build/win");
        QJsonArray commands;
        for (QString file : files) {
            file.replace(QStringLiteral("SRC"), source).replace(QStringLiteral("BUILD"), build);
            const QString command =
                file.endsWith(QStringLiteral(".rc"))
                    ? QStringLiteral("windres -O coff -I %1/app %2 app/velmora.rc.res").arg(source, file)
                    : QStringLiteral("g++ -DX -I%1/app -o obj/x.obj -c %2").arg(source, file);
            commands.append(QJsonObject{{"directory", build}, {"command", command}, {"file", file}});
        }
        QDir().mkpath(build);
        QFile json(build + QStringLiteral("/compile_commands.json"));
        if (!json.open(QIODevice::WriteOnly) || json.write(QJsonDocument(commands).toJson()) < 0)
            return QStringLiteral("cannot write compile_commands.json");
        json.close();
        const QString output = m_dir.filePath(QStringLiteral("build.ninja"));
        QFile::remove(output);
        QProcess cmake;
        cmake.start(QStringLiteral(VELMORA_CMAKE),
                    {QStringLiteral("-DBUILD=") + build, QStringLiteral("-DSOURCE=") + source,
                     QStringLiteral("-DOUTPUT=") + output, QStringLiteral("-P"),
                     QStringLiteral(VELMORA_WINCHECK_COMMANDS)});
        if (!cmake.waitForFinished(60000) || cmake.exitCode() != 0)
            return QStringLiteral("exit %1").arg(cmake.exitCode());
        QFile ninja(output);
        return ninja.open(QIODevice::ReadOnly) ? QString::fromUtf8(ninja.readAll()) : QStringLiteral("no output");
    }

private slots:
    void checksEveryProductSource_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("checked"); // the check's name; empty when left out
        QTest::addColumn<QString>("command"); // what its arguments turn into
        const QString syntax = QStringLiteral("-DX -I*/app -fsyntax-only -MD -MT %1.ok -MF */build/win/wincheck/%1.d */%1");
        QTest::newRow("product") << "SRC/app/frmmain.cpp" << "app/frmmain.cpp" << syntax.arg("app/frmmain.cpp");
        QTest::newRow("Windows-only") << "SRC/about/systemplatform_windows.cpp" << "about/systemplatform_windows.cpp"
                                      << syntax.arg("about/systemplatform_windows.cpp");
        QTest::newRow("folder added later") << "SRC/errors/policy.cpp" << "errors/policy.cpp"
                                            << syntax.arg("errors/policy.cpp");
        QTest::newRow("folder named like tests") << "SRC/testsupport/x.cpp" << "testsupport/x.cpp"
                                                 << syntax.arg("testsupport/x.cpp");
        QTest::newRow("resource script") << "BUILD/app/velmora.rc" << "app/velmora.rc"
                                         << "-O coff -I */app */build/win/app/velmora.rc */build/win/wincheck/app/velmora.rc.res";
        QTest::newRow("test") << "SRC/tests/tst_layout.cpp" << QString() << QString();
        QTest::newRow("fuzz target") << "SRC/tests/fuzz/fuzz_bookmarks.cpp" << QString() << QString();
        QTest::newRow("benchmark") << "SRC/bench/startup/bare.cpp" << QString() << QString();
        QTest::newRow("build tool") << "SRC/tools/picturecopies.cpp" << QString() << QString();
        QTest::newRow("moc output") << "BUILD/app/app_autogen/mocs_compilation.cpp" << QString() << QString();
        QTest::newRow("resource code") << "BUILD/app/.rcc/qrc_pictures.cpp" << QString() << QString();
        QTest::newRow("outside the source") << "SRC/../elsewhere/x.cpp" << QString() << QString();
    }
    void checksEveryProductSource()
    {
        QFETCH(QString, file);
        QFETCH(QString, checked);
        QFETCH(QString, command);
        // Beside a source that is always checked.
        const QString ninja = checks({QStringLiteral("SRC/app/main.cpp"), file});
        QStringList names;
        QString edgeCommand;
        const QRegularExpression edge(QStringLiteral("^build (.*)\\.ok: check .*\\n.*\\n.*\\n  cmd = \\S+ (.*)$"),
                                      QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch &match : edge.globalMatch(ninja)) {
            names.append(match.captured(1));
            if (match.captured(1) == checked)
                edgeCommand = match.captured(2);
        }
        const QStringList expectedNames = checked.isEmpty() ? QStringList{"app/main.cpp"} : QStringList{"app/main.cpp", checked};
        QCOMPARE(names, expectedNames);
        if (checked.isEmpty())
            return;
        QStringList pieces = command.split(QLatin1Char('*')); // "*" is any text
        for (QString &piece : pieces)
            piece = QRegularExpression::escape(piece);
        QVERIFY2(QRegularExpression(QLatin1Char('^') + pieces.join(QStringLiteral(".*")) + QLatin1Char('$'))
                     .match(edgeCommand)
                     .hasMatch(),
                 qPrintable(edgeCommand));
    }

    void failsWithNothingToCheck()
    {
        QCOMPARE(checks({QStringLiteral("SRC/tests/tst_layout.cpp")}), QStringLiteral("exit 1"));
    }
};

VELMORA_TEST_MAIN(TestWincheck)
#include "tst_wincheck.moc"
