#include "bookmarklocation.h"
#include "frmabout.h"
#include "mainwindowfixture.h"
#include "session.h"
#include "pictureimage.h"
#include "testmain.h"
#include "twips.h"
#include "widgetfixture.h"

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>

#include <memory>

#ifndef _WIN32
#include <unistd.h>
#endif

// The main window with a recording web view: controls, start-up, shut-down.
class TestMainWindow : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        window.reset();
        const QWidgetList left = QApplication::topLevelWidgets();
        for (QWidget *w : left)
            delete w;
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<bool>("visible");
        QTest::newRow("cmdBack") << "cmdBack" << QRect(0, 0, 615, 500) << "Back" << true;
        QTest::newRow("cmdForward") << "cmdForward" << QRect(600, 0, 615, 500) << "Forward" << true;
        QTest::newRow("cmdStop") << "cmdStop" << QRect(1200, 0, 615, 500) << "Stop" << true;
        QTest::newRow("cmdRefresh") << "cmdRefresh" << QRect(1800, 0, 615, 500) << "Refresh" << true;
        QTest::newRow("cmdHome") << "cmdHome" << QRect(2400, 0, 615, 500) << "Home" << true;
        QTest::newRow("cmdAddBookmark") << "cmdAddBookmark" << QRect(3000, 0, 615, 500) << "Bookmark" << true;
        QTest::newRow("cmdPrint") << "cmdPrint" << QRect(3600, 0, 615, 500) << "Print Preview" << true;
        QTest::newRow("lblStat") << "lblStat" << QRect(4440, 0, 4335, 255) << "" << false;
        QTest::newRow("ProgressBar1") << "ProgressBar1" << QRect(4440, 255, 4335, 255) << "" << false;
        QTest::newRow("Image1") << "Image1" << QRect(11640, 0, 3600, 675) << "" << true;
        QTest::newRow("Web(0)") << "Web0" << QRect(0, 600, 11880, 6495) << "" << true;
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twipsRect);
        build();
        window->show();
        auto *control = window->findChild<QWidget *>(name);
        QVERIFY(control);
        const double perPx = twips::perPixel(window.get());
        // The layout rule moves the logo's left edge and sizes the web view.
        const QPoint pos = twips::rect(twipsRect.x(), twipsRect.y(), 1, 1, perPx).topLeft();
        QCOMPARE(control->y(), pos.y());
        if (name != "Image1")
            QCOMPARE(control->x(), pos.x());
        if (name != "Web0")
            QCOMPARE(control->size(), twips::rect(0, 0, twipsRect.width(), twipsRect.height(), perPx).size());
        QTEST(control->toolTip(), "tip");
        QTEST(control->isVisible(), "visible");
        if (auto *button = qobject_cast<QPushButton *>(control)) {
            QVERIFY(button->text().isEmpty());
            QVERIFY(!button->icon().isNull());
            QVERIFY(button->iconSize().width() <= 24 && button->iconSize().height() <= 24);
        }
    }

    void designDetails()
    {
        build();
        QCOMPARE(window->lblStat->text(), QStringLiteral("Connecting to server"));
        QCOMPARE(window->lblStat->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(window->ProgressBar1->minimum(), 0);
        QCOMPARE(window->ProgressBar1->maximum(), 100);
        QCOMPARE(window->Image1->pixmap().size(), QSize(240, 45));
        QCOMPARE(window->Web.size(), size_t(1));
        const QList<QSize> iconSizes = window->windowIcon().availableSizes();
        QVERIFY(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));

        // Tab order: the seven buttons, the logo, the zoom (when shown), then the web view.
        QCOMPARE(tabOrder(window->cmdBack, 9), (QWidgetList{window->cmdForward, window->cmdStop, window->cmdRefresh,
                                                            window->cmdHome, window->cmdAddBookmark, window->cmdPrint,
                                                            window->Image1, window->cmdZoom, window->Web[0]}));
    }

    // The menus, each item with its keys (the first, as a menu shows it);
    // Back, Forward and Stop are greyed out while there is nothing to do.
    void menus()
    {
        build();
        QStringList seen;
        for (QAction *menu : window->menuBar()->actions()) {
            seen << menu->text();
            for (QAction *item : menu->menu()->actions()) {
                const QString key = item->shortcut().toString();
                seen << (item->isSeparator() ? QStringLiteral("-")
                                             : QStringLiteral("  ") + item->text() + (key.isEmpty() ? "" : "\t" + key));
                QCOMPARE(item->isEnabled(), !(QStringList{"&Back", "&Forward", "&Stop"}.contains(item->text())));
            }
        }
        QCOMPARE(seen, (QStringList{"&Page", "  Page Set&up...", "  Print Pre&view", "  &Print...\tCtrl+P",
                                    "  &Save Page...\tCtrl+S", "  &Find in Page...\tCtrl+F", "  Set as &Home Page...",
                                    "-", "  &Exit",
                                    "&View", "  &Back\tAlt+Left", "  &Forward\tAlt+Right", "  &Stop",
                                    "  &Refresh\tF5", "  &Home\tAlt+Home", "-", "  Zoom &In\tCtrl++",
                                    "  Zoom &Out\tCtrl+-", "  &Actual Size\tCtrl+0", "-", "  &Downloads...\tCtrl+J",
                                    "&Bookmark", "  &Add Bookmark", "  &Delete Bookmark", "  &View Bookmark",
                                    "&Help", "  &Keyboard Shortcuts\tF1", "  &About"}));
    }

    // Page > Set as Home Page, after its question: the next Home goes
    // there. Only a web page can be set.
    void homePageSet_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("shown"); // the page shown
        QTest::addColumn<QString>("said");  // the question or message
        QTest::addColumn<QString>("home");  // where Home goes next
        const QString site("https://hotels.example/deals?city=Faro");
        const QString asked = "Velmora|icon 4, buttons 81920|Open " + site + " at start-up and with Home from now on?";
        QTest::newRow("Set as Home Page, Yes") << "Yes" << site << asked << site;
        QTest::newRow("Set as Home Page, No") << "No" << site << asked << Home;
        QTest::newRow("a file") << "Yes" << "file:///tmp/deals.html"
                                << plainMessage("Only a web page (http or https) can be the home page, not "
                                                "\"file:///tmp/deals.html\".")
                                << Home;
    }
    void homePageSet()
    {
        QFETCH(QString, how);
        QFETCH(QString, shown);
        QFETCH(QString, said);
        QFile::remove(Settings::defaultFile());
        Session session;
        session.setHomePage([&session] {
            const QString set = session.settings().value(Settings::Key::HomePage);
            return set.isEmpty() ? Home : set;
        });
        FakeWebView *page = nullptr;
        frmMain main([&page](QWidget *parent) { return page = new FakeWebView(parent); }, Home, &session);
        page->url = shown;
        QString asked;
        DialogAnswer answer([&](QWidget *dialog) {
            asked = describeDialog(dialog);
            auto *box = qobject_cast<QMessageBox *>(dialog);
            QAbstractButton *button = box ? box->button(how == "Yes" ? QMessageBox::Yes : QMessageBox::No) : nullptr;
            if (button)
                button->click();
            else
                dialog->close();
        });
        main.mnuSetHome->trigger();
        QCOMPARE(asked, said);
        main.command(PageCommand::Home)->trigger();
        QFETCH(QString, home);
        QCOMPARE(page->calls.filter("Navigate"), QStringList{"Navigate(" + home + ")"});
    }

    // Another program hands an address over while the About window is open:
    // the window goes, so the page is seen and Esc reaches it.
    void handOverClosesAbout()
    {
        QVERIFY(start());
        window->mnuAbout->trigger();
        QPointer<QWidget> about = window->findChild<frmAbout *>();
        QVERIFY(about && about->isVisible());
        window->OpenAddress(QStringLiteral("https://hotels.example/"));
        QVERIFY(!about || !about->isVisible());
        QCOMPARE(fake->calls, QStringList{"Navigate(https://hotels.example/)"});
        QCOMPARE(window->focusWidget(), fake);
    }

    // On a narrow window the logo slides under the toolbar: the buttons lie
    // above it, stay visible and take their clicks; the logo takes the clicks
    // on what is left of it.
    void narrowWindowClicks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("call");
        QTest::newRow("cmdBack") << "cmdBack" << "GoBack";
        QTest::newRow("cmdForward") << "cmdForward" << "GoForward";
        QTest::newRow("cmdStop") << "cmdStop" << "Stop";
        QTest::newRow("cmdRefresh") << "cmdRefresh" << "Refresh";
        QTest::newRow("cmdPrint") << "cmdPrint" << "Exec(PrintPreview)";
        QTest::newRow("Image1") << "Image1" << "Navigate(" + Home + ")";
    }
    void narrowWindowClicks()
    {
        QFETCH(QString, name);
        build();
        fake->allowEverything();
        window->HomePageUrl = Home;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // 330 pixels wide from frame to frame, as the layout rule measures it.
        window->resize(330 - (window->frameGeometry().width() - window->width()), 400);
        auto *control = window->findChild<QWidget *>(name);
        QVERIFY(control);
        QVERIFY(window->Image1->geometry().intersects(window->cmdForward->geometry()));
        // The right end, where the logo lies from Forward on (and is past
        // every button).
        const QPoint local(control->width() - 3, control->height() / 2);
        // Through the window system, which hands the click to the topmost
        // control under it, as a user's click arrives.
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, control->mapTo(window.get(), local));
        QTEST(fake->calls.join(u'|'), "call");
    }

    void startUp_data()
    {
        QTest::addColumn<bool>("failingView");
        QTest::newRow("navigation succeeds") << false;
        // A failing step is skipped without a message; the window stays up.
        QTest::newRow("navigation fails") << true;
    }
    void startUp()
    {
        QFETCH(bool, failingView);
        build(failingView);
        window->Form_Load();
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(window->windowTitle(), QStringLiteral("Velmora"));
        QVERIFY(window->isVisible());
        QCOMPARE(window->HomePageUrl, Home);
        QCOMPARE(window->BookmarkFilePath, bookmarklocation::bookmarkPathIn(QCoreApplication::applicationDirPath()));
        QCOMPARE(fake->calls, QStringList{"Navigate(" + Home + ")"});
        QVERIFY(fake->windowVisibleAtNavigate);

        const double perPx = twips::perPixel(window.get());
        const QRect screen = window->screen()->geometry();
        QCOMPARE(window->frameGeometry().topLeft(), QPoint(0, 0));
        QCOMPARE(window->frameGeometry().width(), screen.width());
        QCOMPARE(window->frameGeometry().height(), twips::toPixels(screen.height() * perPx - 450, perPx));
        // The layout rule has fitted the web view and the logo to that size.
        QCOMPARE(fake->width(), twips::toPixels(screen.width() * perPx - 200, perPx));
        QCOMPARE(fake->height(), twips::toPixels(window->frameGeometry().height() * perPx - 1500, perPx));
        QCOMPARE(window->Image1->x(), twips::toPixels(screen.width() * perPx - 3800, perPx));
    }

    // The window keeps its start-up size and the page its area when the
    // window comes back from the task bar or from full size. Under a window
    // manager (tst_mainwindow_wm) the frame arrives a moment after the window
    // shows: the start-up size and the layout rule count it from then on, in
    // a window shown without the start-up sequence too.
    void sizeAfterRestore_data()
    {
        QTest::addColumn<bool>("startUp");
        QTest::addColumn<int>("state");
        QTest::newRow("started, minimised") << true << int(Qt::WindowMinimized);
        QTest::newRow("started, maximised") << true << int(Qt::WindowMaximized);
        QTest::newRow("shown, minimised") << false << int(Qt::WindowMinimized);
    }
    void sizeAfterRestore()
    {
        QFETCH(bool, startUp);
        QFETCH(int, state);
        if (startUp) {
            QVERIFY(start());
        } else {
            build();
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        }
        const bool windowManager = qEnvironmentVariableIsSet("VELMORA_TEST_WINDOW_MANAGER");
        if (windowManager)
            QTRY_VERIFY(window->frameGeometry().height() > window->height());
        const double perPx = twips::perPixel(window.get());
        if (startUp)
            QTRY_COMPARE(window->frameGeometry().height(),
                         twips::toPixels(window->screen()->geometry().height() * perPx - 450, perPx));
        const auto ruled = [&] {
            return QSize(twips::toPixels(window->frameGeometry().width() * perPx - 200, perPx),
                         twips::toPixels(window->frameGeometry().height() * perPx - 1500, perPx));
        };
        QTRY_COMPARE(fake->size(), ruled());
        const QRect outer = window->frameGeometry(), page = fake->geometry();

        window->setWindowState(Qt::WindowState(state));
        QTRY_VERIFY(window->windowState() & state);
        // The window manager has taken it off the screen, or made it full size.
        if (windowManager)
            QTRY_VERIFY(state == Qt::WindowMinimized ? !window->windowHandle()->isExposed()
                                                     : window->frameGeometry().size() != outer.size());
        window->showNormal();
        QTRY_VERIFY(!(window->windowState() & state));
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_COMPARE(window->frameGeometry(), outer);
        QTRY_COMPARE(fake->geometry(), page);
    }

    // A copy in a folder the system installs programs in, root's and closed
    // to others, is an installed copy: its bookmarks are each user's, root's
    // and Administrator's included.
    void installedFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("root");
        QTest::addColumn<bool>("othersMayWrite");
        QTest::addColumn<QStringList>("systemFolders");
        QTest::addColumn<bool>("windows");   // Windows' path rules
        QTest::addColumn<bool>("installed");
        const QStringList system{"/usr", "/opt", "/bin", "/sbin", "/snap"};
        QTest::newRow("/usr/bin") << "/usr/bin" << true << false << system << false << true;
        QTest::newRow("/usr/local/bin") << "/usr/local/bin" << true << false << system << false << true;
        QTest::newRow("/opt/velmora/bin/") << "/opt/velmora/bin/" << true << false << system << false << true;
        QTest::newRow("/usr/bin, not root's") << "/usr/bin" << false << false << system << false << false;
        QTest::newRow("/opt/velmora, anyone may write") << "/opt/velmora" << true << true << system << false << false;
        QTest::newRow("/usr2/bin") << "/usr2/bin" << true << false << system << false << false;
        QTest::newRow("/optical") << "/optical" << true << false << system << false << false;
        QTest::newRow("/USR/bin") << "/USR/bin" << true << false << system << false << false;
        QTest::newRow("/usr/../root/velmora") << "/usr/../root/velmora" << true << false << system << false << false;
        const QStringList programFiles{"C:\\Program Files", "C:\\Program Files (x86)", "C:\\Program Files"};
        QTest::newRow("Program Files") << "C:\\Program Files\\Velmora" << true << false << programFiles << true << true;
        QTest::newRow("program files (x86), other case") << "c:\\program files (x86)\\Velmora" << true << false
                                                         << programFiles << true << true;
        QTest::newRow("Program Files, forward slashes")
            << "C:/Program Files/Velmora/" << true << false << programFiles << true << true;
        QTest::newRow("Program FilesX") << "C:\\Program FilesX\\Velmora" << true << false << programFiles << true << false;
        // An unset variable is no folder, not the top of every path.
        QTest::newRow("variables unset") << "\\Velmora" << true << false << QStringList{"", "", ""} << true << false;
    }
    void installedFolder()
    {
        QFETCH(QString, folder);
        QFETCH(bool, root);
        QFETCH(bool, othersMayWrite);
        QFETCH(QStringList, systemFolders);
        QFETCH(bool, windows);
        QTEST(bookmarklocation::isInstalledFolder(folder, {root, othersMayWrite}, systemFolders,
                                                  windows ? bookmarklocation::PathRules::Windows
                                                          : bookmarklocation::PathRules::Unix),
              "installed");
    }

    // Root, who may write in the system's folders, runs an installed copy as
    // anyone else does: its bookmarks go to its own data folder, never beside
    // the program, where they would start every other account's.
    void installedCopyRunByRoot()
    {
#ifdef _WIN32
        QSKIP("root is Unix's");
#else
        if (geteuid() != 0)
            QSKIP("needs root, who may write in the system's folders");
        const QString systemFolder = QFileInfo(QStringLiteral("/bin/sh")).canonicalPath();
        QCOMPARE(SetBookmarkPath(systemFolder),
                 bookmarklocation::bookmarkPathIn(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
#endif
    }

    void closingClosesEveryWindow_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("close box") << false;
        QTest::newRow("Page > Exit") << true;
    }
    void closingClosesEveryWindow()
    {
        QFETCH(bool, byMenu);
        build();
        window->Form_Load();
        auto *other = new QWidget;
        other->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<QWidget> guard(other);
        other->show();
        auto *tool = new QWidget(nullptr, Qt::Tool);
        tool->show();
        if (byMenu)
            window->mnuExit->trigger();
        else
            window->close();
        QVERIFY(!window->isVisible());
        QVERIFY(!tool->isVisible());
        QTRY_VERIFY(guard.isNull());
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        delete tool;
    }
};

VELMORA_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
