#include "engineage.h"
#include "enginenotice.h"
#include "fakewebview.h"
#include "frmabout.h"
#include "frmmain.h"
#include "session.h"
#include "testmain.h"
#include "twips.h"
#include "widgetfixture.h"

#include <QDesktopServices>
#include <QLabel>
#include <QToolButton>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QAbstractTextDocumentLayout>

#include <memory>

// The About window as Help > About opens it: controls, load step, closing,
// the System Info button and the one-window rule.
class TestAbout : public QObject
{
    Q_OBJECT

    std::unique_ptr<frmMain> main;
    QList<QUrl> mailed;

    frmAbout *openAbout()
    {
        if (!main)
            main = std::make_unique<frmMain>([](QWidget *parent) { return new FakeWebView(parent); },
                                             QStringLiteral("http://127.0.0.1:9/"));
        main->mnuAbout->trigger();
        QList<frmAbout *> shown = main->findChildren<frmAbout *>();
        shown.removeIf([](const frmAbout *about) { return !about->isVisible(); });
        return shown.size() == 1 ? shown.first() : nullptr;
    }

    QRect pixels(const QRect &twipsRect)
    {
        return twips::rect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height(),
                           twips::perPixel(main.get()));
    }

public slots:
    // Stands in for the mail program.
    void mailOpened(const QUrl &url) { mailed << url; }

