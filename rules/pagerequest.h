#pragma once

#include <QString>
#include <QtGlobal>
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#else
#include <QWebEnginePage>
#endif

#include <optional>

// What a page may ask of the program. Each kind has one rule (pagerules::ruleFor):
// the question the user is asked, how many refusals a site gets before it is
// no longer asked, and which part of the page's address is "the site".
enum class PageRequest {
    NewWindow,
    Download,
    AutomaticDownload, // a download the page started without the user's click
    SignIn,            // whatever the realm
    Location,
    Notifications,
    Camera,
    Microphone,
    CameraAndMicrophone,
    Screen,
    ScreenAndSound,
    MouseLock,
    Clipboard,
    LocalFonts,
    OtherProgram, // a link another program on the computer opens
    Print,
    Passkey, // a passkey or security key (Qt 6.7 and later)
};

// Which part of an address a count or an answer is kept for.
enum class SiteKey {
    // The site as a person means it: the registrable domain, whatever the
    // scheme, port and subdomain (s1.example.co.uk and s2.example.co.uk are
    // one site). An IP address or a host without a dot is its own site.
    Domain,
    // Scheme, host and port, as the engine keeps a permission.
    Origin,
};

struct PageRule
{
    // What the request is, as the user is told the program stops asking
    // about it ("downloads").
    const char *kind;
    // The Yes/No question, with %1 for the site; null where the program shows
    // a dialog of its own (a save dialog, the sign-in box, the print dialog)
    // or asks nothing.
    const char *question;
    // Refusals or cancels before the site is no longer asked.
    int refusalLimit;
    // What refusals are counted for.
    SiteKey refusalsBy;
    // What the user's standing answer is kept for.
    SiteKey answersBy;
};

namespace pagerules {

// Refusals of any kind before a site is no longer asked.
constexpr int RefusalLimit = 3;

// The rule for `request`.
const PageRule &ruleFor(PageRequest request);

// The question for `request` from the site named `site`, in the user's
// language; empty where the rule has none.
QString question(PageRequest request, const QString &site);

// What `request` is, in the user's language, as a note names it.
QString kindName(PageRequest request);

// What a permission the engine asks for is, as a request; for one this
// program does not know, nothing and a line in the log (the caller refuses it).
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
std::optional<PageRequest> fromPermission(QWebEnginePermission::PermissionType type);
#else
std::optional<PageRequest> fromFeature(QWebEnginePage::Feature feature);
#endif

} // namespace pagerules
