#include "engineage.h"

#include <QCoreApplication>
#include <QLocale>

#include <array>
#include <utility>

namespace engineage {
namespace {
// Stable releases the dates are read between. Since major version 94 a
// major version comes every four weeks, with the odd week more around the
// turn of the year; before it, every six.
constexpr std::array<std::pair<int, int>, 10> Known = {{
    {94, 2459479},  // 2021-09-21, as Julian days
    {100, 2459668}, // 2022-03-29
    {102, 2459724}, // 2022-05-24
    {108, 2459913}, // 2022-11-29
    {114, 2460095}, // 2023-05-30
    {120, 2460284}, // 2023-12-05
    {126, 2460473}, // 2024-06-11
    {132, 2460690}, // 2025-01-14
    {138, 2460851}, // 2025-06-24
    {140, 2460921}, // 2025-09-02
}};
constexpr int DaysPerMajorBefore = 42;
constexpr int DaysPerMajorAfter = 28;

// Security fixes that Qt releases carry, on the day their stable update came
// out: a major version's fixes go on for weeks after its release.
struct KnownPatch
{
    const char *version;
    int julianDay;
};
constexpr KnownPatch KnownPatches[] = {
    {"108.0.5359.94", 2459916}, // 2022-12-02: Qt 6.4.2, Debian 12's engine
};
} // namespace

QDate releaseDate(const QString &chromiumVersion)
{
    bool ok = false;
    const int major = chromiumVersion.section(QLatin1Char('.'), 0, 0).toInt(&ok);
    if (!ok || major <= 0)
        return {};
    if (major <= Known.front().first)
        return QDate::fromJulianDay(Known.front().second - qint64(Known.front().first - major) * DaysPerMajorBefore);
    if (major >= Known.back().first)
        return QDate::fromJulianDay(Known.back().second + qint64(major - Known.back().first) * DaysPerMajorAfter);
    for (size_t i = 1; i < Known.size(); ++i) {
        const auto &[laterMajor, laterDay] = Known[i];
        if (major > laterMajor)
            continue;
        const auto &[earlierMajor, earlierDay] = Known[i - 1];
        return QDate::fromJulianDay(earlierDay
                                    + qint64(laterDay - earlierDay) * (major - earlierMajor) / (laterMajor - earlierMajor));
    }
    return {};
}

QDate fixesDate(const QString &patchVersion)
{
    for (const KnownPatch &known : KnownPatches) {
        if (patchVersion == QLatin1String(known.version))
            return QDate::fromJulianDay(known.julianDay);
    }
    return releaseDate(patchVersion);
}

QString fixesMonth(const QString &patchVersion)
{
    const QDate date = fixesDate(patchVersion);
    // In the language the program speaks, which the locale's formats need not be.
    const QLocale locale(QCoreApplication::translate("engineage", "en", "the language of the month's name, as a code"));
    return date.isValid() ? locale.standaloneMonthName(date.month()) + u' ' + QString::number(date.year()) : QString();
}

bool isOld(const QString &patchVersion, const QDate &today)
{
    const QDate released = fixesDate(patchVersion);
    return released.isValid() && today.isValid() && released.daysTo(today) > OldAfterDays;
}

QString describe(const QString &qtWebEngine, const QString &chromium, const QString &patches, const QDate &today)
{
    const QString month = fixesMonth(patches);
    if (isOld(patches, today))
        return QCoreApplication::translate("engineage", "Web engine: Qt WebEngine %1 (Chromium %2). Out of date: "
                                                        "no security fixes since %3 (up to Chromium %4).")
            .arg(qtWebEngine, chromium, month, patches);
    if (month.isEmpty())
        return QCoreApplication::translate("engineage", "Web engine: Qt WebEngine %1 (Chromium %2).")
            .arg(qtWebEngine, chromium);
    return QCoreApplication::translate("engineage", "Web engine: Qt WebEngine %1 (Chromium %2), security fixes "
                                                    "up to %3 (Chromium %4).")
        .arg(qtWebEngine, chromium, month, patches);
}

} // namespace engineage

namespace engineage {

bool noticeDue(const QString &patchVersion, const QString &shownFor, const QDate &today)
{
    return patchVersion != shownFor && isOld(patchVersion, today);
}

} // namespace engineage
