#include "mainwindowfixture.h"
#include "pageactions.h"
#include "pictureimage.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QAccessible>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>

#include <memory>

// The page commands, the add-bookmark prompt and the progress display of the
// main window, over a recording web view.
class TestCommands : public QObject, MainWindowFixture
{
    Q_OBJECT

    // The window's visible state, to show that a command changed nothing.
    QStringList snapshot() const
    {
        return {window->windowTitle(),
                window->HomePageUrl,
                window->lblStat->text(),
                QString::number(window->lblStat->isVisible()),
                QStringLiteral("%1 %2..%3 %4")
                    .arg(window->ProgressBar1->isVisible())
                    .arg(window->ProgressBar1->minimum())
                    .arg(window->ProgressBar1->maximum())
                    .arg(window->ProgressBar1->value()),
                QString::number(window->isVisible())};
    }

    // Reaches a command as the user does: "button:cmdBack" clicks the
    // button, "menu:mnuPrint" chooses its menu's item, "key:Ctrl+P"
    // presses the keys; the logo takes clicks through the window.
    void act(const QString &control)
    {
        const QString what = control.section(u':', 1);
        // Through the window, as the window system reports clicks: a
        // double-click is press, release, press, double-click, release.
        const QPoint logo = window->Image1->mapTo(window.get(), window->Image1->rect().center());
        if (control == "Image1 click") {
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, logo);
        } else if (control == "Image1 double-click") {
            QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, logo);
        } else if (control.startsWith("button:")) {
            QTest::mouseClick(window->findChild<QPushButton *>(what), Qt::LeftButton);
        } else if (control.startsWith("key:")) {
            QTest::keySequence(window.get(), QKeySequence(what));
        } else {
            QList<QAction *> items;
            for (QAction *menu : window->menuBar()->actions())
                items << menu->menu()->actions();
            const auto item = std::find_if(items.begin(), items.end(), [&](QAction *a) { return a->objectName() == what; });
            QVERIFY2(item != items.end(), qPrintable(what + " is in no menu"));
            (*item)->trigger();
        }
    }

