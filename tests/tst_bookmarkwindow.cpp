#include "bookmarkfixture.h"
#include "fakewebview.h"
#include "frmbookmark.h"
#include "frmmain.h"
#include "bookmarklocation.h"
#include "testmain.h"
#include "twips.h"
#include "widgetfixture.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace bookmarkfixture;

#ifndef _WIN32
// While it lives, a process running as root makes and opens files as the
// user nobody, to whom a folder only root may change is closed.
struct ActAsNobody
{
    const bool acting = geteuid() == 0;
    ActAsNobody()
    {
        if (acting && (setegid(65534) != 0 || seteuid(65534) != 0))
            qFatal("cannot act as nobody");
    }
    ~ActAsNobody()
    {
        if (acting && (seteuid(0) != 0 || setegid(0) != 0))
            qFatal("cannot act as root again");
    }
};
#endif

// The add-bookmark command and the bookmark window, driven through the main
// window's button and menus with a recording web view.
class TestBookmarkWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    std::unique_ptr<frmMain> window;
    FakeWebView *fake = nullptr;

    QString path() const { return dir.filePath(QStringLiteral("bookmark.dat")); }
    frmBookmark *open(bool view)
    {
        (view ? window->mnuViewBookMark : window->mnuDelBookMark)->trigger();
        return window->findChild<frmBookmark *>();
    }

    static QStringList texts(const QListWidget *list)
    {
        QStringList out;
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row)->text();
        return out;
    }

    static QList<Qt::CheckState> states(const QListWidget *list)
    {
        QList<Qt::CheckState> out;
        for (int row = 0; row < list->count(); ++row)
            out << list->item(row)->checkState();
        return out;
    }

    static void tick(frmBookmark *form, int row) { form->lstBookmark->item(row)->setCheckState(Qt::Checked); }

