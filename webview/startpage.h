#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QWebEnginePage>
#include <QWebEngineUrlSchemeHandler>

class QUrl;
class Session;

// The start page built into the program, shown when no site is set: it
// works offline, speaks the user's language, and sets the site. It is served
// under the program's own scheme (schemes::StartPage), which the user may
// open (Home, a bookmark) and no web page may reach. Its form sends the
// address typed to the start page itself, with a key only the page served
// knows; nothing else can set the site through it.
namespace startpage {

// What the page shows besides its fixed words.
struct Form
{
    // The home page now, if one is set; empty: none.
    QString home;
    // An address typed before and refused, and why; empty: none.
    QString typed;
    QString refusal;
    // Sent back with the form: only an answer with it counts.
    QString key;
    // The user's settings file and the system's, as named to the user.
    QString userFile;
    QString systemFile;
};

// The page, as HTML in UTF-8, in the language of the program's translations.
QByteArray html(const Form &form);

// Whether the main frame may go to `target`, an address of the program's
// own scheme, in a navigation of `type` the user started while `shown` is
// the page shown: the start page as the user's own choice (typed, Back,
// Forward, Refresh), and its form's answer only from the start page itself.
// A link never leads there.
bool mayOpen(const QUrl &target, QWebEnginePage::NavigationType type, const QUrl &shown);

} // namespace startpage

// Answers the program's own scheme with the start page, and its form: the
// address typed becomes the home page, in the user's velmora.conf through
// the session's settings, and opens; one refused is shown again with the
// reason. One per profile.
class StartPageScheme : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    StartPageScheme(Session &session, QObject *parent);
    void requestStarted(QWebEngineUrlRequestJob *job) override;

private:
    // A new key for a form about to be served.
    QString newKey();

    Session &m_session;
    // The keys of the forms served lately, each good for one answer.
    QStringList m_keys;
};
