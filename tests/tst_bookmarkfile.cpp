#include "appendonly.h"
#include "bookmarkfile.h"
#include "bookmarkfixture.h"
#include "testmain.h"

#include <QDir>
#include <QTemporaryDir>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace bookmarkfixture;

// The bookmark file without a window: reading, writing records, removing
// records, and what each operation does when the file cannot be used.
class TestBookmarkFile : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("bookmark.dat")); }

private slots:
    void cleanup()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
    }

    void read_data()
    {
        QTest::addColumn<QByteArray>("file");   // a null array: no file at all
        QTest::addColumn<QStringList>("records");
        const QString longName(40000, u'a');
        QTest::newRow("no file") << QByteArray() << QStringList{};
        QTest::newRow("empty file") << QByteArray("") << QStringList{};
        QTest::newRow("Home|x") << QByteArray("Home|x\r\n") << QStringList{"Home", "x"};
        QTest::newRow("|x") << QByteArray("|x\r\n") << QStringList{"", "x"};
        QTest::newRow("Home|") << QByteArray("Home|\r\n") << QStringList{"Home", ""};
        QTest::newRow("A|B|C") << QByteArray("A|B|C\r\n") << QStringList{"A", "B|C"};
        QTest::newRow("leading spaces") << QByteArray("   Home|x\r\n") << QStringList{"Home", "x"};
        QTest::newRow("duplicates") << QByteArray("Home|x\r\nHome|x\r\n") << QStringList{"Home", "x", "Home", "x"};
        QTest::newRow("commas") << QByteArray("Paris, France|x\r\nHotels|x?a=1,2\r\nB|y\r\n")
                                << QStringList{"Paris, France", "x", "Hotels", "x?a=1,2", "B", "y"};
        QTest::newRow("quotes") << QByteArray("\"Quoted\" name|x\r\n\"open|y\r\n")
                                << QStringList{"\"Quoted\" name", "x", "\"open", "y"};
        QTest::newRow("empty line in the middle") << QByteArray("A|1\r\n\r\nB|2\r\n") << QStringList{"A", "1", "B", "2"};
        QTest::newRow("line without bar in the middle")
            << QByteArray("A|1\r\nno bar here\r\nB|2\r\n") << QStringList{"A", "1", "B", "2"};
        QTest::newRow("LF only") << QByteArray("A|1\nB|2\n") << QStringList{"A", "1", "B", "2"};
        QTest::newRow("no final line end") << QByteArray("A|1\r\nB|2") << QStringList{"A", "1", "B", "2"};
        QTest::newRow("cp1252") << QByteArray("Caf\xe9 M\xfcnchen|http://m/\r\n\x80 5|y\r\n")
                                << QStringList{"Café München", "http://m/", "€ 5", "y"};
        QTest::newRow("UTF-8") << QByteArray("Caf\xc3\xa9 \xe2\x82\xac|http://m/\r\n") << QStringList{"Café €", "http://m/"};
        QTest::newRow("cp1252 and UTF-8 lines")
            << QByteArray("Caf\xe9|1\r\nCaf\xc3\xa9|2\r\n") << QStringList{"Café", "1", "Café", "2"};
        QTest::newRow("bar past 32767") << longName.toLatin1() + "|x\r\n" << QStringList{longName, "x"};
    }
    void read()
    {
        QFETCH(QByteArray, file);
        if (!file.isNull())
            writeFile(path(), file);
        bookmarkfile::Result result;
        QTEST(flatten(bookmarkfile::read(path(), &result)), "records");
        QVERIFY(result.ok());
    }

    void writeRecord_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QByteArray>("bytes");   // the address part is also how it reads back
        QTest::addColumn<QString>("nameRead");
        QTest::newRow("plain") << "Home" << "http://h/?a=1,2" << QByteArray("Home|http://h/?a=1,2\r\n") << "Home";
        QTest::newRow("empty") << "" << "" << QByteArray("|\r\n") << "";
        QTest::newRow("bar in name") << "Hotels in Rome | Best prices" << "http://r/?q=a|b"
                                     << QByteArray("Hotels in Rome \xc2\xa6 Best prices|http://r/?q=a%7Cb\r\n")
                                     << "Hotels in Rome ¦ Best prices";
        QTest::newRow("line breaks and NUL") << QStringLiteral("Two\r\nlines\n") + QChar(0) << "http://a/\rb\n"
                                             << QByteArray("Two  lines  |http://a/%20b%20\r\n") << "Two  lines  ";
        QTest::newRow("accents") << "Café München" << "http://m/é"
                                 << QByteArray("Caf\xc3\xa9 M\xc3\xbcnchen|http://m/%C3%A9\r\n") << "Café München";
        QTest::newRow("non-Latin") << "東京 Αθήνα" << "https://zh.velmora.example/wiki/北京"
                                   << QByteArray("\xe6\x9d\xb1\xe4\xba\xac \xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1"
                                                 "|https://zh.velmora.example/wiki/%E5%8C%97%E4%BA%AC\r\n")
                                   << "東京 Αθήνα";
        QTest::newRow("non-Latin host") << "B" << "https://北京.example/a b?q=é#ü"
                                        << QByteArray("B|https://xn--1lq90i.example/a%20b?q=%C3%A9#%C3%BC\r\n") << "B";
        QTest::newRow("stored form stays") << "C" << "https://h/%E5%8C%97?q=%7C&r=%25"
                                           << QByteArray("C|https://h/%E5%8C%97?q=%7C&r=%25\r\n") << "C";
        QTest::newRow("not an address QUrl takes") << "D" << "http://[bad/é" << QByteArray("D|http://[bad/%C3%A9\r\n") << "D";
        const QString huge(100 * 1024, QLatin1Char('n'));
        QTest::newRow("100 KB name") << huge << "http://h/" << huge.toLatin1() + "|http://h/\r\n" << huge;
    }
    void writeRecord()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, nameRead);
        QCOMPARE(bookmarkfile::encodeRecord(name, address), bytes);

        // An append adds exactly those bytes after what is there, and the
        // record reads back with the address as stored, which names the page
        // bookmarked.
        const QByteArray earlier("Old \xe9|o\r\n");
        writeFile(path(), earlier);
        QVERIFY(bookmarkfile::append(path(), name, address).ok());
        QCOMPARE(readFile(path()), earlier + bytes);
        const QString addressRead = QString::fromLatin1(bytes.mid(bytes.indexOf('|') + 1).chopped(2));
        QCOMPARE(flatten(bookmarkfile::read(path())), (QStringList{"Old é", "o", nameRead, addressRead}));
        QCOMPARE(QUrl(addressRead), QUrl(QString(address).replace(u'\r', u' ').replace(u'\n', u' ')));
    }

    // The writer for a system whose legacy code page is the one given: the
    // name goes out in it when that reads back as written, otherwise in UTF-8.
    void codePage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("codePage");
        QTest::addColumn<QByteArray>("bytes");   // the record's name part
        QTest::newRow("fits windows-1252") << "Café München € ?" << QByteArray("windows-1252")
                                           << QByteArray("Caf\xe9 M\xfcnchen \x80 ?");
        QTest::newRow("Polish in windows-1250") << "Łódź" << QByteArray("windows-1250") << QByteArray("\xa3\xf3\x64\x9f");
        QTest::newRow("Japanese, windows-1252 lacks it") << "東京" << QByteArray("windows-1252")
                                                         << QByteArray("\xe6\x9d\xb1\xe4\xba\xac");
        // C3 A9 in windows-1252 is also "é" in UTF-8: it would read back wrong.
        QTest::newRow("code-page bytes that read as UTF-8") << "Ã©" << QByteArray("windows-1252")
                                                            << QByteArray("\xc3\x83\xc2\xa9");
    }
    void codePage()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, codePage);
        QFETCH(QByteArray, bytes);
        const QString address = QStringLiteral("https://zh.velmora.example/wiki/北京");
        const QByteArray record = bookmarkfile::encodeRecord(name, address, codePage.constData());
        QCOMPARE(record, bytes + "|https://zh.velmora.example/wiki/%E5%8C%97%E4%BA%AC\r\n");
        // This system's reader takes windows-1252 for older records.
        if (codePage == "windows-1252")
            QCOMPARE(flatten(bookmarkfile::parse(record)), (QStringList{name, bookmarkfile::storedAddress(address)}));
    }

    void remove_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QByteArray>("after");   // a null array: the file is not rewritten
        QTest::newRow("rows 0 and 2 of four") << QByteArray("A|1\r\nB|2\r\nC|3\r\nD|4\r\n") << QStringList{"C", "3", "A", "1"}
                                              << QByteArray("B|2\r\nD|4\r\n");
        QTest::newRow("every row") << QByteArray("A|1\r\nB|2\r\n") << QStringList{"B", "2", "A", "1"} << QByteArray("");
        QTest::newRow("other lines byte for byte")
            << QByteArray("  A|1\nno bar\r\n\r\nB|2\r\nCaf\xe9|3") << QStringList{"B", "2"}
            << QByteArray("  A|1\nno bar\r\n\r\nCaf\xe9|3");
        QTest::newRow("matched as read") << QByteArray("   A|1\r\nCaf\xe9|2\r\nB|3") << QStringList{"A", "1", "Café", "2"}
                                         << QByteArray("B|3");
        QTest::newRow("last line without line end") << QByteArray("A|1\r\nB|2") << QStringList{"B", "2"} << QByteArray("A|1\r\n");
        QTest::newRow("one of two duplicates") << QByteArray("A|1\r\nA|1\r\n") << QStringList{"A", "1"} << QByteArray("A|1\r\n");
        QTest::newRow("same name, other address") << QByteArray("A|1\r\nA|2\r\n") << QStringList{"A", "2"} << QByteArray("A|1\r\n");
        QTest::newRow("record no longer there") << QByteArray("A|1\r\n") << QStringList{"B", "2"} << QByteArray();
        QTest::newRow("no file") << QByteArray() << QStringList{"A", "1"} << QByteArray();
    }
    void remove()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, removed);
        if (!file.isNull())
            writeFile(path(), file);
        const QDateTime aged = file.isNull() ? QDateTime() : ageFile(path());
        QVERIFY(bookmarkfile::remove(path(), records(removed)).ok());
        QCOMPARE(readFile(path()), after.isNull() ? file : after);
        QCOMPARE(QFileInfo::exists(path()), !file.isNull());
        if (after.isNull() && !file.isNull())
            QCOMPARE(QFileInfo(path()).lastModified(), aged);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("place");       // what stands where the file should be
        QTest::addColumn<QString>("operation");
        QTest::newRow("append: the folder is a file") << "folder is a file" << "append";
        QTest::newRow("append: the file is a folder") << "file is a folder" << "append";
        QTest::newRow("append: the record cannot be written") << "size limit" << "append";
        QTest::newRow("append: another process holds the lock") << "busy" << "append";
        QTest::newRow("read: the file is a folder") << "file is a folder" << "read";
        QTest::newRow("remove: the file is a folder") << "file is a folder" << "remove";
        QTest::newRow("remove: the rewrite cannot be written") << "size limit" << "remove";
        QTest::newRow("remove: another process holds the lock") << "busy" << "remove";
        QTest::newRow("remove: the file may not be replaced") << "append only" << "remove";
