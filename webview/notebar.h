#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

// The note above a page: a line that says what the program did instead of
// what the page asked (a window blocked, a site no longer asked), at most
// one button that undoes it, and × to close it. It stays until the user
// closes it, another note takes its place or the page goes somewhere else.
class NoteBar : public QWidget
{
    Q_OBJECT
public:
    explicit NoteBar(QWidget *parent = nullptr);

    // Shows `text`, with a button `actionText` that runs `action` and closes
    // the note (none when empty).
    void showNote(const QString &text, const QString &actionText = QString(), std::function<void()> action = {});
    // The note's text while it shows, else empty.
    QString text() const;
    // The note's button, for tests.
    QPushButton *actionButton() const { return m_action; }

private:
    QLabel *m_text;
    QPushButton *m_action;
    QPushButton *m_close;
    std::function<void()> m_run;
};
