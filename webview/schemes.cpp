#include "schemes.h"

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
    // Local: pages of the web cannot load it, nor link to it.
    own.setFlags(QWebEngineUrlScheme::LocalScheme);
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

bool schemes::isEngineScheme(const QString &scheme)
{
    return find(scheme) != nullptr;
}

bool schemes::isProgramScheme(const QString &scheme)
{
    const Scheme *known = find(scheme);
    return known && known->programOwn;
}
