#include "notebar.h"

#include "errorpolicy.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

NoteBar::NoteBar(QWidget *parent)
    : QWidget(parent), m_text(new QLabel(this)), m_action(new QPushButton(this)), m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("note"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 248, 196));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 2, 2);
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    row->addWidget(m_text, 1);
    m_action->setObjectName(QStringLiteral("noteAction"));
    row->addWidget(m_action);
    m_close->setObjectName(QStringLiteral("noteClose"));
    m_close->setText(QStringLiteral("\u00D7"));
    m_close->setFlat(true);
    m_close->setToolTip(tr("Close this note"));
    m_close->setAccessibleName(tr("Close this note"));
    row->addWidget(m_close);
    connect(m_close, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_action, &QPushButton::clicked, this, [this] {
        hide();
        const std::function<void()> run = m_run;
        ignoreErrors([&] { run(); });
    });
    hide();
}

void NoteBar::showNote(const QString &text, const QString &actionText, std::function<void()> action)
{
    m_text->setText(text);
    m_run = std::move(action);
    m_action->setText(actionText);
    m_action->setVisible(!actionText.isEmpty() && m_run);
    setAccessibleName(text);
    show();
}

QString NoteBar::text() const
{
    return isHidden() ? QString() : m_text->text();
}
