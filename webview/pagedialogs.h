#pragma once

#include <QString>

#include <optional>

class QUrl;
class QWidget;

// What the program asks and tells when a page wants something of the user.
// Everything a page supplies (addresses, realms, names) is shown as plain
// text.
namespace pagedialogs {

// How a site is named to the user: its scheme, host and port, no path.
QString siteName(const QUrl &url);

// How a frame of the site at `asker` on the site the user is on, `top`, is
// named to the user: both sites.
QString frameName(const QUrl &asker, const QUrl &top);

// What the user is told when the page at `url` asked for a passkey or a
// security key, which the program cannot use yet.
QString passkeyNotice(const QUrl &url);

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

// Asks for a user name and password for `asker` (a site's name) and `realm`, saying
// first that the last attempt was not accepted if `refusedBefore` and then
// offering that attempt's user name (`user`) again; nothing on Cancel or
// when the dialog is closed.
std::optional<Credentials> askCredentials(QWidget *parent, const QString &asker, const QString &realm,
                                          bool refusedBefore = false, const QString &user = QString());

// A page's own alert, confirm and prompt, headed with the site that shows
// them. With `offerStop`, a box lets the user say the page may show no more
// dialogs; `*stop` tells whether it was ticked. The confirm and the prompt
// give nothing on Cancel.
bool showPageMessage(QWidget *parent, const QUrl &origin, const QString &text, bool offerStop, bool *stop);
bool askPageQuestion(QWidget *parent, const QUrl &origin, const QString &text, bool offerStop, bool *stop);
std::optional<QString> askPageText(QWidget *parent, const QUrl &origin, const QString &text,
                                   const QString &value, bool offerStop, bool *stop);

} // namespace pagedialogs
