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
// rewrite, two appending at the same moment.
class TestBookmarkProcesses : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("bookmark.dat")); }

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
        int sawOld = 0, sawNew = 0;
        for (int round = 0; round < 40; ++round) {
            QProcess child;
            child.start(QStringLiteral(BOOKMARK_CHILD), {QStringLiteral("rewrite"), path(), oldPath, newPath});
            QVERIFY2(child.waitForReadyRead(20000), qPrintable(child.errorString()));
            QTest::qSleep(int(random.bounded(25)));
            child.kill();
            QVERIFY(child.waitForFinished(20000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            const QByteArray now = readFile(path());
            QVERIFY2(now == oldBytes || now == newBytes,
                     qPrintable(QStringLiteral("round %1 (seed %2): %3 bytes").arg(round).arg(seed).arg(now.size())));
            ++(now == oldBytes ? sawOld : sawNew);
        }
        const QStringList leftOver =
            QDir(dir.path()).entryList({QStringLiteral("bookmark.dat?*")}, QDir::Files | QDir::Hidden);
        qInfo("old %d times, new %d times; %lld temporary files left", sawOld, sawNew, qlonglong(leftOver.size()));
    }

    void concurrentAppendsKeepEveryRecord()
    {
        constexpr int Count = 5000;
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
