#include "zoomstore.h"

#include "siteanswers.h"

#include <QSettings>
#include <QUrl>

#include <cmath>
#include <iterator>

namespace {
const QString Group = QStringLiteral("zoom");
// A site as a settings key: "/" would start a subgroup.
QString keyOf(const QString &site)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(site));
}
} // namespace

ZoomStore::ZoomStore(const QString &settingsFile, QObject *parent) : QObject(parent), m_file(settingsFile)
{
    if (m_file.isEmpty())
        return;
    QSettings settings(m_file, QSettings::IniFormat);
    settings.beginGroup(Group);
    for (const QString &key : settings.childKeys()) {
        bool ok = false;
        const double factor = settings.value(key).toDouble(&ok);
        // A value edited by hand stays within what the view can show.
        if (ok && factor >= 0.25 && factor <= 5.0)
            m_factors.insert(QUrl::fromPercentEncoding(key.toLatin1()), factor);
    }
}

double ZoomStore::factorFor(const QUrl &url) const
{
    return m_factors.value(SiteAnswers::siteOf(url), 1.0);
}

void ZoomStore::setFactorFor(const QUrl &url, double factor)
{
    const QString site = SiteAnswers::siteOf(url);
    if (std::abs(factor - 1.0) < 0.001)
        m_factors.remove(site);
    else
        m_factors.insert(site, factor);
    if (!m_file.isEmpty()) {
        QSettings settings(m_file, QSettings::IniFormat);
        settings.beginGroup(Group);
        if (m_factors.contains(site))
            settings.setValue(keyOf(site), factor);
        else
            settings.remove(keyOf(site));
    }
    emit changed(site);
}

double ZoomStore::stepped(double current, int step)
{
    static constexpr double levels[] = {0.25, 0.33, 0.5, 0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                        1.25, 1.5,  1.75, 2.0, 2.5,  3.0, 4.0, 5.0};
    constexpr double near = 0.001;
    if (step > 0) {
        for (double level : levels) {
            if (level > current + near)
                return level;
        }
        return levels[std::size(levels) - 1];
    }
    if (step < 0) {
        for (auto level = std::rbegin(levels); level != std::rend(levels); ++level) {
            if (*level < current - near)
                return *level;
        }
        return levels[0];
    }
    return 1.0;
}
