#pragma once

#include "webview.h"

#include <QKeySequence>
#include <QList>
#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QWidget;

// The page commands of a browser window, one QAction each, made from one
// table: a row names the command, gives its text (with its access letter),
// its keys and where it shows; the view runs it (Back, Forward, Stop, Refresh
// and Home by the design's operations, the others by WebView::Exec), but for
// Close, which is the window's. Menu items, picture buttons and keys all
// trigger the same action, and the keys work wherever the focus is in the
// window, the page included. A new command is a PageCommand, a case in the
// view's Exec and one row here.
class PageActions : public QObject
{
    Q_OBJECT
public:
    // What a command needs: an earlier or later page in the history, a page
    // that loads, a home page. The action is disabled while it is missing,
    // and left out in a window without a home page.
    enum class Needs { Nothing, EarlierPage, LaterPage, Loading, HomePage };
    // The window's menu a command shows in: Page (printing, saving, finding)
    // or View (where the page goes and how large it is drawn); None for one
    // reached by its keys and buttons alone.
    enum class Menu { None, Page, View };
    struct Command
    {
        PageCommand id;
        // The action's object name: the design's name for it.
        const char *name;
        // The text in menus, with its access letter; tooltips drop the letter.
        const char *text;
        // The platform's standard keys, then the program's own.
        QKeySequence::StandardKey standardKeys;
        QList<QKeySequence> keys;
        // The menu it shows in, in the table's order.
        Menu menu;
        Needs needs;
        // The command takes the page somewhere: the page gets the keyboard,
        // as a browser gives it the focus once the user has chosen where it goes.
        bool focusesPage;
        // A failure is shown to the user; otherwise it is dropped (a Back
        // with nothing to go back to is no news).
        bool tellsFailure;
    };
    // The table, in the menus' order.
    static const std::vector<Command> &commands();
    // The keys of `command`: the platform's standard ones, then its own.
    static QList<QKeySequence> keys(const Command &command);

    // Makes one action per row and adds them to `window`.
    explicit PageActions(QWidget *window);

    // The action of `command`.
    QAction *action(PageCommand command) const;
    // The items of `which` menu, in order.
    QList<QAction *> menu(Menu which) const;
    // Has every action run its command on `view`, and follow the page's
    // state: Back and Forward the history, Stop (and Esc, which otherwise
    // stays the page's) the loading. `homePage` gives Home its address;
    // without it Home is left out.
    void bind(WebView *view, std::function<QString()> homePage = {});

private:
    void run(const Command &command, QAction *action, WebView *view);

    QWidget *m_window;
    QList<QAction *> m_actions; // one per row, in the table's order
    std::function<QString()> m_homePage;
};