private slots:
    void init()
    {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) {
                fake = new FakeWebView(parent);
                fake->url = QStringLiteral("http://127.0.0.1:9/hotel?id=7");
                fake->name = QStringLiteral("Hotel Seven");
                return fake;
            },
            QStringLiteral("http://127.0.0.1:9/home"), nullptr, dir.path());
        window->Form_Load();
        fake->calls.clear();
    }
    void cleanup()
    {
        window.reset();
        qputenv("XDG_DATA_HOME", dataHome);
        QFile::setPermissions(dir.filePath(QStringLiteral("program")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void addCommand_data()
    {
        QTest::addColumn<QString>("pageName");
        QTest::addColumn<QString>("answer");     // "default", "cancel", "close" or the text typed
        QTest::addColumn<bool>("viaMenu");
        QTest::addColumn<QByteArray>("file");    // a null array: no file written
        const QByteArray record("|http://127.0.0.1:9/hotel?id=7\r\n");
        QTest::newRow("default accepted") << "Hotel Seven" << "default" << false << "Hotel Seven" + record;
        QTest::newRow("from the menu") << "Hotel Seven" << "default" << true << "Hotel Seven" + record;
        QTest::newRow("edited name") << "Hotel Seven" << "My hotel" << false << "My hotel" + record;
        QTest::newRow("blanked") << "Hotel Seven" << "" << false << QByteArray();
        QTest::newRow("spaces only") << "Hotel Seven" << "   " << false << "   " + record;
        QTest::newRow("cancelled") << "Hotel Seven" << "cancel" << false << QByteArray();
        QTest::newRow("closed") << "Hotel Seven" << "close" << true << QByteArray();
        QTest::newRow("empty page name") << "" << "default" << false << QByteArray();
        QTest::newRow("bar in page name") << "Rome | Best prices" << "default" << false
                                          << "Rome \xc2\xa6 Best prices" + record;
    }
    void addCommand()
    {
        QFETCH(QString, pageName);
        QFETCH(QString, answer);
        QFETCH(QByteArray, file);
        fake->name = pageName;
        QString prompt, caption, defaultText;
        QPoint corner;
        DialogAnswer answering([&](QWidget *dialog) {
            auto *input = qobject_cast<QInputDialog *>(dialog);
            QVERIFY(input);
            prompt = input->labelText();
            caption = input->windowTitle();
            defaultText = input->textValue();
            corner = input->frameGeometry().topLeft();
            // The page changes while the prompt is open: the address was read before.
            fake->url = QStringLiteral("http://127.0.0.1:9/elsewhere");
            if (answer == "cancel")
                input->reject();
            else if (answer == "close")
                input->close();
            else {
                if (answer != "default")
                    input->findChild<QLineEdit *>()->setText(answer);
                input->accept();
            }
        });
        QFETCH(bool, viaMenu);
        if (viaMenu)
            window->mnuAddBookMark->trigger();
        else
            window->cmdAddBookmark->click();
        QVERIFY(answering.answered());
        QCOMPARE(prompt, "Do you wish to bookmark " + pageName + "?");
        QCOMPARE(caption, QStringLiteral("Bookmark"));
        QCOMPARE(defaultText, pageName);
        const double perPx = twips::perPixel(window.get());
        QCOMPARE(corner, window->screen()->geometry().topLeft()
                             + QPoint(twips::toPixels(5000, perPx), twips::toPixels(5000, perPx)));
        QCOMPARE(fake->calls, (QStringList{"LocationURL", "LocationName", "LocationName"}));
        QCOMPARE(QFileInfo::exists(path()), !file.isNull());
        QCOMPARE(readFile(path()), file);
    }

    void addFailure_data()
    {
        QTest::addColumn<QString>("kind");   // "folder is a file" or how FailingChanges fails
        QTest::newRow("the folder is a file") << "folder is a file";
#ifndef _WIN32
        QTest::newRow("size limit part-way through the record") << "size limit";
#endif
        QTest::newRow("another process holds the lock") << "busy";
#ifndef _WIN32
        for (const QString &kind : PlantedLock::kinds())
            QTest::newRow(qPrintable(kind)) << kind;
#endif
    }
    void addFailure()
    {
        QFETCH(QString, kind);
        // Larger than a lock file, which must fit under the size limit.
        const QByteArray content = "A|1\r\n" + QByteArray(2 * LockFileRoom, 'a') + "|2\r\n";
        const QString folder = dir.filePath(QStringLiteral("folder"));
        const QString standing = kind == "folder is a file" ? folder : path();
        writeFile(standing, content);
        if (kind == "folder is a file")
            window->BookmarkFilePath = folder + QStringLiteral("/bookmark.dat");
        DialogCloser closer;
        QString error;
        {
            FailingChanges failing(kind, window->BookmarkFilePath, content.size() + 3);
            window->AddBookmarkEntry(QStringLiteral("N"), QStringLiteral("n"));
            error = bookmarkfile::append(window->BookmarkFilePath, QStringLiteral("N"), QStringLiteral("n")).error;
            QVERIFY(failing.plantUntouched());
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(closer.seen, QStringList{plainMessage(error)});
        QCOMPARE(readFile(standing), content);
        // Something in the lock's place is named as such, not taken for
        // another program at work.
        if (kind.contains("lock") && kind != "busy")
            QVERIFY2(error.contains(QStringLiteral("is a link, a pipe or a device")), qPrintable(error));
    }

    // Something another account put in bookmark.dat's place: the bookmark
    // window opens empty and says why.
    void plantedFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"link to a file", "pipe", "folder"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }
    void plantedFile()
    {
#ifdef _WIN32
        QSKIP("links and pipes are Unix's here");
#else
        QFETCH(QString, kind);
        const PlantedFile plant(kind, path(), "A|1\r\n");
        DialogCloser closer;
        QPointer<frmBookmark> form = open(true);
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->lstGo->count(), 0);
        QTRY_COMPARE(closer.seen.size(), 1);
        QVERIFY2(closer.seen.first().contains(QDir::toNativeSeparators(path()) + PlantedFile::why(kind)),
                 qPrintable(closer.seen.first()));
        QVERIFY(plant.untouched());
#endif
    }

    // An address outside ASCII and a name in another script go into the
    // file, come back in the bookmark window and open the same page.
    void nonLatinRoundTrip()
    {
        fake->url = QStringLiteral("https://zh.velmora.example/wiki/北京");
        fake->name = QStringLiteral("北京 – 城市指南");
        DialogAnswer accept([](QWidget *dialog) { static_cast<QDialog *>(dialog)->accept(); });
        window->cmdAddBookmark->click();
        QVERIFY(accept.answered());
        QCOMPARE(readFile(path()), QStringLiteral("北京 – 城市指南|https://zh.velmora.example/wiki/%E5%8C%97%E4%BA%AC\r\n").toUtf8());

        QPointer<frmBookmark> form = open(true);
        QCOMPARE(texts(form->lstGo), QStringList{fake->name});
        form->lstGo->setCurrentRow(0);
        fake->calls.clear();
        form->cmdGo->click();
        QCOMPARE(fake->calls, QStringList{"Navigate(https://zh.velmora.example/wiki/%E5%8C%97%E4%BA%AC)"});
        QCOMPARE(QUrl::fromUserInput(QStringLiteral("https://zh.velmora.example/wiki/%E5%8C%97%E4%BA%AC")),
                 QUrl::fromUserInput(fake->url));
    }

    // Where the program's folder cannot be written (an installed copy), the
    // bookmarks are the user's own, in a folder and a file only they may
    // read, whatever the umask; the file starts from the one installed
    // beside the program, never from one an account put there.
    void installedCopy_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QByteArray>("beside");     // beside the program; null: none
        QTest::addColumn<bool>("besideRoots");      // the file beside the program is root's, as installed
        QTest::addColumn<QByteArray>("own");        // in the user's folder; null: none
        QTest::addColumn<QByteArray>("ownAfter");   // null: never made
        const QByteArray a("A|1\r\n"), added("New|n\r\n");
        QTest::newRow("writable: beside the program") << true << a << true << QByteArray() << QByteArray();
        QTest::newRow("installed: starts from the program's file") << false << a << true << QByteArray() << a + added;
        QTest::newRow("installed: the user's file is there already")
            << false << a << true << QByteArray("B|2\r\n") << "B|2\r\n" + added;
        QTest::newRow("installed: nothing beside the program") << false << QByteArray() << true << QByteArray() << added;
        QTest::newRow("installed: a file an account put beside the program")
            << false << a << false << QByteArray() << added;
    }
    void installedCopy()
    {
#ifdef _WIN32
        QSKIP("folder modes are not Windows'");
#else
        QFETCH(bool, writable);
        QFETCH(QByteArray, beside);
        QFETCH(bool, besideRoots);
        QFETCH(QByteArray, own);
        if (besideRoots && !beside.isNull() && geteuid() != 0)
            QSKIP("only root can make a file that counts as installed");
        const QString program = dir.filePath(QStringLiteral("program")), data = dir.filePath(QStringLiteral("data"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        const QString besidePath = program + QStringLiteral("/bookmark.dat"), ownPath = userFolder + QStringLiteral("/bookmark.dat");
        QVERIFY(QDir().mkpath(program) && QDir().mkpath(data));
        if (!beside.isNull())
            writeFile(besidePath, beside);
        if (!own.isNull() && QDir().mkpath(userFolder))
            writeFile(ownPath, own);
        // Open to anyone but the program folder, which only root may change
        // when it is not writable, and a file installed in it.
        for (const QString &open : {dir.path(), data, userFolder, ownPath})
            chmod(QFile::encodeName(open).constData(), 0777);
        chmod(QFile::encodeName(besidePath).constData(), writable ? 0666 : 0644);
        if (!besideRoots)
            QCOMPARE(chown(QFile::encodeName(besidePath).constData(), 65534, 65534), 0);
        chmod(QFile::encodeName(program).constData(), writable ? 0777 : 0555);
        DialogCloser closer;
        {
            ActAsNobody nobody;
            Umask open(0);
            window->BookmarkFilePath = SetBookmarkPath(program);
            QCOMPARE(window->BookmarkFilePath, QDir::toNativeSeparators(writable ? besidePath : ownPath));
            window->AddBookmarkEntry(QStringLiteral("New"), QStringLiteral("n"));
            // Again, as each bookmark window does: the user's file is not started over.
            SetBookmarkPath(program);
        }
        QCOMPARE(closer.seen, QStringList());
        QCOMPARE(readFile(besidePath), writable ? beside + "New|n\r\n" : beside);
        QFETCH(QByteArray, ownAfter);
        QCOMPARE(QFileInfo::exists(ownPath), !ownAfter.isNull());
        QCOMPARE(readFile(ownPath), ownAfter);
        if (!writable && own.isNull()) {
            QCOMPARE(modeOf(userFolder), 0700);
            QCOMPARE(modeOf(ownPath), 0600);
        }
#endif
    }

    void modes_data()
    {
        QTest::addColumn<bool>("view");
        QTest::addColumn<QByteArray>("file");
        const QByteArray three("One|1\r\nTwo|2\r\nThree|3\r\n");
        QTest::newRow("view mode") << true << three;
        QTest::newRow("delete mode") << false << three;
        QTest::newRow("view mode, no file") << true << QByteArray();
        QTest::newRow("delete mode, no file") << false << QByteArray();
    }
    void modes()
    {
        QFETCH(bool, view);
        QFETCH(QByteArray, file);
        if (!file.isNull())
            writeFile(path(), file);
        frmBookmark *form = open(view);
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window->GoBookMark, view);
        QCOMPARE(form->windowTitle(), QStringLiteral(" Bookmark"));
        QCOMPARE(form->windowType(), Qt::Tool);
        QCOMPARE(form->windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
                 Qt::WindowCloseButtonHint);
        const double perPx = twips::perPixel(form);
        QCOMPARE(form->size(), twips::rect(0, 0, 5805, 4125, perPx).size());
        QVERIFY2((form->geometry().center() - form->screen()->geometry().center()).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2 %3x%4").arg(form->x()).arg(form->y()).arg(form->width()).arg(form->height())));

        struct Control
        {
            QWidget *widget;
            QRect twips;
            const char *caption;
            bool inView, inDelete;
        };
        const Control table[] = {
            {form->lstBookmark, {0, 0, 5775, 3405}, "", false, true},
            {form->cmdDelete, {3240, 3600, 735, 375}, "&Delete", false, true},
            {form->cmdClose, {5040, 3600, 735, 375}, "&Close", true, true},
            {form->cmdAll, {1320, 3600, 855, 375}, "&Select All", false, true},
            {form->cmdClear, {2280, 3600, 855, 375}, "&Clear", false, true},
            {form->lstURL, {240, 120, 3855, 1425}, "", false, false},
            {form->cmdGo, {4080, 3600, 855, 375}, "&Go", true, false},
            {form->lstGo, {0, 0, 5775, 3375}, "", true, false},
        };
        QWidgetList tabbed;   // the tab order is the table's order
        for (const Control &c : table) {
            const QByteArray name = c.widget->objectName().toLatin1();
            const QRect &tw = c.twips;
            QVERIFY2(c.widget->geometry() == twips::rect(tw.x(), tw.y(), tw.width(), tw.height(), perPx), name);
            QVERIFY2(c.widget->isVisible() == (view ? c.inView : c.inDelete), name);
            if (auto *button = qobject_cast<QPushButton *>(c.widget))
                QCOMPARE(button->text(), QString::fromLatin1(c.caption));
            tabbed << c.widget;
        }
        QWidget *first = tabbed.takeFirst();
        QCOMPARE(tabOrder(first, tabbed.size()), tabbed);

        QListWidget *names = view ? form->lstGo : form->lstBookmark;
        const QStringList expected = file.isNull() ? QStringList() : QStringList{"One", "Two", "Three"};
        QCOMPARE(texts(names), expected);
        QCOMPARE(texts(form->lstURL), file.isNull() ? QStringList() : (QStringList{"1", "2", "3"}));
        QCOMPARE((view ? form->lstBookmark : form->lstGo)->count(), 0);
        QVERIFY(names->selectedItems().isEmpty());
        for (int row = 0; row < names->count(); ++row)   // check boxes in delete mode only
            QCOMPARE(names->item(row)->data(Qt::CheckStateRole).isValid(), !view);
    }

    void selectAllThenClear()
    {
        writeFile(path(), "A|1\r\nB|2\r\nC|3\r\n");
        frmBookmark *form = open(false);
        tick(form, 1);
        QList<int> visited;
        connect(form->lstBookmark, &QListWidget::itemChanged, form,
                [&](QListWidgetItem *item) { visited << form->lstBookmark->row(item); });
        form->cmdAll->click();
        QCOMPARE(visited, (QList<int>{2, 0}));   // from the last row; row 1 was ticked already
        QCOMPARE(states(form->lstBookmark), QList<Qt::CheckState>(3, Qt::Checked));
        visited.clear();
        form->cmdClear->click();
        QCOMPARE(visited, (QList<int>{2, 1, 0}));
        QCOMPARE(states(form->lstBookmark), QList<Qt::CheckState>(3, Qt::Unchecked));
    }

    void deleteRows_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<int>>("ticked");   // empty with selectAll: Select All
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<bool>("addWhileOpen");
        QTest::addColumn<QString>("failure");     // how FailingChanges makes the rewrite fail; empty: it does not
        QTest::addColumn<QStringList>("rows");    // name list after the delete
        QTest::addColumn<QStringList>("urls");    // lstURL after the delete
        QTest::addColumn<QByteArray>("after");    // a null array: the file is not rewritten
        const QByteArray four("A|1\r\nB|2\r\nC|3\r\nD|4\r\n");
        const QStringList names{"A", "B", "C", "D"}, urls{"1", "2", "3", "4"};
        QTest::newRow("rows 0 and 2 of four") << four << QList<int>{0, 2} << false << false << QString()
                                              << QStringList{"B", "D"} << QStringList{"2", "4"}
                                              << QByteArray("B|2\r\nD|4\r\n");
        QTest::newRow("select all") << four << QList<int>{} << true << false << QString() << QStringList{}
                                    << QStringList{} << QByteArray("");
        QTest::newRow("nothing ticked") << four << QList<int>{} << false << false << QString() << names << urls
                                        << QByteArray();
        QTest::newRow("added while open survives") << four << QList<int>{3} << false << true << QString()
                                                   << names.mid(0, 3) << urls.mid(0, 3)
                                                   << QByteArray("A|1\r\nB|2\r\nC|3\r\nNew|n\r\n");
        QTest::newRow("malformed lines survive") << QByteArray("A|1\r\nno bar\r\n\r\nB, C|2") << QList<int>{1}
                                                 << false << false << QString() << QStringList{"A"} << QStringList{"1"}
                                                 << QByteArray("A|1\r\nno bar\r\n\r\n");
        // The message, and the lists show what the file still holds. What is
        // left after the delete is larger than the lock file, which must fit
        // under the size limit.
        const QString longD(2 * LockFileRoom, u'd');
        const QByteArray fourLong = "A|1\r\nB|2\r\nC|3\r\nD|" + longD.toLatin1() + "\r\n";
#ifndef _WIN32
        QTest::newRow("failed rewrite") << fourLong << QList<int>{1, 2} << false << false << "size limit" << names
                                        << QStringList{"1", "2", "3", longD} << QByteArray();
#endif
        QTest::newRow("file busy") << fourLong << QList<int>{1, 2} << false << false << "busy" << names
                                   << QStringList{"1", "2", "3", longD} << QByteArray();
#ifndef _WIN32
        QTest::newRow("a pipe in the lock's place") << fourLong << QList<int>{1, 2} << false << false
                                                    << "lock links to a pipe" << names
                                                    << QStringList{"1", "2", "3", longD} << QByteArray();
#endif
    }
    void deleteRows()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, ticked);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, rows);
        QFETCH(QString, failure);
        writeFile(path(), file);
        const QDateTime aged = ageFile(path());
        frmBookmark *form = open(false);
        QFETCH(bool, addWhileOpen);
        if (addWhileOpen)
            window->AddBookmarkEntry(QStringLiteral("New"), QStringLiteral("n"));
        const QByteArray before = readFile(path());
        QFETCH(bool, selectAll);
        if (selectAll)
            form->cmdAll->click();
        for (int row : ticked)
            tick(form, row);
        DialogCloser closer;
        {
            FailingChanges failing(failure, path());
            form->cmdDelete->click();
            QVERIFY(failing.plantUntouched());
        }
        if (!failure.isEmpty()) {
            QCOMPARE(closer.seen.size(), 1);
            QVERIFY(closer.seen.first().startsWith(plainMessage(QString())));
            QVERIFY(closer.seen.first() != plainMessage(QString()));
            QCOMPARE(closer.seen.first().contains(QStringLiteral("busy")), failure == "busy");
        } else {
            QCOMPARE(closer.seen, QStringList());
        }
        QVERIFY(form->isVisible());
        QCOMPARE(texts(form->lstBookmark), rows);
        QTEST(texts(form->lstURL), "urls");
        QCOMPARE(states(form->lstBookmark), QList<Qt::CheckState>(rows.size(), Qt::Unchecked));
        QVERIFY(QFileInfo::exists(path()));
        QCOMPARE(readFile(path()), after.isNull() ? before : after);
        if (after.isNull())
            QCOMPARE(QFileInfo(path()).lastModified(), aged);
    }

    void go_data()
    {
        QTest::addColumn<int>("row");   // -1: no row chosen
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("refused"); // the view will not open the address
        QTest::addColumn<QString>("message"); // what the user is told; null: nothing
        QTest::newRow("second row, then Go") << 1 << false << QStringList{"Navigate(http://two/)"} << false
                                             << QString();
        QTest::newRow("double-click on the third row")
            << 2 << true << QStringList{"Navigate(http://three/?a=1,2)"} << false << QString();
        QTest::newRow("no row") << -1 << false << QStringList{} << false << QString();
        QTest::newRow("row without address") << 3 << false << QStringList{} << false << QString();
        QTest::newRow("address refused") << 0 << false << QStringList{"Navigate(http://one/)"} << true
                                         << "Navigate(http://one/) failed";
        QTest::newRow("script refused, double-click")
            << 4 << true << QStringList{"Navigate(javascript:alert(<b>1</b>))"} << true
            << "Navigate(javascript:alert(<b>1</b>)) failed";
    }
    void go()
    {
        QFETCH(int, row);
        writeFile(path(), "One|http://one/\r\nTwo|http://two/\r\nThree|http://three/?a=1,2\r\nEmpty|\r\n"
                          "Script|javascript:alert(<b>1</b>)\r\n");
        QPointer<frmBookmark> form = open(true);
        QFETCH(bool, doubleClick);
        QFETCH(bool, refused);
        fake->fail = refused;
        QStringList told;
        bool openWhileTold = false, plainText = false;
        DialogAnswer answering([&](QWidget *dialog) {
            told << describeDialog(dialog);
            openWhileTold = form && form->isVisible();
            auto *box = qobject_cast<QMessageBox *>(dialog);
            plainText = box && box->textFormat() == Qt::PlainText;   // the address is the page's text
            dialog->close();
        });
        if (row >= 0) {
            const QRect cell = form->lstGo->visualItemRect(form->lstGo->item(row));
            QTest::mouseClick(form->lstGo->viewport(), Qt::LeftButton, {}, cell.center());
            QCOMPARE(form->lstURL->currentRow(), row);
            if (doubleClick)
                QTest::mouseDClick(form->lstGo->viewport(), Qt::LeftButton, {}, cell.center());
        }
        if (!doubleClick)
            form->cmdGo->click();
        QVERIFY(!form->isVisible());
        QTEST(fake->calls, "calls");
        QFETCH(QString, message);
        // The reason comes while the window is still there, then it closes.
        QCOMPARE(told, message.isNull() ? QStringList() : QStringList{plainMessage(message)});
        QCOMPARE(openWhileTold, !message.isNull());
        QCOMPARE(plainText, !message.isNull());
        QTRY_VERIFY(form.isNull());
    }

    void goGivesThePageTheKeys_data()
    {
        QTest::addColumn<QString>("how");   // "Go", "double-click" or "Return"
        QTest::addColumn<int>("row");       // -1: no row chosen
        QTest::addColumn<bool>("refused");
        QTest::addColumn<bool>("toPage");   // false: the keys stay where they were
        QTest::newRow("Go") << "Go" << 1 << false << true;
        QTest::newRow("double-click") << "double-click" << 0 << false << true;
        QTest::newRow("Return") << "Return" << 1 << false << true;
        QTest::newRow("refused") << "Go" << 1 << true << false;
        QTest::newRow("no row") << "Go" << -1 << false << false;
    }
    void goGivesThePageTheKeys()
    {
        QFETCH(QString, how);
        QFETCH(int, row);
        QFETCH(bool, refused);
        writeFile(path(), "One|http://one/\r\nTwo|http://two/\r\n");
        // The user was last on the main window's buttons.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->cmdHome->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), window->cmdHome);
        QPointer<frmBookmark> form = open(true);
        QVERIFY(QTest::qWaitForWindowActive(form));
        fake->fail = refused;
        DialogCloser closer;
        if (row >= 0) {
            const QRect cell = form->lstGo->visualItemRect(form->lstGo->item(row));
            QTest::mouseClick(form->lstGo->viewport(), Qt::LeftButton, {}, cell.center());
            if (how == "double-click")
                QTest::mouseDClick(form->lstGo->viewport(), Qt::LeftButton, {}, cell.center());
            else if (how == "Return")
                QTest::keyClick(form->lstGo, Qt::Key_Return);
        }
        if (how == "Go")
            form->cmdGo->click();
        QTRY_VERIFY(form.isNull());
        QFETCH(bool, toPage);
        QWidget *keys = toPage ? static_cast<QWidget *>(fake) : window->cmdHome;
        QCOMPARE(window->focusWidget(), keys);
        // Once the main window is in front again, the keys go there.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTRY_COMPARE(QApplication::focusWidget(), keys);
    }

    // The keyboard starts on the list, and each row tells a screen reader
    // its address as well as its name.
    void startsOnItsList_data()
    {
        QTest::addColumn<bool>("view");
        QTest::newRow("view mode") << true;
        QTest::newRow("delete mode") << false;
    }
    void startsOnItsList()
    {
        QFETCH(bool, view);
        writeFile(path(), "One|http://one/\r\nTwo|http://two/\r\n");
        QPointer<frmBookmark> form = open(view);
        QListWidget *list = view ? form->lstGo : form->lstBookmark;
        QVERIFY(QTest::qWaitForWindowActive(form));
        QTRY_COMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->item(1)->data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("http://two/"));
    }

    void escapeCloses_data()
    {
        QTest::addColumn<bool>("view");
        QTest::addColumn<QString>("focus");   // the control that has the keyboard
        QTest::addColumn<int>("row");         // chosen (view mode) or ticked (delete mode); -1: none
        QTest::newRow("view mode, on the list") << true << "lstGo" << -1;
        QTest::newRow("view mode, a row chosen") << true << "lstGo" << 1;
        QTest::newRow("view mode, on Go") << true << "cmdGo" << 1;
        QTest::newRow("view mode, on Close") << true << "cmdClose" << -1;
        QTest::newRow("delete mode, on the list") << false << "lstBookmark" << -1;
        QTest::newRow("delete mode, a row ticked") << false << "lstBookmark" << 0;
        QTest::newRow("delete mode, on Delete") << false << "cmdDelete" << 1;
        QTest::newRow("delete mode, on Select All") << false << "cmdAll" << -1;
    }
    void escapeCloses()
    {
        QFETCH(bool, view);
        QFETCH(QString, focus);
        QFETCH(int, row);
        const QByteArray file("One|http://one/\r\nTwo|http://two/\r\n");
        writeFile(path(), file);
        QPointer<frmBookmark> form = open(view);
        if (row >= 0 && view)
            form->lstGo->setCurrentRow(row);
        if (row >= 0 && !view)
            tick(form, row);
        auto *target = form->findChild<QWidget *>(focus);
        QVERIFY(target);
        DialogCloser closer;
        QTest::keyClick(target, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QTRY_VERIFY(form.isNull());
        // Esc is Close: nothing opened, nothing deleted, nothing said.
        QCOMPARE(fake->calls, QStringList());
        QCOMPARE(readFile(path()), file);
        QCOMPARE(closer.seen, QStringList());
    }

    void returnKey_data()
    {
        QTest::addColumn<bool>("view");
        QTest::addColumn<QString>("reach");   // how the row became the keyboard's: "click", "arrows", "tab",
                                              // "tick" (delete mode); empty: it did not
        QTest::addColumn<int>("row");         // -1: the list has no current row
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("closes");
        const QStringList none;
        QTest::newRow("Return on a clicked row") << true << "click" << 1 << int(Qt::Key_Return)
                                                 << QStringList{"Navigate(http://two/)"} << true;
        QTest::newRow("keypad Enter after the arrow keys") << true << "arrows" << 2 << int(Qt::Key_Enter)
                                                           << QStringList{"Navigate(http://three/?a=1,2)"} << true;
        QTest::newRow("Return on the row the focus came to") << true << "tab" << 0 << int(Qt::Key_Return)
                                                             << QStringList{"Navigate(http://one/)"} << true;
        QTest::newRow("Return on a row without address") << true << "click" << 3 << int(Qt::Key_Return) << none
                                                         << true;
        QTest::newRow("Return with no row") << true << "" << -1 << int(Qt::Key_Return) << none << false;
        QTest::newRow("delete mode, Return on a ticked row") << false << "tick" << 1 << int(Qt::Key_Return) << none
                                                             << false;
        QTest::newRow("delete mode, Enter") << false << "tick" << 0 << int(Qt::Key_Enter) << none << false;
    }
    void returnKey()
    {
        QFETCH(bool, view);
        QFETCH(QString, reach);
        QFETCH(int, row);
        QFETCH(int, key);
        const QByteArray file("One|http://one/\r\nTwo|http://two/\r\nThree|http://three/?a=1,2\r\nEmpty|\r\n");
        writeFile(path(), file);
        QPointer<frmBookmark> form = open(view);
        QListWidget *list = view ? form->lstGo : form->lstBookmark;
        const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        if (reach == "click") {
            const QRect cell = list->visualItemRect(list->item(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        } else if (reach == "arrows") {
            for (int step = 0; step <= row; ++step)
                QTest::keyClick(list, Qt::Key_Down);
        } else if (reach == "tab") {
            // Tab into the list makes its first row current without choosing it.
            list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
        } else if (reach == "tick") {
            tick(form, row);
        }
        if (view)
            QCOMPARE(list->currentRow(), row);
        DialogCloser closer;
        QTest::keyClick(list, Qt::Key(key), keypad);
        QTEST(fake->calls, "calls");
        QFETCH(bool, closes);
        if (closes) {
            QVERIFY(!form->isVisible());
            QTRY_VERIFY(form.isNull());
        } else {
            QVERIFY(form->isVisible());
            QCOMPARE(list->count(), 4);
        }
        QCOMPARE(readFile(path()), file);
        QCOMPARE(closer.seen, QStringList());
    }

    void showingAgainKeepsTheWindow()
    {
        writeFile(path(), "A|1\r\nB|2\r\n");
        QPointer<frmBookmark> form = open(false);
        tick(form, 1);
        window->AddBookmarkEntry(QStringLiteral("New"), QStringLiteral("n"));
        QCOMPARE(open(true), form.data());
        QVERIFY(window->GoBookMark);
        QVERIFY(form->lstBookmark->isVisible() && !form->lstGo->isVisible() && form->cmdDelete->isVisible());
        QCOMPARE(texts(form->lstBookmark), (QStringList{"A", "B"}));
        QCOMPARE(form->lstBookmark->item(1)->checkState(), Qt::Checked);

        form->cmdClose->click();
        QTRY_VERIFY(form.isNull());
        form = open(true);
        QCOMPARE(texts(form->lstGo), (QStringList{"A", "B", "New"}));
        QVERIFY(form->lstGo->isVisible() && !form->lstBookmark->isVisible());
    }
};

VELMORA_TEST_MAIN(TestBookmarkWindow)
#include "tst_bookmarkwindow.moc"
