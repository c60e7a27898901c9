#include "siteaddress.h"

#include "publicsuffixes.h"
#include "siteanswers.h"

#include <QUrl>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>

namespace {
// Cyrillic letters that look like Latin ones in most fonts: a label made of
// these alone spells a Latin name ("аррӏе") in another script.
const char32_t CyrillicLookalikes[] = U"асԁеһіјӏорԛѕԝхуъЬҽпгѵѡ";

// The address a view-source: or blob: address stands for.
QUrl inner(const QUrl &url)
{
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("view-source") || scheme == QLatin1String("blob"))
        return QUrl(url.path(QUrl::FullyEncoded));
    return url;
}

siteaddress::Security securityOf(const QString &scheme)
{
    using siteaddress::Security;
    if (scheme == QLatin1String("https") || scheme == QLatin1String("wss"))
        return Security::Secure;
    if (scheme == QLatin1String("http") || scheme == QLatin1String("ws"))
        return Security::NotSecure;
    if (scheme == QLatin1String("file"))
        return Security::Local;
    return Security::Other;
}

// Letters, marks and digits of one script, or of Latin with the scripts
// Chinese, Japanese and Korean are written with; a Cyrillic label only of
// letters that look Latin only under a Cyrillic top-level domain.
bool cannotBeConfused(const QString &label, bool cyrillicTopLevel)
{
    std::set<QChar::Script> scripts;
    bool onlyLookalikes = true;
    for (const char32_t c : label.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        const bool letter = category >= QChar::Letter_Uppercase && category <= QChar::Letter_Other;
        const bool mark = category >= QChar::Mark_NonSpacing && category <= QChar::Mark_Enclosing;
        if (!letter && !mark && category != QChar::Number_DecimalDigit && c != U'-')
            return false;
        const QChar::Script script = QChar::script(c);
        if (script != QChar::Script_Common && script != QChar::Script_Inherited)
            scripts.insert(script);
        if (letter && std::char_traits<char32_t>::find(CyrillicLookalikes, std::size(CyrillicLookalikes) - 1, c) == nullptr)
            onlyLookalikes = false;
    }
    if (scripts.size() <= 1)
        return !(onlyLookalikes && scripts == std::set{QChar::Script_Cyrillic} && !cyrillicTopLevel);
    const std::set<QChar::Script> allowed[] = {
        {QChar::Script_Latin, QChar::Script_Han, QChar::Script_Hiragana, QChar::Script_Katakana},
        {QChar::Script_Latin, QChar::Script_Han, QChar::Script_Bopomofo},
        {QChar::Script_Latin, QChar::Script_Han, QChar::Script_Hangul}};
    for (const auto &set : allowed) {
        if (std::includes(set.begin(), set.end(), scripts.begin(), scripts.end()))
            return true;
    }
    return false;
}

// `text` with every character that could reorder, hide or look like a break
// in it (controls, format characters such as the bidirectional ones,
// spaces) percent-encoded.
QString visible(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        const bool hidden = category == QChar::Other_Control || category == QChar::Other_Format
            || category == QChar::Other_PrivateUse || category == QChar::Other_NotAssigned
            || category == QChar::Other_Surrogate || (category >= QChar::Separator_Space
                                                      && category <= QChar::Separator_Paragraph);
        const QString character = QString::fromUcs4(&c, 1);
        out += hidden ? QString::fromLatin1(QUrl::toPercentEncoding(character)) : character;
    }
    return out;
}

// `text` cut to `length` characters by an ellipsis in its middle.
QString elideMiddle(const QString &text, int length)
{
    if (text.size() <= length)
        return text;
    if (length < 2)
        return QStringLiteral("\u2026");
    int head = (length - 1) / 2, tail = length - 1 - head;
    // A character outside the first plane is kept or dropped whole.
    if (head > 0 && text.at(head - 1).isHighSurrogate())
        --head;
    if (tail > 0 && text.at(text.size() - tail).isLowSurrogate())
        --tail;
    return text.left(head) + u'\u2026' + text.right(tail);
}

// ":8080" for a port that is not the scheme's own.
QString portOf(const QUrl &url)
{
    const int port = url.port();
    const int own = url.scheme() == QLatin1String("https") ? 443 : url.scheme() == QLatin1String("http") ? 80 : -1;
    return port < 0 || port == own ? QString() : u':' + QString::number(port);
}

// The scheme and separator shown before a host: none for https.
QString schemeBefore(const QUrl &url)
{
    return url.scheme() == QLatin1String("https") ? QString() : url.scheme() + QLatin1String("://");
}

// The path, query and fragment of `url`, readable and safe to show.
QString rest(const QUrl &url)
{
    return visible(url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority));
}
} // namespace

QString siteaddress::Shown::html() const
{
    const QString bold = emphasised.isEmpty() ? QString() : QLatin1String("<b>") + emphasised.toHtmlEscaped() + QLatin1String("</b>");
    return before.toHtmlEscaped() + bold + after.toHtmlEscaped();
}

