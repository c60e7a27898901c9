#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QString>

class QTreeWidget;

// A line of the list of keys: a command, in the user's language and without
// its access letter, and its keys.
struct Shortcut
{
    QString command;
    QList<QKeySequence> keys;
};

// Help > Keyboard Shortcuts: each command that has keys, with its keys as
// the user's language writes them ("Strg+F" in German). Non-modal; it is
// destroyed when it closes, and Esc or Close closes it.
class KeysWindow : public QDialog
{
    Q_OBJECT
public:
    KeysWindow(const QList<Shortcut> &shortcuts, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }

private:
    QTreeWidget *m_list;
};
