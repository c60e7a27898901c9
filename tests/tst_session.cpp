#include "download.h"
#include "privatefolder.h"
#include "siteanswers.h"
#include "zoomstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

// What the session decides without the engine: names and files of
// downloads, answers by site and kind, zoom by site, private folders.
class TestSession : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

private slots:
    void cleanFileName_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("offered");
        QTest::newRow("plain") << "deals.zip" << "deals.zip";
        QTest::newRow("folder part") << "../../etc/deals.zip" << "deals.zip";
        QTest::newRow("Windows folder part") << "C:\\Windows\\deals.zip" << "deals.zip";
        QTest::newRow("control characters") << QString("in\u0001voice\u007f\u0085.pdf") << "in_voice__.pdf";
        QTest::newRow("bidirectional override") << QString("invoice\u202efdp.exe") << "invoice_fdp.exe";
        QTest::newRow("isolates") << QString("a\u2066b\u2069.txt") << "a_b_.txt";
        QTest::newRow("hidden") << ".bashrc" << "bashrc";
        QTest::newRow("nothing left") << "../.." << "download";
        QTest::newRow("non-Latin") << QString("北京.pdf") << QString("北京.pdf");
    }
    void cleanFileName()
    {
        QFETCH(QString, suggested);
        QTEST(downloads::cleanFileName(suggested), "offered");
    }

    // A name that would not fit with its part file's suffix is cut, whole
    // characters only, and keeps its extension.
    void longNamesFit_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::newRow("252 bytes") << QString(248, u'a') + ".pdf";
        QTest::newRow("non-Latin, 3 bytes each") << QString(200, QChar(0x5317)) + ".pdf";
    }
    void longNamesFit()
    {
        QFETCH(QString, suggested);
        const QString offered = downloads::cleanFileName(suggested);
        QVERIFY(offered.endsWith(".pdf"));
        const QString engines = downloads::partialPath(offered) + ".download";
        QVERIFY2(engines.toUtf8().size() <= downloads::NameLimit, qPrintable(QString::number(engines.toUtf8().size())));
        QVERIFY(suggested.startsWith(offered.chopped(4)));
        // The part file can really be made under that name.
        QFile part(folder.filePath(engines));
        QVERIFY2(part.open(QIODevice::WriteOnly), qPrintable(part.errorString()));
        part.remove();
    }

    void finishFile_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::addColumn<bool>("renameFails");
        QTest::newRow("new file") << false << false;
        QTest::newRow("replacing a file") << true << false;
        QTest::newRow("the rename fails") << true << true;
    }
    void finishFile()
    {
        QFETCH(bool, existing);
        QFETCH(bool, renameFails);
        static int run = 0;
        const QString target = folder.filePath(QStringLiteral("deal%1.zip").arg(++run));
        const QString partial = downloads::partialPath(target);
        write(partial, "new");
        if (existing)
            write(target, "old");
        if (renameFails) {
            // A folder in the target's place (as a file the user keeps
            // open elsewhere would be on Windows): the rename cannot happen.
            QVERIFY(QFile::remove(target) && QDir().mkdir(target));
            write(target + "/kept", "old");
        }
        const QString why = downloads::finishFile(partial, target);
        QCOMPARE(why.isEmpty(), !renameFails);
        QVERIFY(!QFile::exists(partial));
        if (renameFails)
            QCOMPARE(read(target + "/kept"), QByteArray("old"));
        else
            QCOMPARE(read(target), QByteArray("new"));
    }

    void zoomBySite()
    {
        ZoomStore zoom;
        zoom.setFactorFor(QUrl("http://a.test/one"), ZoomStore::stepped(1.0, +1));
        QCOMPARE(zoom.factorFor(QUrl("http://a.test/two")), 1.1);
        QCOMPARE(zoom.factorFor(QUrl("http://a.test:8080/")), 1.0);
        QCOMPARE(zoom.factorFor(QUrl("https://a.test/")), 1.0);
        QCOMPARE(ZoomStore::stepped(1.1, -1), 1.0);
        QCOMPARE(ZoomStore::stepped(2.5, 0), 1.0);
        QCOMPARE(ZoomStore::stepped(5.0, +1), 5.0);
        QCOMPARE(ZoomStore::stepped(0.25, -1), 0.25);

        // Kept in the settings file from one run to the next; 100 % is forgotten.
        const QString file = folder.filePath("velmora.conf");
        {
            ZoomStore first(file);
            first.setFactorFor(QUrl("http://a.test:8080/deals"), 1.25);
            first.setFactorFor(QUrl("http://b.test/"), 1.5);
            first.setFactorFor(QUrl("http://b.test/"), 1.0);
        }
        ZoomStore next(file);
        QCOMPARE(next.factorFor(QUrl("http://a.test:8080/other")), 1.25);
        QCOMPARE(next.factorFor(QUrl("http://a.test/")), 1.0);
        QCOMPARE(next.factorFor(QUrl("http://b.test/")), 1.0);
    }

#ifdef Q_OS_UNIX
    void privateFolders_data()
    {
        QTest::addColumn<QString>("plant");
        QTest::addColumn<bool>("fit");
        QTest::newRow("made by the program") << "" << true;
        QTest::newRow("open to others, closed") << "open" << true;
        QTest::newRow("a symlink") << "symlink" << false;
        QTest::newRow("another user's") << "foreign" << false;
    }
    void privateFolders()
    {
        QFETCH(QString, plant);
        QFETCH(bool, fit);
        const QString base = folder.filePath(plant.isEmpty() ? QStringLiteral("made") : plant);
        const QString path = base + "/Velmora/web";
        const mode_t before = ::umask(0);
        if (plant == "open") {
            QVERIFY(QDir().mkpath(path));
            QVERIFY(::chmod(QFile::encodeName(path).constData(), 0777) == 0);
        } else if (plant == "symlink") {
            QVERIFY(QDir().mkpath(base + "/elsewhere") && QDir().mkpath(base + "/Velmora"));
            QVERIFY(QFile::link(base + "/elsewhere", path));
        } else if (plant == "foreign") {
            if (::geteuid() != 0) {
                ::umask(before);
                QSKIP("only root can give a folder to another user");
            }
            QVERIFY(QDir().mkpath(path));
            QVERIFY(::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
        }
        const QString problem = privatefolder::make(path);
        ::umask(before);
        QVERIFY2(problem.isEmpty() == fit, qPrintable(problem));
        if (fit) {
            // Every folder the program made, and the one it closed.
            const QStringList folders = plant.isEmpty() ? QStringList{path, base + "/Velmora", base} : QStringList{path};
            for (const QString &made : folders) {
                struct stat status;
                QVERIFY(::lstat(QFile::encodeName(made).constData(), &status) == 0);
                QCOMPARE(int(status.st_mode & 0777), 0700);
            }
        }
    }
#endif
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
