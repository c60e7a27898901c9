#include "frmmain.h"

#include "bookmarkfile.h"
#include "bookmarklocation.h"
#include "errorpolicy.h"
#include "frmbookmark.h"
#include "twips.h"
#include "webview.h"

#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QScreen>

// The add-bookmark command and the bookmark window's menu items.

namespace {
// Where the add-bookmark prompt opens: its top-left corner on the screen, in twips.
constexpr double PromptLeft = 5000, PromptTop = 5000;

// The text-input prompt: the edited text on OK, an empty string on Cancel or
// when it is closed. Its top-left corner goes to `left`, `top` twips on the
// screen of `parent`. `prompt` is shown as the characters it holds: it may
// carry a page's title, and a page must not draw into the program's own
// window with markup.
QString inputBox(QWidget *parent, const QString &prompt, const QString &title, const QString &defaultText,
                 double left, double top)
{
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    // The label is the input's buddy, so "&" would mark a shortcut key.
    dialog.setLabelText(QString(prompt).replace(u'&', QLatin1String("&&")));
    if (auto *label = dialog.findChild<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    dialog.setTextValue(defaultText);
    const QScreen *screen = parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const double perPx = twips::perPixel(parent);
    // A window that has been moved keeps its place when it is shown.
    dialog.move(screen->geometry().topLeft() + QPoint(twips::toPixels(left, perPx), twips::toPixels(top, perPx)));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}
}

void frmMain::showBookmarkWindow()
{
    if (!m_bookmarkWindow) {
        // Asked again as each window opens, as its load step does.
        BookmarkFilePath = SetBookmarkPath(m_programFolder);
        m_bookmarkWindow = new frmBookmark(GoBookMark, Web.at(0), BookmarkFilePath, this);
    }
    m_bookmarkWindow->show();
    m_bookmarkWindow->raise();
    m_bookmarkWindow->activateWindow();
}

void frmMain::AddBookmarkEntry(const QString &name, const QString &address)
{
    const bookmarkfile::Result result = bookmarkfile::append(BookmarkFilePath, name, address);
    if (!result.ok())
        tellUser(this, result.error);
}

void frmMain::cmdAddBookmark_Click()
{
    WebView *web = Web.at(0);
    // The address is the page's at the moment of the click, whatever the view
    // does while the prompt is open.
    const QString address = web->LocationURL();
    const QString prompt = tr("Do you wish to bookmark %1?").arg(web->LocationName());
    const QString name = inputBox(this, prompt, tr("Bookmark"), web->LocationName(), PromptLeft, PromptTop);
    if (!name.isEmpty())
        AddBookmarkEntry(name, address);
}

void frmMain::mnuAddBookMark_Click()
{
    cmdAddBookmark_Click();
}

void frmMain::mnuDelBookMark_Click()
{
    GoBookMark = false;
    showBookmarkWindow();
}

void frmMain::mnuViewBookMark_Click()
{
    GoBookMark = true;
    showBookmarkWindow();
}
