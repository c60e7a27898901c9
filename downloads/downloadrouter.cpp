#include "downloadrouter.h"

#include "errorpolicy.h"

#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

void DownloadRouter::listenTo(QWebEngineProfile *profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest *request) { ignoreErrors([&] { route(request); }); });
}

void DownloadRouter::add(QWebEnginePage *page, Handler handler)
{
    m_pages.insert(page, std::move(handler));
    connect(page, &QObject::destroyed, this, [this, page] { m_pages.remove(page); });
}

void DownloadRouter::route(QWebEngineDownloadRequest *request)
{
    const auto page = m_pages.constFind(request->page());
    if (page == m_pages.constEnd()) {
        request->cancel();
        return;
    }
    // A copy: the handler may close the page, and with it its entry.
    const Handler handler = *page;
    handler(request);
}
