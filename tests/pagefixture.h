#pragma once

#include "engineview.h"
#include "frmmain.h"
#include "httpserver.h"
#include "pagewindow.h"
#include "session.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include <memory>
#include <optional>

// Shared by the page suites: the program's main window around a real engine
// view, on a session of its own and a local server, and the ways a test
// drives a page as the user does.
class PageFixture
{
protected:
    std::unique_ptr<HttpServer> server;
    // Each row has a session of its own: no answer carries over.
    std::unique_ptr<Session> session;
    std::unique_ptr<frmMain> window;
    EngineView *view = nullptr;
    QTemporaryDir folder;

    // A page whose first 400 x 200 pixels are one link or button.
    static QByteArray page(const QByteArray &title, const QByteArray &target, const QByteArray &script = {})
    {
        return "<html><head><title>" + title + "</title><script>var received = '';" + script
            + "</script></head><body style='margin:0'>" + target + "</body></html>";
    }
    static QByteArray block(const QByteArray &tag, const QByteArray &attributes)
    {
        return "<" + tag + " id='target' " + attributes + " style='display:block;width:400px;height:200px'>go</" + tag
            + ">";
    }

    // The script's value. The answer may come after this has given up
    // waiting, so it goes where it can still be written then.
    static QVariant js(EngineView *on, const QString &script)
    {
        const auto answer = std::make_shared<std::optional<QVariant>>();
        on->page()->runJavaScript(script, [answer](const QVariant &value) { *answer = value; });
        (void)QTest::qWaitFor([&] { return answer->has_value(); }, 20000);
        return answer->value_or(QVariant());
    }

    // Loads `path` of the server, or a whole address, and waits until it is shown.
    void load(const QString &path, EngineView *on = nullptr)
    {
        on = on ? on : view;
        const QString address = path.startsWith(u'/') ? server->url(path) : path;
        on->Navigate(address);
        QTRY_COMPARE_WITH_TIMEOUT(on->LocationURL(), address, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!on->Busy(), 20000);
    }

    // A click as the user makes it. A page that has not drawn its first
    // frame yet drops the click; it is made again until the page has seen
    // the button go down (or has been left, which only a seen click does).
    static void click(EngineView *on, Qt::KeyboardModifiers modifiers = {}, Qt::MouseButton button = Qt::LeftButton)
    {
        js(on, "window.pressed = 0; addEventListener('mousedown', () => ++window.pressed, true)");
        QWidget *surface = on->engine()->focusProxy();
        for (int attempt = 0; attempt < 5; ++attempt) {
            QTest::mouseMove(surface, QPoint(50, 50));
            QTest::mouseClick(surface, button, modifiers, QPoint(50, 50));
            if (QTest::qWaitFor([&] { return js(on, "window.pressed") != QVariant(0); }, 2000))
                return;
        }
    }

    static QList<PageWindow *> pageWindows()
    {
        QList<PageWindow *> found;
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *page = qobject_cast<PageWindow *>(widget); page && page->isVisible())
                found << page;
        }
        return found;
    }

    // Every text in `dialog` is shown as the characters it holds, never as
    // markup a page could have slipped in.
    static bool allPlainText(QWidget *dialog)
    {
        // (A field's own label, with its shortcut letter, is the program's.)
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            if (!label->text().isEmpty() && !label->buddy() && label->textFormat() != Qt::PlainText)
                return false;
        }
        return true;
    }

    // The main window at the server's home page.
    void setUp()
    {
        server = std::make_unique<HttpServer>();
        QVERIFY(server->isListening());
        server->setPage("/home", page("Home", "Hotels"));
        session = std::make_unique<Session>();
        session->setHomePage([home = server->url("/home")] { return home; });
        window = std::make_unique<frmMain>(
            [this](QWidget *parent) {
                return view = new EngineView(*session, parent, PageWindow::maker(*session, parent->window()));
            },
            server->url("/home"),
            session.get());
        window->Form_Load();
        QTRY_VERIFY_WITH_TIMEOUT(!view->Busy() && view->LocationURL() == server->url("/home"), 20000);
    }
    void tearDown()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        session.reset();
        server.reset();
    }
};
