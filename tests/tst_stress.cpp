#include "bookmarkfile.h"
#include "fakewebview.h"
#include "frmabout.h"
#include "frmbookmark.h"
#include "frmmain.h"
#include "bookmarklocation.h"
#include "pictureimage.h"
#include "testmain.h"

#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRandomGenerator>

#include <memory>

// Thousands of random clicks and menu choices across the main, bookmark and
// About windows, with a web view that fails at random. Afterwards no window
// is left and the bookmark file holds exactly what the run's own log says.
class TestStress : public QObject
{
    Q_OBJECT

    QRandomGenerator rng;
    QTemporaryDir folder;
    std::unique_ptr<frmMain> window;
    FakeWebView *fake = nullptr;
    std::vector<bookmarkfile::Bookmark> expected; // the log of what the file holds
    QString nextName;                              // what the scripted prompt answers
    bool promptAnswered = false;
    int added = 0, deleted = 0, bookmarkWindows = 0, aboutWindows = 0;

    static const QStringList &names()
    {
        static const QStringList list{
            "Home", "Hotels in Rome | Best prices", "Paris, France", "\"Quoted\"", "  leading", "",
            "Two\r\nlines", "Αθήνα ξενοδοχεία", "東京のホテル", "Café €", QString(2000, QLatin1Char('x'))};
        return list;
    }

    // Answers whatever modal dialog is up: the prompt with the scripted name,
    // a message with OK.
    void answerDialogs()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *prompt = qobject_cast<QInputDialog *>(modal)) {
            promptAnswered = true;
            if (nextName.isNull()) {
                prompt->reject();
            } else {
                prompt->setTextValue(nextName);
                prompt->accept();
            }
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            box->accept();
        }
    }

    template <typename T>
    T *openWindow() const
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<T *>(w); found && found->isVisible())
                return found;
        return nullptr;
    }

    void addBookmark()
    {
        const int pick = rng.bounded(names().size() + 1);
        nextName = pick == names().size() ? QString() : names().at(pick); // null: Cancel
        fake->url = QStringLiteral("http://127.0.0.1:9/page%1?a=1,2|b").arg(rng.bounded(5));
        fake->name = names().at(rng.bounded(names().size()));
        const QString address = fake->url;
        promptAnswered = false;
        if (rng.bounded(2))
            window->cmdAddBookmark->click();
        else
            window->mnuAddBookMark->trigger();
        if (promptAnswered && !nextName.isEmpty()) {
            // What reading the file back gives for this record.
            for (const auto &record : bookmarkfile::parse(bookmarkfile::encodeRecord(nextName, address)))
                expected.push_back(record);
            ++added;
        }
    }

    void deleteTicked(frmBookmark *bookmarks)
    {
        for (int row = bookmarks->lstBookmark->count() - 1; row >= 0; --row) {
            QListWidgetItem *item = bookmarks->lstBookmark->item(row);
            if (item->checkState() != Qt::Checked)
                continue;
            const bookmarkfile::Bookmark gone{item->text(), bookmarks->lstURL->item(row)->text()};
            const auto at = std::find(expected.begin(), expected.end(), gone);
            QVERIFY2(at != expected.end(), qPrintable(gone.name));
            expected.erase(at);
            ++deleted;
        }
        bookmarks->cmdDelete->click();
    }

    void bookmarkWindowAction(frmBookmark *bookmarks)
    {
        QListWidget *list = bookmarks->lstGo->isVisible() ? bookmarks->lstGo : bookmarks->lstBookmark;
        const int rows = list->count();
        switch (rng.bounded(8)) {
        case 0: bookmarks->cmdAll->click(); break;
        case 1: bookmarks->cmdClear->click(); break;
        case 2:
            if (rows)
                list->item(rng.bounded(rows))->setCheckState(Qt::Checked);
            break;
        case 3: deleteTicked(bookmarks); break;
        case 4:
            if (rows)
                list->setCurrentRow(rng.bounded(rows));
            break;
        case 5: bookmarks->cmdGo->click(); break;
        case 6: bookmarks->cmdClose->click(); break;
        default:
            if (bookmarks->lstGo->isVisible() && rows) {
                bookmarks->lstGo->setCurrentRow(rng.bounded(rows));
                emit bookmarks->lstGo->itemDoubleClicked(bookmarks->lstGo->currentItem());
            }
        }
    }

    void mainWindowAction()
    {
        static const int extremes[] = {0, -1, 1, 50, 100, 200, 300, INT_MAX, INT_MIN};
        QPushButton *buttons[] = {window->cmdBack, window->cmdForward, window->cmdStop, window->cmdRefresh,
                                  window->cmdHome, window->cmdPrint};
        QAction *items[] = {window->command(PageCommand::PageSetup), window->command(PageCommand::PrintPreview),
                            window->command(PageCommand::Print),
                            window->mnuDelBookMark, window->mnuViewBookMark, window->mnuAbout};
        switch (rng.bounded(7)) {
        case 0: buttons[rng.bounded(6)]->click(); break;
        case 1: items[rng.bounded(6)]->trigger(); break;
        case 2: addBookmark(); break;
        case 3:
            if (rng.bounded(2))
                emit window->Image1->clicked();
            else
                emit window->Image1->doubleClicked();
            break;
        case 4:
            fake->emitProgress(extremes[rng.bounded(9)], extremes[rng.bounded(9)]);
            break;
        case 5: fake->emitNavigateComplete(QStringLiteral("http://127.0.0.1:9/")); break;
        default:
            if (frmAbout *about = openWindow<frmAbout>())
                rng.bounded(2) ? about->cmdSysInfo->click() : about->cmdOK->click();
        }
    }

