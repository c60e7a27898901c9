#include "enginenotice.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

EngineNotice::EngineNotice(const QString &text, QWidget *page)
    : QFrame(page->parentWidget()), m_page(page), m_text(new QLabel(text, this)), m_close(new QToolButton(this))
{
    setObjectName(QStringLiteral("engineNotice"));
    setAccessibleName(tr("Notice"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 248, 196));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_close->setText(QStringLiteral("\u00D7"));
    m_close->setAccessibleName(tr("Close notice"));
    m_close->setAutoRaise(true);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 3, 3);
    row->addWidget(m_text, 1);
    row->addWidget(m_close, 0, Qt::AlignTop);
    connect(m_close, &QToolButton::clicked, this, [this] {
        emit closedByUser();
        close();
    });
    page->installEventFilter(this);
    follow();
    show();
    raise();
}

bool EngineNotice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_page && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        follow();
    return QFrame::eventFilter(watched, event);
}

void EngineNotice::follow()
{
    if (!m_page)
        return;
    const QRect page = m_page->geometry();
    const int height = qMin(heightForWidth(page.width()) > 0 ? heightForWidth(page.width()) : sizeHint().height(),
                            page.height());
    setGeometry(page.x(), page.bottom() + 1 - height, page.width(), height);
}
