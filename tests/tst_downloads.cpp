#include "download.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// What the downloads decide without the engine: the names offered and the
// files made.
class TestDownloads : public QObject
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
    // Sizes in the Downloads window, as the user's language writes them.
    void progressInTheUsersLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("shown");
        QTest::newRow("English, size unknown") << "en_US" << qint64(670) << qint64(-1) << "670 bytes";
        QTest::newRow("English, of a whole") << "en_US" << qint64(1536) << qint64(3 << 20) << "1.5 kB of 3.0 MB";
        QTest::newRow("German") << "de_DE" << qint64(1536) << qint64(0) << "1,5 kB";
    }
    void progressInTheUsersLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        const QLocale before;
        QLocale::setDefault(QLocale(locale));
        const QString shown = downloads::progressText(received, total);
        QLocale::setDefault(before);
        QTEST(shown, "shown");
    }

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
};

QTEST_GUILESS_MAIN(TestDownloads)
#include "tst_downloads.moc"
