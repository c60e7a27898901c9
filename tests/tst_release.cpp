#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>

// What a release is made from: the home pages the configure step lets into
// the program, and a manual page that groff reads without a warning and that
// describes every option the program itself knows.
class TestRelease : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode = -1;
        QString output; // standard output and error, in that order
    };

    static Run run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        Run result;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return result;
        result.exitCode = process.exitCode();
        result.output = QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return result;
    }

    static QString manualPage()
    {
        QFile page(QStringLiteral(VELMORA_MANUAL_PAGE));
        return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
    }

private slots:
    void homeUrl_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("a site's search") << "https://velmora.example/search?a_aid=velmora-desktop&brandId=velmora" << true;
        QTest::newRow("http, a port") << "http://127.0.0.1:8080/home" << true;
        QTest::newRow("upper-case scheme") << "HTTPS://VELMORA.EXAMPLE/" << true;
        QTest::newRow("user and host") << "https://guest@velmora.example" << true;
        QTest::newRow("ftp") << "ftp://velmora.example/" << false;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("scheme that starts with https") << "httpsx://velmora.example/" << false;
        QTest::newRow("http inside") << "view-source:https://velmora.example/" << false;
        QTest::newRow("no scheme") << "velmora.example/search" << false;
        QTest::newRow("no host") << "https:///search" << false;
        QTest::newRow("scheme alone") << "https://" << false;
        QTest::newRow("one slash") << "https:/velmora.example/" << false;
        QTest::newRow("none: the start page built in") << "" << true;
        QTest::newRow("quote ends the string") << "https://velmora.example/\"a" << false;
        QTest::newRow("backslash") << "https://velmora.example/a\\" << false;
        QTest::newRow("space") << "https://velmora.example/a b" << false;
        QTest::newRow("line break") << "https://velmora.example/\nb" << false;
    }
    void homeUrl()
    {
        QFETCH(QString, url);
        QFETCH(bool, accepted);
        const Run cmake = run(QStringLiteral(VELMORA_CMAKE),
                              {QStringLiteral("-DVELMORA_HOME_URL=") + url, QStringLiteral("-P"),
                               QStringLiteral(VELMORA_HOME_URL_CHECK)});
        QCOMPARE(cmake.exitCode, accepted ? 0 : 1);
        if (accepted)
            return;
        // The message names the setting and the address (CMake folds long
        // messages at spaces, so spacing is not compared).
        QVERIFY2(cmake.output.simplified().contains(QStringLiteral("VELMORA_HOME_URL \"%1\"").arg(url).simplified()),
                 qPrintable(cmake.output));
    }

    void manualPageReadsWithoutWarnings()
    {
        const Run groff = run(QStringLiteral("groff"), {QStringLiteral("-man"), QStringLiteral("-Tutf8"),
                                                        QStringLiteral("-z"), QStringLiteral("-wall"),
                                                        QStringLiteral(VELMORA_MANUAL_PAGE)});
        QCOMPARE(groff.exitCode, 0);
        QCOMPARE(groff.output, QString());
    }

    // The options the program lists in --help, each in the page's OPTIONS.
    void manualPageDescribesEveryOption()
    {
        const Run help = run(QStringLiteral(VELMORA_PROGRAM), {QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        QStringList options;
        const QRegularExpression line(QStringLiteral("^\\s+(-[^ ,]+(?:, -[^ ,]+)*)"), QRegularExpression::MultilineOption);
        for (const QRegularExpressionMatch &match : line.globalMatch(help.output))
            options += match.captured(1).split(QStringLiteral(", "));
        QVERIFY2(options.contains(QStringLiteral("--no-sandbox")), qPrintable(help.output));

        QString page = manualPage();
        page.replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const qsizetype start = page.indexOf(QStringLiteral("\n.SH OPTIONS\n"));
        QVERIFY(start >= 0);
        const QString section = page.mid(start, page.indexOf(QStringLiteral("\n.SH "), start + 1) - start);
        for (const QString &option : options) {
            const QRegularExpression word(QStringLiteral("(?<![\\w-])%1(?![\\w-])").arg(QRegularExpression::escape(option)));
            QVERIFY2(word.match(section).hasMatch(), qPrintable(option));
        }
    }
};

VELMORA_TEST_MAIN(TestRelease)
#include "tst_release.moc"
