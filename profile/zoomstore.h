#pragma once

#include <QObject>
#include <QString>

class QUrl;
class Settings;

// The zoom of each site (scheme, host and port): every page of a site shows
// at its zoom, in every window.
class ZoomStore : public QObject
{
    Q_OBJECT
public:
    // Zooms are kept in `settings`, which outlives the store, so that they
    // last from one run to the next.
    explicit ZoomStore(Settings &settings, QObject *parent = nullptr);

    // The zoom factor for pages of `url`'s site; 1 unless one was set.
    double factorFor(const QUrl &url) const;
    // Sets the zoom of `url`'s site; 1 forgets it.
    void setFactorFor(const QUrl &url, double factor);

    // The factor one step in (+1) or out (-1) from `current`, or 1 (0).
    static double stepped(double current, int step);

signals:
    // The zoom of `site` has changed.
    void changed(const QString &site);

private:
    Settings &m_settings;
};
