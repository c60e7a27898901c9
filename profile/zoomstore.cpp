#include "zoomstore.h"

#include "settings.h"
#include "siteanswers.h"

#include <QUrl>

#include <iterator>

ZoomStore::ZoomStore(Settings &settings, QObject *parent) : QObject(parent), m_settings(settings) {}

double ZoomStore::factorFor(const QUrl &url) const
{
    return m_settings.zoom(SiteAnswers::siteOf(url));
}

void ZoomStore::setFactorFor(const QUrl &url, double factor)
{
    const QString site = SiteAnswers::siteOf(url);
    m_settings.setZoom(site, factor);
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