private slots:
    void randomUse()
    {
        const quint32 seed = qEnvironmentVariableIsSet("VELMORA_STRESS_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("VELMORA_STRESS_SEED"))
                                 : QRandomGenerator::global()->generate();
        qInfo("seed %u (set VELMORA_STRESS_SEED to repeat)", seed);
        rng.seed(seed);
        QVERIFY(folder.isValid());
        window = std::make_unique<frmMain>([this](QWidget *parent) { return fake = new FakeWebView(parent); },
                                           QStringLiteral("http://127.0.0.1:9/"), nullptr, folder.path());
        window->Form_Load();
        QTimer dialogs;
        connect(&dialogs, &QTimer::timeout, this, [this] { answerDialogs(); });
        dialogs.start(0);

        for (int step = 0; step < 3000; ++step) {
            fake->fail = rng.bounded(4) == 0;
            frmBookmark *bookmarks = openWindow<frmBookmark>();
            const frmAbout *about = openWindow<frmAbout>();
            if (bookmarks && rng.bounded(2))
                bookmarkWindowAction(bookmarks);
            else
                mainWindowAction();
            bookmarkWindows += !bookmarks && openWindow<frmBookmark>();
            aboutWindows += !about && openWindow<frmAbout>();
            if (QTest::currentTestFailed())
                return;
            if (rng.bounded(16) == 0) // let closed windows go
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }

        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), w->metaObject()->className());
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!qobject_cast<frmBookmark *>(w) && !qobject_cast<frmAbout *>(w) && !qobject_cast<QDialog *>(w),
                     w->metaObject()->className());

        const auto onDisk = bookmarkfile::read(SetBookmarkPath(folder.path()));
        qInfo("%d records at the end, %d added, %d deleted, %d bookmark windows, %d About windows", int(onDisk.size()),
              added, deleted, bookmarkWindows, aboutWindows);
        QVERIFY(added > 50 && deleted > 5 && bookmarkWindows > 20 && aboutWindows > 20);
        QCOMPARE(onDisk.size(), expected.size());
        QVERIFY(onDisk == expected);
    }
};

VELMORA_TEST_MAIN(TestStress)
#include "tst_stress.moc"
