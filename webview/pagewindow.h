#pragma once

#include "webpage.h"

#include <QUrl>
#include <QWidget>

class EngineView;
class PageActions;
class Session;

// A window a page opened (a link to a new window, window.open, a link
// opened with Ctrl or the middle button): one web view on the session's
// profile, titled with its page's title and site, so that it cannot pass
// for another site. It lies inside the screen and closes with `owner`.
class PageWindow : public QWidget
{
    Q_OBJECT
public:
    PageWindow(Session &session, QWidget *owner);

    // How a page opens windows: each a PageWindow on `session`, which closes
    // with `owner` (the program's first window, not the opener: closing the
    // opener leaves it open) and opens its own windows the same way.
    static WebPage::WindowMaker maker(Session &session, QWidget *owner);

    EngineView *view() const { return m_view; }
    PageActions *actions() const { return m_actions; }

    // What the title says for a page of `title` at `url`: the page's title,
    // then its site. A page with no address of its own (about:blank, which
    // its opener writes) is named by the site of `opener`; a page's source
    // by the page's address.
    static QString titleFor(const QString &title, const QUrl &url, const QUrl &opener = QUrl());

    // Moves and shrinks `wanted` (the window's content) until the whole
    // window, frame included, lies inside the available area of its screen.
    void place(QRect wanted);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    // The window's frame as far as the window system has told it.
    QMargins frameMargins() const;
    void updateTitle();

    EngineView *m_view;
    PageActions *m_actions;
    // The page asked to close while one of its questions was open.
    bool m_closeWhenAnswered = false;
    // What the window was last placed for, and with which frame: a window
    // manager puts its frame on after the window is shown, and the window is
    // placed again with it.
    QRect m_wanted;
    QMargins m_placedWith;
    bool m_framed = false;
};
