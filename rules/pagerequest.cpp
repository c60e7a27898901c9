#include "pagerequest.h"

#include <QCoreApplication>

#include <array>

namespace {
using pagerules::RefusalLimit;

// One rule per kind, in the order of PageRequest. Refusals count for the site
// as a person means it, so that a page hopping between subdomains is heard no
// more often than one that stays. A permission the user granted holds only for
// the origin that asked: a Yes given to one host is not handed to another.
constexpr std::array<PageRule, 17> Rules{{
    /* NewWindow */ {QT_TRANSLATE_NOOP("pagedialogs", "windows"),
     nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
    /* Download */ {QT_TRANSLATE_NOOP("pagedialogs", "downloads"),
     nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
    /* AutomaticDownload */ {QT_TRANSLATE_NOOP("pagedialogs", "downloads"),
     nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
    /* SignIn */ {QT_TRANSLATE_NOOP("pagedialogs", "signing in"),
     nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
    /* Location */ {QT_TRANSLATE_NOOP("pagedialogs", "your location"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to know your location. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* Notifications */ {QT_TRANSLATE_NOOP("pagedialogs", "notifications"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to show notifications. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* Camera */ {QT_TRANSLATE_NOOP("pagedialogs", "your camera"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to use your camera. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* Microphone */ {QT_TRANSLATE_NOOP("pagedialogs", "your microphone"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to use your microphone. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* CameraAndMicrophone */ {QT_TRANSLATE_NOOP("pagedialogs", "your camera and microphone"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to use your camera and microphone. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* Screen */ {QT_TRANSLATE_NOOP("pagedialogs", "your screen"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to see your screen. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* ScreenAndSound */ {QT_TRANSLATE_NOOP("pagedialogs", "your screen and its sound"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to see your screen and hear its sound. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* MouseLock */ {QT_TRANSLATE_NOOP("pagedialogs", "your mouse pointer"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to hide and take over your mouse pointer. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* Clipboard */ {QT_TRANSLATE_NOOP("pagedialogs", "what you copied"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to read and change what you copied. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* LocalFonts */ {QT_TRANSLATE_NOOP("pagedialogs", "your fonts"),
     QT_TRANSLATE_NOOP("pagedialogs", "The site %1 wants to see the fonts on this computer. Allow it?"),
     RefusalLimit, SiteKey::Domain, SiteKey::Origin},
    /* OtherProgram */ {QT_TRANSLATE_NOOP("pagedialogs", "links to other programs"),
     nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
    /* Print */ {QT_TRANSLATE_NOOP("pagedialogs", "printing"), nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
    /* Passkey */ {QT_TRANSLATE_NOOP("pagedialogs", "passkeys"),
     nullptr, RefusalLimit, SiteKey::Domain, SiteKey::Domain},
}};
static_assert(Rules.size() == std::size_t(PageRequest::Passkey) + 1, "one rule per kind of request");

void logUnknown(int value)
{
    qWarning("velmora: a page asked for a permission Velmora does not know (%d); it was refused", value);
}
} // namespace

const PageRule &pagerules::ruleFor(PageRequest request)
{
    return Rules[std::size_t(request)];
}

QString pagerules::kindName(PageRequest request)
{
    return QCoreApplication::translate("pagedialogs", ruleFor(request).kind);
}

QString pagerules::question(PageRequest request, const QString &site)
{
    const char *text = ruleFor(request).question;
    return text ? QCoreApplication::translate("pagedialogs", text).arg(site) : QString();
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
std::optional<PageRequest> pagerules::fromPermission(QWebEnginePermission::PermissionType type)
{
    using Type = QWebEnginePermission::PermissionType;
    switch (type) {
    case Type::MediaAudioCapture:
        return PageRequest::Microphone;
    case Type::MediaVideoCapture:
        return PageRequest::Camera;
    case Type::MediaAudioVideoCapture:
        return PageRequest::CameraAndMicrophone;
    case Type::DesktopVideoCapture:
        return PageRequest::Screen;
    case Type::DesktopAudioVideoCapture:
        return PageRequest::ScreenAndSound;
    case Type::MouseLock:
        return PageRequest::MouseLock;
    case Type::Notifications:
        return PageRequest::Notifications;
    case Type::Geolocation:
        return PageRequest::Location;
    case Type::ClipboardReadWrite:
        return PageRequest::Clipboard;
    case Type::LocalFontsAccess:
        return PageRequest::LocalFonts;
    default: // Unsupported, and kinds a later engine adds
        break;
    }
    logUnknown(int(type));
    return std::nullopt;
}
#else
std::optional<PageRequest> pagerules::fromFeature(QWebEnginePage::Feature feature)
{
    switch (feature) {
    case QWebEnginePage::Geolocation:
        return PageRequest::Location;
    case QWebEnginePage::Notifications:
        return PageRequest::Notifications;
    case QWebEnginePage::MediaAudioCapture:
        return PageRequest::Microphone;
    case QWebEnginePage::MediaVideoCapture:
        return PageRequest::Camera;
    case QWebEnginePage::MediaAudioVideoCapture:
        return PageRequest::CameraAndMicrophone;
    case QWebEnginePage::DesktopVideoCapture:
        return PageRequest::Screen;
    case QWebEnginePage::DesktopAudioVideoCapture:
        return PageRequest::ScreenAndSound;
    case QWebEnginePage::MouseLock:
        return PageRequest::MouseLock;
    }
    logUnknown(int(feature));
    return std::nullopt;
}
#endif
