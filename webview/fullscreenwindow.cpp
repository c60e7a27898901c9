#include "fullscreenwindow.h"

#include "pagedialogs.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {
// How long the notice naming the full-screen site stays.
constexpr int FullScreenNoticeMs = 4000;
}

void colourLabel(QLabel *label, const QColor &background, const QColor &text)
{
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
}

FullScreenWindow::FullScreenWindow(QWebEngineView *home, QWebEnginePage *page, QWidget *owner)
    : QWidget(owner, Qt::Window), m_home(home), m_view(new QWebEngineView(this)), m_page(page),
      m_notice(new QLabel(this))
{
    setObjectName(QStringLiteral("fullScreenWindow"));
    setWindowTitle(home->window()->windowTitle());
    setWindowIcon(home->window()->windowIcon());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    auto *leave = new QAction(this);
    leave->setShortcut(Qt::Key_Escape);
    connect(leave, &QAction::triggered, this, [this] { leaveFullScreen(); });
    addAction(leave);
    // A focused widget that is moved or hidden hands the focus on as if Tab
    // had been pressed, and the page would get a Tab key the user never
    // pressed: the focus is taken away first.
    if (QWidget *focused = home->focusProxy() ? home->focusProxy() : home; focused->hasFocus())
        focused->clearFocus();
    m_view->setPage(page);

    m_notice->setObjectName(QStringLiteral("fullScreenNotice"));
    m_notice->setTextFormat(Qt::PlainText);
    m_notice->setText(QCoreApplication::translate("EngineView", "%1 is full screen. Press Esc to leave full screen.")
                          .arg(pagedialogs::siteName(page->url())));
    m_notice->setAlignment(Qt::AlignCenter);
    m_notice->setMargin(12);
    colourLabel(m_notice, QColor(32, 32, 32), Qt::white);
    QTimer::singleShot(FullScreenNoticeMs, m_notice, &QWidget::hide);

    // Where no window manager makes a full-screen window fill its screen, the
    // window does so itself.
    if (const QScreen *screen = home->screen())
        setGeometry(screen->geometry());
    showFullScreen();
    placeNotice();
    m_view->setFocus(Qt::OtherFocusReason);
}

FullScreenWindow::~FullScreenWindow()
{
    if (m_view->hasFocus() || isAncestorOf(QApplication::focusWidget()))
        QApplication::focusWidget()->clearFocus();
    if (m_home && m_page)
        m_home->setPage(m_page);
}

QString FullScreenWindow::notice() const
{
    return m_notice->isVisible() ? m_notice->text() : QString();
}

void FullScreenWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeNotice();
}

void FullScreenWindow::closeEvent(QCloseEvent *event)
{
    // Closed from outside (the program ends): the page leaves full screen.
    leaveFullScreen();
    QWidget::closeEvent(event);
}

void FullScreenWindow::placeNotice()
{
    m_notice->adjustSize();
    m_notice->move((width() - m_notice->width()) / 2, 0);
    m_notice->raise();
}

void FullScreenWindow::leaveFullScreen()
{
    if (m_page)
        m_page->triggerAction(QWebEnginePage::ExitFullScreen);
}
