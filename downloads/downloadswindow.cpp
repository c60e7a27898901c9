#include "downloadswindow.h"

#include "downloadlist.h"
#include "twips.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyleOptionFocusRect>
#include <QUrl>
#include <QVBoxLayout>
#ifdef VELMORA_FILE_MANAGER_BUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#endif

#include <climits>

namespace {
// A label that shows as much of its text as fits, cut in the middle (the
// start of a path and the file's name stay); the whole text is its tooltip
// and what screen readers read.
class ElidedLabel : public QLabel
{
public:
    explicit ElidedLabel(QWidget *parent) : QLabel(parent)
    {
        setTextFormat(Qt::PlainText);
        setMinimumWidth(1);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    void setWhole(const QString &text)
    {
        m_whole = text;
        setToolTip(text);
        setAccessibleName(text);
        fit();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        fit();
    }

private:
    void fit() { setText(fontMetrics().elidedText(m_whole, Qt::ElideMiddle, qMax(width(), 200))); }
    QString m_whole;
};

// The list, which shows that it has the keyboard (it is the window's first
// Tab stop, and a scroll area draws no focus of its own): a ring just inside
// its frame, around the rows.
class DownloadArea : public QScrollArea
{
public:
    explicit DownloadArea(QWidget *parent) : QScrollArea(parent) { setViewportMargins(2, 2, 2, 2); }

protected:
    bool event(QEvent *event) override
    {
        const bool done = QScrollArea::event(event);
        if (event->type() == QEvent::Paint && hasFocus()) {
            QStyleOptionFocusRect option;
            option.initFrom(this);
            option.rect = contentsRect();
            QPainter painter(this);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
        }
        return done;
    }
};

// Shows `file` selected in the desktop's file manager (Explorer on
// Windows), else opens its folder.
void showInFolder(const QString &file)
{
    const QUrl folder = QUrl::fromLocalFile(QFileInfo(file).absolutePath());
#ifdef VELMORA_FILE_MANAGER_BUS
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QDesktopServices::openUrl(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call.setArguments({QStringList{QUrl::fromLocalFile(file).toString()}, QString()});
    auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call, 2000));
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, answer, [answer, folder] {
        if (answer->isError())
            QDesktopServices::openUrl(folder);
        answer->deleteLater();
    });
#elif defined(Q_OS_WIN)
    // Explorer opens the folder with the file selected.
    if (!QProcess::startDetached(QStringLiteral("explorer.exe"),
                                 {QStringLiteral("/select,"), QDir::toNativeSeparators(file)}))
        QDesktopServices::openUrl(folder);
#else
    QDesktopServices::openUrl(folder);
#endif
}
} // namespace

DownloadsWindow::DownloadsWindow(DownloadList &list, QWidget *parent)
    : QDialog(parent), m_list(list), m_area(new DownloadArea(this)), m_rows(new QVBoxLayout)
{
    setObjectName(QStringLiteral("downloadsWindow"));
    setWindowTitle(tr("Downloads"));
    // The page and the main window stay usable while it is open.
    setModal(false);
    if (parent)
        setWindowIcon(parent->windowIcon());
    auto *layout = new QVBoxLayout(this);
    m_area->setObjectName(QStringLiteral("downloadList"));
    // The first stop of Tab: it scrolls the list from the keyboard.
    m_area->setAccessibleName(tr("Downloads"));
    m_area->setWidgetResizable(true);
    m_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *inside = new QWidget(m_area);
    auto *column = new QVBoxLayout(inside);
    column->addLayout(m_rows);
    column->addStretch();
    m_area->setWidget(inside);
    layout->addWidget(m_area);

    auto *buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(tr("Open Fol&der"), QDialogButtonBox::ActionRole);
    QPushButton *clear = buttons->addButton(tr("Clear Fi&nished"), QDialogButtonBox::ActionRole);
    // Qt's own Close has no letter on every platform.
    QPushButton *close = buttons->addButton(tr("&Close"), QDialogButtonBox::RejectRole);
    m_open->setObjectName(QStringLiteral("openFolder"));
    clear->setObjectName(QStringLiteral("clearFinished"));
    close->setObjectName(QStringLiteral("closeDownloads"));
    // Enter on the list presses nothing: no button stands in for the others.
    for (QPushButton *button : {m_open, clear, close})
        button->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(m_open, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl::fromLocalFile(DownloadList::folder())); });
    connect(clear, &QPushButton::clicked, this, [this] { m_list.clearFinished(); });
    // Close and Esc close the window; the downloads go on.
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    for (Download *download : list.all())
        addRow(download);
    connect(&list, &DownloadList::added, this, [this](Download *download) { addRow(download); });
    connect(&list, &DownloadList::removed, this, [this](Download *download) { removeRow(download); });

    // Never wider or taller than the screen it is on, whatever the names.
    QSize size(twips::toPixels(7200, twips::perPixel(this)), twips::toPixels(4320, twips::perPixel(this)));
    if (const QScreen *screen = parent ? parent->screen() : this->screen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
        setMaximumSize(screen->availableGeometry().size());
    }
    resize(size);
}

