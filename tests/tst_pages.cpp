#include "findbar.h"
#include "notebar.h"
#include "pagefixture.h"
#include "schemes.h"
#include "sitestrip.h"
#include "testmain.h"
#include "widgetfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLockFile>
#include <QMenu>
#include <QPushButton>
#include <QProcess>
#include <QScopeGuard>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QWebEngineProfile>

#include <csignal>
#include <unistd.h>

// An HTTPS server on 127.0.0.1 whose certificate nobody trusts: a key and a
// certificate made for the test, signed by themselves.
class UntrustedServer : public QTcpServer
{
public:
    explicit UntrustedServer(const QString &folder)
    {
        QProcess openssl;
        openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                                  "/CN=127.0.0.1", "-keyout", folder + "/key.pem", "-out", folder + "/cert.pem"});
        openssl.waitForFinished(60000);
        QFile key(folder + "/key.pem"), certificate(folder + "/cert.pem");
        if (key.open(QIODevice::ReadOnly) && certificate.open(QIODevice::ReadOnly)) {
            m_key = QSslKey(key.readAll(), QSsl::Rsa);
            m_certificate = QSslCertificate(certificate.readAll());
        }
        listen(QHostAddress::LocalHost);
    }
    bool ready() const { return isListening() && !m_key.isNull() && !m_certificate.isNull(); }
    int handshakes = 0;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setPrivateKey(m_key);
        socket->setLocalCertificate(m_certificate);
        ++handshakes;
        socket->startServerEncryption();
    }

private:
    QSslKey m_key;
    QSslCertificate m_certificate;
};