private slots:
    void cleanup()
    {
        main.reset();
        QApplication::setApplicationName(QStringLiteral("Velmora"));
        QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<QString>("text");
        QTest::newRow("picIcon") << "picIcon" << QRect(240, 240, 540, 540) << "";
        QTest::newRow("lblTitle") << "lblTitle" << QRect(1050, 240, 3885, 240) << "Velmora";
        QTest::newRow("lblVersion") << "lblVersion" << QRect(1050, 480, 3885, 225) << "Version 1.0.0";
        QTest::newRow("Text1") << "Text1" << QRect(240, 840, 5295, 1455) << "";
        QTest::newRow("Image1") << "Image1" << QRect(240, 2520, 3600, 675) << "";
        QTest::newRow("Label1") << "Label1" << QRect(240, 3240, 495, 255) << "Email :";
        QTest::newRow("Label2") << "Label2" << QRect(840, 3240, 2175, 255) << frmAbout::ContactAddress;
        QTest::newRow("cmdOK") << "cmdOK" << QRect(4245, 2625, 1260, 345) << "OK";
        QTest::newRow("cmdSysInfo") << "cmdSysInfo" << QRect(4260, 3075, 1245, 345) << "&System Info...";
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QRect, twipsRect);
        frmAbout *about = openAbout();
        QVERIFY(about);
        auto *control = about->findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), pixels(twipsRect));
        if (auto *label = qobject_cast<QLabel *>(control)) {
            QTEST(label->textFormat() == Qt::RichText ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                                      : label->text(),
                  "text");
        }
        if (auto *button = qobject_cast<QPushButton *>(control))
            QTEST(button->text(), "text");
    }

    void design()
    {
        frmAbout *about = openAbout();
        QVERIFY(about);
        // A fixed dialog of 5730 x 3600 twips without minimize or maximize box.
        const QSize client = pixels(QRect(0, 0, 5730, 3600)).size();
        QCOMPARE(about->size(), client);
        QCOMPARE(about->minimumSize(), client);
        QCOMPARE(about->maximumSize(), client);
        QCOMPARE(about->windowType(), Qt::Dialog);
        QCOMPARE(about->windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
                 Qt::WindowCloseButtonHint);
        QCOMPARE(about->parentWidget(), main.get()); // owned: no task-bar entry of its own
        QVERIFY(!about->isModal());
        const QPoint centre = about->screen()->geometry().center();
        QVERIFY(qAbs(about->frameGeometry().center().x() - centre.x()) <= 1);
        QVERIFY(qAbs(about->frameGeometry().center().y() - centre.y()) <= 1);

        // The separator: a grey line over a white one, two pixels wide.
        const double perPx = twips::perPixel(main.get());
        auto line = [&](int x1, int x2, int y, int width) {
            return QRect(twips::toPixels(x1, perPx), twips::toPixels(y, perPx),
                         twips::toPixels(x2, perPx) - twips::toPixels(x1, perPx), width);
        };
        QCOMPARE(about->Line1[1]->geometry(), line(90, 5654, 2445, 1));
        QCOMPARE(about->Line1[1]->palette().color(QPalette::Window), QColor(128, 128, 128));
        QCOMPARE(about->Line1[0]->geometry(), line(105, 5654, 2460, 2));
        QCOMPARE(about->Line1[0]->palette().color(QPalette::Window), QColor(Qt::white));

        QCOMPARE(about->picIcon->pixmap().size(), QSize(32, 32));
        QVERIFY(about->windowIcon().availableSizes().contains(QSize(16, 16)));
        QCOMPARE(about->Image1->pixmap().size(), QSize(240, 45));
        QVERIFY(!about->Image1->hasScaledContents());
        QCOMPARE(about->lblTitle->palette().color(QPalette::WindowText), QColor(Qt::black));
        QCOMPARE(about->Label2->palette().color(QPalette::WindowText),
                 about->Label2->palette().color(QPalette::Highlight));

        // The description, byte for byte, read-only on the button face.
        const char *const lines[] = {
            "Velmora is a unique free tool that searches multiple hotel ",
            "reservation websites simultaneously to help you find the lowest rate ",
            "instantly.",
            "",
            "We eliminate the need to search major websites one by one in order to ",
            "compare prices and availability. Our free service is an amazing time and ",
            "money saver! You are welcome to use and free to distribute it.",
        };
        QByteArray description;
        for (const char *line : lines)
            description += QByteArray(line) + "\r\n";
        QCOMPARE(QByteArray(frmAbout::Description), description);
        // Below the engine's line and an empty one.
        QVERIFY(about->Text1->toPlainText().toLatin1().contains("\n\n" + description.replace("\r\n", "\n")));
        QVERIFY(about->Text1->isReadOnly());
        QCOMPARE(about->Text1->palette().color(QPalette::Base), about->Text1->palette().color(QPalette::Button));

        // OK holds the focus; Tab goes on to System Info, the text and the
        // e-mail address.
        QVERIFY(QTest::qWaitForWindowActive(about));
        QCOMPARE(QApplication::focusWidget(), about->cmdOK);
        QVERIFY(about->cmdOK->isDefault());
        QCOMPARE(tabOrder(about->cmdOK, 4),
                 (QWidgetList{about->cmdSysInfo, about->Text1, about->Label2, about->cmdOK}));
    }

    // The e-mail address is a link to a new message, by mouse and by
    // keyboard; the window stays open.
    void mailLink_data()
    {
        QTest::addColumn<int>("tabs");   // Tab from OK, or Shift+Tab if below 0; none is a click
        QTest::newRow("click") << 0;
        QTest::newRow("Tab, then Enter") << 3;
        QTest::newRow("Shift+Tab, then Enter") << -1;
    }
    void mailLink()
    {
        QFETCH(int, tabs);
        mailed.clear();
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "mailOpened");
        const auto unset = qScopeGuard([] { QDesktopServices::unsetUrlHandler(QStringLiteral("mailto")); });
        frmAbout *about = openAbout();
        QVERIFY(QTest::qWaitForWindowActive(about));
        if (tabs) {
            for (int i = 0; i < qAbs(tabs); ++i)
                QTest::keyClick(QApplication::focusWidget(), tabs > 0 ? Qt::Key_Tab : Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), about->Label2);
            QTest::keyClick(about->Label2, Qt::Key_Return);
        } else {
            QTest::mouseClick(about->Label2, Qt::LeftButton, {}, QPoint(8, about->Label2->height() / 2));
        }
        QCOMPARE(mailed, QList<QUrl>{QUrl(QStringLiteral("mailto:") + frmAbout::ContactAddress)});
        QVERIFY(about->isVisible());
        // The same key again goes on past the address.
        if (tabs) {
            QTest::keyClick(about->Label2, tabs > 0 ? Qt::Key_Tab : Qt::Key_Backtab);
            QCOMPARE(QApplication::focusWidget(), tabs > 0 ? static_cast<QWidget *>(about->cmdOK) : about->Text1);
        }
    }

    // In the font the window uses, every text fits the box drawn for it: no
    // label is cut ("Email :" whole) and no line of the description wraps a
    // second time. Row -1 is the label itself, others a description line.
    void textsFitTheirBoxes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("line");
        for (const char *label : {"Label1", "Label2", "lblTitle", "lblVersion"})
            QTest::newRow(label) << label << -1;
        for (int line = 0; line < 7; ++line)
            QTest::addRow("Text1 line %d", line) << "Text1" << line;
    }
    void textsFitTheirBoxes()
    {
        QFETCH(QString, name);
        QFETCH(int, line);
        frmAbout *about = openAbout();
        QVERIFY(QTest::qWaitForWindowExposed(about));
        if (line < 0) {
            auto *label = about->findChild<QLabel *>(name);
            QCOMPARE_LE(label->sizeHint().width(), label->width());
            QCOMPARE_LE(label->sizeHint().height(), label->height());
            return;
        }
        // The description comes after the engine's line and an empty one.
        const QTextBlock block = about->Text1->document()->findBlockByNumber(line + 2);
        about->Text1->document()->documentLayout()->blockBoundingRect(block); // lays the block out
        QVERIFY2(block.layout()->lineCount() == 1, qPrintable(block.text()));
    }

    void load_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("versionText");
        QTest::newRow("1.0.0") << "Velmora" << "1.0.0" << "Version 1.0.0";
        QTest::newRow("2.10.3") << "Velmora" << "2.10.3" << "Version 2.10.3";
        QTest::newRow("major only") << "Velmora" << "3" << "Version 3.0.0";
        QTest::newRow("build number") << "Velmora" << "1.2.3.4" << "Version 1.2.3";
        QTest::newRow("other title") << "Other" << "1.0.0" << "Version 1.0.0";
    }
    void load()
    {
        QFETCH(QString, title);
        QFETCH(QString, version);
        QApplication::setApplicationName(title);
        QApplication::setApplicationVersion(version);
        frmAbout *about = openAbout();
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), "About " + title);
        QCOMPARE(about->lblTitle->text(), title);
        QTEST(about->lblVersion->text(), "versionText");
        // The engine and how far its security fixes go, first: an old one in
        // the warning colour, and in words.
        const QString patches = QLatin1String(qWebEngineChromiumSecurityPatchVersion());
        const bool old = engineage::isOld(patches, QDate::currentDate());
        const QTextBlock first = about->Text1->document()->firstBlock();
        QCOMPARE(first.text(), engineage::describe(QLatin1String(qWebEngineVersion()),
                                                   QLatin1String(qWebEngineChromiumVersion()), patches,
                                                   QDate::currentDate()));
        QVERIFY(first.text().contains(engineage::fixesMonth(patches)));
        QCOMPARE(first.text().contains("Out of date"), old);
        QCOMPARE(first.begin().fragment().charFormat().foreground().color(),
                 old ? frmAbout::warningColour() : QColor(Qt::black));
    }

    // Which engines are old enough to tell the user: a year after their
    // security fixes, on either side of the limit. Debian 12's fixes are
    // dated by their own version, past its major version's release.
    void engineAge_data()
    {
        QTest::addColumn<QString>("patches");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("released");
        QTest::addColumn<QDate>("fixes");
        QTest::addColumn<bool>("old");
        const QDate m108(2022, 11, 29), debian12(2022, 12, 2);
        QTest::newRow("Debian 12's engine now") << "108.0.5359.94" << QDate(2026, 12, 9) << m108 << debian12 << true;
        QTest::newRow("a year to the day") << "108.0.5359.94" << debian12.addDays(365) << m108 << debian12 << false;
        QTest::newRow("a year and a day") << "108.0.5359.94" << debian12.addDays(366) << m108 << debian12 << true;
        QTest::newRow("another patch of 108") << "108.0.5359.181" << m108.addDays(366) << m108 << m108 << true;
        QTest::newRow("between two known") << "111.0.1" << QDate(2023, 3, 1) << QDate(2023, 2, 28)
                                           << QDate(2023, 2, 28) << false;
        QTest::newRow("known last") << "140.0.7339.1" << QDate(2026, 1, 1) << QDate(2025, 9, 2) << QDate(2025, 9, 2)
                                    << false;
        QTest::newRow("newer than the table") << "146.0.1" << QDate(2026, 12, 9) << QDate(2026, 2, 17)
                                              << QDate(2026, 2, 17) << false;
        QTest::newRow("older than the table") << "90.0.1" << QDate(2021, 12, 1) << QDate(2021, 4, 6)
                                              << QDate(2021, 4, 6) << false;
        QTest::newRow("no version") << "" << QDate(2040, 1, 1) << QDate() << QDate() << false;
        QTest::newRow("not a version") << "abc" << QDate(2040, 1, 1) << QDate() << QDate() << false;
    }
    void engineAge()
    {
        QFETCH(QString, patches);
        QFETCH(QDate, today);
        QFETCH(QDate, fixes);
        QFETCH(bool, old);
        QTEST(engineage::releaseDate(patches), "released");
        QCOMPARE(engineage::fixesDate(patches), fixes);
        QCOMPARE(engineage::fixesMonth(patches),
                 fixes.isValid() ? QLocale(QLocale::English).standaloneMonthName(fixes.month()) + u' '
                                       + QString::number(fixes.year())
                                 : QString());
        QCOMPARE(engineage::isOld(patches, today), old);
        // Told once per engine: again only for another one.
        QCOMPARE(engineage::noticeDue(patches, QString(), today), old);
        QCOMPARE(engineage::noticeDue(patches, patches, today), false);
        QCOMPARE(engineage::noticeDue(patches, QStringLiteral("99.0.1"), today), old);
    }

    // The engine this suite runs on: on an old one the main window says so
    // below the page at start, until the user closes the notice; a notice
    // left open is shown again at the next start.
    void oldEngineNoticeUntilClosed()
    {
        const QString patches = QLatin1String(qWebEngineChromiumSecurityPatchVersion());
        const bool old = engineage::isOld(patches, QDate::currentDate());
        Session session;
        for (const bool close : {false, true, false}) {
            const bool due = old && session.settings().value(Settings::Key::EngineNoticeSeen).isEmpty();
            frmMain window([](QWidget *parent) { return new FakeWebView(parent); }, QStringLiteral("http://127.0.0.1:9/"),
                           &session);
            window.Form_Load();
            QPointer<EngineNotice> notice = window.findChild<EngineNotice *>();
            QCOMPARE(!notice.isNull(), due);
            QCOMPARE(session.settings().value(Settings::Key::EngineNoticeSeen), QString(old && !due ? patches : ""));
            if (!notice)
                continue;
            QVERIFY(notice->isVisible());
            QVERIFY(notice->text()->text().contains(QLatin1String(qWebEngineChromiumVersion())));
            QVERIFY(notice->text()->text().contains(engineage::fixesMonth(patches)));
            const QRect page = window.Web.at(0)->geometry();
            QCOMPARE(notice->geometry().bottom(), page.bottom());
            QCOMPARE(notice->width(), page.width());
            if (!close)
                continue;
            QTest::mouseClick(notice->closeButton(), Qt::LeftButton);
            QTRY_VERIFY(notice.isNull());
            QCOMPARE(session.settings().value(Settings::Key::EngineNoticeSeen), patches);
        }
    }

    void closes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK clicked") << "OK";
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("Enter in the text") << "Enter in the text";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close box") << "close box";
    }
    void closes()
    {
        QFETCH(QString, how);
        QPointer<frmAbout> about = openAbout();
        QVERIFY(QTest::qWaitForWindowActive(about));
        if (how == "OK")
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
        else if (how == "Enter")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        else if (how == "Enter in the text")
            QTest::keyClick(about->Text1, Qt::Key_Return);
        else if (how == "Esc")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            about->close();
        QVERIFY(!about->isVisible());
        QTRY_VERIFY(about.isNull());
    }

    // Without a registry the tool cannot be found: the one message, and the
    // About window stays open.
    void sysInfoTellsItIsUnavailable()
    {
        QPointer<frmAbout> about = openAbout();
        DialogCloser closer;
        QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
        QCOMPARE(closer.seen, QStringList{plainMessage("System Information Is Unavailable At This Time")});
        QVERIFY(about);
        QVERIFY(about->isVisible());
    }

    void oneWindowAtATime()
    {
        QPointer<frmAbout> first = openAbout();
        QVERIFY(first);
        QVERIFY(!QApplication::activeModalWidget()); // the main window stays usable
        first->lblTitle->setText(QStringLiteral("changed"));
        QCOMPARE(openAbout(), first.data());
        QCOMPARE(first->lblTitle->text(), QStringLiteral("changed"));

        // Closed, it is gone; the next choice builds and loads a new one, even
        // before the closed one has been deleted.
        first->cmdOK->click();
        frmAbout *second = openAbout();
        QTRY_VERIFY(first.isNull());
        QCOMPARE(main->findChildren<frmAbout *>().size(), 1);
        QVERIFY(second->isVisible());
        QCOMPARE(second->lblTitle->text(), QStringLiteral("Velmora"));
    }
};

VELMORA_TEST_MAIN(TestAbout)
#include "tst_about.moc"
