#pragma once

#include <QObject>
#include <QString>

class QUrl;
class Settings;

// The zoom of each site (scheme, host and port), and the one place that
// knows zoom: the levels a page may be shown at, the bounds of a value edited
// by hand, and where each site's zoom is kept. Every page of a site shows at
// its zoom, in every window, from one run to the next.
class ZoomStore : public QObject
{
    Q_OBJECT
public:
    // The zooms a page may be shown at; a value edited by hand outside them
    // is not used.
    static constexpr double MinZoom = 0.25;
    static constexpr double MaxZoom = 5.0;

    // Zooms are kept in `settings`, which outlives the store, so that they
    // last from one run to the next.
    explicit ZoomStore(Settings &settings, QObject *parent = nullptr);

    // The zoom factor for pages of `url`'s site; 1 unless one was set.
    double factorFor(const QUrl &url) const;
    // Sets the zoom of `url`'s site; 1 forgets it.
    void setFactorFor(const QUrl &url, double factor);
    // Sets the zoom of `url`'s site one step in (+1) or out (-1) from what it
    // is, or back to 1 (0).
    void step(const QUrl &url, int step);

    // The factor one step in (+1) or out (-1) from `current`, or 1 (0).
    static double stepped(double current, int step);

signals:
    // The zoom of `site` (scheme, host and port) has changed.
    void changed(const QString &site);

private:
    Settings &m_settings;
};
