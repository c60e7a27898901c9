#pragma once

#include "pagerequest.h"

#include <QHash>
#include <QSet>
#include <QUrl>
#include <QWebEnginePage>

#include <functional>

class QAuthenticator;
class QWebEngineDownloadRequest;
class QWebEngineNewWindowRequest;
class Session;
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
class QWebEngineDesktopMediaRequest;
class QWebEngineWebAuthUxRequest;
#endif

// A page as the program hosts it: it answers what a page asks of its
// browser (new windows, downloads, sign-in, permissions, its own dialogs)
// and judges it as a browser does. At most one of the program's questions
// is open for a page at a time, and requests that come meanwhile are
// refused; after three refusals of one kind a site is no longer asked;
// every request gets an answer. It refuses what a page may not do: open
// windows or start other programs without the user's click, pass a bad
// certificate, reach the program's own resources.
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    WebPage(Session &session, QObject *parent = nullptr);
    ~WebPage() override;

    // Whether one of the program's questions for this page is open.
    bool isAsking() const { return m_asking; }
    // The user clicked or typed in the page.
    void userActed();
    // The user chose `url` for the page (Home, a bookmark, Back...): a
    // download from that very address is the user's own.
    void userChose(const QUrl &url);
    // The address of the page that opened this one, if a page did.
    QUrl openerUrl() const { return m_openerUrl; }

signals:
    // The main frame's address was refused for its certificate.
    void certificateRefused(const QUrl &url);
    // The page tried to open a window without the user's click; none opened.
    void windowBlocked(const QUrl &site);
    // The question that was open for this page has been answered.
    void questionAnswered();
    // The page went to a PDF file, which the engine hands over as a
    // download: a receiver connected directly accepts `request` or cancels
    // it before it returns.
    void pdfArrived(QWebEngineDownloadRequest *request);

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;

private:
    QWidget *dialogParent() const;
    // Runs `question` as the page's one open question; false, without
    // running it, while another is open or `request` may no longer be asked
    // of `site`. `question` returns whether the user said yes; a no counts
    // against `request` for `site`.
    template <typename Question>
    bool ask(const QUrl &site, PageRequest request, Question question);
    // Opens the window a page asked for if the user's click or key asked
    // for it, else says that it was blocked.
    void openWindow(QWebEngineNewWindowRequest &request);
    // `url` names the server, or the proxy, that asks.
    void signIn(const QUrl &url, QAuthenticator *authenticator);
    // Whether `request` is allowed for `origin`: the user's standing answer,
    // else the user's Yes or No.
    bool permitted(const QUrl &origin, PageRequest request);
    void download(QWebEngineDownloadRequest *request);
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    void shareScreen(const QWebEngineDesktopMediaRequest &request);
    void refusePasskey(QWebEngineWebAuthUxRequest *request);
#endif
    // Whether the page's script may show another dialog; from the second on
    // the user may say no more.
    bool scriptDialog(const std::function<bool(bool offerStop, bool *stop)> &show);
    // Whether the user clicked or typed in the page a moment ago.
    bool userActedRecently() const;

    Session &m_session;
    bool m_asking = false;
    // Sign-in realms the user cancelled on this page, until it navigates.
    QSet<QString> m_cancelledRealms;
    // The user name entered last, by realm, to tell a refused attempt and
    // to offer the name again.
    QHash<QString, QString> m_triedRealms;
    int m_scriptDialogs = 0;
    bool m_scriptDialogsStopped = false;
    // The main frame's address, as last asked for, and as last let through.
    QUrl m_mainFrameUrl;
    QUrl m_acceptedUrl;
    // When the user last acted, and whether a download has used that up.
    qint64 m_userActedAt = -1;
    bool m_gestureUsed = true;
    QUrl m_chosenUrl;
    QUrl m_openerUrl;
};
