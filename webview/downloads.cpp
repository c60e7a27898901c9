#include "downloads.h"

#include "twips.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineView>

QString downloads::cleanFileName(const QString &suggested)
{
    // Whatever the server put in front of the name, '/' or '\', stays behind.
    QString name = suggested.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || QStringLiteral(":*?\"<>|").contains(c))
            c = u'_';
    }
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("download") : name;
}

QString downloads::partialPath(const QString &target)
{
    return target + QStringLiteral(".part");
}

QString downloads::progressText(qint64 received, qint64 total)
{
    const QLocale locale;
    if (total <= 0)
        return DownloadWindow::tr("%1 bytes").arg(locale.toString(received));
    return DownloadWindow::tr("%1 of %2 bytes").arg(locale.toString(received), locale.toString(total));
}

namespace {
constexpr char OutcomeProperty[] = "velmoraOutcome";

// Gives a finished download its final name, or takes away what a cancelled
// or failed one left; returns what the user is told.
QString settle(const QWebEngineDownloadRequest *download, const QString &target)
{
    const QString partial = downloads::partialPath(target);
    const QString name = QFileInfo(target).fileName();
    // The engine keeps an unfinished download under a name of its own as well.
    QFile::remove(partial + QStringLiteral(".download"));
    switch (download->state()) {
    case QWebEngineDownloadRequest::DownloadCompleted:
        // The user agreed in the save dialog to replace a file of that name.
        QFile::remove(target);
        if (QFile::rename(partial, target))
            return DownloadWindow::tr("Saved: %1.").arg(downloads::progressText(download->receivedBytes(), 0));
        QFile::remove(partial);
        return DownloadWindow::tr("The download of %1 failed: it could not be saved under that name.").arg(name);
    case QWebEngineDownloadRequest::DownloadCancelled:
        QFile::remove(partial);
        return DownloadWindow::tr("The download of %1 was cancelled.").arg(name);
    default:
        QFile::remove(partial);
        return DownloadWindow::tr("The download of %1 failed: %2.").arg(name, download->interruptReasonString());
    }
}
}

void downloads::start(QWebEngineDownloadRequest *download)
{
    QWidget *parent = nullptr;
    if (QWebEngineView *view = QWebEngineView::forPage(download->page()))
        parent = view->window();
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    // The save dialog opens in the folder only if it exists.
    QDir().mkpath(folder);

    QPointer<QFileDialog> dialog = new QFileDialog(parent, DownloadWindow::tr("Save As"),
                                                   QDir(folder).filePath(cleanFileName(download->suggestedFileName())));
    dialog->setObjectName(QStringLiteral("saveDownload"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    QPointer<QWebEngineDownloadRequest> request(download);
    const bool chosen = dialog->exec() == QDialog::Accepted && dialog && !dialog->selectedFiles().isEmpty();
    const QString target = chosen ? dialog->selectedFiles().constFirst() : QString();
    delete dialog.data();
    if (!request)
        return;
    if (!chosen) {
        download->cancel();
        return;
    }
    // The bytes arrive under a name of their own and take the chosen one when
    // they are all there: a cancelled or failed download leaves nothing
    // under the name the user chose.
    const QFileInfo partial(partialPath(target));
    QFile::remove(partial.filePath());
    download->setDownloadDirectory(partial.absolutePath());
    download->setDownloadFileName(partial.fileName());
    // Settling the file is the download's own business, whether or not its
    // window is still open.
    QObject::connect(download, &QWebEngineDownloadRequest::isFinishedChanged, download,
                     [download, target] { download->setProperty(OutcomeProperty, settle(download, target)); });
    download->accept();
    auto *window = new DownloadWindow(download, target, parent);
    twips::centreOnScreen(window);
    window->show();
}

DownloadWindow::DownloadWindow(QWebEngineDownloadRequest *download, const QString &target, QWidget *parent)
    : QWidget(parent, Qt::Window), m_download(download), m_status(new QLabel(this)),
      m_bar(new QProgressBar(this)), m_button(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("downloadWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Downloading %1").arg(QFileInfo(target).fileName()));
    if (parent)
        setWindowIcon(parent->windowIcon());
    auto *layout = new QVBoxLayout(this);
    auto *name = new QLabel(QDir::toNativeSeparators(target), this);
    name->setTextFormat(Qt::PlainText);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);
    layout->addWidget(name);
    layout->addWidget(m_bar);
    layout->addWidget(m_status);
    layout->addWidget(m_button, 0, Qt::AlignRight);
    resize(420, sizeHint().height());

    // The request belongs to the profile; the window only watches it.
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this] { update(); });
    connect(download, &QWebEngineDownloadRequest::totalBytesChanged, this, [this] { update(); });
    connect(download, &QWebEngineDownloadRequest::isFinishedChanged, this, [this] { finish(); });
    connect(download, &QObject::destroyed, this, [this] { finish(); });
    connect(m_button, &QPushButton::clicked, this, [this] {
        if (!m_done && m_download)
            m_download->cancel();
        else
            close();
    });
    update();
    if (download->isFinished())
        finish();
}

void DownloadWindow::update()
{
    if (m_done || !m_download)
        return;
    const qint64 total = m_download->totalBytes();
    const qint64 received = m_download->receivedBytes();
    // The bar counts in kilobytes: byte counts beyond 2 GB do not fit it.
    m_bar->setRange(0, total > 0 ? int(qMin<qint64>(total / 1024 + 1, INT_MAX)) : 0);
    if (total > 0)
        m_bar->setValue(int(qMin<qint64>(received / 1024, INT_MAX)));
    m_status->setText(downloads::progressText(received, total));
}

void DownloadWindow::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_button->setText(tr("Close"));
    m_bar->hide();
    m_status->setText(m_download ? m_download->property(OutcomeProperty).toString()
                                 : tr("The download was ended."));
}

void DownloadWindow::closeEvent(QCloseEvent *event)
{
    // A download nobody watches would never be seen to end: closing the
    // window cancels it.
    if (!m_done && m_download)
        m_download->cancel();
    QWidget::closeEvent(event);
}
