#include "downloadrouter.h"

#include "errorpolicy.h"

#include <QDateTime>
#include <QWebEngineDownloadRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <algorithm>

namespace {
// How long a fetch given up on may still come: longer than any print waits.
constexpr qint64 GivenUpMs = 300000;
} // namespace

void DownloadRouter::listenTo(QWebEngineProfile *profile)
{
    connect(profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest *request) { ignoreErrors([&] { route(request); }); });
}

void DownloadRouter::add(QWebEnginePage *page, Handler handler)
{
    m_pages.insert(page, std::move(handler));
    connect(page, &QObject::destroyed, this, [this, page] {
        m_pages.remove(page);
        forget(page);
    });
}

void DownloadRouter::fetch(QWebEnginePage *page, const QUrl &url, QObject *context, Handler take)
{
    forget(page);
    m_fetches.append({url, page, context, std::move(take), -1});
    page->download(url);
}

void DownloadRouter::forget(QWebEnginePage *page)
{
    for (Fetch &fetch : m_fetches) {
        if (fetch.page == page && fetch.givenUpAt < 0) {
            fetch.take = nullptr;
            fetch.givenUpAt = QDateTime::currentMSecsSinceEpoch();
        }
    }
}

void DownloadRouter::route(QWebEngineDownloadRequest *request)
{
    // The program's own fetch is known by its address, without asking the
    // request for its page: Qt 6.4 crashes when asked for a page that has
    // gone, and a fetch may come after its page.
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    m_fetches.removeIf([now](const Fetch &fetch) { return fetch.givenUpAt >= 0 && now - fetch.givenUpAt > GivenUpMs; });
    const auto fetch = std::find_if(m_fetches.begin(), m_fetches.end(),
                                    [request](const Fetch &fetch) { return fetch.url == request->url(); });
    if (fetch != m_fetches.end()) {
        const Fetch taken = *fetch;
        m_fetches.erase(fetch);
        if (taken.take && taken.context)
            taken.take(request);
        else
            request->cancel();
        return;
    }
    const auto page = m_pages.constFind(request->page());
    if (page == m_pages.constEnd()) {
        request->cancel();
        return;
    }
    // A copy: the handler may close the page, and with it its entry.
    const Handler handler = *page;
    handler(request);
}
