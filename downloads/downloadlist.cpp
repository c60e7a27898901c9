#include "downloadlist.h"

#include "errorpolicy.h"
#include "privatefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QFileDialog>
#include <QStandardPaths>
#include <QWebEngineDownloadRequest>

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
