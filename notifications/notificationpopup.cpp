#include "notificationpopup.h"

#include "errorpolicy.h"
#include "twips.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>

namespace {
constexpr double PopupWidth = 4800; // twips
constexpr int IconPixels = 32;

QLabel *plainLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    // What a page wrote is shown as the characters it holds, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}
} // namespace

NotificationPopup::NotificationPopup(const QString &title, const QString &body, const QString &site,
                                     const QImage &icon, int shownMs, QWidget *parent)
    : QFrame(parent), m_title(plainLabel(title, this)), m_body(plainLabel(body, this)),
      m_site(plainLabel(site, this)), m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("notificationPopup"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(title);
    setAccessibleDescription(body);

    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_body->setVisible(!body.isEmpty());
    QPalette dim = m_site->palette();
    dim.setColor(QPalette::WindowText, palette().color(QPalette::Disabled, QPalette::WindowText));
    m_site->setPalette(dim);

    m_close->setObjectName(QStringLiteral("closeNotification"));
    m_close->setText(QStringLiteral("\u00d7"));
    m_close->setAutoRaise(true);
    m_close->setCursor(Qt::ArrowCursor);
    m_close->setToolTip(tr("Close"));
    m_close->setAccessibleName(tr("Close notification"));
    connect(m_close, &QToolButton::clicked, this, handled([this] { emit dismissed(); }));

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(8, 6, 4, 8);
    grid->setVerticalSpacing(2);
    int column = 0;
    if (!icon.isNull()) {
        auto *picture = new QLabel(this);
        picture->setPixmap(QPixmap::fromImage(
            icon.scaled(IconPixels, IconPixels, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        grid->addWidget(picture, 0, column++, 3, 1, Qt::AlignTop);
    }
    grid->addWidget(m_title, 0, column);
    grid->addWidget(m_body, 1, column);
    grid->addWidget(m_site, 2, column);
    grid->addWidget(m_close, 0, column + 1, Qt::AlignTop | Qt::AlignRight);
    grid->setColumnStretch(column, 1);

    setFixedWidth(twips::toPixels(PopupWidth, twips::perPixel(parent ? parent : this)));
    ensurePolished();
    setFixedHeight(heightForWidth(width()));

    m_shown.setSingleShot(true);
    m_shown.setInterval(shownMs);
    connect(&m_shown, &QTimer::timeout, this, handled([this] { emit dismissed(); }));
    m_shown.start();
}

void NotificationPopup::mousePressEvent(QMouseEvent *event)
{
    // A press anywhere on the box, its texts included, is the box's: its
    // release is the click.
    if (event->button() == Qt::LeftButton)
        event->accept();
    else
        QFrame::mousePressEvent(event);
}

void NotificationPopup::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        ignoreErrors([this] { emit clicked(); });
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void NotificationPopup::enterEvent(QEnterEvent *event)
{
    // Read at leisure: the time starts again when the pointer leaves.
    m_shown.stop();
    QFrame::enterEvent(event);
}

void NotificationPopup::leaveEvent(QEvent *event)
{
    m_shown.start();
    QFrame::leaveEvent(event);
}
