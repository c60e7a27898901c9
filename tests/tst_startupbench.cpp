#include "homepage.h"
#include "homeserver.h"
#include "pagecache.h"
#include "processtree.h"
#include "testmain.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpSocket>

#include <algorithm>
#include <csignal>
#include <unistd.h>

// The start-up benchmark's own pieces: a page that loads whole, a server that
// answers the engine as it asks, and the readings of a program's processes.
class TestStartupBench : public QObject
{
    Q_OBJECT

    struct Response
    {
        int status = 0;
        QByteArray headers, body;
    };

    // Reads `count` responses from `socket`, each delimited by its Content-Length.
    // The server runs in this thread: it answers only while events are processed.
    static QList<Response> readResponses(QTcpSocket &socket, int count)
    {
        QList<Response> responses;
        QByteArray data;
        QElapsedTimer waited;
        waited.start();
        while (responses.size() < count && waited.elapsed() < 10000) {
            QTest::qWait(20);
            data += socket.readAll();
            qsizetype end;
            while (responses.size() < count && (end = data.indexOf("\r\n\r\n")) >= 0) {
                Response r;
                r.headers = data.left(end);
                const QRegularExpressionMatch length =
                    QRegularExpression(QStringLiteral("Content-Length: (\\d+)")).match(QString::fromLatin1(r.headers));
                const qsizetype size = length.captured(1).toLongLong();
                if (!length.hasMatch() || data.size() < end + 4 + size)
                    break;
                r.status = r.headers.mid(9, 3).toInt();
                r.body = data.mid(end + 4, size);
                data.remove(0, end + 4 + size);
                responses << r;
            }
        }
        return responses;
    }

private slots:
    void homePageLoadsWholeAndReportsItsLoad()
    {
        const QHash<QString, HomeResource> site = makeHomePage(QStringLiteral("/home"));
        QCOMPARE(makeHomePage(QStringLiteral("/home"))[QStringLiteral("/home")].body, site[QStringLiteral("/home")].body);

        qint64 total = 0;
        for (const HomeResource &resource : site)
            total += resource.body.size();
        QVERIFY2(total > 900 * 1024 && total < 1200 * 1024, qPrintable(QString::number(total)));
        const QByteArray html = site[QStringLiteral("/home")].body;
        QVERIFY(html.size() >= 290 * 1024);

        // Every address the page refers to is served: a missing one would end the load early.
        const QRegularExpression reference(QStringLiteral("(?:src|href)=\"(/[^\"#]*)\""));
        QSet<QString> referenced;
        for (const QRegularExpressionMatch &m : reference.globalMatch(QString::fromUtf8(html)))
            referenced << m.captured(1);
        QVERIFY(referenced.contains(QStringLiteral("/style.css")) && referenced.contains(QStringLiteral("/app.js")));
        for (const QString &path : referenced)
            QVERIFY2(site.contains(path), qPrintable(path));
        QVERIFY(referenced.contains(QStringLiteral("/img0.png")));
        QVERIFY(!QImage::fromData(site[QStringLiteral("/img0.png")].body).isNull());

        const QByteArray script = site[QStringLiteral("/app.js")].body;
        QVERIFY(script.contains("window.addEventListener('load'"));
        QVERIFY(script.contains("fetch('/loaded'"));
        QVERIFY(site.contains(QStringLiteral("/loaded")));
    }

    void serverAnswersAsTheEngineAsks_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QList<int>>("statuses");
        QTest::addColumn<QStringList>("paths");
        const QByteArray css = "GET /style.css HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        const QByteArray js = "GET /app.js HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
        QTest::newRow("one request") << QList<QByteArray>{css} << QList<int>{200} << QStringList{"/style.css"};
        QTest::newRow("query left out") << QList<QByteArray>{"GET /loaded?t=12 HTTP/1.1\r\n\r\n"} << QList<int>{200}
                                        << QStringList{"/loaded"};
        QTest::newRow("two at once") << QList<QByteArray>{css + js} << QList<int>{200, 200}
                                     << QStringList{"/style.css", "/app.js"};
        QTest::newRow("in pieces") << QList<QByteArray>{css.left(10), css.mid(10, 30), css.mid(40)} << QList<int>{200}
                                   << QStringList{"/style.css"};
        QTest::newRow("one after another on one connection")
            << QList<QByteArray>{css, js} << QList<int>{200, 200} << QStringList{"/style.css", "/app.js"};
        QTest::newRow("unknown path") << QList<QByteArray>{"GET /favicon.ico HTTP/1.1\r\n\r\n"} << QList<int>{404}
                                      << QStringList{"/favicon.ico"};
    }
    void serverAnswersAsTheEngineAsks()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QList<int>, statuses);
        QFETCH(QStringList, paths);
        const QHash<QString, HomeResource> site = makeHomePage(QStringLiteral("/home"));
        HomeServer server(0, site);
        QVERIFY(server.isListening());
        QSignalSpy requested(&server, &HomeServer::requested);

        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, server.port());
        QVERIFY(client.waitForConnected(5000));
        for (const QByteArray &chunk : chunks) {
            client.write(chunk);
            client.flush();
            QTest::qWait(20);
        }
        const QList<Response> responses = readResponses(client, int(statuses.size()));
        QCOMPARE(responses.size(), statuses.size());
        for (qsizetype i = 0; i < responses.size(); ++i) {
            QCOMPARE(responses[i].status, statuses[i]);
            QVERIFY(responses[i].headers.contains("Cache-Control: no-store"));
            if (statuses[i] == 200)
                QCOMPARE(responses[i].body, site[paths[i]].body);
        }
        QStringList seen;
        for (const QList<QVariant> &signal : std::as_const(requested))
            seen << signal.at(0).toString();
        QCOMPARE(seen, paths);
    }

    void readsTheProcessesOfAProgram()
    {
        QCOMPARE(processTree(0), QList<pid_t>());

        QProcess program;
        program.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("sleep 30 & wait")});
        QVERIFY(program.waitForStarted());
        const pid_t shell = pid_t(program.processId());
        QTRY_COMPARE(processTree(shell).size(), 2);
        const QList<pid_t> tree = processTree(shell);
        QCOMPARE(tree.first(), shell);
        QVERIFY(isRunning(shell) && isRunning(tree.last()));
        QVERIFY(pssBytes(tree) > 0);
        QVERIFY(cpuMs(tree) >= 0);

        ::kill(tree.last(), SIGKILL);
        QVERIFY(program.waitForFinished(5000));
        QTRY_VERIFY(!isRunning(tree.last()));
        QVERIFY(!isRunning(shell));
        QCOMPARE(pssBytes(tree), qint64(0));
    }

    // The files a running program has mapped, and how much of them is in memory.
    void readsTheFilesOfAProgram()
    {
        const QStringList files = mappedFiles({getpid()});
        const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
        QVERIFY2(files.contains(self), qPrintable(files.join(u' ')));
        QVERIFY(std::any_of(files.begin(), files.end(), [](const QString &f) { return f.contains("libQt6Core"); }));
        QVERIFY(std::none_of(files.begin(), files.end(), [](const QString &f) { return !f.startsWith(u'/'); }));
        const CacheUse use = pageCacheUse({self});
        QCOMPARE(use.total, QFileInfo(self).size());
        QVERIFY(use.resident > 0 && use.resident <= use.total); // it runs from these pages
        QCOMPARE(pageCacheUse({QStringLiteral("/nonexistent")}).total, qint64(0));
    }
};

VELMORA_TEST_MAIN(TestStartupBench)
#include "tst_startupbench.moc"
