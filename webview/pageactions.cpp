#include "pageactions.h"

#include "errorpolicy.h"
#include "webview.h"

#include <QAction>
#include <QWidget>

namespace {
using Needs = PageActions::Needs;
using Keys = QKeySequence::StandardKey;

QKeySequence ctrl(int key)
{
    return QKeySequence(Qt::CTRL | key);
}

QKeySequence alt(int key)
{
    return QKeySequence(Qt::ALT | key);
}
} // namespace

// Each key once. Backspace is never Back, nor Shift+Backspace Forward: they
// delete in the page's fields.
QList<QKeySequence> PageActions::keys(const Command &command)
{
    QList<QKeySequence> all;
    for (const QKeySequence &key : QKeySequence::keyBindings(command.standardKeys)) {
        if (key != QKeySequence(Qt::Key_Backspace) && key != QKeySequence(Qt::SHIFT | Qt::Key_Backspace))
            all << key;
    }
    for (const QKeySequence &key : command.keys) {
        if (!all.contains(key))
            all << key;
    }
    return all;
}

const std::vector<PageActions::Command> &PageActions::commands()
{
    // command, name, text, standard keys, own keys, menu, needs, focuses the
    // page, tells its failure
    static const std::vector<Command> table = {
        {PageCommand::Back, "cmdBack", QT_TRANSLATE_NOOP("PageActions", "&Back"), Keys::Back, {alt(Qt::Key_Left)},
         Menu::View, Needs::EarlierPage, true, false},
        {PageCommand::Forward, "cmdForward", QT_TRANSLATE_NOOP("PageActions", "&Forward"), Keys::Forward,
         {alt(Qt::Key_Right)}, Menu::View, Needs::LaterPage, true, false},
        {PageCommand::Stop, "cmdStop", QT_TRANSLATE_NOOP("PageActions", "&Stop"), Keys::UnknownKey, {Qt::Key_Escape},
         Menu::View, Needs::Loading, false, false},
        {PageCommand::Refresh, "cmdRefresh", QT_TRANSLATE_NOOP("PageActions", "&Refresh"), Keys::Refresh,
         {Qt::Key_F5, ctrl(Qt::Key_R)}, Menu::View, Needs::Nothing, true, false},
        {PageCommand::Home, "cmdHome", QT_TRANSLATE_NOOP("PageActions", "&Home"), Keys::UnknownKey,
         {alt(Qt::Key_Home)}, Menu::View, Needs::HomePage, true, false},
        {PageCommand::PageSetup, "mnuPGSetup", QT_TRANSLATE_NOOP("PageActions", "Page Set&up..."), Keys::UnknownKey,
         {}, Menu::Page, Needs::Nothing, false, true},
        {PageCommand::PrintPreview, "mnuPrintPreview", QT_TRANSLATE_NOOP("PageActions", "Print Pre&view"),
         Keys::UnknownKey, {}, Menu::Page, Needs::Nothing, false, true},
        {PageCommand::Print, "mnuPrint", QT_TRANSLATE_NOOP("PageActions", "&Print..."), Keys::Print,
         {ctrl(Qt::Key_P)}, Menu::Page, Needs::Nothing, false, true},
        {PageCommand::SavePage, "mnuSavePage", QT_TRANSLATE_NOOP("PageActions", "&Save Page..."), Keys::Save,
         {ctrl(Qt::Key_S)}, Menu::Page, Needs::Nothing, false, true},
        {PageCommand::Find, "mnuFind", QT_TRANSLATE_NOOP("PageActions", "&Find in Page..."), Keys::Find,
         {ctrl(Qt::Key_F)}, Menu::Page, Needs::Nothing, false, false},
        {PageCommand::ZoomIn, "zoomIn", QT_TRANSLATE_NOOP("PageActions", "Zoom &In"), Keys::ZoomIn,
         {ctrl(Qt::Key_Plus), ctrl(Qt::Key_Equal)}, Menu::View, Needs::Nothing, false, false},
        {PageCommand::ZoomOut, "zoomOut", QT_TRANSLATE_NOOP("PageActions", "Zoom &Out"), Keys::ZoomOut,
         {ctrl(Qt::Key_Minus)}, Menu::View, Needs::Nothing, false, false},
        {PageCommand::ZoomReset, "zoomReset", QT_TRANSLATE_NOOP("PageActions", "&Actual Size"), Keys::UnknownKey,
         {ctrl(Qt::Key_0)}, Menu::View, Needs::Nothing, false, false},
        {PageCommand::Close, "close", QT_TRANSLATE_NOOP("PageActions", "&Close"), Keys::Close, {ctrl(Qt::Key_W)},
         Menu::None, Needs::Nothing, false, false},
    };
    return table;
}

