#include "privatefolder.h"
#include "settings.h"
#include "siteanswers.h"
#include "zoomstore.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

// What the session decides without the engine: answers by site and kind,
// the settings file and the zoom by site kept in it, private folders.
class TestSession : public QObject
{
    Q_OBJECT

    QTemporaryDir folder;

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

private slots:
    void initTestCase() { QCoreApplication::setApplicationName(QStringLiteral("Velmora")); }

    void zoomBySite()
    {
        Settings memory;
        ZoomStore zoom(memory);
        zoom.setFactorFor(QUrl("http://a.test/one"), ZoomStore::stepped(1.0, +1));
        QCOMPARE(zoom.factorFor(QUrl("http://a.test/two")), 1.1);
        QCOMPARE(zoom.factorFor(QUrl("http://a.test:8080/")), 1.0);
        QCOMPARE(zoom.factorFor(QUrl("https://a.test/")), 1.0);
        QCOMPARE(ZoomStore::stepped(1.1, -1), 1.0);
        QCOMPARE(ZoomStore::stepped(2.5, 0), 1.0);
        QCOMPARE(ZoomStore::stepped(5.0, +1), 5.0);
        QCOMPARE(ZoomStore::stepped(0.25, -1), 0.25);

        // Kept in the settings file from one run to the next; 100 % is forgotten.
        const QString file = folder.filePath("zoom/velmora.conf");
        {
            Settings settings(file);
            ZoomStore first(settings);
            first.setFactorFor(QUrl("http://a.test:8080/deals"), 1.25);
            first.setFactorFor(QUrl("http://b.test/"), 1.5);
            first.setFactorFor(QUrl("http://b.test/"), 1.0);
            settings.setSiteValue("zoom", "http://c.test", "9"); // as if edited by hand
        }
        Settings settings(file);
        ZoomStore next(settings);
        QCOMPARE(next.factorFor(QUrl("http://a.test:8080/other")), 1.25);
        QCOMPARE(next.factorFor(QUrl("http://a.test/")), 1.0);
        QCOMPARE(next.factorFor(QUrl("http://b.test/")), 1.0);
        QCOMPARE(next.factorFor(QUrl("http://c.test/")), 1.0);

        // Changed by hand while the program runs: read again at the next
        // value asked for; gone, it leaves no setting.
        write(file, "[General]\nhome=https://edited.test/\n");
        QCOMPARE(settings.value(Settings::Key::HomePage), QString("https://edited.test/"));
        QCOMPARE(next.factorFor(QUrl("http://a.test:8080/other")), 1.0);
        QVERIFY(QFile::remove(file));
        QCOMPARE(settings.value(Settings::Key::HomePage), QString());
    }

#ifdef Q_OS_UNIX
    // Under a umask that hides nothing, the settings folder, every folder
    // made on the way to it and the file are their user's alone, and ones
    // left open before are closed. A folder that is a link or another
    // user's is not used: settings last until the program ends.
    // What a distributor ships for every user is read from the system's
    // velmora.conf, through Qt's system settings folder.
    void systemSettingsAreRead()
    {
        QTemporaryDir system;
        QVERIFY(QDir(system.path()).mkpath("Velmora"));
        QFile file(system.filePath("Velmora/velmora.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[General]\nhome=https://hotels.example/\n") > 0);
        file.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, system.path());
        const auto restore = qScopeGuard(
            [] { QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("/etc/xdg")); });
        QCOMPARE(Settings::systemFile(), file.fileName());
        QCOMPARE(Settings::systemValue(Settings::Key::HomePage), QStringLiteral("https://hotels.example/"));
    }

    void settingsPrivate_data()
    {
        QTest::addColumn<QString>("plant"); // what is there before: "folder|file MODE", symlink, foreign
        QTest::addColumn<bool>("kept");
        QTest::newRow("new account") << "" << true;
        QTest::newRow("folder writable by group") << "folder 0770" << true;
        QTest::newRow("folder writable by others") << "folder 0707" << true;
        QTest::newRow("file writable by group") << "file 0660" << true;
        QTest::newRow("file writable by others") << "file 0606" << true;
        QTest::newRow("folder a symlink") << "symlink" << false;
        QTest::newRow("folder another user's") << "foreign" << false;
    }
    void settingsPrivate()
    {
        QFETCH(QString, plant);
        QFETCH(bool, kept);
        static int run = 0;
        const QString home = folder.filePath(QStringLiteral("home%1").arg(++run));
        const QString config = home + "/.config";
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
        const QString own = config + "/Velmora", file = Settings::defaultFile();
        QCOMPARE(file, own + "/velmora.conf");
        const mode_t before = ::umask(0);
        const auto restore = qScopeGuard([before] { ::umask(before); });
        const QStringList planted = plant.split(' ');
        if (planted.size() == 2) {
            QVERIFY(QDir().mkpath(own));
            if (planted[0] == "file")
                write(file, "[start]\nseen=1\n");
            const QString open = planted[0] == "file" ? file : own;
            QVERIFY(::chmod(QFile::encodeName(open).constData(), planted[1].toUInt(nullptr, 8)) == 0);
        } else if (plant == "symlink") {
            QVERIFY(QDir().mkpath(home + "/elsewhere") && QDir().mkpath(config));
            QVERIFY(QFile::link(home + "/elsewhere", own));
        } else if (plant == "foreign") {
            if (::geteuid() != 0)
                QSKIP("only root can give a folder to another user");
            QVERIFY(QDir().mkpath(own));
            QVERIFY(::chown(QFile::encodeName(own).constData(), 65534, 65534) == 0);
        }
        // Refused, stderr says why, each time the file would be used.
        for (int times = kept ? 0 : 2; times > 0; --times)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Settings are kept only until Velmora ends"));
        {
            Settings settings(file);
            settings.setValue(Settings::Key::HomePage, "https://velmora.test/");
            QCOMPARE(settings.value(Settings::Key::HomePage), QString("https://velmora.test/"));
            QCOMPARE(settings.problem().isEmpty(), kept);
        }
        QCOMPARE(Settings(file).value(Settings::Key::HomePage), kept ? QString("https://velmora.test/") : QString());
        if (!kept) {
            QVERIFY(!QFile::exists(file));
            return;
        }
        const QStringList folders = plant.isEmpty() ? QStringList{home, config, own} : QStringList{own};
        for (const QString &path : folders + QStringList{file}) {
            struct stat status;
            QVERIFY(::lstat(QFile::encodeName(path).constData(), &status) == 0);
            QCOMPARE(QString::number(status.st_mode & 0777, 8), QString(path == file ? "600" : "700"));
        }
    }
#endif

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
            QStringList folders{path};
            if (plant.isEmpty())
                folders << base + "/Velmora" << base;
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
