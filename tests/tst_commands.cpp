#include "fakewebview.h"
#include "frmmain.h"
#include "pictureimage.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QAccessible>
#include <QInputDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <memory>

// The navigation and print commands, the add-bookmark prompt and the progress
// display of the main window, over a recording web view.
class TestCommands : public QObject
{
    Q_OBJECT

    static inline const QString Home = QStringLiteral("http://127.0.0.1:9/home?a_aid=1&brandId=2");

    std::unique_ptr<frmMain> window;
    FakeWebView *fake = nullptr;

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

    void act(const QString &control)
    {
        // Through the window, as the window system reports clicks: a
        // double-click is press, release, press, double-click, release.
        const QPoint logo = window->Image1->mapTo(window.get(), window->Image1->rect().center());
        if (control == "Image1 click")
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, logo);
        else if (control == "Image1 double-click")
            QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, logo);
        else if (auto *button = window->findChild<QPushButton *>(control))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            window->findChild<QAction *>(control)->trigger();
    }

private slots:
    void init()
    {
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) { return fake = new FakeWebView(parent); }, Home);
        window->Form_Load();
        fake->calls.clear();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void cleanup()
    {
        window.reset();
        QLocale::setDefault(QLocale::system());
    }

    void commands_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<bool>("failing");
        QTest::addColumn<QString>("message"); // the message box the failure shows, if any
        const QString home = "Navigate(" + Home + ")";
        const QList<std::pair<const char *, QStringList>> table = {
            {"cmdBack", {"GoBack"}},
            {"cmdForward", {"GoForward"}},
            {"cmdStop", {"Stop"}},
            {"cmdRefresh", {"Refresh"}},
            {"cmdHome", {home}},
            {"cmdPrint", {"ExecWB(7,0)"}},
            // A double-click arrives as a click and then a double-click.
            {"Image1 click", {home}},
            {"Image1 double-click", {home, home}},
            {"mnuPGSetup", {"ExecWB(8,0)"}},
            // The same call as the button: the menu item runs its handler.
            {"mnuPrintPreview", {"ExecWB(7,0)"}},
            {"mnuPrint", {"ExecWB(6,1)"}},
        };
        for (const bool failing : {false, true}) {
            for (const auto &[control, calls] : table) {
                const QString message =
                    failing && QLatin1String(control) == "mnuPrint" ? plainMessage("ExecWB(6,1) failed") : QString();
                QTest::addRow("%s%s", control, failing ? ", failing" : "") << control << calls << failing << message;
            }
        }
    }
    void commands()
    {
        QFETCH(QString, control);
        QFETCH(bool, failing);
        QFETCH(QString, message);
        fake->fail = failing;
        const QStringList before = snapshot();
        DialogCloser closer;
        act(control);
        QTEST(fake->calls, "calls");
        QCOMPARE(closer.seen, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(snapshot(), before);
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
