#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <functional>

// Shared by the window suites: modal dialogs and tab order.

// While it lives, calls `tick` every `ms` with the modal dialog open at that
// moment, or null when there is none.
class ModalWatch
{
public:
    explicit ModalWatch(std::function<void(QWidget *)> tick, int ms = 20)
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [tick] { tick(QApplication::activeModalWidget()); });
        m_timer.start(ms);
    }

private:
    QTimer m_timer;
};

// Answers a file dialog with `path` as the user does: typed into its name
// field, then accepted. selectFile() leaves a name field that has the focus
// as it is, and whether the dialog has it yet is the window system's timing.
inline void answerFileDialog(QFileDialog *dialog, const QString &path)
{
    if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    else
        dialog->selectFile(path);
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
}

// A modal dialog in one line: a message box as "title|OK|text" when it is
// OK-only without icon, with its icon and buttons in the middle otherwise;
// any other dialog by its class name.
inline QString describeDialog(QWidget *dialog)
{
    auto *box = qobject_cast<QMessageBox *>(dialog);
    if (!box)
        return QString::fromLatin1(dialog->metaObject()->className());
    const bool plain = box->icon() == QMessageBox::NoIcon && box->buttons().size() == 1
        && box->standardButtons() == QMessageBox::Ok;
    const QString kind = plain ? QStringLiteral("OK")
                               : QStringLiteral("icon %1, buttons %2").arg(int(box->icon())).arg(box->standardButtons().toInt());
    return box->windowTitle() + u'|' + kind + u'|' + box->text();
}

// How describeDialog shows the program's own OK-only message.
inline QString plainMessage(const QString &text)
{
    return QStringLiteral("Velmora|OK|") + text;
}

// While it lives, closes every modal dialog as soon as it is open and
// records it in `seen` as describeDialog shows it.
struct DialogCloser
{
    QStringList seen;
    ModalWatch watch{[this](QWidget *dialog) {
        if (dialog) {
            seen << describeDialog(dialog);
            dialog->close();
        }
    }};
};

// Answers the next modal dialog as soon as it is open, while it lives.
class DialogAnswer
{
public:
    explicit DialogAnswer(std::function<void(QWidget *)> answer)
        : m_watch(
            [this, answer](QWidget *dialog) {
                if (dialog && !m_answered) {
                    m_answered = true;
                    answer(dialog);
                }
            },
            10)
    {
    }
    bool answered() const { return m_answered; }

private:
    bool m_answered = false;
    ModalWatch m_watch;
};

// The `count` widgets that Tab reaches after `from`, in order.
inline QWidgetList tabOrder(QWidget *from, int count)
{
    QWidgetList out;
    for (QWidget *widget = from->nextInFocusChain(); out.size() < count; widget = widget->nextInFocusChain()) {
        if (widget->focusPolicy() != Qt::NoFocus)
            out << widget;
    }
    return out;
}
