#include "bookmarkfile.h"
#include "bookmarkfixture.h"
#include "testmain.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>

using namespace bookmarkfixture;

// The bookmark file against other processes: one killed in the middle of a
// rewrite, two appending at the same moment, one changing the file while
// another appends.
class TestBookmarkProcesses : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("bookmark.dat")); }
    QString lockPath() const { return path() + QStringLiteral(".lock"); }

    static QByteArray manyRecords(const QString &tag, int count)
    {
        QByteArray bytes;
        for (int i = 0; i < count; ++i) {
            const QString n = QString::number(i);
            bytes += bookmarkfile::encodeRecord(tag + n, QStringLiteral("http://%1.example/hotels?id=%2").arg(tag, n));
        }
        return bytes;
    }

private slots:
    void killedRewriteLeavesOldOrNew()
    {
        const QByteArray oldBytes = manyRecords(QStringLiteral("old"), 40000);
        const QByteArray newBytes = manyRecords(QStringLiteral("new"), 41000);
        const QString oldPath = dir.filePath(QStringLiteral("old")), newPath = dir.filePath(QStringLiteral("new"));
        writeFile(oldPath, oldBytes);
        writeFile(newPath, newBytes);
        writeFile(path(), oldBytes);

        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        int sawOld = 0, sawNew = 0, locksLeft = 0;
        for (int round = 0; round < 40; ++round) {
            QProcess child;
            child.start(QStringLiteral(BOOKMARK_CHILD), {QStringLiteral("rewrite"), path(), oldPath, newPath});
            QVERIFY2(child.waitForReadyRead(20000), qPrintable(child.errorString()));
            QTest::qSleep(int(random.bounded(25)));
            child.kill();
            QVERIFY(child.waitForFinished(20000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            locksLeft += QFileInfo::exists(lockPath());
            const QByteArray now = readFile(path());
            QVERIFY2(now == oldBytes || now == newBytes,
                     qPrintable(QStringLiteral("round %1 (seed %2): %3 bytes").arg(round).arg(seed).arg(now.size())));
            ++(now == oldBytes ? sawOld : sawNew);
        }
        const QStringList leftOver =
            QDir(dir.path()).entryList({QStringLiteral("bookmark.dat?*")}, QDir::Files | QDir::Hidden);
        qInfo("old %d times, new %d times, a lock left %d times; %lld temporary files left", sawOld, sawNew,
              locksLeft, qlonglong(leftOver.size()));
        // Each child after the first took over the lock a killed one left;
        // so does the next change here, which then leaves none behind.
        QVERIFY(locksLeft > 0);
        QVERIFY(bookmarkfile::append(path(), QStringLiteral("after"), QStringLiteral("a")).ok());
        QVERIFY(!QFileInfo::exists(lockPath()));
    }

    // One process appends 1000 records while another changes the file the
    // whole time: every one of the 1000 stays, whole and in order.
    void appendsSurviveOtherChanges_data()
    {
        QTest::addColumn<QString>("other");
        QTest::newRow("adding and deleting its own record") << "churn";
        QTest::newRow("appends that fail part-way") << "torn";
    }
    void appendsSurviveOtherChanges()
    {
        QFETCH(QString, other);
#ifdef _WIN32
        if (other == "torn")
            QSKIP("needs a file size limit");
#endif
        // Larger than a lock file, which must fit under the torn appends' limit.
        const QByteArray start = manyRecords(QStringLiteral("s"), 40);
        writeFile(path(), start);
        const QString stop = dir.filePath(QStringLiteral("stop"));
        QFile::remove(stop);
        QProcess appender, changer;
        appender.start(QStringLiteral(BOOKMARK_CHILD),
                       {QStringLiteral("append"), path(), QStringLiteral("a"), QStringLiteral("1000")});
        changer.start(QStringLiteral(BOOKMARK_CHILD), {other, path(), QStringLiteral("o"), stop});
        QVERIFY(appender.waitForStarted() && changer.waitForStarted());
        changer.write("\n");
        appender.write("\n");
        QVERIFY(changer.waitForBytesWritten() && appender.waitForBytesWritten());
        QVERIFY(appender.waitForFinished(120000));
        writeFile(stop, "");
        QVERIFY(changer.waitForFinished(60000));
        QVERIFY2(appender.exitCode() == 0, appender.readAllStandardError().constData());
        QVERIFY2(changer.exitCode() == 0, changer.readAllStandardError().constData());
        qInfo("%s", changer.readAllStandardOutput().trimmed().constData());

        QByteArray expected = start;
        for (int i = 0; i < 1000; ++i)
            expected += "a-" + QByteArray::number(i) + "|http://a/" + QByteArray::number(i) + "\r\n";
        const QByteArray now = readFile(path());
        QVERIFY2(now == expected, qPrintable(QStringLiteral("%1 lines, %2 expected").arg(now.count('\n')).arg(expected.count('\n'))));
        QVERIFY(!QFileInfo::exists(lockPath()));
    }

    void concurrentAppendsKeepEveryRecord()
    {
        constexpr int Count = 1000;
        QFile::remove(path());
        QProcess a, b;
        a.start(QStringLiteral(BOOKMARK_CHILD), {QStringLiteral("append"), path(), QStringLiteral("a"), QString::number(Count)});
        b.start(QStringLiteral(BOOKMARK_CHILD), {QStringLiteral("append"), path(), QStringLiteral("b"), QString::number(Count)});
        QVERIFY(a.waitForStarted() && b.waitForStarted());
        // Both are running before either writes.
        a.write("\n");
        b.write("\n");
        QVERIFY(a.waitForBytesWritten() && b.waitForBytesWritten());
        QVERIFY(a.waitForFinished(60000) && b.waitForFinished(60000));
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);

        QSet<QByteArray> expected;
        for (const char *tag : {"a", "b"}) {
            for (int i = 0; i < Count; ++i)
                expected.insert(QByteArray(tag) + '-' + QByteArray::number(i) + "|http://" + tag + '/' + QByteArray::number(i));
        }
        QList<QByteArray> lines = readFile(path()).split('\n');
        QVERIFY(lines.takeLast().isEmpty());   // the last line has its line end
        int switches = 0;
        char lastTag = 0;
        for (QByteArray line : lines) {
            QVERIFY2(line.endsWith('\r'), line.constData());
            line.chop(1);
            QVERIFY2(expected.remove(line), qPrintable("unexpected or repeated: " + line));
            switches += lastTag && line.at(0) != lastTag;
            lastTag = line.at(0);
        }
        QVERIFY(expected.isEmpty());
        qInfo("the two writers took turns %d times", switches);
    }
};

VELMORA_TEST_MAIN(TestBookmarkProcesses)
#include "tst_bookmarkprocesses.moc"
