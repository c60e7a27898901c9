#pragma once

#include <QFrame>
#include <QPointer>

class QLabel;
class QToolButton;

// A notice across the foot of the page that leaves the page usable: it
// covers a strip of it, follows it as the window changes size, and goes
// when the user closes it. The main window tells the user with it that the
// web engine is old.
class EngineNotice : public QFrame
{
    Q_OBJECT
public:
    // Shows `text` over the foot of `page`, a widget of the same window.
    EngineNotice(const QString &text, QWidget *page);

    QLabel *text() const { return m_text; }
    QToolButton *closeButton() const { return m_close; }

signals:
    // The user closed it (its close button), having seen it.
    void closedByUser();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_page;
    QLabel *m_text;
    QToolButton *m_close;
};
