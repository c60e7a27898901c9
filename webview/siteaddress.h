#pragma once

#include <QString>

#include <optional>

class QUrl;
class SiteAnswers;

// How an address is shown to the user, so that it cannot pass for another:
// the site's registrable domain apart from the rest, a host that could be
// confused with another in its xn-- form, characters that reorder or hide
// text never as themselves. Plain functions: the windows only draw them.
namespace siteaddress {

// What the address says of the connection to a page.
enum class Security {
    Secure,    // https: the engine checked the site's certificate
    NotSecure, // http: anyone on the way may read or change the page
    Local,     // a file on this computer
    Other,     // the program's own pages, about:blank and the like
};

// A text with one part to be emphasised.
struct Shown
{
    QString before;
    QString emphasised;
    QString after;

    QString text() const { return before + emphasised + after; }
    // As rich text: every part escaped, the emphasised one bold.
    QString html() const;
};

// A page's site as the strip above the page names it: the scheme when it is
// not https, the rest of the host plain, the registrable domain emphasised,
// a port that is not the scheme's own.
struct Site
{
    Security security = Security::Other;
    Shown shown;
};

// `host` as it is shown: in Unicode where no label of it can be confused
// with another name (each label in one script, or Latin with the scripts
// Chinese, Japanese or Korean write with; only letters, marks, digits and
// hyphens; no Cyrillic label made only of letters that look Latin under a
// top-level domain that is not Cyrillic), else wholly in its xn-- form. An
// IP address is shown as one, an IPv6 address in brackets.
QString displayHost(const QString &host);

// The site of the page at `url` (the page inside a view-source: or blob:
// address), its registrable domain as `sites` reckons it.
Site siteOf(const QUrl &url, const SiteAnswers &sites);

// The site to show for a page at `url` while `home` is the home page:
// nothing while the page is of the home page's registrable domain, or when
// there is no page or no home page to tell apart from.
std::optional<Site> siteToShow(const QUrl &url, const QUrl &home, const SiteAnswers &sites);

// The scheme (unless http or https), host and port of `url`: how a site
// that asks something is named ("127.0.0.1:8080 says").
QString origin(const QUrl &url);

// The whole address of `url` for reading and copying: the host shown as
// displayHost() shows it, no user name or password, and every character
// that could reorder or hide a part percent-encoded.
QString wholeAddress(const QUrl &url);

// A link's address as the status shows it while the pointer is on it: the
// host emphasised, the scheme before it unless https, what follows elided in
// its middle so that the whole takes at most `characters` characters.
Shown linkOf(const QUrl &url, int characters);

} // namespace siteaddress
