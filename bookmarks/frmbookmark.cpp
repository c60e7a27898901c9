#include "frmbookmark.h"

#include "errorpolicy.h"
#include "twips.h"
#include "webview.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace {
// Design geometry, in twips.
constexpr double ClientWidth = 5805, ClientHeight = 4125;
constexpr double ButtonTop = 3600, ButtonHeight = 375;

// Screen readers see the window as the dialog it is, with the controls of
// its mode only: the hidden address list behind the names and the other
// mode's controls are not there to be found.
class BookmarkWindowAccessible : public QAccessibleWidget
{
public:
    explicit BookmarkWindowAccessible(QWidget *window) : QAccessibleWidget(window, QAccessible::Dialog) {}

    int childCount() const override { return int(shownControls().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList controls = shownControls();
        return index >= 0 && index < controls.size() ? QAccessible::queryAccessibleInterface(controls.at(index))
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && child->object() && child->object()->isWidgetType()
            ? int(shownControls().indexOf(static_cast<QWidget *>(child->object())))
            : -1;
    }

private:
    QWidgetList shownControls() const
    {
        QWidgetList out;
        for (QObject *object : widget()->children()) {
            auto *control = qobject_cast<QWidget *>(object);
            if (control && !control->isWindow() && !control->isHidden())
                out << control;
        }
        return out;
    }
};

QAccessibleInterface *bookmarkWindowAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("frmBookmark") && object && object->isWidgetType())
        return new BookmarkWindowAccessible(static_cast<QWidget *>(object));
    return nullptr;
}
}

frmBookmark::frmBookmark(bool goBookMark, WebView *web, const QString &bookmarkPath, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_web(web), m_path(bookmarkPath)
{
    setObjectName(QStringLiteral("frmBookmark"));
    static const bool accessible = (QAccessible::installFactory(bookmarkWindowAccessible), true);
    Q_UNUSED(accessible);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr(" Bookmark"));
    // The design's caption starts with a space, which is no part of the name.
    setAccessibleName(windowTitle().trimmed());
    setFont(twips::dialogFont());
    const double perPx = twips::perPixel(this);
    resize(twips::toPixels(ClientWidth, perPx), twips::toPixels(ClientHeight, perPx));
    createControls();
    Form_Load(goBookMark);
}

QListWidget *frmBookmark::createList(const char *name, double left, double top, double width, double height)
{
    auto *list = new QListWidget(this);
    list->setObjectName(QString::fromLatin1(name));
    twips::place(list, left, top, width, height);
    // Every row is one line of the window's font: no row is measured on its own.
    list->setUniformItemSizes(true);
    list->hide();
    return list;
}

QPushButton *frmBookmark::createButton(const char *name, const QString &caption, double left, double width,
                                       void (frmBookmark::*handler)())
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    twips::place(button, left, ButtonTop, width, ButtonHeight);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handled([this, handler] { (this->*handler)(); }));
    return button;
}

void frmBookmark::createControls()
{
    // In tab order.
    lstBookmark = createList("lstBookmark", 0, 0, 5775, 3405);
    lstBookmark->setSelectionMode(QAbstractItemView::NoSelection);
    lstBookmark->setAccessibleName(tr("Bookmarks"));
    QPalette white = lstBookmark->palette();
    white.setColor(QPalette::Base, Qt::white);
    lstBookmark->setPalette(white);
    cmdDelete = createButton("cmdDelete", tr("&Delete"), 3240, 735, &frmBookmark::cmdDelete_Click);
    cmdClose = createButton("cmdClose", tr("&Close"), 5040, 735, &frmBookmark::cmdClose_Click);
    cmdAll = createButton("cmdAll", tr("&Select All"), 1320, 855, &frmBookmark::cmdAll_Click);
    cmdClear = createButton("cmdClear", tr("&Clear"), 2280, 855, &frmBookmark::cmdClear_Click);
    lstURL = createList("lstURL", 240, 120, 3855, 1425);
    lstURL->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdGo = createButton("cmdGo", tr("&Go"), 4080, 855, &frmBookmark::cmdGo_Click);
    lstGo = createList("lstGo", 0, 0, 5775, 3375);
    lstGo->setSelectionMode(QAbstractItemView::SingleSelection);
    lstGo->setAccessibleName(tr("Bookmarks"));

    QWidget *order[] = {lstBookmark, cmdDelete, cmdClose, cmdAll, cmdClear, lstURL, cmdGo, lstGo};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(lstGo, &QListWidget::itemSelectionChanged, this, handled([this] { lstGo_Click(); }));
    connect(lstGo, &QListWidget::itemDoubleClicked, this, handled([this] { lstGo_DblClick(); }));
    // Return on a row is taken before the list sees it: the list's own
    // activated() also comes from a click in some styles, and one Go is enough.
    lstGo->installEventFilter(this);
}

void frmBookmark::Form_Load(bool goBookMark)
{
    m_viewMode = goBookMark;
    lstGo->setVisible(goBookMark);
    lstBookmark->setVisible(!goBookMark);
    cmdClear->setVisible(!goBookMark);
    cmdAll->setVisible(!goBookMark);
    cmdDelete->setVisible(!goBookMark);
    cmdGo->setVisible(goBookMark);
    twips::centreOnScreen(this);
    // A file that cannot be read leaves the list empty; the window opens
    // anyway, and says why once it is up.
    LoadBookmarkList();
    // The keyboard starts on the list, where the arrows choose and Return goes.
    (goBookMark ? lstGo : lstBookmark)->setFocus(Qt::OtherFocusReason);
}

