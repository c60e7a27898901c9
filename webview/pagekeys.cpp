#include "pagekeys.h"

#include "webview.h"

#include <QShortcut>

void installPageKeys(QWidget *window, WebView *web, const PageCommands &commands)
{
    auto add = [window](const QKeySequence &keys, const std::function<void()> &command) {
        auto *shortcut = new QShortcut(keys, window);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut, &QShortcut::activated, window, handled(command));
        return shortcut;
    };
    add(QKeySequence(Qt::ALT | Qt::Key_Left), commands.back);
    add(QKeySequence(Qt::ALT | Qt::Key_Right), commands.forward);
    add(QKeySequence(Qt::Key_F5), commands.refresh);
    add(QKeySequence(Qt::CTRL | Qt::Key_R), commands.refresh);
    add(QKeySequence(Qt::CTRL | Qt::Key_P), commands.print);
    const auto zoom = commands.zoom;
    add(QKeySequence(Qt::CTRL | Qt::Key_0), [zoom] { zoom(0); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Plus), [zoom] { zoom(+1); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Equal), [zoom] { zoom(+1); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Minus), [zoom] { zoom(-1); });

    QShortcut *stop = add(QKeySequence(Qt::Key_Escape), commands.stop);
    stop->setEnabled(web->Busy());
    QObject::connect(web, &WebView::BusyChanged, stop, &QShortcut::setEnabled);
}
