#include "deferredview.h"
#include "rendering.h"

#include <QOpenGLWidget>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace {
// Should the window not be drawn at all (shown minimized, say), the real view
// still starts this long after the window was shown.
constexpr int StartAnywayMs = 1000;
}

DeferredView::DeferredView(Factory makeView, QWidget *parent) : WebView(parent), m_makeView(std::move(makeView))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A window drawn without OpenGL until then is made anew when a view that
    // draws through OpenGL joins it: the window would vanish and come back.
    // An OpenGL widget that is never shown makes the window draw through
    // OpenGL from its first frame on.
    if (rendering::drawsThroughOpenGL())
        (new QOpenGLWidget(this))->hide();
}

DeferredView::~DeferredView() = default;

void DeferredView::paintEvent(QPaintEvent *event)
{
    // An empty page, as the engine's view shows before its first page.
    QPainter(this).fillRect(event->rect(), Qt::white);
    // The window is being drawn: the real view starts once the frame is out,
    // on the next turn of the event loop.
    if (!m_view && !m_startQueued) {
        m_startQueued = true;
        QTimer::singleShot(0, this, [this] { startOnceDrawn(); });
    }
}

void DeferredView::showEvent(QShowEvent *event)
{
    WebView::showEvent(event);
    if (!m_view)
        QTimer::singleShot(StartAnywayMs, this, [this] { startOnceDrawn(); });
}

void DeferredView::resizeEvent(QResizeEvent *event)
{
    WebView::resizeEvent(event);
    if (m_view)
        m_view->setGeometry(rect());
}

void DeferredView::startOnceDrawn()
{
    m_startQueued = false;
    // A window that was closed in the meantime has no use for a page.
    if (isVisible())
        ignoreErrors([this] { start(); });
}

void DeferredView::start()
{
    if (m_view || m_starting)
        return;
    m_starting = true;
    QPointer<DeferredView> self(this);
    WebView *view = nullptr;
    try {
        view = m_makeView(this);
    } catch (...) {
        m_starting = false;
        throw;
    }
    m_view = view;
    view->setGeometry(rect());
    connect(view, &WebView::ProgressChange, this, &WebView::ProgressChange);
    connect(view, &WebView::NavigateComplete2, this, &WebView::NavigateComplete2);
    connect(view, &WebView::BusyChanged, this, &WebView::BusyChanged);
    connect(view, &WebView::CommandStateChange, this, &WebView::CommandStateChange);
    connect(view, &WebView::ZoomChange, this, &WebView::ZoomChange);
    // Shown, and so laid out at its full size, before it is sent anywhere:
    // the first page is laid out for the view it is shown in, not for a
    // widget's size before its first layout.
    view->show();
    // The kept calls come first, the home page among them, so that nothing
    // else stands in front of its request; a call made while they run (from
    // a dialog one of them opened) joins the end.
    while (!m_kept.empty()) {
        const Call call = std::move(m_kept.front());
        m_kept.erase(m_kept.begin());
        ignoreErrors([&] { call(*view); });
        if (!self)
            return;
    }
    m_starting = false;
    const bool focused = hasFocus();
    setFocusProxy(view);
    if (focused)
        view->setFocus();
    emit started();
}

void DeferredView::perform(Call call)
{
    if (m_view && !m_starting)
        call(*m_view);
    else
        m_kept.push_back(std::move(call));
}

QString DeferredView::LocationURL() const
{
    return m_view ? m_view->LocationURL() : QString();
}

QString DeferredView::LocationName() const
{
    return m_view ? m_view->LocationName() : QString();
}

bool DeferredView::Busy() const
{
    return m_view && m_view->Busy();
}
