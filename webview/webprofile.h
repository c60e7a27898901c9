#pragma once

#include <QString>

class QWebEngineProfile;

// The program's one web profile. It lives on disk in the user's own folders,
// private to that user, so that cookies, site data and the HTTP cache last
// from one run to the next.
namespace webprofile {

// The profile every page uses; made on first use.
QWebEngineProfile *profile();

// Where the profile keeps cookies and site data, and where its HTTP cache is.
QString storagePath();
QString cachePath();

// Ends the profile once no page uses it any more; main() and the tests hold
// one, so that the profile goes before the application and its engine do.
class Owner
{
public:
    Owner() = default;
    ~Owner();
    Owner(const Owner &) = delete;
    Owner &operator=(const Owner &) = delete;
};

} // namespace webprofile