#ifndef _WIN32
        for (const QString &kind : PlantedLock::kinds()) {
            for (const char *operation : {"append", "remove"})
                QTest::addRow("%s: %s", operation, qPrintable(kind)) << kind << operation;
        }
#endif
    }
    void failures()
    {
        QFETCH(QString, place);
        QFETCH(QString, operation);
        // Larger than the lock file, so that a size limit the lock file fits
        // under stops the rewrite.
        const QByteArray content = "A|1\r\nB|2\r\nC|" + QByteArray(2 * LockFileRoom, 'c') + "\r\n";
        QString target = path();
        if (place == "folder is a file")
            target = dir.filePath(QStringLiteral("folder/bookmark.dat"));
        const QString standing = place == "folder is a file" ? dir.filePath(QStringLiteral("folder")) : path();
        if (place == "file is a folder")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("bookmark.dat")));
        else
            writeFile(standing, content);

        const QDateTime aged = place == "file is a folder" ? QDateTime() : ageFile(standing);
        const AppendOnly appendOnly(place == "append only" ? standing : QString());
        if (place == "append only" && !appendOnly.isSet())
            QSKIP("needs a file system and rights that make a file append-only");
        bookmarkfile::Result result;
        const auto run = [&] {
            if (operation == "append")
                result = bookmarkfile::append(target, QStringLiteral("New"), QStringLiteral("n"));
            else if (operation == "read")
                QCOMPARE(bookmarkfile::read(target, &result).size(), size_t(0));
            else
                result = bookmarkfile::remove(target, records({"B", "2"}));
        };