DownloadsWindow *DownloadsWindow::showFor(DownloadList &list, QWidget *mainWindow)
{
    DownloadsWindow *window = of(mainWindow);
    if (!window) {
        window = new DownloadsWindow(list, mainWindow);
        window->setAttribute(Qt::WA_DeleteOnClose);
        twips::centreOnScreen(window);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

DownloadsWindow *DownloadsWindow::of(QWidget *mainWindow)
{
    return mainWindow ? mainWindow->findChild<DownloadsWindow *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QLabel *DownloadsWindow::statusOf(Download *download) const
{
    return row(download).status;
}

QPushButton *DownloadsWindow::cancelOf(Download *download) const
{
    return row(download).cancel;
}

QLabel *DownloadsWindow::placeOf(Download *download) const
{
    return row(download).place;
}

QPushButton *DownloadsWindow::openOf(Download *download) const
{
    return row(download).open;
}

QPushButton *DownloadsWindow::showInFolderOf(Download *download) const
{
    return row(download).showInFolder;
}

void DownloadsWindow::addRow(Download *download)
{
    Row row;
    row.box = new QWidget(this);
    auto *grid = new QVBoxLayout(row.box);
    grid->setContentsMargins(0, 0, 0, 6);
    const QString name = QFileInfo(download->target()).fileName();
    // A long name or path is cut in its middle, so that the start and the
    // extension stay; the whole is in the tooltip.
    auto *nameLabel = new ElidedLabel(row.box);
    nameLabel->setWhole(name);
    nameLabel->setToolTip(QDir::toNativeSeparators(download->target()));
    row.name = nameLabel;
    row.bar = new QProgressBar(row.box);
    row.bar->setTextVisible(false);
    row.bar->setAccessibleName(tr("Download of %1").arg(name));
    row.status = new QLabel(row.box);
    row.status->setTextFormat(Qt::PlainText);
    row.status->setWordWrap(true);
    row.status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *place = new ElidedLabel(row.box);
    place->setObjectName(QStringLiteral("downloadPlace"));
    place->setWhole(QDir::toNativeSeparators(download->target()));
    row.place = place;
    const auto button = [&](const QString &text, const char *objectName, const QString &accessibleName) {
        auto *made = new QPushButton(text, row.box);
        made->setObjectName(QLatin1String(objectName));
        made->setAutoDefault(false);
        made->setAccessibleName(accessibleName);
        return made;
    };
    row.cancel = button(tr("Cance&l"), "cancelDownload", tr("Cancel the download of %1").arg(name));
    row.open = button(tr("&Open"), "openDownload", tr("Open %1").arg(name));
    row.showInFolder = button(tr("Show in &Folder"), "showDownload", tr("Show %1 in its folder").arg(name));
    grid->addWidget(row.name);
    grid->addWidget(row.bar);
    auto *line = new QHBoxLayout;
    line->addWidget(row.status, 1);
    for (QPushButton *each : {row.cancel, row.open, row.showInFolder})
        line->addWidget(each);
    grid->addLayout(line);
    grid->addWidget(row.place);
    m_rows->addWidget(row.box);
    // Tab reaches each row's buttons after those of the rows above it and
    // before the buttons below the list (made after them, they would follow
    // them): after the last control before Open Folder that takes the focus.
    QWidget *before = m_open->previousInFocusChain();
    while (before != m_area && before->focusPolicy() == Qt::NoFocus)
        before = before->previousInFocusChain();
    for (QWidget *next : {static_cast<QWidget *>(row.cancel), static_cast<QWidget *>(row.open),
                          static_cast<QWidget *>(row.showInFolder)}) {
        setTabOrder(before, next);
        before = next;
    }
    m_shown.insert(download, row);

    connect(row.cancel, &QPushButton::clicked, download, &Download::cancel);
    const QString target = download->target();
    connect(row.open, &QPushButton::clicked, this,
            [target] { QDesktopServices::openUrl(QUrl::fromLocalFile(target)); });
    connect(row.showInFolder, &QPushButton::clicked, this, [target] { showInFolder(target); });
    connect(download, &Download::progressed, this, [this, download] { update(download); });
    connect(download, &Download::finished, this, [this, download] { update(download); });
    connect(download, &QObject::destroyed, this, [this, download] { removeRow(download); });
    update(download);
}

void DownloadsWindow::removeRow(Download *download)
{
    const auto shown = m_shown.constFind(download);
    if (shown == m_shown.constEnd())
        return;
    shown->box->deleteLater();
    m_shown.erase(shown);
}

void DownloadsWindow::update(Download *download)
{
    const auto shown = m_shown.constFind(download);
    if (shown == m_shown.constEnd())
        return;
    const Row &row = *shown;
    const qint64 total = download->totalBytes();
    // The bar counts in kilobytes: byte counts beyond 2 GB do not fit it.
    row.bar->setRange(0, total > 0 ? int(qMin<qint64>(total / 1024 + 1, INT_MAX)) : 0);
    if (total > 0)
        row.bar->setValue(int(qMin<qint64>(download->receivedBytes() / 1024, INT_MAX)));
    row.bar->setVisible(!download->isFinished());
    row.cancel->setVisible(!download->isFinished());
    // Once saved: where it went, and what can be done with it there.
    const bool saved = download->state() == Download::State::Saved;
    for (QWidget *each : {static_cast<QWidget *>(row.place), static_cast<QWidget *>(row.open),
                          static_cast<QWidget *>(row.showInFolder)})
        each->setVisible(saved);
    row.status->setText(download->statusText());
}
