#include "startpage.h"

#include "schemes.h"
#include "session.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QUrl>
#include <QUrlQuery>
#include <QWebEngineUrlRequestJob>

namespace {
QString tr(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate("startpage", text, comment);
}

QString code(const QString &text)
{
    return QStringLiteral("<code>%1</code>").arg(text.toHtmlEscaped());
}

// A file in the user's home folder, as the user knows it: "~/.config/...".
QString fromHome(const QString &file)
{
    const QString home = QDir::homePath() + u'/';
    return file.startsWith(home) ? QStringLiteral("~/") + file.mid(home.size()) : file;
}

// A form field's value as the form sent it (application/x-www-form-urlencoded).
QString formValue(const QUrl &url, const QString &name)
{
    const QUrlQuery query(url);
    if (!query.hasQueryItem(name))
        return QString();
    QString encoded = query.queryItemValue(name, QUrl::FullyEncoded);
    encoded.replace(u'+', QLatin1String("%20"));
    return QUrl::fromPercentEncoding(encoded.toLatin1());
}

constexpr char FieldName[] = "home";
constexpr char KeyName[] = "key";
// Forms served and not answered that still count: a start page in each of a
// few windows.
constexpr int KeptKeys = 8;
} // namespace

QByteArray startpage::html(const Form &form)
{
    // The logo's colours: its blue behind, its star's gold for the name. The
    // page may reach local files (its scheme must, to answer itself): it
    // runs no script and loads nothing, and its form goes to itself (which
    // sends the user on to the site set).
    const QString page = QStringLiteral(
        "<!DOCTYPE html><html lang=\"%1\"><head><meta charset=\"utf-8\"><meta name=\"referrer\" "
        "content=\"no-referrer\"><meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
        "style-src 'unsafe-inline'; form-action velmora: http: https:; base-uri 'none'\"><title>Velmora</title>"
        "<style>html{background:#1b4f9c;color:#fff;font-family:sans-serif;height:100%}"
        "body{margin:0;display:flex;align-items:center;justify-content:center;min-height:100%}"
        "main{max-width:40em;padding:2em}h1{color:#f6c026;font-size:2.4em;margin:0 0 .4em}"
        "p,label{font-size:1.15em;line-height:1.5}code{background:rgba(255,255,255,.15);padding:0 .3em}"
        "form{margin:1.2em 0}label{display:block;margin-bottom:.3em}.row{display:flex;gap:.5em}"
        "input,button{font-family:inherit}input{flex:1;font-size:1.1em;padding:.35em;border:2px solid #c8d8f0;border-radius:4px}"
        "button{font-size:1.1em;padding:.35em 1em;background:#f6c026;color:#1b2a40;border:0;border-radius:4px}"
        "input:focus,button:focus{outline:3px solid #f6c026;outline-offset:2px}"
        ".refusal{background:#fff3c4;color:#5c1a00;padding:.5em .7em;border-radius:4px}"
        ".where{font-size:1em;color:#c8d8f0}</style>"
        "</head><body><main><h1>Velmora</h1><p>%2</p>"
        "<form method=\"get\" action=\"%3\"><label for=\"home\">%4</label>"
        "<div class=\"row\"><input id=\"home\" name=\"%5\" value=\"%6\" autofocus spellcheck=\"false\" "
        "autocomplete=\"url\" inputmode=\"url\"><button type=\"submit\">%7</button></div>"
        "<input type=\"hidden\" name=\"%8\" value=\"%9\"></form>%10<p class=\"where\">%11</p></main></body></html>");
    const QString intro = form.home.isEmpty()
        ? tr("No site is set for Velmora yet. Type the address of the site it is to open, such as %1, and "
             "choose “Use this site”.")
              .arg(code(QStringLiteral("https://www.example.com")))
        : tr("Velmora opens %1 at start-up and with Home. To open another site instead, type its address and "
             "choose “Use this site”.")
              .arg(code(form.home));
    const QString refusal = form.refusal.isEmpty()
        ? QString()
        : QStringLiteral("<p class=\"refusal\" role=\"alert\">%1</p>")
              .arg(tr("The site was not set: %1.").arg(form.refusal).toHtmlEscaped());
    // The user's own file first: the system's is root's to change.
    const QString where =
        tr("Velmora keeps it as the line %1 under %2 in your settings, %3. A line in %4 sets it for every user "
           "who has none of their own.")
            .arg(code(QStringLiteral("home=https://…")), code(QStringLiteral("[General]")), code(form.userFile),
                 code(form.systemFile));
    const QString language = tr("en", "the language of this page, as a language code");
    // One call: what the user typed is never read for placeholders.
    return page
        .arg(language.toHtmlEscaped(), intro, QString::fromLatin1(schemes::StartPage),
             tr("Address of the site:").toHtmlEscaped(), QLatin1String(FieldName), form.typed.toHtmlEscaped(),
             tr("Use this site").toHtmlEscaped(), QLatin1String(KeyName), form.key.toHtmlEscaped(), refusal, where)
        .toUtf8();
}

bool startpage::mayOpen(const QUrl &target, QWebEnginePage::NavigationType type, const QUrl &shown)
{
    if (!schemes::isNavigable(target))
        return false;
    switch (type) {
    case QWebEnginePage::NavigationTypeTyped:
    case QWebEnginePage::NavigationTypeBackForward:
    case QWebEnginePage::NavigationTypeReload:
        return true;
    case QWebEnginePage::NavigationTypeFormSubmitted:
        // The start page's own form, sent from the start page.
        return shown.isValid() && schemes::isProgramScheme(shown.scheme());
    default:
        return false;
    }
}

StartPageScheme::StartPageScheme(Session &session, QObject *parent)
    : QWebEngineUrlSchemeHandler(parent), m_session(session)
{
}

QString StartPageScheme::newKey()
{
    QString key;
    for (int i = 0; i < 4; ++i)
        key += QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, u'0');
    m_keys << key;
    while (m_keys.size() > KeptKeys)
        m_keys.removeFirst();
    return key;
}

void StartPageScheme::requestStarted(QWebEngineUrlRequestJob *job)
{
    const QUrl url = job->requestUrl();
    const QUrl page(QString::fromLatin1(schemes::StartPage));
    if (url.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment) != page || job->requestMethod() != "GET") {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    startpage::Form form;
    // The form's answer counts once, with the key of a form served here,
    // from the start page itself (the engine names the page that sent it).
    const QString key = formValue(url, QLatin1String(KeyName));
    if (!key.isEmpty() && m_keys.removeAll(key) > 0 && job->initiator().scheme() == QLatin1String(schemes::Own)) {
        const QString typed = formValue(url, QLatin1String(FieldName));
        const schemes::Address address = schemes::webAddress(typed);
        if (address.refusal.isEmpty()) {
            Settings &settings = m_session.settings();
            settings.setValue(Settings::Key::HomePage, address.url);
            if (settings.problem().isEmpty()) {
                job->redirect(QUrl(address.url));
                return;
            }
            form.refusal = settings.problem();
        } else {
            form.typed = typed;
            form.refusal = address.refusal;
        }
    }
    const QString home = m_session.homePage();
    form.home = schemes::isWebPage(QUrl(home)) ? home : QString();
    form.key = newKey();
    form.userFile = QDir::toNativeSeparators(fromHome(Settings::defaultFile()));
    form.systemFile = Settings::systemFile();
    auto *reply = new QBuffer(job);
    reply->setData(startpage::html(form));
    reply->open(QIODevice::ReadOnly);
    job->reply("text/html", reply);
}
