#include "frmmain.h"

#include "errorpolicy.h"
#include "findbar.h"
#include "pageactions.h"
#include "progress.h"
#include "schemes.h"
#include "session.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QUrl>

// The window's own commands, the page commands' handlers and the progress
// display. Each page command's handler triggers its action: what the command
// does, when it can be done and what a failure says are the command's row in
// PageActions, the same for the button, the menu item and the keys.

namespace {
// The menus the window's own commands show in.
enum class Menu { Page, View, Bookmark, Help };

struct WindowCommandRow
{
    WindowCommand id;
    // The action's object name: the design's name for its menu item.
    const char *name;
    Menu menu;
    // The text in the menu, with its access letter.
    const char *text;
    QList<QKeySequence> keys;
    void (frmMain::*handler)();
};

// In the order the menus show them.
const std::vector<WindowCommandRow> &windowCommands()
{
    static const std::vector<WindowCommandRow> table = {
        {WindowCommand::SetHomePage, "mnuSetHome", Menu::Page, QT_TRANSLATE_NOOP("frmMain", "Set as &Home Page..."),
         {}, &frmMain::mnuSetHome_Click},
        {WindowCommand::Exit, "mnuExit", Menu::Page, QT_TRANSLATE_NOOP("frmMain", "&Exit"), {},
         &frmMain::mnuExit_Click},
        {WindowCommand::Downloads, "mnuDownloads", Menu::View, QT_TRANSLATE_NOOP("frmMain", "&Downloads..."),
         {QKeySequence(Qt::CTRL | Qt::Key_J)}, &frmMain::mnuDownloads_Click},
        {WindowCommand::AddBookmark, "mnuAddBookMark", Menu::Bookmark, QT_TRANSLATE_NOOP("frmMain", "&Add Bookmark"),
         {}, &frmMain::mnuAddBookMark_Click},
        {WindowCommand::DeleteBookmark, "mnuDelBookMark", Menu::Bookmark,
         QT_TRANSLATE_NOOP("frmMain", "&Delete Bookmark"), {}, &frmMain::mnuDelBookMark_Click},
        {WindowCommand::ViewBookmark, "mnuViewBookMark", Menu::Bookmark, QT_TRANSLATE_NOOP("frmMain", "&View Bookmark"),
         {}, &frmMain::mnuViewBookMark_Click},
        {WindowCommand::Keys, "mnuKeys", Menu::Help, QT_TRANSLATE_NOOP("frmMain", "&Keyboard Shortcuts"),
         {QKeySequence(Qt::Key_F1)}, &frmMain::mnuKeys_Click},
        {WindowCommand::About, "mnuAbout", Menu::Help, QT_TRANSLATE_NOOP("frmMain", "&About"), {},
         &frmMain::mnuAbout_Click},
    };
    return table;
}
} // namespace

void frmMain::createWindowCommands()
{
    for (const WindowCommandRow &row : windowCommands()) {
        auto *action = new QAction(tr(row.text), this);
        action->setObjectName(QString::fromLatin1(row.name));
        action->setShortcuts(row.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handled([this, handler = row.handler] { (this->*handler)(); }));
        m_windowCommands.emplace_back(row.id, action);
    }
    mnuDownloads = command(WindowCommand::Downloads);
    mnuSetHome = command(WindowCommand::SetHomePage);
    mnuExit = command(WindowCommand::Exit);
    mnuAddBookMark = command(WindowCommand::AddBookmark);
    mnuDelBookMark = command(WindowCommand::DeleteBookmark);
    mnuViewBookMark = command(WindowCommand::ViewBookmark);
    mnuKeys = command(WindowCommand::Keys);
    mnuAbout = command(WindowCommand::About);
}

void frmMain::createMenus()
{
    QMenu *page = menuBar()->addMenu(tr("&Page"));
    page->setObjectName(QStringLiteral("mnuPrinter"));
    // The page commands that show in a menu, as their table says.
    page->addActions(actions->menu(PageActions::Menu::Page));
    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addActions(actions->menu(PageActions::Menu::View));
    view->insertSeparator(command(PageCommand::ZoomIn));
    view->addSeparator();
    QMenu *bookmark = menuBar()->addMenu(tr("&Bookmark"));
    bookmark->setObjectName(QStringLiteral("mnuBookmark"));
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    for (size_t row = 0; row < windowCommands().size(); ++row) {
        const Menu menu = windowCommands()[row].menu;
        (menu == Menu::Page ? page : menu == Menu::View ? view : menu == Menu::Bookmark ? bookmark : help)
            ->addAction(m_windowCommands[row].second);
    }
    page->insertSeparator(mnuExit)->setObjectName(QStringLiteral("mnuSeparator"));
}

