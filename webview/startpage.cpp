#include "startpage.h"

#include "schemes.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QUrl>
#include <QWebEngineUrlRequestJob>

namespace {
QString tr(const char *text, const char *comment = nullptr)
{
    return QCoreApplication::translate("startpage", text, comment);
}
} // namespace

QByteArray startpage::html()
{
    // The logo's colours: its blue behind, its star's gold for the name.
    const QString page = QStringLiteral(
        "<!DOCTYPE html><html lang=\"%1\"><head><meta charset=\"utf-8\"><title>%2</title>"
        "<style>html{background:#1b4f9c;color:#fff;font-family:sans-serif;height:100%}"
        "body{margin:0;display:flex;align-items:center;justify-content:center;min-height:100%}"
        "main{max-width:40em;padding:2em}h1{color:#f6c026;font-size:2.4em;margin:0 0 .4em}"
        "p{font-size:1.15em;line-height:1.5}code{background:rgba(255,255,255,.15);padding:0 .3em}</style>"
        "</head><body><main><h1>%2</h1><p>%3</p></main></body></html>");
    // No site was set when the program was built or installed.
    const QString howTo =
        tr("No site is set for Velmora yet: to open one here, put its address in a line %1 under %2 in %3 "
           "(for every user) or %4 (for you).")
            .arg(QStringLiteral("<code>home=https://&hellip;</code>"), QStringLiteral("<code>[General]</code>"),
                 QStringLiteral("<code>/etc/xdg/Velmora/velmora.conf</code>"),
                 QStringLiteral("<code>~/.config/Velmora/velmora.conf</code>"));
    const QString language = tr("en", "the language of this page, as a language code");
    return page.arg(language.toHtmlEscaped(),
                    QStringLiteral("Velmora"), howTo)
        .toUtf8();
}

void StartPageScheme::requestStarted(QWebEngineUrlRequestJob *job)
{
    if (job->requestUrl() != QUrl(QString::fromLatin1(schemes::StartPage))) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto *page = new QBuffer(job);
    page->setData(startpage::html());
    page->open(QIODevice::ReadOnly);
    job->reply("text/html", page);
}