private slots:
    void init()
    {
        QVERIFY(start());
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void cleanup()
    {
        window.reset();
        QLocale::setDefault(QLocale::system());
    }

    // Every row of the page command table, each way the user reaches it: its
    // picture button, its menu item, each of its keys. A row without an
    // entry here fails, so that a new command comes with what it should do.
    void commands_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<QString>("message"); // the message box the failure shows, if any
        QTest::addColumn<bool>("closes");
        struct Expected
        {
            QString button;
            QStringList keys, calls;
            bool told; // a failure is shown to the user
        };
        const QString home = "Navigate(" + Home + ")";
        const QHash<QString, Expected> expected = {
            {"cmdBack", {"cmdBack", {"Alt+Left"}, {"GoBack"}, false}},
            {"cmdForward", {"cmdForward", {"Alt+Right"}, {"GoForward"}, false}},
            {"cmdStop", {"cmdStop", {"Esc"}, {"Stop"}, false}},
            {"cmdRefresh", {"cmdRefresh", {"F5", "Ctrl+R"}, {"Refresh"}, false}},
            {"cmdHome", {"cmdHome", {"Alt+Home"}, {home}, false}},
            {"mnuPGSetup", {"", {}, {"Exec(PageSetup)"}, true}},
            // The picture button shows a preview.
            {"mnuPrintPreview", {"cmdPrint", {}, {"Exec(PrintPreview)"}, true}},
            {"mnuPrint", {"", {"Ctrl+P"}, {"Exec(Print)"}, true}},
            {"mnuSavePage", {"", {"Ctrl+S"}, {"Exec(SavePage)"}, true}},
            {"mnuFind", {"", {"Ctrl+F"}, {"Exec(Find)"}, false}},
            {"zoomIn", {"", {"Ctrl++", "Ctrl+="}, {"Exec(ZoomIn)"}, false}},
            {"zoomOut", {"", {"Ctrl+-"}, {"Exec(ZoomOut)"}, false}},
            {"zoomReset", {"", {"Ctrl+0"}, {"Exec(ZoomReset)"}, false}},
            {"close", {"", {"Ctrl+W"}, {}, false}},
        };
        const auto row = [](const QString &tag, const QString &control, const QStringList &calls, bool failing,
                            const QString &message, bool closes) {
            QTest::addRow("%s%s", qPrintable(tag), failing ? ", failing" : "")
                << control << calls << failing << message << closes;
        };
        for (const PageActions::Command &command : PageActions::commands()) {
            const QString name = QString::fromLatin1(command.name);
            if (!expected.contains(name)) {
                row(name + " (no entry in this test)", QString(), {}, false, QString(), false);
                continue;
            }
            const Expected &e = expected[name];
            QStringList controls;
            if (!e.button.isEmpty())
                controls << "button:" + e.button;
            if (command.menu != PageActions::Menu::None)
                controls << "menu:" + name;
            for (const QString &key : e.keys)
                controls << "key:" + key;
            for (const bool failing : {false, true}) {
                for (const QString &control : controls) {
                    const QString message = failing && e.told ? plainMessage(e.calls.value(0) + " failed") : QString();
                    row(name + " by " + control, control, e.calls, failing, message, name == "close");
                }
            }
        }
        // A double-click arrives as a click and then a double-click.
        row("Image1 click", "Image1 click", {home}, false, QString(), false);
        row("Image1 double-click", "Image1 double-click", {home, home}, false, QString(), false);
    }
    void commands()
    {
        QFETCH(QString, control);
        QFETCH(bool, failing);
        QFETCH(QString, message);
        QFETCH(bool, closes);
        QVERIFY2(!control.isEmpty(), "say in commands_data what this command does");
        fake->allowEverything();
        fake->fail = failing;
        const QStringList before = snapshot();
        DialogCloser closer;
        act(control);
        QTEST(fake->calls, "calls");
        QCOMPARE(closer.seen, message.isEmpty() ? QStringList() : QStringList{message});
        if (closes)
            QVERIFY(!window->isVisible());
        else
            QCOMPARE(snapshot(), before);
    }

    // Back, Forward and Stop can be used exactly when the page allows them;
    // greyed out, their buttons and keys do nothing.
    void commandsFollowThePage_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("enabled");
        QTest::newRow("fresh page") << QStringList() << QStringList();
        QTest::newRow("an earlier page") << QStringList{"back on"} << QStringList{"cmdBack"};
        QTest::newRow("back, then a later page only")
            << QStringList{"back on", "forward on", "back off"} << QStringList{"cmdForward"};
        QTest::newRow("loading") << QStringList{"busy"} << QStringList{"cmdStop"};
        QTest::newRow("loaded") << QStringList{"busy", "idle"} << QStringList();
        QTest::newRow("another command's state") << QStringList{QString::number(int(PageCommand::Print)) + " on"}
                                                 << QStringList();
    }
    void commandsFollowThePage()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, enabled);
        for (const QString &event : events) {
            if (event == "busy" || event == "idle") {
                fake->setBusy(event == "busy");
                continue;
            }
            const QString which = event.section(u' ', 0, 0);
            const PageCommand command = which == "back" ? PageCommand::Back
                                        : which == "forward" ? PageCommand::Forward
                                                             : PageCommand(which.toInt());
            emit fake->CommandStateChange(command, event.endsWith("on"));
        }
        const QList<std::tuple<QString, QString, QString>> commands = {
            {"cmdBack", "Alt+Left", "GoBack"}, {"cmdForward", "Alt+Right", "GoForward"}, {"cmdStop", "Esc", "Stop"}};
        QStringList calls;
        for (const auto &[button, key, call] : commands) {
            QCOMPARE(window->findChild<QPushButton *>(button)->isEnabled(), enabled.contains(button));
            act("button:" + button);
            act("key:" + key);
            if (enabled.contains(button))
                calls << call << call;
        }
        QCOMPARE(fake->calls, calls);
    }

    // The prompt names the page by its title, which the page chose: the user
    // sees its characters, never what markup in it would draw.
    void bookmarkPromptTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("markup") << "<img src=x><h1>Session expired</h1>";
        QTest::newRow("picture of the user's") << "<img src=\"/home/user/private.png\" width=300 height=120>";
        QTest::newRow("escaped markup") << "Fish &lt;b&gt; &amp; chips";
        QTest::newRow("ampersand") << "Rock & Roll Hotel";
        QTest::newRow("plain") << "Hotels in Lisbon";
    }
    void bookmarkPromptTitle()
    {
        QFETCH(QString, title);
        fake->name = title;
        QString shown;
        DialogAnswer answering([&](QWidget *dialog) {
            // The label's text as it is drawn: accessibility reads it the same way.
            if (auto *label = dialog->findChild<QLabel *>())
                shown = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
            qobject_cast<QInputDialog *>(dialog)->reject();
        });
        window->cmdAddBookmark->click();
        QVERIFY(answering.answered());
        QCOMPARE(shown, "Do you wish to bookmark " + title + "?");
    }

    void progressDisplay_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QList<QPoint>>("events"); // x: Progress, y: ProgressMax
        QTest::addColumn<int>("commitAfter");      // NavigateComplete2 after that many events; -1: none
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("percent"); // null: the designed caption
        const auto row = [](const char *tag, const QList<QPoint> &events, bool visible, int maximum, int value,
                            const QString &percent, const char *locale = "en_US", int commitAfter = -1) {
            QTest::newRow(tag) << locale << events << commitAfter << visible << maximum << value << percent;
        };
        const int intMax = std::numeric_limits<int>::max();
        row("50 of 200", {{50, 200}}, true, 201, 50, "25");
        row("1 of 3", {{1, 3}}, true, 4, 1, "33.3333333333333");
        row("300 of 200 refused", {{50, 200}, {300, 200}}, true, 201, 50, "150");
        row("10 of 0", {{10, 0}}, true, 1, -1, QString()); // the bar starts without a value
        row("10 of 0 keeps the caption", {{50, 200}, {10, 0}}, true, 1, 1, "25");
        row("0 hides", {{50, 200}, {0, 200}}, false, 201, 50, "25");
        row("-1 hides", {{50, 200}, {-1, 100}}, false, 201, 50, "25");
        row("largest maximum", {{5, intMax}}, true, 100, 5, "2.3283064376229E-07");
        row("largest maximum, value outside", {{50, 200}, {300, intMax}}, true, 201, 50, "1.39698386257374E-05");
        row("maximum below the value", {{150, 300}, {100, 50}}, true, 51, 51, "200");
        row("negative maximum refused", {{50, 200}, {1, -5}}, true, 201, 1, "-20");
        row("decimal comma", {{1, 8}}, true, 9, 1, "12,5", "de_DE");
        row("the commit hides", {{50, 200}}, false, 201, 50, "25", "en_US", 1);
        // Content still arriving after the commit shows them again.
        row("progress after the commit", {{50, 200}, {60, 200}}, true, 201, 60, "30", "en_US", 1);
    }
    void progressDisplay()
    {
        QFETCH(QString, locale);
        QFETCH(QList<QPoint>, events);
        QFETCH(int, commitAfter);
        QFETCH(bool, visible);
        QFETCH(QString, percent);
        QLocale::setDefault(QLocale(locale));
        for (int i = 0; i <= events.size(); ++i) {
            if (i == commitAfter)
                fake->emitNavigateComplete(Home);
            if (i < events.size())
                fake->emitProgress(events[i].x(), events[i].y());
        }
        QCOMPARE(window->ProgressBar1->isVisible(), visible);
        QCOMPARE(window->lblStat->isVisible(), visible);
        QCOMPARE(window->ProgressBar1->minimum(), 0);
        QTEST(window->ProgressBar1->maximum(), "maximum");
        QTEST(window->ProgressBar1->value(), "value");
        QCOMPARE(window->lblStat->text(), percent.isNull() ? QStringLiteral("Connecting to server")
                                                           : "Please wait, connecting to server [" + percent + " %]");
        QVERIFY(fake->calls.isEmpty());
    }
};

VELMORA_TEST_MAIN(TestCommands)
#include "tst_commands.moc"