PageActions::PageActions(QWidget *window) : QObject(window), m_window(window)
{
    for (const Command &command : commands()) {
        auto *action = new QAction(tr(command.text), window);
        action->setObjectName(QString::fromLatin1(command.name));
        action->setShortcuts(keys(command));
        // The window's keys, wherever the focus is in it.
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
        m_actions << action;
    }
}

QAction *PageActions::action(PageCommand command) const
{
    for (size_t row = 0; row < commands().size(); ++row) {
        if (commands()[row].id == command)
            return m_actions.at(qsizetype(row));
    }
    return nullptr;
}

QList<QAction *> PageActions::menu(Menu which) const
{
    QList<QAction *> items;
    for (size_t row = 0; row < commands().size(); ++row) {
        if (commands()[row].menu == which)
            items << m_actions.at(qsizetype(row));
    }
    return items;
}

void PageActions::bind(WebView *view, std::function<QString()> homePage)
{
    m_homePage = std::move(homePage);
    for (size_t row = 0; row < commands().size(); ++row) {
        const Command &command = commands()[row];
        QAction *action = m_actions.at(qsizetype(row));
        if (command.needs == Needs::HomePage && !m_homePage) {
            m_window->removeAction(action);
            continue;
        }
        connect(action, &QAction::triggered, view, [this, &command, action, view] { run(command, action, view); });
        switch (command.needs) {
        case Needs::Nothing:
        case Needs::HomePage:
            break;
        case Needs::EarlierPage:
        case Needs::LaterPage: {
            // A fresh view has no history; the view says when it has.
            const PageCommand which = command.id;
            action->setEnabled(false);
            connect(view, &WebView::CommandStateChange, action, [action, which](PageCommand changed, bool enable) {
                if (changed == which)
                    action->setEnabled(enable);
            });
            break;
        }
        case Needs::Loading: {
            // A disabled action's key still takes the key from the page:
            // the keys go too while nothing loads.
            const QList<QKeySequence> keys = action->shortcuts();
            auto follow = [action, keys](bool busy) {
                action->setEnabled(busy);
                action->setShortcuts(busy ? keys : QList<QKeySequence>());
            };
            follow(view->Busy());
            connect(view, &WebView::BusyChanged, action, follow);
            break;
        }
        }
    }
}

void PageActions::run(const Command &command, QAction *action, WebView *view)
{
    // The design's own operations by their names, Close the window's; the
    // view runs the others.
    const auto perform = [&] {
        switch (command.id) {
        case PageCommand::Back:
            return view->GoBack();
        case PageCommand::Forward:
            return view->GoForward();
        case PageCommand::Stop:
            return view->Stop();
        case PageCommand::Refresh:
            return view->Refresh();
        case PageCommand::Home:
            return view->Navigate(m_homePage ? m_homePage() : QString());
        case PageCommand::Close:
            view->window()->close();
            return;
        default:
            return view->Exec(command.id);
        }
    };
    if (!command.tellsFailure) {
        ignoreErrors(perform);
    } else {
        // A command the user waits on must not fail without a word.
        QString failure;
        try {
            perform();
        } catch (const ExpectedFailure &e) {
            failure = QString::fromUtf8(e.what());
        } catch (...) {
            logUnexpectedFailure();
            failure = tr("%1 could not be done.").arg(action->toolTip());
        }
        if (!failure.isEmpty())
            tellUser(m_window, failure);
    }
    if (command.focusesPage)
        ignoreErrors([view] { view->setFocus(Qt::OtherFocusReason); });
}
