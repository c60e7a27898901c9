#pragma once

#include <QString>

#include <optional>
#include <QWebEnginePage>

class QUrl;
class QWidget;

// What the program asks and tells when a page wants something of the user.
// Everything a page supplies (addresses, realms, names) is shown as plain
// text.
namespace pagedialogs {

// How a site is named to the user: its scheme, host and port, no path.
QString siteName(const QUrl &url);

// The question for a page that wants `feature`; empty for one the program
// does not know.
QString permissionQuestion(const QUrl &origin, QWebEnginePage::Feature feature);

// The question before a link is handed to another program.
QString externalLinkQuestion(const QUrl &url);

// What the view says when a site's certificate was refused.
QString certificateNotice(const QUrl &url);

// What the view says when the page's renderer has ended.
QString rendererGoneNotice();

// A Yes/No question in a message box with the program's title; true on Yes.
// No, Esc and closing the box are all No.
bool askYesNo(QWidget *parent, const QString &question);

struct Credentials
{
    QString user;
    QString password;
};

// Asks for a user name and password for `url`'s site and `realm`; nothing on
// Cancel or when the dialog is closed.
std::optional<Credentials> askCredentials(QWidget *parent, const QUrl &url, const QString &realm);

} // namespace pagedialogs