#ifdef _WIN32
        if (place == "size limit")
            QSKIP("needs a file size limit");
#endif
        const bool planted = place.startsWith("lock") || place.contains("stale lock");
        {
            // A size limit leaves room for part of what is written, as on a
            // disk that fills up.
            FailingChanges failing(place, path(), operation == "remove" ? LockFileRoom : content.size() + 3);
            run();
            // Refused, not opened: nothing waited on a pipe, and whatever
            // stood in the lock's place still stands as it did.
            QVERIFY(failing.plantUntouched());
        }
        QVERIFY(!result.ok());
        QCOMPARE(result.busy, place == "busy");
        qInfo("%s", qPrintable(result.error));
        if (planted) {
            // Named, and never opened for writing.
            const QString lock = QDir::toNativeSeparators(path() + (place.contains("stale lock") ? ".lock.rmlock" : ".lock"));
            QVERIFY2(result.error.contains(lock + " is a link, a pipe or a device"), qPrintable(result.error));
            QCOMPARE(QFileInfo(standing).lastModified(), aged);
        }
        // Whatever stood there is untouched, and no temporary or lock file is left.
        if (place != "file is a folder")
            QCOMPARE(readFile(standing), content);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).size(), 1);
    }

    // A portable copy in a folder others may write to: what another account
    // puts in the file's place is refused at once and named, nothing is read
    // from it or written through it, and the call never waits on a pipe.
    void plantedFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("at");   // appended to the file's path: where the plant stands