QList<Shortcut> frmMain::shortcuts() const
{
    // A menu's text without its access letter or its "...".
    const auto plain = [](const char *context, const char *text) {
        QString said = QCoreApplication::translate(context, text);
        said.replace(QLatin1String("&&"), QStringLiteral("\u0001")).remove(u'&').replace(u'\u0001', u'&');
        if (said.endsWith(QLatin1String("...")))
            said.chop(3);
        return said;
    };
    QList<Shortcut> all;
    for (const PageActions::Command &row : PageActions::commands()) {
        if (const QList<QKeySequence> keys = PageActions::keys(row); !keys.isEmpty())
            all.append({plain("PageActions", row.text), keys});
        // The find bar's keys, after the command that opens it.
        if (row.id == PageCommand::Find) {
            for (const FindBar::Key &key : FindBar::keys())
                all.append({plain("FindBar", key.text), QKeySequence::keyBindings(key.keys)});
        }
    }
    for (const WindowCommandRow &row : windowCommands()) {
        if (!row.keys.isEmpty())
            all.append({plain("frmMain", row.text), row.keys});
    }
    return all;
}

QAction *frmMain::command(PageCommand command) const
{
    return actions->action(command);
}

QAction *frmMain::command(WindowCommand command) const
{
    for (const auto &[id, action] : m_windowCommands) {
        if (id == command)
            return action;
    }
    return nullptr;
}

void frmMain::mnuKeys_Click()
{
    // One window at a time, built anew after it has closed.
    if (!m_keysWindow || !m_keysWindow->isVisible())
        m_keysWindow = new KeysWindow(shortcuts(), this);
    m_keysWindow->show();
    m_keysWindow->raise();
    m_keysWindow->activateWindow();
}

void frmMain::mnuSetHome_Click()
{
    const QString address = Web.at(0)->LocationURL();
    // Only a web page: a file, the start page or the engine's own pages are
    // no place to start from.
    if (!schemes::isWebPage(QUrl(address, QUrl::StrictMode))) {
        tellUser(this, tr("Only a web page (http or https) can be the home page, not \"%1\".").arg(address));
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Question, QCoreApplication::applicationName(),
                                tr("Open %1 at start-up and with Home from now on?").arg(address),
                                QMessageBox::Yes | QMessageBox::No, this);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::Yes);
    if (runDialog(box) != QMessageBox::Yes)
        return;
    HomePageUrl = address;
    if (!m_session)
        return;
    Settings &settings = m_session->settings();
    settings.setValue(Settings::Key::HomePage, address);
    if (!settings.problem().isEmpty())
        tellUser(this, settings.problem());
}

void frmMain::cmdBack_Click()
{
    command(PageCommand::Back)->trigger();
}

void frmMain::cmdForward_Click()
{
    command(PageCommand::Forward)->trigger();
}

void frmMain::cmdStop_Click()
{
    command(PageCommand::Stop)->trigger();
}

void frmMain::cmdRefresh_Click()
{
    command(PageCommand::Refresh)->trigger();
}

void frmMain::cmdHome_Click()
{
    command(PageCommand::Home)->trigger();
}

void frmMain::cmdPrint_Click()
{
    // The button is Print Preview; printing itself is only on the Page menu.
    command(PageCommand::PrintPreview)->trigger();
}

// The logo goes home as the Home button does.
void frmMain::Image1_Click()
{
    command(PageCommand::Home)->trigger();
}

void frmMain::Image1_DblClick()
{
    command(PageCommand::Home)->trigger();
}

void frmMain::mnuFind_Click()
{
    command(PageCommand::Find)->trigger();
}

void frmMain::mnuPGSetup_Click()
{
    command(PageCommand::PageSetup)->trigger();
}

void frmMain::mnuPrintPreview_Click()
{
    command(PageCommand::PrintPreview)->trigger();
}

void frmMain::mnuPrint_Click()
{
    command(PageCommand::Print)->trigger();
}

void frmMain::Web_ProgressChange(int Progress, int ProgressMax)
{
    if (Progress <= 0) {
        // No progress, or -1 at the end of a download.
        ProgressBar1->setVisible(false);
        lblStat->setVisible(false);
        return;
    }
    ProgressBar1->setVisible(true);
    ProgressBar1->setMinimum(0);
    // The bar wants a maximum above its minimum; other values are refused and
    // the range stays as it was. A maximum below the value the bar shows pulls
    // the value down with it (the bar would otherwise empty itself).
    const std::optional<int> maximum = progress::rangeMaximum(ProgressMax);
    if (maximum && *maximum > ProgressBar1->minimum()) {
        const int value = ProgressBar1->value();
        ProgressBar1->setMaximum(*maximum);
        if (value > *maximum)
            ProgressBar1->setValue(*maximum);
    }
    lblStat->setVisible(true);
    // A percentage that cannot be computed leaves the line as it was.
    if (const std::optional<QString> text = progress::caption(Progress, ProgressMax, QLocale()))
        lblStat->setText(*text);
    // A value outside the range is refused and the bar keeps its value.
    if (Progress >= ProgressBar1->minimum() && Progress <= ProgressBar1->maximum())
        ProgressBar1->setValue(Progress);
}

void frmMain::Web_NavigateComplete2()
{
    ProgressBar1->setVisible(false);
    lblStat->setVisible(false);
}
