#include "schemes.h"

#include <QCoreApplication>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlScheme>

#include <iterator>

namespace {
struct Scheme
{
    const char *name;
    bool navigable;   // the user may open it from Home or a bookmark
    bool programOwn;  // the program's own resources
};

// Every scheme the engine loads itself. `qrc` is the program's resources:
// the engine answers it, so a page must never be let through to it, nor
// have it handed to another program. The program's own scheme holds its
// start page, which the user may open and a page may not.
constexpr Scheme Known[] = {
    {"http", true, false},         {"https", true, false},  {"file", true, false},
    {"data", false, false},        {"blob", false, false},  {"about", false, false},
    {"view-source", false, false}, {"filesystem", false, false}, {"qrc", false, true},
    {schemes::Own, true, true},
};

const Scheme *find(const QString &scheme)
{
    const QString lower = scheme.toLower();
    for (const Scheme &known : Known) {
        if (lower == QLatin1String(known.name))
            return &known;
    }
    return nullptr;
}
} // namespace

void schemes::registerOwn()
{
    QWebEngineUrlScheme own(Own);
    own.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Local: pages of the web cannot load it, nor link to it. Its own pages
    // may reach local schemes, their own among them: the start page's form
    // is sent to the start page (the engine refuses it otherwise). The
    // program writes those pages, with no script and nothing of a site's.
    own.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(own);
}

bool schemes::isNavigable(const QUrl &url)
{
    const Scheme *scheme = url.isValid() ? find(url.scheme()) : nullptr;
    return scheme && scheme->navigable;
}

bool schemes::isWebPage(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        && !url.host().isEmpty();
}

schemes::Address schemes::webAddress(const QString &typed)
{
    const QString text = typed.trimmed();
    const QUrl url = QUrl::fromUserInput(text);
    if (!isWebPage(url)) {
        // A long one is named by its start and its end.
        constexpr int Named = 120;
        const QString named = text.size() <= Named ? text : text.left(Named / 2) + QChar(0x2026) + text.right(Named / 2);
        return {QString(), QCoreApplication::translate("schemes", "only web pages (http or https) can be opened, not "
                                                                  "\"%1\"").arg(named)};
    }
    const QString encoded = QString::fromLatin1(url.toEncoded());
    if (encoded.size() > AddressLimit)
        return {QString(), QCoreApplication::translate("schemes", "the address is longer than %1 characters")
                               .arg(AddressLimit)};
    return {encoded, QString()};
}

bool schemes::isEngineScheme(const QString &scheme)
{
    return find(scheme) != nullptr;
}

bool schemes::isProgramScheme(const QString &scheme)
{
    const Scheme *known = find(scheme);
    return known && known->programOwn;
}
