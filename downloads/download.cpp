#include "download.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTimer>
#include <QWebEngineDownloadRequest>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <cstring>
#endif

namespace {
// What the engine adds to the part file's name while it writes it.
const QString EngineSuffix = QStringLiteral(".download");

// Characters that must not reach a file name: they are not shown as they
// are (controls, bidirectional overrides that reorder what the user reads)
// or file systems refuse them.
bool unsafeInName(char32_t c)
{
    return c < 0x20 || c == 0x7f || (c >= 0x80 && c <= 0x9f) || (c >= 0x202a && c <= 0x202e)
        || (c >= 0x2066 && c <= 0x2069) || c == 0x200e || c == 0x200f || c == 0x061c
        || QStringLiteral("/\\:*?\"<>|").contains(QChar(c));
}

// `name` cut to at most `bytes` bytes of UTF-8, between whole characters.
QString cutToBytes(const QString &name, int bytes)
{
    QString cut;
    int used = 0;
    for (char32_t c : name.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        const int size = int(one.toUtf8().size());
        if (used + size > bytes)
            break;
        cut += one;
        used += size;
    }
    return cut;
}

bool renameOver(const QString &from, const QString &to, QString *why)
{
#ifdef Q_OS_WIN
    if (MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                    reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                    MOVEFILE_REPLACE_EXISTING))
        return true;
    *why = qt_error_string(int(GetLastError()));
    return false;
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
#endif
}
} // namespace

QString downloads::cleanFileName(const QString &suggested)
{
    // Whatever the server put in front of the name, '/' or '\', stays behind.
    const QString last = suggested.section(QRegularExpression(QStringLiteral("[/\\\\]")), -1);
    QString name;
    for (char32_t c : last.toUcs4())
        name += unsafeInName(c) ? QStringLiteral("_") : QString::fromUcs4(&c, 1);
    while (name.startsWith(u'.') || name.startsWith(u' '))
        name.remove(0, 1);
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    if (name.isEmpty())
        return QStringLiteral("download");
    // The part file, and the engine's own name for it, must fit too.
    const int room = NameLimit - int(partialPath(QString()).toUtf8().size() + EngineSuffix.toUtf8().size());
    if (name.toUtf8().size() <= room)
        return name;
    const int dot = name.lastIndexOf(u'.');
    QString extension = dot > 0 ? name.mid(dot) : QString();
    if (extension.toUtf8().size() > 16)
        extension.clear();
    return cutToBytes(name.left(dot > 0 && !extension.isEmpty() ? dot : name.size()),
                      room - int(extension.toUtf8().size()))
        + extension;
}

QString downloads::partialPath(const QString &target)
{
    return target + QStringLiteral(".part");
}

QString downloads::progressText(qint64 received, qint64 total)
{
    // Sizes as the user's language writes them: "1,5 MB" in German.
    const QLocale locale;
    const auto size = [&locale](qint64 bytes) {
        return locale.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
    };
    if (total <= 0)
        return size(received);
    // Looked up under the context the translation files keep the download's texts in.
    return QCoreApplication::translate("Download", "%1 of %2").arg(size(received), size(total));
}

QString downloads::finishFile(const QString &partial, const QString &target)
{
    // An existing file keeps the mode it had; a new one is the user's alone.
    const QFileInfo existing(target);
    const QFile::Permissions mode = existing.isFile() ? existing.permissions()
                                                      : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
                                                            | QFile::WriteUser;
    QFile::setPermissions(partial, mode);
    QString why;
    if (renameOver(partial, target, &why))
        return QString();
    QFile::remove(partial);
    return why;
}

