#include "bookmarkfixture.h"
#include "downloadlist.h"
#include "downloadswindow.h"
#include "fakewebview.h"
#include "frmabout.h"
#include "frmbookmark.h"
#include "focusstyle.h"
#include "frmmain.h"
#include "pictureimage.h"
#include "siteanswers.h"
#include "sitestrip.h"
#include "testmain.h"

#include <QAccessible>
#include <QListWidget>
#include <QMetaEnum>
#include <QPushButton>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// The three windows as a screen reader reads them: the tree of accessible
// objects Qt hands to the accessibility bridge, walked from each window down
// through its children, and the keyboard that reaches and presses the logo.
class TestAccessibility : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    DownloadList downloads;
    std::unique_ptr<frmMain> main;
    FakeWebView *fake = nullptr;
    const QString home = QStringLiteral("http://127.0.0.1:9/home");

    frmMain *buildMain()
    {
        main = std::make_unique<frmMain>(
            [this](QWidget *parent) {
                fake = new FakeWebView(parent);
                fake->setFocusPolicy(Qt::StrongFocus);
                return fake;
            },
            home);
        main->HomePageUrl = home;
        return main.get();
    }

    // The window a row names, shown: the main window, the bookmark window in
    // either mode (over a file of two bookmarks) or About as Help opens it.
    QWidget *open(const QString &window)
    {
        QWidget *shown = buildMain();
        if (window.startsWith(QLatin1String("bookmarks"))) {
            const QString path = dir.filePath(QStringLiteral("bookmark.dat"));
            bookmarkfixture::writeFile(path, "Lisbon|http://127.0.0.1:9/lisbon\r\nFaro|http://127.0.0.1:9/faro\r\n");
            shown = new frmBookmark(window == QLatin1String("bookmarks, view"), fake, path, main.get());
        } else if (window == QLatin1String("downloads")) {
            shown = new DownloadsWindow(downloads, main.get());
            shown->setAttribute(Qt::WA_DeleteOnClose);
        } else if (window == QLatin1String("site strip")) {
            auto *strip = new SiteStrip;
            const QUrl page(QStringLiteral("http://deals.example:8080/x"));
            strip->showSite(page, siteaddress::siteOf(page, SiteAnswers()));
            shown = strip;
        } else if (window == QLatin1String("about")) {
            main->mnuAbout->trigger();
            shown = main->findChild<frmAbout *>();
        }
        if (shown)
            shown->show();
        return shown;
    }

    static void walk(QAccessibleInterface *node, const std::function<void(QAccessibleInterface *, int)> &visit,
                     int depth = 0)
    {
        if (!node || !node->isValid() || depth > 30)
            return;
        visit(node, depth);
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), visit, depth + 1);
    }

    static QString roleName(QAccessible::Role role)
    {
        const char *key = QMetaEnum::fromType<QAccessible::Role>().valueToKey(role);
        return key ? QString::fromLatin1(key) : QString::number(role);
    }

    static QString objectName(QAccessibleInterface *node)
    {
        return node->object() ? node->object()->objectName() : QString();
    }

    // One line per object, indented by depth: role, name and object name.
    static QString dump(QWidget *window)
    {
        QString out;
        walk(QAccessible::queryAccessibleInterface(window), [&out](QAccessibleInterface *node, int depth) {
            out += QStringLiteral("%1%2 \"%3\" (%4)%5\n")
                       .arg(QString(depth * 2, u' '), roleName(node->role()), node->text(QAccessible::Name),
                            objectName(node), node->state().invisible ? QStringLiteral(" hidden") : QString());
        });
        return out;
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void cleanup()
    {
        main.reset();
        const QWidgetList left = QApplication::topLevelWidgets();
        for (QWidget *w : left)
            delete w;
    }

    void windows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main") << "main";
        QTest::newRow("bookmarks, view") << "bookmarks, view";
        QTest::newRow("bookmarks, delete") << "bookmarks, delete";
        QTest::newRow("about") << "about";
        QTest::newRow("downloads") << "downloads";
        QTest::newRow("site strip") << "site strip";
    }

    // Every control a screen reader stops on says what it is.
    void everyControlNamed_data() { windows_data(); }
    void everyControlNamed()
    {
        QFETCH(QString, window);
        QWidget *shown = open(window);
        QVERIFY(shown);
        const QList<QAccessible::Role> named{QAccessible::PushButton,  QAccessible::Graphic,
                                             QAccessible::ProgressBar, QAccessible::List,
                                             QAccessible::EditableText, QAccessible::StaticText};
        QStringList unnamed;
        int checked = 0;
        walk(QAccessible::queryAccessibleInterface(shown), [&](QAccessibleInterface *node, int) {
            const bool pressable = node->actionInterface()
                && node->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
            if (!named.contains(node->role()) && !pressable)
                return;
            ++checked;
            if (node->text(QAccessible::Name).trimmed().isEmpty())
                unnamed << roleName(node->role()) + u' ' + objectName(node);
        });
        QVERIFY2(checked >= 3, qPrintable(dump(shown)));
        QCOMPARE(unnamed, QStringList());
    }

    // At the top a screen reader finds the program's windows on the screen,
    // not a window made and kept off it, as the engine's view makes one to
    // draw a page in.
    void topLevelWindows_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("windows");
        QTest::newRow("main") << "main" << QStringList{"Velmora"};
        QTest::newRow("about") << "about" << QStringList{"About Velmora", "Velmora"};
    }
    void topLevelWindows()
    {
        if (QT_VERSION >= QT_VERSION_CHECK(6, 5, 0))
            QSKIP("newer engines reach a page's content through that window: Qt's own root stays");
        QFETCH(QString, window);
        QQuickWindow offscreen;
        offscreen.setTitle(QStringLiteral("Offscreen"));
        QWidget *shown = open(window);
        QVERIFY(shown && QTest::qWaitForWindowExposed(shown));
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(qApp);
        QStringList windows;
        for (int i = 0; i < root->childCount(); ++i) {
            QAccessibleInterface *child = root->child(i);
            QVERIFY(child);
            QCOMPARE(root->indexOfChild(child), i);
            windows << child->text(QAccessible::Name);
        }
        windows.sort();
        QTEST(windows, "windows");
    }

    // What a screen reader says for each control, found from its window down.
    void names_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("object");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        const auto row = [](const char *window, const char *object, QAccessible::Role role, const char *name) {
            QTest::addRow("%s: %s", window, object) << window << object << int(role) << name;
        };
        row("main", "cmdBack", QAccessible::PushButton, "Back");
        row("main", "cmdForward", QAccessible::PushButton, "Forward");
        row("main", "cmdStop", QAccessible::PushButton, "Stop");
        row("main", "cmdRefresh", QAccessible::PushButton, "Refresh");
        row("main", "cmdHome", QAccessible::PushButton, "Home");
        row("main", "cmdAddBookmark", QAccessible::PushButton, "Bookmark");
        row("main", "cmdPrint", QAccessible::PushButton, "Print Preview");
        row("main", "Image1", QAccessible::Graphic, "Home");
        row("main", "ProgressBar1", QAccessible::ProgressBar, "Page loading");
        row("main", "lblStat", QAccessible::StaticText, "Connecting to server");
        row("main", "cmdZoom", QAccessible::PushButton, "Zoom");
        row("bookmarks, view", "frmBookmark", QAccessible::Dialog, "Bookmark");
        row("bookmarks, view", "lstGo", QAccessible::List, "Bookmarks");
        row("bookmarks, view", "cmdGo", QAccessible::PushButton, "Go");
        row("bookmarks, delete", "frmBookmark", QAccessible::Dialog, "Bookmark");
        row("bookmarks, delete", "lstBookmark", QAccessible::List, "Bookmarks");
        row("bookmarks, delete", "cmdDelete", QAccessible::PushButton, "Delete");
        row("about", "picIcon", QAccessible::Graphic, "Velmora icon");
        row("about", "Image1", QAccessible::Graphic, "Velmora logo");
        row("about", "Text1", QAccessible::EditableText, "Description");
        row("about", "cmdOK", QAccessible::PushButton, "OK");
        row("downloads", "downloadsWindow", QAccessible::Dialog, "Downloads");
        row("downloads", "downloadList", QAccessible::Client, "Downloads");
        row("downloads", "openFolder", QAccessible::PushButton, "Open Folder");
        row("downloads", "clearFinished", QAccessible::PushButton, "Clear Finished");
        row("downloads", "closeDownloads", QAccessible::PushButton, "Close");
        row("site strip", "siteSign", QAccessible::Graphic, "Not secure");
        row("site strip", "siteWords", QAccessible::StaticText, "Not secure");
        row("site strip", "siteButton", QAccessible::PushButton, "http://deals.example:8080");
        row("site strip", "siteHome", QAccessible::PushButton, "Home Page");
    }
    void names()
    {
        QFETCH(QString, window);
        QFETCH(QString, object);
        QWidget *shown = open(window);
        QVERIFY(shown);
        QStringList found;
        walk(QAccessible::queryAccessibleInterface(shown), [&](QAccessibleInterface *node, int) {
            // A menu item is named by its action: the control alone counts.
            if (objectName(node) == object && node->role() != QAccessible::MenuItem)
                found << roleName(node->role()) + u'|' + node->text(QAccessible::Name);
        });
        QFETCH(int, role);
        QFETCH(QString, name);
        QVERIFY2(!found.isEmpty(), qPrintable(dump(shown)));
        QCOMPARE(found, QStringList{roleName(QAccessible::Role(role)) + u'|' + name});
    }

    // The addresses behind the names and the other mode's controls are
    // hidden: a screen reader finds only what the window shows.
    void bookmarkWindowShowsItsModeOnly_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("children");
        QTest::newRow("view") << "bookmarks, view" << QStringList{"cmdClose", "cmdGo", "lstGo"};
        QTest::newRow("delete") << "bookmarks, delete"
                                << QStringList{"lstBookmark", "cmdDelete", "cmdClose", "cmdAll", "cmdClear"};
    }
    void bookmarkWindowShowsItsModeOnly()
    {
        QFETCH(QString, window);
        auto *form = qobject_cast<frmBookmark *>(open(window));
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(form);
        QStringList children;
        for (int i = 0; i < root->childCount(); ++i) {
            QAccessibleInterface *child = root->child(i);
            QVERIFY(child);
            QVERIFY2(!child->state().invisible, qPrintable(objectName(child)));
            QCOMPARE(root->indexOfChild(child), i);
            QCOMPARE(child->parent() ? child->parent()->object() : nullptr, form);
            children << objectName(child);
        }
        QTEST(children, "children");
        bool addressesFound = false;
        walk(root, [&](QAccessibleInterface *node, int) { addressesFound |= node->object() == form->lstURL; });
        QVERIFY(!addressesFound);
    }

    // Tab goes from Back through every toolbar button to the logo, then to
    // the page; each stop is announced by its name. (Back, Forward and Stop
    // take the focus while the page allows them.)
    void tabReachesToolbarAndLogo()
    {
        buildMain();
        fake->allowEverything();
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        main->cmdBack->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), main->cmdBack);
        QStringList stops;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            QVERIFY(focus);
            QAccessibleInterface *node = QAccessible::queryAccessibleInterface(focus);
            QVERIFY(node->state().focused);
            stops << focus->objectName() + u'|' + node->text(QAccessible::Name);
        }
        QCOMPARE(stops, (QStringList{"cmdForward|Forward", "cmdStop|Stop", "cmdRefresh|Refresh", "cmdHome|Home",
                                     "cmdAddBookmark|Bookmark", "cmdPrint|Print Preview", "Image1|Home", "Web0|"}));
        // The site's zoom, while shown, is a stop before the page.
        main->cmdZoom->show();
        main->Image1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(main->Image1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), main->cmdZoom);
    }

    // The control with the keyboard has a ring that can be seen: two pixels
    // all round, of the highlight colour on a button, and on the logo of one
    // that stands out from the picture; a control without the keyboard has none.
    void focusRingCanBeSeen_data()
    {
        QTest::addColumn<bool>("logo");
        QTest::addColumn<bool>("focused");
        QTest::newRow("a button") << false << true;
        QTest::newRow("the logo") << true << true;
        QTest::newRow("a button without the keyboard") << false << false;
        QTest::newRow("the logo without the keyboard") << true << false;
    }
    void focusRingCanBeSeen()
    {
        QFETCH(bool, logo);
        QFETCH(bool, focused);
        buildMain();
        FocusStyle style(QStringLiteral("Fusion"));
        QWidget *control = logo ? static_cast<QWidget *>(main->Image1) : main->cmdHome;
        control->setStyle(&style);
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QWidget *focus = focused ? control : logo ? static_cast<QWidget *>(main->cmdHome) : main->Image1;
        focus->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(focus->hasFocus());
        const QImage drawn = control->grab().toImage();
        control->setStyle(nullptr);
        // On the logo, a ring that stands out from the picture beneath it.
        const QImage picture = main->Image1->pixmap().toImage();
        const auto isRing = [&](const QPoint &at) {
            return logo ? qAbs(qGray(drawn.pixel(at)) - qGray(picture.pixel(at))) > 100
                        : drawn.pixel(at) == control->palette().color(QPalette::Highlight).rgb();
        };
        // At the middle of each side, two of the four pixels nearest the edge.
        const QSize size = drawn.size();
        const struct { QPoint from, step; } sides[] = {{{size.width() / 2, 0}, {0, 1}},
                                                      {{size.width() / 2, size.height() - 1}, {0, -1}},
                                                      {{0, size.height() / 2}, {1, 0}},
                                                      {{size.width() - 1, size.height() / 2}, {-1, 0}}};
        for (const auto &side : sides) {
            int ringPixels = 0;
            for (int depth = 0; depth < 4; ++depth)
                ringPixels += isRing(side.from + side.step * depth);
            QVERIFY2((ringPixels >= 2) == focused, qPrintable(QStringLiteral("%1 at %2,%3").arg(ringPixels).arg(side.from.x()).arg(side.from.y())));
        }
    }

    // Enter and Space on the logo, and a screen reader's press, do what a
    // click does: go home and give the page the keyboard.
    void logoPressedWithoutMouse_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("goesHome");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
        QTest::newRow("Enter on the keypad") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
        QTest::newRow("press action") << 0 << 0 << true;
        QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false;
        QTest::newRow("a letter") << int(Qt::Key_H) << int(Qt::NoModifier) << false;
    }
    void logoPressedWithoutMouse()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, goesHome);

        // What a click records, on a window of its own.
        buildMain();
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QTest::mouseClick(main->Image1, Qt::LeftButton);
        const QStringList clicked = fake->calls;
        QCOMPARE(clicked, QStringList{"Navigate(" + home + u')'});

        buildMain();
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        main->Image1->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), main->Image1);
        if (key) {
            QTest::keyClick(main->Image1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        } else {
            QAccessibleActionInterface *actions = QAccessible::queryAccessibleInterface(main->Image1)->actionInterface();
            QVERIFY(actions);
            QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
            actions->doAction(QAccessibleActionInterface::pressAction());
        }
        QCOMPARE(fake->calls, goesHome ? clicked : QStringList());
        QCOMPARE(QApplication::focusWidget(), goesHome ? static_cast<QWidget *>(fake) : main->Image1);
    }
};

VELMORA_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
