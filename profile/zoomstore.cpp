#include "zoomstore.h"

#include "settings.h"
#include "siteanswers.h"

#include <QUrl>
#include <QVariant>

#include <cmath>
#include <iterator>

namespace {
// Where each site's zoom is kept in the settings.
constexpr QLatin1String Group("zoom");
constexpr double Near = 0.001;
} // namespace

ZoomStore::ZoomStore(Settings &settings, QObject *parent) : QObject(parent), m_settings(settings) {}

double ZoomStore::factorFor(const QUrl &url) const
{
    bool ok = false;
    const double factor = m_settings.siteValue(Group, SiteAnswers::siteOf(url)).toDouble(&ok);
    return ok && factor >= MinZoom && factor <= MaxZoom ? factor : 1.0;
}

void ZoomStore::setFactorFor(const QUrl &url, double factor)
{
    const QString site = SiteAnswers::siteOf(url);
    m_settings.setSiteValue(Group, site, std::abs(factor - 1.0) < Near ? QVariant() : QVariant(factor));
    emit changed(site);
}

void ZoomStore::step(const QUrl &url, int step)
{
    setFactorFor(url, stepped(factorFor(url), step));
}

double ZoomStore::stepped(double current, int step)
{
    static constexpr double levels[] = {0.25, 0.33, 0.5, 0.67, 0.75, 0.8, 0.9, 1.0, 1.1,
                                        1.25, 1.5,  1.75, 2.0, 2.5,  3.0, 4.0, 5.0};
    if (step > 0) {
        for (double level : levels) {
            if (level > current + Near)
                return level;
        }
        return levels[std::size(levels) - 1];
    }
    if (step < 0) {
        for (auto level = std::rbegin(levels); level != std::rend(levels); ++level) {
            if (*level < current - Near)
                return *level;
        }
        return levels[0];
    }
    return 1.0;
}