void frmBookmark::LoadBookmarkList()
{
    bookmarkfile::Result result;
    const std::vector<bookmarkfile::Bookmark> records = bookmarkfile::read(m_path, &result);
    if (!result.ok()) {
        // Queued: the window is shown first, then the message over it.
        QMetaObject::invokeMethod(this, [this, error = result.error] { tellUser(this, error); }, Qt::QueuedConnection);
    }
    QStringList names, addresses;
    names.reserve(qsizetype(records.size()));
    addresses.reserve(qsizetype(records.size()));
    for (const bookmarkfile::Bookmark &record : records) {
        names << record.name;
        addresses << record.address;
    }
    lstURL->addItems(addresses);
    QListWidget *list = m_viewMode ? lstGo : lstBookmark;
    const int first = list->count();
    list->addItems(names);
    for (int row = first; row < list->count(); ++row) {
        // A screen reader reads the address after the name.
        list->item(row)->setData(Qt::AccessibleDescriptionRole, addresses.at(row - first));
        // List rows can be ticked by default; a check state makes the box show.
        if (!m_viewMode)
            list->item(row)->setCheckState(Qt::Unchecked);
    }
}

void frmBookmark::SaveBookmarkList(const std::vector<bookmarkfile::Bookmark> &deleted)
{
    const bookmarkfile::Result result = bookmarkfile::remove(m_path, deleted);
    if (result.ok())
        return;
    tellUser(this, result.error);
    // The rows are gone from the list but not from the file: show what it holds.
    lstBookmark->clear();
    lstGo->clear();
    lstURL->clear();
    LoadBookmarkList();
}

bool frmBookmark::isTicked(int row) const
{
    const QListWidgetItem *item = lstBookmark->item(row);
    return item && item->checkState() == Qt::Checked;
}

void frmBookmark::SelectAllBookmarks(bool flag)
{
    for (int row = lstBookmark->count() - 1; row >= 0; --row)
        lstBookmark->item(row)->setCheckState(flag ? Qt::Checked : Qt::Unchecked);
}

void frmBookmark::cmdAll_Click()
{
    SelectAllBookmarks(true);
}

void frmBookmark::cmdClear_Click()
{
    SelectAllBookmarks(false);
}

void frmBookmark::cmdDelete_Click()
{
    std::vector<bookmarkfile::Bookmark> deleted;
    // From the last row to the first, so that a removal shifts only rows
    // already visited; a run of ticked rows goes out of both lists at once.
    for (int last = lstBookmark->count() - 1; last >= 0; --last) {
        if (!isTicked(last))
            continue;
        int first = last;
        while (first > 0 && isTicked(first - 1))
            --first;
        for (int row = last; row >= first; --row) {
            const QListWidgetItem *address = lstURL->item(row);
            deleted.push_back({lstBookmark->item(row)->text(), address ? address->text() : QString()});
        }
        lstBookmark->model()->removeRows(first, last - first + 1);
        lstURL->model()->removeRows(first, last - first + 1);
        last = first;
    }
    if (!deleted.empty())
        SaveBookmarkList(deleted);
}

void frmBookmark::lstGo_Click()
{
    const QList<QListWidgetItem *> selected = lstGo->selectedItems();
    lstURL->setCurrentRow(selected.isEmpty() ? -1 : lstGo->row(selected.first()));
}

void frmBookmark::lstGo_DblClick()
{
    lstGo_Click();
    cmdGo_Click();
}

void frmBookmark::lstGo_ReturnKey()
{
    // Return goes where a double-click on the keyboard's row would go. That
    // row may be current without being chosen (the focus came by Tab), so it
    // is chosen first; with no row at all nothing is meant.
    const int row = lstGo->currentRow();
    if (row < 0)
        return;
    lstGo->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    lstGo_DblClick();
}

void frmBookmark::cmdGo_Click()
{
    const QListWidgetItem *selected = lstURL->currentItem();
    const QString address = selected ? selected->text() : QString();
    // With no row chosen there is nowhere to go: the window just closes.
    if (!address.isEmpty() && m_web) {
        QString refusal;
        try {
            m_web->Navigate(address);
            // Typing after Go is meant for the page, not for the main
            // window's buttons; the view takes the keys once this window is gone.
            m_web->setFocus(Qt::OtherFocusReason);
        } catch (const WebViewError &e) {
            // An address the view will not open (a script, say): say why
            // rather than close as if it had worked.
            refusal = QString::fromUtf8(e.what());
        } catch (...) {
            logUnexpectedFailure();
        }
        if (!refusal.isNull()) {
            const QPointer<frmBookmark> self(this);
            tellUser(this, refusal);
            if (!self)
                return;
        }
    }
    close();
}

void frmBookmark::cmdClose_Click()
{
    close();
}

void frmBookmark::keyPressEvent(QKeyEvent *event)
{
    // Esc is the Close button, as in a dialog, whatever has the focus (unless
    // it used the key itself).
    if (event->matches(QKeySequence::Cancel)) {
        ignoreErrors([this] { cmdClose->click(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmBookmark::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstGo && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<const QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            ignoreErrors([this] { lstGo_ReturnKey(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