#ifndef _WIN32
        for (const QString &kind : PlantedFile::kinds()) {
            for (const char *operation : {"read", "append", "remove", "rewrite", "seed"})
                QTest::addRow("%s: %s", operation, qPrintable(kind)) << kind << operation << QString();
        }
        // Another user's lock, or file where a stale lock is taken over, would keep every change waiting.
        for (const char *at : {".lock", ".lock.rmlock"}) {
            for (const char *operation : {"append", "remove", "rewrite", "seed"}) {
                if (geteuid() == 0)
                    QTest::addRow("%s: another user's file at %s", operation, at) << "another user's file" << operation << at;
            }
        }
#endif
    }
    void plantedFile()
    {
#ifdef _WIN32
        QSKIP("links, pipes and owners are Unix's here");
#else
        QFETCH(QString, kind);
        QFETCH(QString, operation);
        QFETCH(QString, at);
        // What a followed link would run at the user's next login.
        const QByteArray script("A|1\r\necho $(id)\r\n");
        PlantedFile plant(kind, path() + at, script);
        bookmarkfile::Result result;
        if (operation == "read")
            QCOMPARE(flatten(bookmarkfile::read(path(), &result)), QStringList());
        else if (operation == "append")
            result = bookmarkfile::append(path(), QStringLiteral("$(id>/tmp/x) #"), QStringLiteral("http://a/"));
        else if (operation == "remove")
            result = bookmarkfile::remove(path(), records({"A", "1"}));
        else if (operation == "rewrite")
            result = bookmarkfile::rewrite(path(), "B|2\r\n");
        else
            result = bookmarkfile::seed(path(), dir.filePath(QStringLiteral("none/bookmark.dat")));
        QVERIFY(plant.untouched());
        QVERIFY2(result.error.contains(QDir::toNativeSeparators(path() + at) + PlantedFile::why(kind)), qPrintable(result.error));
#endif
    }

    // A user's file starts as a copy of the one installed beside the program,
    // and only of a file installed there: nothing that makes the copy hang,
    // eat memory or hand on what another account wrote. The new file is its
    // user's alone whatever the umask; one already there is left as it is.
    void seed_data()
    {
        QTest::addColumn<QString>("source");   // what stands beside the program
        QTest::addColumn<bool>("copied");      // false: the user's file starts empty
        QTest::newRow("installed file") << "installed" << true;
        QTest::newRow("installed file of exactly 16 MiB") << "16 MiB" << true;
        QTest::newRow("nothing") << "none" << false;
        QTest::newRow("link to /dev/zero") << "link to /dev/zero" << false;
        QTest::newRow("pipe") << "pipe" << false;
        QTest::newRow("larger than 16 MiB") << "16 MiB and a byte" << false;
        QTest::newRow("owned by another account") << "not root's" << false;
        QTest::newRow("writable by its group") << "group may write" << false;
        QTest::newRow("the user's file is there already") << "user's own" << false;
    }
    void seed()
    {
#ifdef _WIN32
        QSKIP("owners, pipes and devices are not Windows'");
#else
        QFETCH(QString, source);
        QFETCH(bool, copied);
        if (copied && geteuid() != 0)
            QSKIP("only root can make a file that counts as installed");
        const QString beside = dir.filePath(QStringLiteral("program/bookmark.dat"));
        QVERIFY(QDir().mkpath(QFileInfo(beside).path()));
        const QByteArray records("A|1\r\nB|2\r\n");
        const QByteArray::size_type mib16 = 16 * 1024 * 1024;
        std::optional<PipeRelease> release;
        if (source == "link to /dev/zero") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), beside));
        } else if (source == "pipe") {
            QCOMPARE(mkfifo(QFile::encodeName(beside).constData(), 0644), 0);
            release.emplace(beside);
        } else if (source.contains("MiB")) {
            QFile sparse(beside);
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.write(records) == records.size());
            QVERIFY(sparse.resize(source == "16 MiB" ? mib16 : mib16 + 1));
        } else if (source != "none") {
            writeFile(beside, records);
        }
        if (source == "not root's")
            QCOMPARE(chown(QFile::encodeName(beside).constData(), 65534, 65534), 0);
        if (source != "none" && !source.startsWith("link"))
            QCOMPARE(chmod(QFile::encodeName(beside).constData(), source == "group may write" ? 0664 : 0644), 0);
        const QByteArray own("Mine|m\r\n");
        if (source == "user's own") {
            writeFile(path(), own);
            QCOMPARE(chmod(QFile::encodeName(path()).constData(), 0644), 0);
        }

        bookmarkfile::Result result;
        {
            Umask open(0);
            result = bookmarkfile::seed(path(), beside);
        }
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVERIFY(!release || !release->released());
        const QByteArray now = readFile(path());
        if (source == "user's own") {
            QCOMPARE(now, own);
            QCOMPARE(modeOf(path()), 0644);
            return;
        }
        QCOMPARE(modeOf(path()), 0600);
        if (!copied)
            QCOMPARE(now, QByteArray());
        else if (source == "installed")
            QCOMPARE(now, records);
        else
            QVERIFY(now.size() == mib16 && now.startsWith(records));
        // Seeded once: a later start leaves the user's file alone.
        QVERIFY(bookmarkfile::append(path(), QStringLiteral("New"), QStringLiteral("n")).ok());
        QVERIFY(bookmarkfile::seed(path(), beside).ok());
        QVERIFY(readFile(path()).endsWith("New|n\r\n"));
#endif
    }

    // A delete leaves the file with the group and mode it had; run by root,
    // with the owner as well.
    void removeKeepsOwnerAndMode()
    {
#ifdef _WIN32
        QSKIP("owners and modes are not Windows'");
#else
        writeFile(path(), "A|1\r\nB|2\r\n");
        const QByteArray native = QFile::encodeName(path());
        // Root's own file with another group: another user's is refused.
        const uid_t uid = geteuid();
        const gid_t gid = geteuid() == 0 ? 65534 : getegid();
        QCOMPARE(chown(native.constData(), uid, gid), 0);
        QCOMPARE(chmod(native.constData(), 0604), 0);
        QVERIFY(bookmarkfile::remove(path(), records({"B", "2"})).ok());
        QCOMPARE(readFile(path()), QByteArray("A|1\r\n"));
        struct stat after;
        QCOMPARE(stat(native.constData(), &after), 0);
        QCOMPARE(after.st_uid, uid);
        QCOMPARE(after.st_gid, gid);
        QCOMPARE(after.st_mode & 07777, mode_t(0604));
#endif
    }
};

VELMORA_TEST_MAIN(TestBookmarkFile)
#include "tst_bookmarkfile.moc"
