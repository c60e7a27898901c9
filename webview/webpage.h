#pragma once

#include "pagequestions.h"
#include "pagerequests.h"

#include <QUrl>
#include <QWebEnginePage>

#include <functional>

class QWebEngineDownloadRequest;
class QWebEngineNewWindowRequest;
class Session;

// A page as the program hosts it. It decides nothing itself: it passes what
// the page asks of its browser to its owners — its question owner (which
// keeps the one open question, the site's answers and who acted), the
// profile's download router, the way of opening windows its creator gave it
// — and refuses what no page may do: open windows or start other programs
// without the user's click, pass a bad certificate, reach the program's own
// pages.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    // Opens a window of the program's own, asked for at `geometry` (empty:
    // where the program puts it), and gives back its page.
    using WindowMaker = std::function<WebPage *(const QRect &geometry)>;

    // Without `makeWindow`, no page opens a window from this one.
    WebPage(Session &session, WindowMaker makeWindow, QObject *parent = nullptr);

    PageQuestions &questions() { return *m_questions; }
    // The site the user is on: the page shown, or before the first page the
    // one on its way.
    QUrl topSite() const;
    // The user sends the page to `url` (empty for Back, Forward, Refresh).
    void userChose(const QUrl &url);
    // Opens `url` in a window of its own, as the user's click would.
    void openWindow(const QUrl &url);
    // The address of the page that opened this one, if a page did.
    QUrl openerUrl() const { return m_openerUrl; }

signals:
    // The main frame's address was refused for its certificate.
    void certificateRefused(const QUrl &url);
    // The page at `site` tried to open a window at `url` without the user's
    // click; none opened.
    void windowBlocked(const QUrl &site, const QUrl &url);
    // The page went to a PDF file, which the engine hands over as a
    // download: a receiver connected directly accepts `request` or cancels
    // it before it returns.
    void pdfArrived(QWebEngineDownloadRequest *request);
    // The page is shown at `factor`, its site's zoom.
    void zoomApplied(double factor);
    // The user sent the page somewhere: what was said of the page before is
    // no longer news.
    void userNavigated();

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;

private:
    QWidget *dialogParent() const;
    // Answers what the page asks of the machine (webpage_permissions.cpp).
    void answerPermissions();
    // Whether the main frame may go to `url`; says who started it.
    bool acceptMainFrame(const QUrl &url, NavigationType type);
    // Another program's link: only on the user's click, and only after Yes.
    void openElsewhere(const QUrl &url, NavigationType type);
    void openRequested(QWebEngineNewWindowRequest &request);
    void download(QWebEngineDownloadRequest *request);
    // Gives the page its site's zoom, for the page at `url`; without
    // `again`, only if the page's zoom is another.
    void applyZoom(const QUrl &url, bool again = true);

    Session &m_session;
    PageQuestions *m_questions;
    SignIn m_signIn;
    WindowMaker m_makeWindow;
    // The main frame's address as last let go, who started it, and whether
    // it has come (the page shown is its).
    QUrl m_mainFrameUrl;
    Actor m_mainFrameActor = Actor::Page;
    bool m_mainFrameCommitted = true;
    QUrl m_openerUrl;
};
