#pragma once

#include <QFrame>
#include <QImage>
#include <QTimer>

class QLabel;
class QToolButton;

// One notification shown by the program itself, where the desktop has no
// notification service: a small box with the title in bold, the text and
// the site, all as plain text, and a close button. It goes away by itself
// after a few seconds unless the pointer rests on it.
class NotificationPopup : public QFrame
{
    Q_OBJECT
public:
    NotificationPopup(const QString &title, const QString &body, const QString &site, const QImage &icon,
                      int shownMs, QWidget *parent);

    QLabel *title() const { return m_title; }
    QLabel *body() const { return m_body; }
    QLabel *site() const { return m_site; }
    QToolButton *closeButton() const { return m_close; }

signals:
    // The user clicked the box (not its close button).
    void clicked();
    // The close button, or the time is up.
    void dismissed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QLabel *m_title;
    QLabel *m_body;
    QLabel *m_site;
    QToolButton *m_close;
    QTimer m_shown;
};
