#include "engineview.h"

#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

EngineView::EngineView(QWidget *parent)
    : WebView(parent), m_view(new QWebEngineView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    connect(m_view, &QWebEngineView::loadProgress, this,
            [this](int progress) { emit ProgressChange(progress, 100); });
    // The end of a download is reported as progress -1, whatever the outcome.
    connect(m_view, &QWebEngineView::loadFinished, this,
            [this](bool) { emit ProgressChange(-1, 100); });
    connect(m_view, &QWebEngineView::urlChanged, this,
            [this](const QUrl &url) { emit NavigateComplete2(url.toString()); });
}

EngineView::~EngineView() = default;

void EngineView::Navigate(const QString &url)
{
    m_view->load(QUrl::fromUserInput(url));
}

void EngineView::GoBack()
{
    if (!m_view->history()->canGoBack())
        throw WebViewError("There is no earlier page in the history.");
    m_view->back();
}

void EngineView::GoForward()
{
    if (!m_view->history()->canGoForward())
        throw WebViewError("There is no later page in the history.");
    m_view->forward();
}

void EngineView::Refresh()
{
    m_view->reload();
}

void EngineView::Stop()
{
    m_view->stop();
}

void EngineView::ExecWB(int cmdId, int execOpt)
{
    throw WebViewError(QStringLiteral("Command %1 with option %2 is not supported.")
                           .arg(cmdId)
                           .arg(execOpt));
}

QString EngineView::LocationURL() const
{
    return m_view->url().toString();
}

QString EngineView::LocationName() const
{
    return m_view->title();
}
