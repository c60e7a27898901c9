#pragma once

#include "pagerequest.h"

#include <QObject>
#include <QUrl>

#include <functional>

class SiteAnswers;

// Who started a request that a page's rules judge.
enum class Actor {
    // The user's own click or key: a link clicked, a page chosen (typed, Home,
    // a bookmark, handed over, Back, Forward, Refresh), Save Page, Print from
    // the menu, keys or buttons, and what the page asks inside that gesture.
    User,
    // The page, by itself.
    Page,
};

// The one owner of a page's questions. At most one is open at a time and a
// request that comes meanwhile is refused. What the page does by itself is
// judged for the site the user is on, the top-level page: each No, Cancel or
// failure counts against that site, and once a kind's limit is reached the
// site is no longer asked, which is said once (silenced), with a way back.
// What the user started is always asked, and its Cancel is the user's choice.
// It also keeps what it needs to tell who acted: the user's last click or key
// in the page and the pages the user chose.
class PageQuestions : public QObject
{
    Q_OBJECT
public:
    explicit PageQuestions(SiteAnswers &answers, QObject *parent = nullptr);

    SiteAnswers &answers() { return m_answers; }
    // Whether one of the program's questions for this page is open.
    bool isAsking() const { return m_asking; }

    // Runs `question` as the page's one open question, for `request` made on
    // the page at `top` by `actor`; `question` returns whether the user said
    // yes (or chose), and a failure it throws is a No. False without running
    // it while another question is open, or when the page asks and `top` may
    // no longer be asked.
    bool ask(const QUrl &top, PageRequest request, Actor actor, const std::function<bool()> &question);
    // Runs one of the page's own script dialogs (alert, confirm, prompt) as
    // its one open question; from the second on, the user may stop them for
    // good. False, without showing it, while another is open or once stopped.
    bool scriptDialog(const std::function<bool(bool offerStop, bool *stop)> &show);

    // The user clicked or typed in the page.
    void userActed();
    // Whether the user clicked or typed in the page a moment ago.
    bool userActedRecently() const;
    // Who made a request that one click allows once (a download, a print):
    // the user, if they acted a moment ago and nothing else took that act.
    Actor takeGesture();
    // The user sends the page to `url` (empty for Back, Forward and
    // Refresh): the navigation the engine asks about next, and a download
    // from that very address, are the user's.
    void userChose(const QUrl &url);
    // Who started the main frame's navigation the engine asks about now,
    // for a navigation that the program itself may have started (typed, back
    // or forward, reload): the user if it came from userChose().
    Actor takeChoice();
    // Whether a download from `url` is the address the user chose last;
    // each choice counts once.
    bool takeChosenDownload(const QUrl &url);

signals:
    // The question that was open has been answered.
    void answered();
    // `top`'s site is no longer asked about `request`; said once.
    void silenced(const QUrl &top, PageRequest request);

private:
    SiteAnswers &m_answers;
    bool m_asking = false;
    int m_scriptDialogs = 0;
    bool m_scriptDialogsStopped = false;
    // When the user last acted in the page, and whether a request took it.
    qint64 m_actedAt = -1;
    bool m_gestureTaken = true;
    // When the user last chose where the page goes, and the address.
    qint64 m_choseAt = -1;
    QUrl m_chosenUrl;
};
