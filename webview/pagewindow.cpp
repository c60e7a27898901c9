#include "pagewindow.h"

#include "engineview.h"
#include "pagekeys.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEnginePage>

PageWindow::PageWindow(QWidget *owner) : QWidget(owner, Qt::Window), m_view(new EngineView(this))
{
    setObjectName(QStringLiteral("pageWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    if (owner) {
        setWindowIcon(owner->windowIcon());
        // A little below and to the right of the program's window, as large as it.
        QRect place = owner->geometry().translated(30, 30);
        if (const QScreen *screen = owner->screen())
            place &= screen->availableGeometry();
        setGeometry(place);
    } else {
        resize(800, 600);
    }
    setWindowTitle(QCoreApplication::applicationName());
    connect(m_view, &EngineView::TitleChange, this, [this](const QString &title) {
        setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    });

    QWebEnginePage *page = m_view->page();
    // The size and place the page asked for with window.open, kept on the screen.
    connect(page, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &wanted) {
        QRect content = wanted;
        if (const QScreen *screen = this->screen())
            content = content.intersected(screen->availableGeometry());
        if (content.isEmpty())
            return;
        // The page gives the size of its content and the place of the window.
        resize(content.size());
        move(content.topLeft());
    });
    connect(page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);

    EngineView *view = m_view;
    installPageKeys(this, view,
                    {[view] { view->GoBack(); }, [view] { view->GoForward(); }, [view] { view->Refresh(); },
                     [view] { view->Stop(); }, [view] { view->ExecWB(WebView::PrintCmd, WebView::PromptUser); },
                     [view](int step) { view->Zoom(step); }});
}
