#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A realistic home page of about 1 MB for the start-up benchmark: 300 KB of
// HTML, a style sheet, a script that runs at load and a few images. The
// page's load handler requests /loaded, which marks the end of the load.
struct HomeResource
{
    QByteArray contentType;
    QByteArray body;
};

// The page and everything it refers to, by path; `homePath` is the page's own
// path. The same bytes on every call.
QHash<QString, HomeResource> makeHomePage(const QString &homePath);
