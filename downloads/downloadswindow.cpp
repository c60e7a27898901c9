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
#include <QShortcut>
#include <QUrl>
#include <QVBoxLayout>

#include <climits>

DownloadsWindow::DownloadsWindow(DownloadList &list, QWidget *parent)
    : QWidget(parent, Qt::Window), m_list(list), m_rows(new QVBoxLayout)
{
    setObjectName(QStringLiteral("downloadsWindow"));
    setWindowTitle(tr("Downloads"));
    if (parent)
        setWindowIcon(parent->windowIcon());
    auto *layout = new QVBoxLayout(this);
    auto *area = new QScrollArea(this);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *inside = new QWidget(area);
    auto *column = new QVBoxLayout(inside);
    column->addLayout(m_rows);
    column->addStretch();
    area->setWidget(inside);
    layout->addWidget(area);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *open = buttons->addButton(tr("Open Folder"), QDialogButtonBox::ActionRole);
    QPushButton *clear = buttons->addButton(tr("Clear Finished"), QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    open->setObjectName(QStringLiteral("openFolder"));
    clear->setObjectName(QStringLiteral("clearFinished"));
    layout->addWidget(buttons);
    connect(open, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl::fromLocalFile(DownloadList::folder())); });
    connect(clear, &QPushButton::clicked, this, [this] { m_list.clearFinished(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Esc closes the window; the downloads go on.
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);

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
    row.cancel = new QPushButton(tr("Cancel"), row.box);
    row.cancel->setAccessibleName(tr("Cancel the download of %1").arg(QFileInfo(download->target()).fileName()));
    grid->addWidget(row.name);
    grid->addWidget(row.bar);
    auto *line = new QHBoxLayout;
    line->addWidget(row.status, 1);
    line->addWidget(row.cancel);
    grid->addLayout(line);
    m_rows->addWidget(row.box);
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
