#include "bookmarkfixture.h"
#include "fakewebview.h"
#include "frmbookmark.h"
#include "frmmain.h"
#include "ini.h"
#include "testmain.h"
#include "twips.h"
#include "widgetfixture.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include <memory>
#include <optional>

using namespace bookmarkfixture;

// The add-bookmark command and the bookmark window, driven through the main
// window's button and menus with a recording web view.
class TestBookmarkWindow : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
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
        ini::setProgramFolderForTesting(dir.path());
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) {
                fake = new FakeWebView(parent);
                fake->url = QStringLiteral("http://127.0.0.1:9/hotel?id=7");
                fake->name = QStringLiteral("Hotel Seven");
                return fake;
            },
            QStringLiteral("http://127.0.0.1:9/home"));
        window->Form_Load();
        fake->calls.clear();
    }
    void cleanup()
    {
        window.reset();
        ini::setProgramFolderForTesting(QString());
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

    void addFailure()
    {
        // The bookmark file's folder is a file: nothing can be appended.
        const QString folder = dir.filePath(QStringLiteral("folder"));
        writeFile(folder, "A|1\r\n");
        BookmarkFilePath = folder + QStringLiteral("/bookmark.dat");
        DialogCloser closer;
        window->AddBookmarkEntry(QStringLiteral("N"), QStringLiteral("n"));
        const QString error = bookmarkfile::append(BookmarkFilePath, QString(), QString()).error;
        QVERIFY(!error.isEmpty());
        QCOMPARE(closer.seen, QStringList{plainMessage(error)});
        QCOMPARE(readFile(folder), QByteArray("A|1\r\n"));
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
        QTest::addColumn<bool>("rewriteFails");   // the rewrite runs into a full disk
        QTest::addColumn<QStringList>("rows");    // name list after the delete
        QTest::addColumn<QStringList>("urls");    // lstURL after the delete
        QTest::addColumn<QByteArray>("after");    // a null array: the file is not rewritten
        const QByteArray four("A|1\r\nB|2\r\nC|3\r\nD|4\r\n");
        const QStringList names{"A", "B", "C", "D"}, urls{"1", "2", "3", "4"};
        QTest::newRow("rows 0 and 2 of four") << four << QList<int>{0, 2} << false << false << false
                                              << QStringList{"B", "D"} << QStringList{"2", "4"}
                                              << QByteArray("B|2\r\nD|4\r\n");
        QTest::newRow("select all") << four << QList<int>{} << true << false << false << QStringList{}
                                    << QStringList{} << QByteArray("");
        QTest::newRow("nothing ticked") << four << QList<int>{} << false << false << false << names << urls
                                        << QByteArray();
        QTest::newRow("added while open survives") << four << QList<int>{3} << false << true << false
                                                   << names.mid(0, 3) << urls.mid(0, 3)
                                                   << QByteArray("A|1\r\nB|2\r\nC|3\r\nNew|n\r\n");
        QTest::newRow("malformed lines survive") << QByteArray("A|1\r\nno bar\r\n\r\nB, C|2") << QList<int>{1}
                                                 << false << false << false << QStringList{"A"} << QStringList{"1"}
                                                 << QByteArray("A|1\r\nno bar\r\n\r\n");
#ifndef _WIN32
        // The message, and the lists show what the file still holds.
        QTest::newRow("failed rewrite") << four << QList<int>{1, 2} << false << false << true << names << urls
                                        << QByteArray();
#endif
    }
    void deleteRows()
    {
        QFETCH(QByteArray, file);
        QFETCH(QList<int>, ticked);
        QFETCH(QByteArray, after);
        QFETCH(QStringList, rows);
        QFETCH(bool, rewriteFails);
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
#ifndef _WIN32
            std::optional<FileSizeLimit> limit;
            if (rewriteFails)
                limit.emplace(4);
#endif
            form->cmdDelete->click();
        }
        if (rewriteFails) {
            QCOMPARE(closer.seen.size(), 1);
            QVERIFY(closer.seen.first().startsWith(plainMessage(QString())));
            QVERIFY(closer.seen.first() != plainMessage(QString()));
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
        QTest::newRow("second row, then Go") << 1 << false << QStringList{"Navigate(http://two/)"};
        QTest::newRow("double-click on the third row") << 2 << true << QStringList{"Navigate(http://three/?a=1,2)"};
        QTest::newRow("no row") << -1 << false << QStringList{};
        QTest::newRow("row without address") << 3 << false << QStringList{};
    }
    void go()
    {
        QFETCH(int, row);
        writeFile(path(), "One|http://one/\r\nTwo|http://two/\r\nThree|http://three/?a=1,2\r\nEmpty|\r\n");
        QPointer<frmBookmark> form = open(true);
        QFETCH(bool, doubleClick);
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
        QTRY_VERIFY(form.isNull());
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
