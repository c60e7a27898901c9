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

// Whether security fixes up to `patchVersion` are more than OldAfterDays
// old on `today`. An unknown version is not called old.
bool isOld(const QString &patchVersion, const QDate &today);

// "Qt WebEngine 6.4.2, Chromium 102.0.5005.177, security fixes up to
// 108.0.5359.181": the engine the program runs on, in one line.
QString describe(const QString &qtWebEngine, const QString &chromium, const QString &patches);

} // namespace engineage

namespace engineage {

// Whether to tell the user that the engine is old: its security fixes are
// old on `today` and the notice has not been shown for this engine yet
// (`shownFor` is the patch version it was last shown for).
bool noticeDue(const QString &patchVersion, const QString &shownFor, const QDate &today);

} // namespace engineage
