#include "downloadswindow.h"

#include "downloadlist.h"
#include "twips.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QUrl>
#include <QVBoxLayout>

#include <climits>

DownloadsWindow::DownloadsWindow(DownloadList &list, QWidget *parent)
    : QDialog(parent), m_list(list), m_area(new QScrollArea(this)), m_rows(new QVBoxLayout)
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
    m_open = buttons->addButton(tr("&Open Folder"), QDialogButtonBox::ActionRole);
    QPushButton *clear = buttons->addButton(tr("Clear &Finished"), QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    // Alt and a letter press each button, in every language.
    close->setText(tr("C&lose"));
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

QLabel *DownloadsWindow::statusOf(Download *download) const
{
    return m_shown.contains(download) ? m_shown.value(download).status : nullptr;
}

QPushButton *DownloadsWindow::cancelOf(Download *download) const
{
    return m_shown.contains(download) ? m_shown.value(download).cancel : nullptr;
}

void DownloadsWindow::addRow(Download *download)
{
    Row row;
    row.box = new QWidget(this);
    auto *grid = new QVBoxLayout(row.box);
    grid->setContentsMargins(0, 0, 0, 6);
    row.name = new QLabel(row.box);
    row.name->setTextFormat(Qt::PlainText);
    // A long name is cut in its middle, so that the start and the extension
    // stay; the whole path is in the tooltip.
    row.name->setMinimumWidth(1);
    row.name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row.name->setToolTip(QDir::toNativeSeparators(download->target()));
    row.name->setAccessibleName(QFileInfo(download->target()).fileName());
    row.bar = new QProgressBar(row.box);
    row.bar->setTextVisible(false);
    row.bar->setAccessibleName(tr("Download of %1").arg(QFileInfo(download->target()).fileName()));
    row.status = new QLabel(row.box);
    row.status->setTextFormat(Qt::PlainText);
    row.status->setWordWrap(true);
    row.status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row.cancel = new QPushButton(tr("&Cancel"), row.box);
    row.cancel->setObjectName(QStringLiteral("cancelDownload"));
    row.cancel->setAutoDefault(false);
    row.cancel->setAccessibleName(tr("Cancel the download of %1").arg(QFileInfo(download->target()).fileName()));
    grid->addWidget(row.name);
    grid->addWidget(row.bar);
    auto *line = new QHBoxLayout;
    line->addWidget(row.status, 1);
    line->addWidget(row.cancel);
    grid->addLayout(line);
    m_rows->addWidget(row.box);
    // Tab reaches each row's Cancel after those of the rows above it and
    // before the buttons below the list (made after them, it would follow
    // them): after the last control before Open Folder that takes the focus.
    QWidget *before = m_open->previousInFocusChain();
    while (before != m_area && before->focusPolicy() == Qt::NoFocus)
        before = before->previousInFocusChain();
    setTabOrder(before, row.cancel);
    m_shown.insert(download, row);

    connect(row.cancel, &QPushButton::clicked, download, &Download::cancel);
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
    const QString name = QFileInfo(download->target()).fileName();
    row.name->setText(row.name->fontMetrics().elidedText(name, Qt::ElideMiddle, qMax(row.name->width(), 200)));
    const qint64 total = download->totalBytes();
    // The bar counts in kilobytes: byte counts beyond 2 GB do not fit it.
    row.bar->setRange(0, total > 0 ? int(qMin<qint64>(total / 1024 + 1, INT_MAX)) : 0);
    if (total > 0)
        row.bar->setValue(int(qMin<qint64>(download->receivedBytes() / 1024, INT_MAX)));
    row.bar->setVisible(!download->isFinished());
    row.cancel->setVisible(!download->isFinished());
    row.status->setText(download->statusText());
}