// What pages do in the program's windows, with the real engine and a local
// server: new windows and their titles, full screen, the context menu, the
// keys, find, zoom, a renderer that dies, the profile.
class TestPages : public QObject, PageFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void newWindows_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QSize>("size");
        QTest::newRow("link to a new window") << block("a", "href='/popup' target='_blank'") << 0 << QSize();
        QTest::newRow("link with Ctrl") << block("a", "href='/popup'") << int(Qt::ControlModifier) << QSize();
        QTest::newRow("window.open far off the screen")
            << block("button", "onclick=\"window.open('/popup', 'deal', 'width=5000,height=5000,left=-3000,top=-3000')\"")
            << 0 << QSize(-2, -2);
        QTest::newRow("window.open with a size")
            << block("button", "onclick=\"window.open('/popup', 'deal', 'width=320,height=240,left=40,top=50')\"") << 0
            << QSize(320, 240);
        // Qt 6.4's engine does not pass on what a window without an opener asked for.
        QTest::newRow("window.open with a size, noopener")
            << block("button", "onclick=\"window.open('/popup', 'deal', 'width=320,height=240,left=40,top=50,noopener')\"")
            << 0 << (QT_VERSION >= QT_VERSION_CHECK(6, 8, 0) ? QSize(320, 240) : QSize());
    }
    void newWindows()
    {
        QFETCH(QByteArray, target);
        QFETCH(int, modifiers);
        QFETCH(QSize, size);
        server->setPage("/opener", page("Opener", target, "addEventListener('message', e => received = e.data);"));
        server->setPage("/popup", page("Deal", "Deal", "if (window.opener) window.opener.postMessage('hello', '*');"));
        load("/opener");
        click(view, Qt::KeyboardModifiers(modifiers));
        QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), 1, 20000);
        QPointer<PageWindow> popup = pageWindows().constFirst();
        // The page's title, then its site: a popup cannot pass for another site.
        QTRY_COMPARE_WITH_TIMEOUT(popup->windowTitle(), "Deal - " + server->url(""), 20000);
        QCOMPARE(popup->windowIcon().cacheKey(), window->windowIcon().cacheKey());
        QCOMPARE(popup->view()->LocationURL(), server->url("/popup"));
        if (size == QSize(-2, -2)) {
            // Moved and shrunk until the whole window lies inside the screen.
            const QRect area = popup->screen()->availableGeometry();
            QTRY_VERIFY2(area.contains(popup->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(popup->x()).arg(popup->y()).arg(popup->width()).arg(popup->height())));
        } else if (size.isValid()) {
            QTRY_COMPARE(popup->size(), size);
            QCOMPARE(popup->pos(), QPoint(40, 50));
            // The opener hears from its window, which is closed by its page.
            if (!target.contains("noopener"))
                QTRY_COMPARE(js(view, "received").toString(), QStringLiteral("hello"));
            js(popup->view(), "window.close()");
            QTRY_VERIFY(!popup || !popup->isVisible());
        }
        // Closing the main window closes every page window with it.
        window->close();
        QTRY_VERIFY(pageWindows().isEmpty());
    }

    // A page window lies inside the screen's free area with its frame and
    // title bar: tst_pages_wm runs this under a window manager, which adds
    // them after the window is first shown.
    void windowsFitTheScreen_data()
    {
        QTest::addColumn<QByteArray>("target");
        QTest::addColumn<QSize>("size");
        QTest::newRow("asked for at 0,0")
            << block("button", "onclick=\"window.open('/popup', 'deal', 'left=0,top=0,width=500,height=400')\"")
            << QSize(500, 400);
        QTest::newRow("asked for at 5000 x 5000")
            << block("button", "onclick=\"window.open('/popup', 'deal', 'width=5000,height=5000')\"") << QSize();
        QTest::newRow("no size asked for") << block("a", "href='/popup' target='_blank'") << QSize();
    }
    void windowsFitTheScreen()
    {
        QFETCH(QByteArray, target);
        QFETCH(QSize, size);
        const bool windowManager = qEnvironmentVariableIsSet("VELMORA_TEST_WINDOW_MANAGER");
        server->setPage("/opener", page("Opener", target));
        server->setPage("/popup", page("Deal", "Deal"));
        window->show();
        load("/opener");
        click(view);
        QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), 1, 20000);
        QPointer<PageWindow> popup = pageWindows().constFirst();
        const QRect area = popup->screen()->availableGeometry();
        const auto where = [&] {
            const QRect frame = popup->frameGeometry(), inner = popup->geometry();
            return QStringLiteral("frame %1,%2 %3x%4, window %5,%6 %7x%8 in %9x%10")
                .arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height())
                .arg(inner.x()).arg(inner.y()).arg(inner.width()).arg(inner.height())
                .arg(area.width()).arg(area.height());
        };
        if (windowManager) {
            // The window manager has put its title bar on the window.
            QTRY_VERIFY2_WITH_TIMEOUT(popup->geometry().top() - popup->frameGeometry().top() > 4, qPrintable(where()), 20000);
        }
        QTRY_VERIFY2_WITH_TIMEOUT(area.contains(popup->frameGeometry()), qPrintable(where()), 20000);
        if (size.isValid()) {
            QTRY_COMPARE(popup->size(), size);
            QTRY_COMPARE(popup->frameGeometry().topLeft(), area.topLeft());
        } else if (target.startsWith("<a")) {
            // Two thirds of the screen, centred on the main window.
            QCOMPARE(popup->size(), area.size() * 2 / 3);
            const QPoint off = popup->frameGeometry().center() - window->frameGeometry().center();
            QVERIFY2(off.manhattanLength() <= 40, qPrintable(where()));
        }
        // It stays there: nothing moves it once it is in place.
        const QRect placed = popup->frameGeometry();
        js(popup->view(), "1");
        QCOMPARE(popup->frameGeometry(), placed);
    }

    // Off the home site a strip above the page names the site, in the main
    // window and in a page window, whatever the page's title and look; the
    // page gives up its height and nothing else moves.
    void siteStrip_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("shown");
        QTest::newRow("the home site") << "main" << "";
        QTest::newRow("another site") << "main" << "Not secure http://localhost:%1";
        QTest::newRow("a popup of another site, titled as the home site") << "popup" << "Not secure http://localhost:%1";
        QTest::newRow("a blank popup the home site writes") << "popup" << "";
    }
    void siteStrip()
    {
        QFETCH(QString, where);
        QFETCH(QString, shown);
        const QByteArray target = shown.isEmpty() ? "about:blank" : "http://localhost:" + QByteArray::number(server->port()) + "/home";
        server->setPage("/opener", page("Home", block("a", "href='" + target + "' target='_blank'")));
        const QRect designed = view->geometry(), page = view->engine()->geometry();
        EngineView *strip = view;
        if (where == "popup") {
            load("/opener");
            click(view);
            QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), 1, 20000);
            strip = pageWindows().constFirst()->view();
            QTRY_VERIFY_WITH_TIMEOUT(!strip->Busy() && !strip->LocationURL().isEmpty(), 20000);
        } else if (!shown.isEmpty()) {
            load(QString::fromLatin1(target));
        }
        QTRY_COMPARE(strip->siteStrip()->text(), QString(shown).replace("%1", QString::number(server->port())));
        QCOMPARE(strip->siteStrip()->isVisible(), !shown.isEmpty());
        QCOMPARE(view->geometry(), designed);
        QCOMPARE(view->engine()->geometry(), where == "popup" || shown.isEmpty() ? page : page.adjusted(0, view->siteStrip()->height(), 0, 0));
        if (shown.isEmpty())
            return;
        // Its button goes back to the home page.
        QTest::mouseClick(strip->siteStrip()->findChild<QPushButton *>("siteHome"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(strip->LocationURL() == server->url("/home") && !strip->siteStrip()->isVisible(), 20000);
    }

    // The address of the link under the pointer, or with the keyboard's
    // focus, shows at the bottom left over the page until it leaves the link.
    void linkUnderThePointer_data()
    {
        QTest::addColumn<bool>("pointer");
        QTest::addColumn<bool>("leavesThePage");
        QTest::newRow("the pointer") << true << false;
        QTest::newRow("the pointer, leaving for another window") << true << true;
        QTest::newRow("the keyboard") << false << false;
    }
    void linkUnderThePointer()
    {
        QFETCH(bool, pointer);
        QFETCH(bool, leavesThePage);
        const QString link = QStringLiteral("http://localhost:%1/deals?from=2026-12-20").arg(server->port());
        server->setPage("/links", page("Links", block("a", "href='" + link.toUtf8() + "'")));
        load("/links");
        LinkTarget *target = view->linkTarget();
        QWidget *surface = view->engine()->focusProxy(), *window = view->window();
        // Something of the window's across the page's foot, as the notice of an old engine is.
        QLabel cover(window);
        cover.setAutoFillBackground(true);
        cover.setGeometry(QRect(view->engine()->mapTo(window, QPoint(0, view->engine()->height() - 40)),
                                QSize(view->engine()->width(), 40)));
        cover.show();
        // A page that has not drawn its first frame yet drops the move.
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (pointer)
                QTest::mouseMove(surface, QPoint(50 + attempt % 2, 50));
            else
                js(view, "document.getElementById('target').focus()");
            if (QTest::qWaitFor([&] { return target->shownText() == link; }, 2000))
                break;
        }
        QCOMPARE(target->shownText(), link);
        QCOMPARE(target->mapTo(window, target->rect().bottomLeft()),
                 view->engine()->mapTo(window, view->engine()->rect().bottomLeft()));
        // Seen whole, whatever the window lays over the page's foot.
        QCOMPARE(window->grab(QRect(target->mapTo(window, QPoint()), target->size())).toImage(),
                 target->grab().toImage());
        QEvent leave(QEvent::Leave);
        if (leavesThePage)
            QApplication::sendEvent(view->engine(), &leave);
        else if (pointer)
            QTest::mouseMove(surface, QPoint(600, 300));
        else
            js(view, "document.getElementById('target').blur()");
        QTRY_COMPARE_WITH_TIMEOUT(target->shownText(), QString(), 20000);
    }

    void keys_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("effect");
        QTest::newRow("F5") << QKeySequence(Qt::Key_F5) << "reload";
        QTest::newRow("Ctrl+R") << QKeySequence(Qt::CTRL | Qt::Key_R) << "reload";
        QTest::newRow("Alt+Left") << QKeySequence(Qt::ALT | Qt::Key_Left) << "back";
        QTest::newRow("Alt+Right") << QKeySequence(Qt::ALT | Qt::Key_Right) << "nothing";
        QTest::newRow("Ctrl+P") << QKeySequence(Qt::CTRL | Qt::Key_P) << "print dialog";
        QTest::newRow("Ctrl+=") << QKeySequence(Qt::CTRL | Qt::Key_Equal) << "zoom 1.1";
        QTest::newRow("Ctrl+-") << QKeySequence(Qt::CTRL | Qt::Key_Minus) << "zoom 0.9";
        QTest::newRow("Ctrl+0 after Ctrl+=") << QKeySequence(Qt::CTRL | Qt::Key_0) << "zoom 1";
        QTest::newRow("Esc while loading") << QKeySequence(Qt::Key_Escape) << "stop";
        QTest::newRow("Esc while not loading") << QKeySequence(Qt::Key_Escape) << "page gets Escape";
    }
    void keys()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, effect);
        server->setPage("/second", page("Second", block("input", ""),
                                        "addEventListener('keydown', e => window.lastKey = e.key, true);"));
        server->setPage("/slow", HttpServer::Page{page("Slow", "Slow"), "text/html", 60000});
        load("/second");
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        click(view); // the focus is in a text field of the page
        QTRY_VERIFY(view->engine()->focusProxy()->hasFocus());
        QTRY_COMPARE(js(view, "document.activeElement.id").toString(), QStringLiteral("target"));
        if (effect == "stop")
            view->Navigate(server->url("/slow"));
        QTRY_VERIFY(view->Busy() == (effect == "stop"));
        if (effect == "zoom 1")
            QTest::keySequence(view->engine()->focusProxy(), QKeySequence(Qt::CTRL | Qt::Key_Equal));
        QTRY_COMPARE(view->page()->zoomFactor(), effect == "zoom 1" ? 1.1 : 1.0);
        DialogCloser closer;
        const int secondLoads = server->requests().count("/second");
        QTest::keySequence(view->engine()->focusProxy(), keys);
        if (effect == "reload")
            QTRY_COMPARE_WITH_TIMEOUT(server->requests().count("/second"), secondLoads + 1, 20000);
        else if (effect == "back")
            QTRY_COMPARE_WITH_TIMEOUT(view->LocationURL(), server->url("/home"), 20000);
        else if (effect == "print dialog")
            QTRY_COMPARE(closer.seen, QStringList{"QPrintDialog"});
        else if (effect.startsWith("zoom"))
            QTRY_COMPARE(view->page()->zoomFactor(), effect.section(' ', 1).toDouble());
        else if (effect == "stop")
            QTRY_VERIFY(!view->Busy());
        else if (effect == "page gets Escape")
            QTRY_COMPARE(js(view, "window.lastKey").toString(), QStringLiteral("Escape"));
        // Nothing else happens, and nothing is said (Forward at the end of the
        // history included): a round trip through the page, then a look.
        js(view, "1");
        QCOMPARE(view->LocationURL(), server->url(effect == "back" ? "/home" : "/second"));
        QCOMPARE(closer.seen.size(), effect == "print dialog" ? 1 : 0);
    }

    void deadRendererAndRefresh()
    {
        const qint64 pid = view->page()->renderProcessPid();
        QVERIFY(pid > 0);
        QVERIFY(view->notice().isEmpty());
        ::kill(pid_t(pid), SIGKILL);
        QTRY_VERIFY_WITH_TIMEOUT(view->notice().startsWith("This page stopped working."), 20000);
        QTest::mouseClick(window->cmdRefresh, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(view->notice().isEmpty() && !view->Busy(), 20000);
        QCOMPARE(js(view, "document.title").toString(), QStringLiteral("Home"));
    }

    // Full screen names the site and how to leave; Esc leaves, the page
    // cannot come back without a new click, and sees no key nobody pressed.
    void fullScreen()
    {
        server->setPage("/gallery", page("Gallery", block("button", "onclick='document.body.requestFullscreen()'"),
                                         "var keys = []; addEventListener('keydown', e => {"
                                         " keys.push(e.key); document.body.requestFullscreen(); }, true);"));
        load("/gallery");
        const QRect before = window->geometry();
        click(view);
        QTRY_VERIFY_WITH_TIMEOUT(js(view, "!!document.fullscreenElement").toBool(), 20000);
        QWidget *screenWindow = view->fullScreenWindow();
        QVERIFY(screenWindow && screenWindow->isFullScreen());
        auto *notice = screenWindow->findChild<QLabel *>("fullScreenNotice");
        QVERIFY(notice && notice->isVisible());
        QCOMPARE(notice->text(), server->url("") + " is full screen. Press Esc to leave full screen.");
        QTest::keyClick(screenWindow->focusWidget() ? screenWindow->focusWidget() : screenWindow, Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!view->fullScreenWindow(), 20000);
        QTRY_VERIFY(!js(view, "!!document.fullscreenElement").toBool());
        QCOMPARE(view->engine()->page(), view->page());
        QCOMPARE(window->geometry(), before);
        // The page asks again from its own key handler, on another Esc:
        // refused until the user clicks in it or types again.
        QTest::keyClick(view->engine()->focusProxy(), Qt::Key_Escape);
        QTRY_VERIFY(js(view, "keys.length").toInt() >= 1);
        js(view, "1");
        QVERIFY(!js(view, "!!document.fullscreenElement").toBool());
        QVERIFY(!view->fullScreenWindow());
        const QStringList keys = js(view, "keys").toStringList();
        QVERIFY2(!keys.contains("Tab"), qPrintable(keys.join(',')));
        click(view);
        QTRY_VERIFY_WITH_TIMEOUT(view->fullScreenWindow(), 20000);
    }

    // A popup full screen that goes in any order, while the rest stays.
    void fullScreenPopupGoes_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("the popup closes itself") << "window.close()";
        QTest::newRow("the popup's page leaves full screen first")
            << "document.exitFullscreen().then(() => window.close())";
        QTest::newRow("the main window closes") << "main";
    }
    void fullScreenPopupGoes()
    {
        QFETCH(QString, how);
        server->setPage("/opener", page("Opener", block("a", "href='/show' target='_blank'")));
        server->setPage("/show", page("Show", block("button", "onclick='document.body.requestFullscreen()'")));
        load("/opener");
        click(view);
        QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), 1, 20000);
        QPointer<PageWindow> popup = pageWindows().constFirst();
        QTRY_VERIFY_WITH_TIMEOUT(!popup->view()->Busy() && popup->view()->LocationURL() == server->url("/show"), 20000);
        click(popup->view());
        QTRY_VERIFY_WITH_TIMEOUT(popup->view()->fullScreenWindow(), 20000);
        if (how == "main") {
            window->close();
            QTRY_VERIFY(!popup);
            return;
        }
        js(popup->view(), how);
        QTRY_VERIFY_WITH_TIMEOUT(!popup, 20000);
        QVERIFY(window->isVisible());
        QCOMPARE(js(view, "document.title").toString(), QStringLiteral("Opener"));
    }

    // Windows open only on the user's click; a blocked one is said, by the
    // program and never by the page: window.open stays the engine's own.
    void popupsNeedAClick_data()
    {
        QTest::addColumn<QByteArray>("onClick");
        QTest::addColumn<QByteArray>("onLoad");
        QTest::addColumn<int>("windows");
        QTest::addColumn<bool>("notice");
        QTest::newRow("a loop without a click")
            << QByteArray() << QByteArray("for (let i = 0; i < 20; ++i) window.open('/deal');") << 0 << true;
        QTest::newRow("a click") << QByteArray("window.open('/deal')") << QByteArray() << 1 << false;
        QTest::newRow("a click, noopener")
            << QByteArray("window.open('/deal', '_blank', 'noopener')") << QByteArray() << 1 << false;
        QTest::newRow("the page's console says a window was blocked")
            << QByteArray() << QByteArray("console.debug('velmora:window-blocked'); console.info('velmora:window-blocked');")
            << 0 << false;
    }
    void popupsNeedAClick()
    {
        QFETCH(QByteArray, onClick);
        QFETCH(QByteArray, onLoad);
        QFETCH(int, windows);
        QFETCH(bool, notice);
        server->setPage("/deal", page("Deal", "Deal"));
        server->setPage("/flood", page("Flood", block("button", "onclick=\"" + onClick + "\""), onLoad));
        load("/flood");
        QVERIFY2(js(view, "String(window.open)").toString().contains("[native code]"),
                 qPrintable(js(view, "String(window.open)").toString()));
        if (!onClick.isEmpty()) {
            click(view);
            QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), windows, 20000);
        }
        if (notice) {
            QTRY_VERIFY_WITH_TIMEOUT(view->note().contains("was blocked"), 20000);
            QVERIFY2(view->note().contains(server->url("")), qPrintable(view->note()));
            // The note opens the window the page wanted, once, for the user.
            view->noteBar()->actionButton()->click();
            ++windows;
            QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), windows, 20000);
            QTRY_COMPARE_WITH_TIMEOUT(pageWindows().constFirst()->view()->LocationURL(), server->url("/deal"), 20000);
        } else {
            js(view, "1");
            QCOMPARE(view->note(), QString());
        }
        // Nothing opens later either.
        load("/deal");
        QCOMPARE(pageWindows().size(), windows);
    }

    // A window with no address of its own shows what its opener writes into
    // it: its title names the opener's site, whatever the page claims.
    void blankWindowNamesItsOpener_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::newRow("window.open('')") << QByteArray("");
        QTest::newRow("about:blank") << QByteArray("about:blank");
    }
    void blankWindowNamesItsOpener()
    {
        QFETCH(QByteArray, address);
        server->setPage("/opener", page("Opener", block("button", "onclick=\"window.open('" + address
                                                                      + "').document.title = 'Sign in - https://bank.example';\"")));
        load("/opener");
        click(view);
        QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(pageWindows().constFirst()->windowTitle(),
                                  "Sign in - https://bank.example - " + server->url(""), 20000);
    }

    // A page's own dialogs in a loop: from the second on, the user can stop them.
    void scriptDialogsCanBeStopped()
    {
        int shown = 0;
        bool offeredFirst = false;
        QString heading;
        ModalWatch watch([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            if (!box)
                return;
            ++shown;
            // The site is named whole, where no window manager shortens it.
            if (shown == 1) {
                heading = box->text().section(u'\n', 0, 0);
                offeredFirst = box->checkBox();
            } else if (box->checkBox()) {
                box->checkBox()->setChecked(true);
            }
            box->button(QMessageBox::Ok)->click();
        });
        server->setPage("/nag", page("Nag", "", "setTimeout(() => { for (let i = 0; i < 100; ++i) alert('Book now!');"
                                                " document.title = 'Done'; }, 0);"));
        view->Navigate(server->url("/nag"));
        QTRY_COMPARE_WITH_TIMEOUT(shown, 2, 20000);
        QVERIFY(!offeredFirst);
        QCOMPARE(heading, QUrl(server->url("")).authority() + " says");
        // The loop runs on without dialogs to its end.
        QTRY_COMPARE_WITH_TIMEOUT(view->LocationName(), QStringLiteral("Done"), 20000);
        QCOMPARE(shown, 2);
    }

    void contextMenu()
    {
        // On a link: a window of its own, but no tab where there are none.
        server->setPage("/link", page("Link", block("a", "href='/home'")));
        load("/link");
        click(view, {}, Qt::RightButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu *>(QApplication::activePopupWidget()), 20000);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu->actions().contains(view->page()->action(QWebEnginePage::OpenLinkInNewWindow)));
        QVERIFY(!menu->actions().contains(view->page()->action(QWebEnginePage::OpenLinkInNewTab)));
        menu->close();
        load("/home");
        click(view, {}, Qt::RightButton);
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu *>(QApplication::activePopupWidget()), 20000);
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *source = view->page()->action(QWebEnginePage::ViewSource);
        QVERIFY(menu->actions().contains(source));
        QVERIFY(menu->actions().contains(view->page()->action(QWebEnginePage::SavePage)));
        QVERIFY(!menu->actions().contains(view->page()->action(QWebEnginePage::InspectElement)));
        menu->close();
        source->trigger();
        QTRY_COMPARE_WITH_TIMEOUT(pageWindows().size(), 1, 20000);
        QTRY_COMPARE(pageWindows()[0]->view()->LocationURL(), "view-source:" + server->url("/home"));
        QTRY_COMPARE(pageWindows()[0]->windowTitle(), "Source of " + server->url("/home"));
    }

    void profileLastsAndIsPrivate()
    {
        QWebEngineProfile *profile = view->page()->profile();
        QCOMPARE(profile, session->profile());
        QVERIFY(!profile->isOffTheRecord());
        QCOMPARE(profile->httpCacheType(), QWebEngineProfile::DiskHttpCache);
        QCOMPARE(profile->persistentStoragePath(), Session::storagePath());
        for (const QString &path : {Session::storagePath(), Session::cachePath()}) {
            QVERIFY2(path.startsWith(qEnvironmentVariable("XDG_DATA_HOME"))
                         || path.startsWith(qEnvironmentVariable("XDG_CACHE_HOME")),
                     qPrintable(path));
            QCOMPARE(QFileInfo(path).permissions() & 0x0077, QFileDevice::Permissions());
        }
    }

    void navigateOpensOnlyWebPagesAndFiles_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("opens");
        QTest::newRow("http") << "http://127.0.0.1:9/x" << true;
        QTest::newRow("https") << "https://127.0.0.1:9/x" << true;
        QTest::newRow("file") << "file:///nowhere/page.html" << true;
        QTest::newRow("javascript") << "javascript:window.ran=1" << false;
        QTest::newRow("data") << "data:text/html,<script>window.ran=1</script>" << false;
        QTest::newRow("view-source") << "view-source:http://127.0.0.1:9/x" << false;
        QTest::newRow("engine's own") << "chrome://version" << false;
        QTest::newRow("empty") << "" << false;
    }
    void navigateOpensOnlyWebPagesAndFiles()
    {
        QFETCH(QString, address);
        QFETCH(bool, opens);
        if (opens) {
            view->Navigate(address);
            QTRY_VERIFY_WITH_TIMEOUT(view->LocationURL() == address, 20000);
        } else {
            QVERIFY_THROWS_EXCEPTION(WebViewError, view->Navigate(address));
            js(view, "1");
            QCOMPARE(view->LocationURL(), server->url("/home"));
            QVERIFY(js(view, "window.ran").isNull());
        }
    }

    void localPageReadsNoOtherFile()
    {
        QFile secret(folder.filePath("secret.txt")), local(folder.filePath("local.html"));
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("secret") && local.open(QIODevice::WriteOnly));
        local.write(page("Local", "", "var x = new XMLHttpRequest(); x.open('GET', 'secret.txt');"
                                      "x.onload = () => received = 'read ' + x.responseText;"
                                      "x.onerror = () => received = 'refused'; x.send();"));
        local.close();
        view->Navigate(QUrl::fromLocalFile(local.fileName()).toString());
        QTRY_COMPARE_WITH_TIMEOUT(js(view, "received").toString(), QStringLiteral("refused"), 20000);
    }

    // Ctrl+F finds as the user types and counts; Enter, Shift+Enter and F3
    // move between the matches; Esc gives the keyboard back to the page.
    void findInPage()
    {
        server->setPage("/hotels", page("Hotels", "<p>Lisbon Star</p><p>Porto Inn</p><p>Lisbon Bay</p><p>Lisbon Park</p>"));
        load("/hotels");
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_F));
        FindBar *bar = view->findBar();
        QTRY_VERIFY(bar->isVisible() && bar->field()->hasFocus());
        QTest::keyClicks(bar->field(), "lisbon");
        QTRY_COMPARE(bar->countText(), QStringLiteral("1 of 3"));
        const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; const char *count; } steps[] = {
            {Qt::Key_Return, Qt::NoModifier, "2 of 3"}, {Qt::Key_Return, Qt::NoModifier, "3 of 3"},
            {Qt::Key_Return, Qt::ShiftModifier, "2 of 3"}, {Qt::Key_F3, Qt::NoModifier, "3 of 3"},
            {Qt::Key_F3, Qt::ShiftModifier, "2 of 3"}};
        for (const auto &step : steps) {
            QTest::keyClick(bar->field(), step.key, step.modifiers);
            QTRY_COMPARE(bar->countText(), QString::fromLatin1(step.count));
        }
        QTest::keyClick(bar->field(), Qt::Key_Escape);
        QTRY_VERIFY(!bar->isVisible());
        QTRY_VERIFY(view->engine()->focusProxy()->hasFocus());
        QCOMPARE(js(view, "String(getSelection())").toString().toLower(), QStringLiteral("lisbon"));
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_F));
        QTRY_VERIFY(bar->isVisible());
        // Reopened on the same word, it counts the page again.
        QTRY_VERIFY(bar->countText().endsWith(QStringLiteral(" of 3")));
        bar->field()->clear();
        QTest::keyClicks(bar->field(), "Faro");
        QTRY_COMPARE(bar->countText(), QStringLiteral("Not found"));
    }

    // The zoom belongs to the site: its other pages open at it, another
    // site stays at 100 %, the window shows it, and it lasts a restart. The
    // engine has the zoom of the site a page goes to as its load starts, not
    // that of the page shown until then.
    void zoomBySite()
    {
        QList<double> atStart;
        const QMetaObject::Connection started = connect(view->page(), &QWebEnginePage::loadStarted, view,
                                                        [&] { atStart << view->page()->zoomFactor(); });
        const auto unhook = qScopeGuard([&] { disconnect(started); });
        HttpServer other;
        other.setPage("/home", page("Elsewhere", "Elsewhere"));
        server->setPage("/second", page("Second", "Second"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keySequence(window.get(), QKeySequence(Qt::CTRL | Qt::Key_Equal));
        QTRY_COMPARE(view->page()->zoomFactor(), 1.1);
        QTRY_VERIFY(window->cmdZoom->isVisible());
        QCOMPARE(window->cmdZoom->text(), QStringLiteral("110%"));
        load("/second");
        QTRY_COMPARE(view->page()->zoomFactor(), 1.1);
        view->Navigate(other.url("/home"));
        QTRY_VERIFY_WITH_TIMEOUT(view->LocationName() == "Elsewhere" && !view->Busy(), 20000);
        QTRY_COMPARE(view->page()->zoomFactor(), 1.0);
        QCOMPARE(atStart, (QList<double>{1.1, 1.0}));
        QVERIFY(!window->cmdZoom->isVisible());
        // A new session, as after a restart.
        window.reset();
        session.reset();
        Session restarted;
        QCOMPARE(restarted.zoom().factorFor(QUrl(server->url("/home"))), 1.1);
        restarted.zoom().setFactorFor(QUrl(server->url("/home")), 1.0);
    }

    // The start page built in opens when the user goes there (Home, a
    // bookmark) and sets the site: typed there, it is the next Home and the
    // next start's page; anything but a web page is refused with the reason.
    // No page can send anyone there, nor send its form, even with the key of
    // a start page served.
    void startPageOnlyForTheUser_data()
    {
        QTest::addColumn<QByteArray>("target"); // empty: the user opens it
        QTest::addColumn<bool>("onFile"); // the page with the target is a file, which the engine lets through
        QTest::addColumn<QString>("typed"); // what the user types into the start page
        const QByteArray form = "<form action='velmora:start'><input type=hidden name=home value='http://127.0.0.2/'>"
                                "<input type=hidden name=key value='KEY'>"
            + block("button", "type=submit") + "</form>";
        QTest::newRow("the user") << QByteArray() << false << "";
        QTest::newRow("the user sets the site") << QByteArray() << false << "SERVER";
        QTest::newRow("the user types a file") << QByteArray() << false << "file:///etc/passwd";
        QTest::newRow("a link clicked") << block("a", "href='velmora:start'") << false << "";
        QTest::newRow("a script") << block("button", "onclick=\"location = 'velmora:start'\"") << false << "";
        QTest::newRow("a link on a file") << block("a", "href='velmora:start'") << true << "";
        QTest::newRow("a script on a file") << block("button", "onclick=\"location = 'velmora:start'\"") << true << "";
        QTest::newRow("the history, by script") << block("button", "onclick='history.back()'") << false << "";
        QTest::newRow("the form, on a page") << form << false << "";
        QTest::newRow("the form, on a file") << form << true << "";
    }
    void startPageOnlyForTheUser()
    {
        QFETCH(QByteArray, target);
        QFETCH(bool, onFile);
        QFETCH(QString, typed);
        QFile::remove(Settings::defaultFile());
        session->setHomePage([this] {
            const QString set = session->settings().value(Settings::Key::HomePage);
            return set.isEmpty() ? QString::fromLatin1(schemes::StartPage) : set;
        });
        const QString start = QString::fromLatin1(schemes::StartPage);
        if (target.isEmpty()) {
            load(start);
            QCOMPARE(view->LocationName(), QStringLiteral("Velmora"));
            const QString text = js(view, "document.body.innerText").toString();
            QVERIFY2(text.indexOf("velmora.conf") < text.indexOf("/etc/xdg/Velmora/velmora.conf"), qPrintable(text));
            if (typed.isEmpty())
                return;
            const QString site = server->url("/second");
            server->setPage("/second", page("Second", "Second"));
            // Typed as the user types it, with Enter: the field has the keyboard.
            QTRY_COMPARE(js(view, "document.activeElement.id").toString(), QStringLiteral("home"));
            QTest::keyClicks(view->engine()->focusProxy(), typed == "SERVER" ? site : typed);
            QTRY_COMPARE(js(view, "document.activeElement.value").toString(), typed == "SERVER" ? site : typed);
            QTest::keyClick(view->engine()->focusProxy(), Qt::Key_Return);
            if (typed != "SERVER") {
                QTRY_VERIFY_WITH_TIMEOUT(js(view, "document.body.innerText").toString().contains(
                                             "only web pages (http or https) can be opened, not \"" + typed + "\""),
                                         20000);
                QCOMPARE(session->settings().value(Settings::Key::HomePage), QString());
                return;
            }
            QTRY_COMPARE_WITH_TIMEOUT(view->LocationURL(), site, 20000);
            QCOMPARE(session->settings().value(Settings::Key::HomePage), site);
            // The next Home, and the next start.
            load("/home");
            window->command(PageCommand::Home)->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(view->LocationURL(), site, 20000);
            QCOMPARE(Settings(Settings::defaultFile()).value(Settings::Key::HomePage), site);
            return;
        }
        // A form carries the key of the start page the user has open elsewhere.
        if (target.contains("KEY")) {
            load(start);
            target.replace("KEY", js(view, "document.querySelector('[name=key]').value").toString().toLatin1());
        }
        QString links = server->url("/links");
        if (onFile) {
            QFile file(folder.filePath("links.html"));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(page("Links", target)) > 0);
            links = QUrl::fromLocalFile(file.fileName()).toString();
        }
        server->setPage("/links", page("Links", target));
        // The page before, in the history: the start page, as the user went there.
        if (target.contains("history"))
            load(start);
        load(links);
        click(view);
        QTest::qWait(1500);
        QCOMPARE(view->LocationURL(), links);
        QCOMPARE(session->settings().value(Settings::Key::HomePage), QString());
    }

    // After the user chooses where the page goes, the page has the keyboard.
    void typingGoesToThePage_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Home") << "home";
        QTest::newRow("Back") << "back";
    }
    void typingGoesToThePage()
    {
        QFETCH(QString, how);
        server->setPage("/form", page("Form", "<input id='name' autofocus>"));
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->cmdBack->setFocus();
        if (how == "home") {
            session->setHomePage([form = server->url("/form")] { return form; });
            QTest::mouseClick(window->cmdHome, Qt::LeftButton);
        } else {
            load("/form");
            load("/home");
            window->cmdBack->setFocus();
            QTest::mouseClick(window->cmdBack, Qt::LeftButton);
        }
        QTRY_VERIFY_WITH_TIMEOUT(view->LocationURL() == server->url("/form") && !view->Busy(), 20000);
        QTRY_COMPARE(js(view, "document.activeElement.id").toString(), QStringLiteral("name"));
        QTRY_VERIFY(view->engine()->focusProxy()->hasFocus());
        // The keyboard is the page's (the program's end-to-end suite types into it).
        QCOMPARE(QApplication::focusWidget(), view->engine()->focusProxy());
        QVERIFY(!window->cmdBack->hasFocus() && !window->cmdHome->hasFocus());
    }

    // The notice takes the page's place only when the page itself was refused.
    void untrustedCertificateIsRefusedAndExplained_data()
    {
        QTest::addColumn<bool>("frame");
        QTest::newRow("the page itself") << false;
        QTest::newRow("a frame inside a page") << true;
    }
    void untrustedCertificateIsRefusedAndExplained()
    {
        QFETCH(bool, frame);
        UntrustedServer untrusted(folder.path());
        QVERIFY(untrusted.ready());
        // Another site than the home site's, so that the strip names it.
        const QString address = QStringLiteral("https://localhost:%1/deal").arg(untrusted.serverPort());
        if (frame) {
            server->setPage("/framed", page("Framed", "<iframe src='" + address.toUtf8() + "'></iframe>"));
            load("/framed");
        } else {
            view->Navigate(address);
        }
        QTRY_VERIFY_WITH_TIMEOUT(untrusted.handshakes > 0 && !view->Busy(), 20000);
        if (frame) {
            js(view, "1");
            QCOMPARE(view->notice(), QString());
            QCOMPARE(js(view, "document.title").toString(), QStringLiteral("Framed"));
            return;
        }
        QTRY_COMPARE(view->notice().section('\n', 0, 0),
                     QStringLiteral("The certificate of https://localhost:%1 is not trusted, so the page was not "
                                    "opened.")
                         .arg(untrusted.serverPort()));
        // The strip says so too, and what the engine gave of the certificate.
        QTRY_COMPARE(view->siteStrip()->text(), QStringLiteral("Certificate not trusted localhost:%1").arg(untrusted.serverPort()));
        view->siteStrip()->showDetails();
        QVERIFY(view->siteStrip()->details()->findChild<QLabel *>("siteCertificate")->text().startsWith("Issued to: 127.0.0.1\n"));
        // Another page takes its place as usual.
        load("/home");
        QVERIFY(view->notice().isEmpty());
    }

    // A profile folder others could reach, or one another copy of the
    // program is using, is not used: nothing is written into it, the profile
    // keeps nothing on disk, and the reason is given.
    void unsafeProfileFolderIsRefused_data()
    {
        QTest::addColumn<QString>("plant");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a symlink") << "symlink" << "is a link to another place";
        QTest::newRow("another user's") << "foreign" << "belongs to another user";
        QTest::newRow("in use by another copy") << "locked" << "Another copy of Velmora is using the site data in";
    }
    void unsafeProfileFolderIsRefused()
    {
        QFETCH(QString, plant);
        QFETCH(QString, reason);
        QTemporaryDir data;
        const QString web = data.filePath("Velmora/web"), elsewhere = data.filePath("elsewhere");
        QVERIFY(QDir().mkpath(data.filePath("Velmora")) && QDir().mkpath(elsewhere));
        // The copy holding the lock is alive: this very process holds it.
        QLockFile held(data.filePath("Velmora/web.lock"));
        if (plant == "symlink") {
            QVERIFY(QFile::link(elsewhere, web));
        } else if (plant == "locked") {
            QVERIFY(held.tryLock());
        } else {
            if (::geteuid() != 0)
                QSKIP("only root can give a folder to another user");
            QVERIFY(QDir().mkpath(web) && ::chown(QFile::encodeName(web).constData(), 65534, 65534) == 0);
        }
        const QByteArray before = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
        const auto restore = qScopeGuard([&] { qputenv("XDG_DATA_HOME", before); });
        {
            Session unsafe;
            QSignalSpy told(&unsafe, &Session::profileProblemFound);
            QVERIFY(unsafe.profile()->isOffTheRecord());
            QVERIFY2(unsafe.profileProblem().contains(reason), qPrintable(unsafe.profileProblem()));
            QCOMPARE(told.count(), 1);
            EngineView page(unsafe);
            page.Navigate(server->url("/home"));
            QTRY_VERIFY_WITH_TIMEOUT(page.LocationName() == "Home" && !page.Busy(), 20000);
        }
        QCOMPARE(QDir(plant == "symlink" ? elsewhere : web).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                 QStringList());
    }
};

VELMORA_TEST_MAIN(TestPages)
#include "tst_pages.moc"