Download::Download(QWebEngineDownloadRequest *request, const QString &target, QObject *parent)
    : QObject(parent), m_request(request), m_target(target), m_total(request->totalBytes())
{
    const QFileInfo partial(downloads::partialPath(target));
    // Whatever keeps the file from being made (a name too long, a folder
    // that cannot be written) is said now, not after a wait for bytes that
    // never arrive.
    QFile probe(partial.filePath());
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        const QString why = probe.errorString();
        request->cancel();
        end(State::Failed, tr("The download of %1 failed: %2.").arg(QFileInfo(target).fileName(), why));
        return;
    }
    probe.close();
    probe.remove();
    const QStorageInfo disk(partial.absolutePath());
    if (m_total > 0 && disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < m_total) {
        request->cancel();
        end(State::Failed, tr("The download of %1 failed: there is not enough free space on the disk.")
                               .arg(QFileInfo(target).fileName()));
        return;
    }
    request->setDownloadDirectory(partial.absolutePath());
    request->setDownloadFileName(partial.fileName());
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this, [this] {
        m_received = m_request->receivedBytes();
        emit progressed();
    });
    connect(request, &QWebEngineDownloadRequest::totalBytesChanged, this, [this] {
        m_total = m_request->totalBytes();
        emit progressed();
    });
    // An interrupted download (a full disk, a network error) would otherwise
    // wait for the user to resume it, which nothing here offers.
    connect(request, &QWebEngineDownloadRequest::stateChanged, this, [this](QWebEngineDownloadRequest::DownloadState state) {
        if (state == QWebEngineDownloadRequest::DownloadInterrupted)
            settle();
    });
    connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, [this] { settle(); });
    connect(request, &QObject::destroyed, this, [this] {
        if (!isFinished())
            end(State::Failed, tr("The download of %1 was ended.").arg(QFileInfo(m_target).fileName()));
    });
    request->accept();
}

Download::~Download()
{
    cancel();
}

QString Download::statusText() const
{
    return isFinished() ? m_outcome : downloads::progressText(m_received, m_total);
}

void Download::cancel()
{
    if (isFinished())
        return;
    if (m_request)
        m_request->cancel();
    // The engine says so later, if at all; the part file goes now.
    settle();
    if (!isFinished())
        end(State::Cancelled, tr("The download of %1 was cancelled.").arg(QFileInfo(m_target).fileName()));
}

bool Download::released() const
{
    return !m_request || m_request->isFinished();
}

void Download::removeParts()
{
    if (!m_cleaning || m_state == State::Running || m_state == State::Saved)
        return;
    const QString partial = downloads::partialPath(m_target);
    QFile::remove(partial);
    QFile::remove(partial + EngineSuffix);
}

void Download::settle()
{
    if (isFinished() || !m_request)
        return;
    const QString partial = downloads::partialPath(m_target);
    const QString name = QFileInfo(m_target).fileName();
    // The engine keeps an unfinished download under a name of its own as well.
    QFile::remove(partial + EngineSuffix);
    switch (m_request->state()) {
    case QWebEngineDownloadRequest::DownloadCompleted: {
        m_received = m_request->receivedBytes();
        const QString why = downloads::finishFile(partial, m_target);
        if (why.isEmpty())
            end(State::Saved, tr("Saved: %1.").arg(downloads::progressText(m_received, 0)));
        else
            end(State::Failed, tr("The download of %1 failed: it could not be saved under that name (%2).")
                                   .arg(name, why));
        return;
    }
    case QWebEngineDownloadRequest::DownloadCancelled:
        QFile::remove(partial);
        end(State::Cancelled, tr("The download of %1 was cancelled.").arg(name));
        return;
    case QWebEngineDownloadRequest::DownloadInterrupted: {
        const QString why = m_request->interruptReasonString();
        m_request->cancel();
        QFile::remove(partial);
        end(State::Failed, tr("The download of %1 failed: %2.").arg(name, why));
        return;
    }
    default:
        return;
    }
}

void Download::end(State state, const QString &outcome)
{
    m_state = state;
    m_outcome = outcome;
    if (m_request)
        disconnect(m_request, nullptr, this, nullptr);
    if (state != State::Saved) {
        // The engine may still write a part of its own for a while after a
        // cancel or a failure: it goes too, whenever it shows up.
        const auto clean = [this] { removeParts(); };
        if (m_request)
            connect(m_request, &QWebEngineDownloadRequest::isFinishedChanged, this, clean);
        for (int ms : {500, 2000, 8000})
            QTimer::singleShot(ms, this, clean);
    }
    emit finished();
}
