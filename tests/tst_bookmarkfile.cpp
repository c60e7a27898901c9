#include "bookmarkfile.h"
#include "bookmarkfixture.h"
#include "testmain.h"

#include <QDir>
#include <QTemporaryDir>

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
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("nameRead");
        QTest::newRow("plain") << "Home" << "http://h/?a=1,2" << QByteArray("Home|http://h/?a=1,2\r\n") << "Home";
        QTest::newRow("empty") << "" << "" << QByteArray("|\r\n") << "";
        QTest::newRow("bar in name") << "Hotels in Rome | Best prices" << "http://r/?q=a|b"
                                     << QByteArray("Hotels in Rome \xc2\xa6 Best prices|http://r/?q=a|b\r\n")
                                     << "Hotels in Rome ¦ Best prices";
        QTest::newRow("line breaks and NUL") << QStringLiteral("Two\r\nlines\n") + QChar(0) << "http://a/\rb\n"
                                             << QByteArray("Two  lines  |http://a/ b \r\n") << "Two  lines  ";
        QTest::newRow("accents") << "Café München" << "http://m/é"
                                 << QByteArray("Caf\xc3\xa9 M\xc3\xbcnchen|http://m/\xc3\xa9\r\n") << "Café München";
        QTest::newRow("non-Latin") << "東京 Αθήνα" << "http://t/"
                                   << QByteArray("\xe6\x9d\xb1\xe4\xba\xac \xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1|http://t/\r\n")
                                   << "東京 Αθήνα";
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
        // record reads back with its own address.
        const QByteArray earlier("Old \xe9|o\r\n");
        writeFile(path(), earlier);
        QVERIFY(bookmarkfile::append(path(), name, address).ok());
        QCOMPARE(readFile(path()), earlier + bytes);
        const QString addressRead = QString(address).replace(u'\r', u' ').replace(u'\n', u' ');
        QCOMPARE(flatten(bookmarkfile::read(path())), (QStringList{"Old é", "o", nameRead, addressRead}));
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
        QTest::newRow("append: the record cannot be written") << "too large to write" << "append";
        QTest::newRow("read: the file is a folder") << "file is a folder" << "read";
        QTest::newRow("remove: the file is a folder") << "file is a folder" << "remove";
        QTest::newRow("remove: the rewrite cannot be written") << "too large to write" << "remove";
    }
    void failures()
    {
        QFETCH(QString, place);
        QFETCH(QString, operation);
        const QByteArray content("A|1\r\nB|2\r\nC|3\r\n");
        QString target = path();
        if (place == "folder is a file")
            target = dir.filePath(QStringLiteral("folder/bookmark.dat"));
        const QString standing = place == "folder is a file" ? dir.filePath(QStringLiteral("folder")) : path();
        if (place == "file is a folder")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("bookmark.dat")));
        else
            writeFile(standing, content);

        bookmarkfile::Result result;
        const auto run = [&] {
            if (operation == "append")
                result = bookmarkfile::append(target, QStringLiteral("New"), QStringLiteral("n"));
            else if (operation == "read")
                QCOMPARE(bookmarkfile::read(target, &result).size(), size_t(0));
            else
                result = bookmarkfile::remove(target, records({"B", "2"}));
        };
        if (place == "too large to write") {
#ifdef _WIN32
            QSKIP("needs a file size limit");
#else
            // Room for part of what is written, as on a disk that fills up.
            FileSizeLimit limit(operation == "remove" ? 4 : content.size() + 3);
            run();
#endif
        } else {
            run();
        }
        QVERIFY(!result.ok());
        qInfo("%s", qPrintable(result.error));
        // Whatever stood there is untouched, and no temporary file is left.
        if (place != "file is a folder")
            QCOMPARE(readFile(standing), content);
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
    }
};

VELMORA_TEST_MAIN(TestBookmarkFile)
#include "tst_bookmarkfile.moc"
