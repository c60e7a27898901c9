#include "pageactions.h"

#include "errorpolicy.h"
#include "webview.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace {
// The platform's keys for `standard`, then `extra`, each once. Backspace is
// never Back: it deletes in the page's fields.
QList<QKeySequence> keys(QKeySequence::StandardKey standard, const QList<QKeySequence> &extra = {})
{
    QList<QKeySequence> all;
    if (standard != QKeySequence::UnknownKey) {
        for (const QKeySequence &key : QKeySequence::keyBindings(standard)) {
            if (key != QKeySequence(Qt::Key_Backspace))
                all << key;
        }
    }
    for (const QKeySequence &key : extra) {
        if (!all.contains(key))
            all << key;
    }
    return all;
}
} // namespace

PageActions::PageActions(QWidget *window) : QObject(window), m_window(window)
{
    auto make = [window](const QString &text, const QList<QKeySequence> &shortcuts) {
        auto *action = new QAction(text, window);
        action->setShortcuts(shortcuts);
        // The window's keys, wherever the focus is in it.
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        return action;
    };
    back = make(tr("Back"), keys(QKeySequence::Back, {QKeySequence(Qt::ALT | Qt::Key_Left)}));
    forward = make(tr("Forward"), keys(QKeySequence::Forward, {QKeySequence(Qt::ALT | Qt::Key_Right)}));
    stop = make(tr("Stop"), {});
    refresh = make(tr("Refresh"), keys(QKeySequence::Refresh, {Qt::Key_F5, QKeySequence(Qt::CTRL | Qt::Key_R)}));
    home = make(tr("Home"), {QKeySequence(Qt::ALT | Qt::Key_Home)});
    printPreview = make(tr("Print Preview"), {});
    pageSetup = make(tr("Page Setup"), {});
    print = make(tr("Print"), keys(QKeySequence::Print, {QKeySequence(Qt::CTRL | Qt::Key_P)}));
    zoomIn = make(tr("Zoom In"), keys(QKeySequence::ZoomIn, {QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                                             QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    zoomOut = make(tr("Zoom Out"), keys(QKeySequence::ZoomOut, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}));
    zoomReset = make(tr("Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)});
    find = make(tr("Find in Page..."), keys(QKeySequence::Find, {QKeySequence(Qt::CTRL | Qt::Key_F)}));
    close = make(tr("Close"), keys(QKeySequence::Close, {QKeySequence(Qt::CTRL | Qt::Key_W)}));
}

void PageActions::followBusy(WebView *view)
{
    auto follow = [this](bool busy) {
        stop->setShortcuts(busy ? QList<QKeySequence>{Qt::Key_Escape} : QList<QKeySequence>{});
    };
    follow(view->Busy());
    connect(view, &WebView::BusyChanged, this, follow);
}

void PageActions::runOn(WebView *view)
{
    auto run = [this, view](QAction *action, auto operation) {
        connect(action, &QAction::triggered, view, handled([view, operation] { operation(*view); }));
    };
    run(back, [](WebView &v) { v.GoBack(); });
    run(forward, [](WebView &v) { v.GoForward(); });
    run(stop, [](WebView &v) { v.Stop(); });
    run(refresh, [](WebView &v) { v.Refresh(); });
    run(printPreview, [](WebView &v) { v.ExecWB(WebView::PrintPreviewCmd, WebView::DoDefault); });
    run(pageSetup, [](WebView &v) { v.ExecWB(WebView::PageSetupCmd, WebView::DoDefault); });
    run(print, [](WebView &v) { v.ExecWB(WebView::PrintCmd, WebView::PromptUser); });
    run(zoomIn, [](WebView &v) { v.Zoom(+1); });
    run(zoomOut, [](WebView &v) { v.Zoom(-1); });
    run(zoomReset, [](WebView &v) { v.Zoom(0); });
    run(find, [](WebView &v) { v.Find(); });
    m_window->removeAction(home);
    connect(close, &QAction::triggered, m_window, &QWidget::close);
    followBusy(view);
}
