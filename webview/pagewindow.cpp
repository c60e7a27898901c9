#include "pagewindow.h"

#include "engineview.h"
#include "pageactions.h"
#include "pagedialogs.h"
#include "siteaddress.h"
#include "webpage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEnginePage>

PageWindow::PageWindow(Session &session, QWidget *owner)
    : QWidget(owner, Qt::Window), m_view(new EngineView(session, this, maker(session, owner))),
      m_actions(new PageActions(this))
{
    setObjectName(QStringLiteral("pageWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
    m_actions->bind(m_view);

    if (owner)
        setWindowIcon(owner->windowIcon());
    // Two thirds of the screen, centred on the program's window.
    const QScreen *screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        QRect wanted(QPoint(), area.size() * 2 / 3);
        wanted.moveCenter(owner ? owner->frameGeometry().center() : area.center());
        place(wanted);
    }
    updateTitle();
    connect(m_view, &EngineView::TitleChange, this, [this] { updateTitle(); });
    connect(m_view, &WebView::NavigateComplete2, this, [this] { updateTitle(); });

    WebPage *page = m_view->page();
    // The size and place the page asked for with window.open, kept on the screen.
    connect(page, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &wanted) {
        if (!wanted.isEmpty())
            place(wanted);
    });
    connect(page, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    // A close the page asked for while a question of its was open waits
    // until it has been answered: the question's caller is still running.
    connect(&page->questions(), &PageQuestions::answered, this, [this] {
        if (m_closeWhenAnswered)
            QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    });
}

WebPage::WindowMaker PageWindow::maker(Session &session, QWidget *owner)
{
    QPointer<QWidget> top(owner);
    return [&session, top](const QRect &geometry) {
        auto *window = new PageWindow(session, top);
        // The size and place window.open asked for: a window with an opener
        // asks again through its page, one without (noopener) only here.
        if (!geometry.isEmpty())
            window->place(geometry);
        window->show();
        return window->view()->page();
    };
}

QString PageWindow::titleFor(const QString &title, const QUrl &url, const QUrl &opener)
{
    // A page's source is named by the page's whole address.
    if (url.scheme() == QLatin1String("view-source"))
        return tr("Source of %1").arg(siteaddress::wholeAddress(QUrl(url.path(QUrl::FullyEncoded))));
    // A blank window shows whatever its opener writes into it, a sign-in
    // form of another site's look included: it is that opener's page.
    const bool ownAddress = !url.isEmpty() && url.scheme() != QLatin1String("about");
    const QString site = pagedialogs::siteName(ownAddress || opener.isEmpty() ? url : opener);
    if (site.isEmpty())
        return title.isEmpty() ? QCoreApplication::applicationName() : title;
    return title.isEmpty() || title == site ? site : tr("%1 - %2").arg(title, site);
}

void PageWindow::updateTitle()
{
    const QUrl url(m_view->LocationURL());
    setWindowTitle(titleFor(m_view->LocationName(), url, m_view->page()->openerUrl()));
}

void PageWindow::place(QRect wanted)
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // The frame the window system adds, as far as it is known yet; a title
    // bar and borders of a usual size before the window is first shown.
    m_wanted = wanted;
    QMargins frame = frameMargins();
    m_placedWith = frame;
    m_framed = isVisible() && !frame.isNull();
    if (!isVisible())
        frame = QMargins(4, 30, 4, 4);
    // The page gives the size of its content and the place of the window.
    const QSize room = area.marginsRemoved(frame).size();
    const QSize size = wanted.size().expandedTo(QSize(160, 120)).boundedTo(room);
    const QSize outer = size.grownBy(frame);
    QPoint at = wanted.topLeft();
    at.setX(qBound(area.left(), at.x(), area.right() - outer.width() + 1));
    at.setY(qBound(area.top(), at.y(), area.bottom() - outer.height() + 1));
    resize(size);
    move(at);
}

QMargins PageWindow::frameMargins() const
{
    const QRect frame = frameGeometry(), inner = geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                    frame.bottom() - inner.bottom());
}

bool PageWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::ActivationChange:
    case QEvent::UpdateRequest:
        // The window manager has framed the window since it was placed:
        // placed again, the title bar too lies inside the screen. Once that
        // is done the window is the user's to move, maximize or resize.
        if (isVisible() && !m_framed && m_wanted.isValid() && frameMargins() != m_placedWith
            && !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            place(m_wanted);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void PageWindow::closeEvent(QCloseEvent *event)
{
    if (m_view->page()->questions().isAsking()) {
        // Answer the open question with No first; the window goes after.
        m_closeWhenAnswered = true;
        hide();
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QDialog *>(widget);
            if (!dialog || !dialog->isVisible())
                continue;
            for (QWidget *above = dialog->parentWidget(); above; above = above->parentWidget()) {
                if (above == this) {
                    dialog->reject();
                    break;
                }
            }
        }
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
