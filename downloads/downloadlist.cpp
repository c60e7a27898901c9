#include "downloadlist.h"

#include "errorpolicy.h"
#include "privatefolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QWebEngineDownloadRequest>

#include <algorithm>

namespace {
// How long quitting waits for the engine to let go of the downloads it ends.
constexpr int EndMs = 3000;
} // namespace

QString DownloadList::folder()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    // The save dialog opens in the folder only if it exists.
    if (!QFileInfo::exists(folder))
        privatefolder::make(folder);
    return folder;
}

Download *DownloadList::ask(QWebEngineDownloadRequest *request, QWidget *parent)
{
    auto *dialog = new QFileDialog(parent, QCoreApplication::translate("Download", "Save As"),
                                   QDir(folder()).filePath(downloads::cleanFileName(request->suggestedFileName())));
    dialog->setObjectName(QStringLiteral("saveDownload"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    QPointer<QWebEngineDownloadRequest> guard(request);
    QString target;
    runDialog(dialog, [&] { target = dialog->selectedFiles().value(0); });
    if (!guard)
        return nullptr;
    if (target.isEmpty()) {
        request->cancel();
        return nullptr;
    }
    return add(request, target);
}

Download *DownloadList::add(QWebEngineDownloadRequest *request, const QString &target)
{
    for (Download *earlier : std::as_const(m_downloads)) {
        if (earlier->target() == target)
            earlier->stopCleaning();
    }
    auto *download = new Download(request, target, this);
    m_downloads.append(download);
    emit added(download);
    return download;
}

void DownloadList::clearFinished()
{
    const QList<Download *> all = m_downloads;
    for (Download *download : all) {
        if (download->isFinished()) {
            m_downloads.removeOne(download);
            emit removed(download);
            download->deleteLater();
        }
    }
}

int DownloadList::running() const
{
    return int(std::count_if(m_downloads.cbegin(), m_downloads.cend(),
                             [](const Download *download) { return !download->isFinished(); }));
}

bool DownloadList::askToQuit(QWidget *parent)
{
    const int count = running();
    if (count == 0)
        return true;
    // One is said apart: the plural forms come from the translations, and
    // English has none of its own.
    auto *box = new QMessageBox(QMessageBox::Question, QCoreApplication::applicationName(),
                                count == 1 ? tr("1 download is still running")
                                           : tr("%n downloads are still running", nullptr, count),
                                QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("quitWhileDownloading"));
    box->setTextFormat(Qt::PlainText);
    QPushButton *keep = box->addButton(tr("&Keep downloading"), QMessageBox::RejectRole);
    QPushButton *quit = box->addButton(tr("&Quit"), QMessageBox::AcceptRole);
    box->setDefaultButton(keep);
    box->setEscapeButton(keep);
    bool quitting = false;
    connect(box, &QMessageBox::buttonClicked, this, [&](QAbstractButton *button) { quitting = button == quit; });
    runDialog(box);
    if (quitting)
        endAll();
    return quitting;
}

void DownloadList::endAll()
{
    for (Download *download : std::as_const(m_downloads))
        download->cancel();
    // The engine says it is done with a cancelled download a moment later,
    // and may write a part of its own until then: it is waited for, so that
    // the parts are gone before the program ends.
    const auto released = [this] {
        return std::all_of(m_downloads.cbegin(), m_downloads.cend(),
                           [](const Download *download) { return download->released(); });
    };
    QEventLoop wait;
    QTimer look;
    QDeadlineTimer limit(EndMs);
    connect(&look, &QTimer::timeout, &wait, [&] {
        if (released() || limit.hasExpired())
            wait.quit();
    });
    if (!released()) {
        look.start(20);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    for (Download *download : std::as_const(m_downloads))
        download->removeParts();
}
