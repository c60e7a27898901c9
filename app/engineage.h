#pragma once

#include <QDate>
#include <QString>

// How old the web engine is: the day its security fixes were current, and
// whether that is long enough ago to tell the user. Plain functions of the
// version texts the engine reports, so that they are tested without it.
namespace engineage {

// Security fixes older than this are worth a word to the user: a year is
// about a dozen releases of the engine, each with fixes of its own.
constexpr int OldAfterDays = 365;

// The day the stable release of `chromiumVersion`'s major version came out
// ("108.0.5359.181" is 2022-11-29), to within a few weeks; invalid when the
// text does not start with a major version.
QDate releaseDate(const QString &chromiumVersion);

// The day the security fixes up to `patchVersion` came out: exact for the
// versions Qt's releases are known to carry ("108.0.5359.94", Qt 6.4.2's, is
// 2022-12-02), else that of its major version (releaseDate). The one date
// the program gives for them.
QDate fixesDate(const QString &patchVersion);
// Its month, as the user's language writes it ("December 2022",
// "Dezember 2022"); empty for an unknown version.
QString fixesMonth(const QString &patchVersion);

// Whether security fixes up to `patchVersion` are more than OldAfterDays
// old on `today`. An unknown version is not called old.
bool isOld(const QString &patchVersion, const QDate &today);

// The engine the program runs on, in a line: its version, the Chromium it
// is built on and how far its security fixes go, by month and version; an
// engine old on `today` is called out of date, in words.
QString describe(const QString &qtWebEngine, const QString &chromium, const QString &patches, const QDate &today);

} // namespace engineage

namespace engineage {

// Whether to tell the user that the engine is old: its security fixes are
// old on `today` and the notice has not been shown for this engine yet
// (`shownFor` is the patch version it was last shown for).
bool noticeDue(const QString &patchVersion, const QString &shownFor, const QDate &today);

} // namespace engineage