QString siteaddress::displayHost(const QString &host)
{
    if (host.isEmpty())
        return host;
    if (host.contains(u':'))
        return u'[' + host + u']';
    const QString ace = QString::fromLatin1(QUrl::toAce(host));
    if (ace.isEmpty())
        return QString::fromLatin1(QUrl::toPercentEncoding(host, "."));
    if (PublicSuffixes::isAddress(ace))
        return ace;
    QStringList labels = ace.split(u'.');
    QString topLevel;
    for (auto label = labels.rbegin(); label != labels.rend() && topLevel.isEmpty(); ++label)
        topLevel = QUrl::fromAce(label->toLatin1(), QUrl::IgnoreIDNWhitelist);
    bool cyrillicTopLevel = false;
    for (const char32_t c : topLevel.toUcs4())
        cyrillicTopLevel |= QChar::script(c) == QChar::Script_Cyrillic;
    for (QString &label : labels) {
        if (!label.startsWith(QLatin1String("xn--")))
            continue;
        const QString unicode = QUrl::fromAce(label.toLatin1(), QUrl::IgnoreIDNWhitelist);
        // One label that could pass for another name: the whole host as it is spelt.
        if (unicode.isEmpty() || unicode == label || !cannotBeConfused(unicode, cyrillicTopLevel))
            return ace;
        label = unicode;
    }
    return labels.join(u'.');
}

siteaddress::Site siteaddress::siteOf(const QUrl &address, const SiteAnswers &sites)
{
    const QUrl url = inner(address);
    Site site;
    site.security = securityOf(url.scheme());
    if (url.host().isEmpty()) {
        site.shown.after = elideMiddle(wholeAddress(url), 120);
        return site;
    }
    QString host = displayHost(url.host());
    site.shown.before = schemeBefore(url);
    site.shown.after = portOf(url);
    if (PublicSuffixes::isAddress(url.host())) {
        site.shown.emphasised = host;
        return site;
    }
    // The registrable domain is the last labels of the host, as many in its
    // shown form as in its xn-- one.
    const bool finalDot = host.endsWith(u'.');
    if (finalDot)
        host.chop(1);
    const QStringList labels = host.split(u'.');
    const qsizetype domainLabels = sites.keyOf(url, SiteKey::Domain).count(u'.') + 1;
    const qsizetype first = qMax<qsizetype>(0, labels.size() - domainLabels);
    site.shown.emphasised = labels.mid(first).join(u'.') + (finalDot ? QStringLiteral(".") : QString());
    if (first > 0)
        site.shown.before += labels.mid(0, first).join(u'.') + u'.';
    return site;
}

std::optional<siteaddress::Site> siteaddress::siteToShow(const QUrl &url, const QUrl &home, const SiteAnswers &sites)
{
    if (url.isEmpty() || home.isEmpty() || sites.sameSite(inner(url), inner(home)))
        return std::nullopt;
    return siteOf(url, sites);
}

QString siteaddress::origin(const QUrl &address)
{
    const QUrl url = inner(address);
    if (url.host().isEmpty())
        return url.scheme() + u':';
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return (web ? QString() : url.scheme() + QLatin1String("://")) + displayHost(url.host()) + portOf(url);
}

QString siteaddress::wholeAddress(const QUrl &url)
{
    if (url.scheme() == QLatin1String("view-source") || url.scheme() == QLatin1String("blob"))
        return url.scheme() + u':' + wholeAddress(inner(url));
    if (url.host().isEmpty())
        return visible(url.toString(QUrl::RemoveUserInfo));
    return url.scheme() + QLatin1String("://") + displayHost(url.host()) + portOf(url) + rest(url);
}

siteaddress::Shown siteaddress::linkOf(const QUrl &url, int characters)
{
    Shown shown;
    if (url.host().isEmpty()) {
        shown.after = elideMiddle(wholeAddress(url), characters);
        return shown;
    }
    shown.before = schemeBefore(url);
    shown.emphasised = displayHost(url.host()) + portOf(url);
    shown.after = rest(url);
    // The host stays whole as long as it can; what follows gives way first.
    constexpr int LeastOfThePath = 12;
    const int room = characters - int(shown.before.size() + shown.emphasised.size());
    if (room >= LeastOfThePath || shown.after.size() <= room) {
        shown.after = elideMiddle(shown.after, qMax(room, 0));
        return shown;
    }
    shown.after = elideMiddle(shown.after, qMin<int>(shown.after.size(), LeastOfThePath));
    // Of a very long host, its end: the registrable domain.
    const int hostRoom = qMax(1, characters - int(shown.before.size() + shown.after.size()));
    if (shown.emphasised.size() > hostRoom)
        shown.emphasised = u'\u2026' + shown.emphasised.right(hostRoom - 1);
    return shown;
}
