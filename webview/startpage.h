#pragma once

#include <QByteArray>
#include <QWebEngineUrlSchemeHandler>

// The start page built into the program, shown when no site is set: it
// works offline, speaks the user's language and says how a site is set.
// It is served under the program's own scheme (schemes::StartPage), which
// the user may open (Home, a bookmark) and no web page may reach.
namespace startpage {

// The page, as HTML in UTF-8, in the language of the program's translations.
QByteArray html();

} // namespace startpage

// Answers the program's own scheme with the start page; one per profile.
class StartPageScheme : public QWebEngineUrlSchemeHandler
{
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob *job) override;
};
