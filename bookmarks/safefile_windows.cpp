#include "safefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <windows.h>

// The safe file on Windows: links and junctions are looked at, not followed,
// where the lock or an installed file is asked for; owners are not asked.
namespace bookmarkfile::safefile {

bool openToRead(const QString &path, Purpose, Result &result, QFile &file, Standing *standing)
{
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo::exists(path))
            result.error = file.errorString();
        return false;
    }
    if (standing)
        standing->exists = true;
    return true;
}

Result append(const QString &path, const QByteArray &bytes)
{
    // No FILE_SHARE_DELETE: while the record goes in, no rename can put
    // another file in this one's place.
    const QString nativePath = QDir::toNativeSeparators(path);
    HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(nativePath.utf16()),
                                FILE_WRITE_DATA | FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {qt_error_string()};
    Result result;
    LARGE_INTEGER before{};
    if (!GetFileSizeEx(handle, &before)) {
        result.error = qt_error_string();
    } else {
        qint64 done = 0;
        while (done < bytes.size()) {
            // Both offsets all ones: at the end of the file as it is at the
            // moment of the write, as a handle opened for appending alone.
            OVERLAPPED atEnd{};
            atEnd.Offset = atEnd.OffsetHigh = 0xFFFFFFFF;
            DWORD written = 0;
            if (!WriteFile(handle, bytes.constData() + done, DWORD(bytes.size() - done), &written, &atEnd)
                || written == 0) {
                result.error = qt_error_string();
                break;
            }
            done += written;
        }
        // Nobody else can have appended meanwhile, so the bytes past `before` are all ours.
        LARGE_INTEGER now{};
        if (!result.ok() && (!GetFileSizeEx(handle, &now) || now.QuadPart != before.QuadPart)
            && !(SetFilePointerEx(handle, before, nullptr, FILE_BEGIN) && SetEndOfFile(handle)))
            result.error = withLeftOver(result.error, qt_error_string());
    }
    if (!CloseHandle(handle) && result.ok())
        result.error = qt_error_string();
    return result;
}

Result replace(const QString &path, const QByteArray &bytes, const Standing &, NewFile)
{
    // Unbuffered, so that every write reports what it really wrote: a
    // buffered one can end short at commit, which then still renames.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {file.errorString()};
    Result result;
    writeAll(file, bytes, result.error);
    if (!result.ok())
        file.cancelWriting();
    else if (!file.commit())
        result.error = file.errorString();
    return result;
}

bool openInstalled(const QString &source, QFile &file)
{
    const QFileInfo info(source);
    if (info.isSymLink() || info.isJunction() || !info.isFile() || info.size() > SeedLimit)
        return false;
    file.setFileName(source);
    return file.open(QIODevice::ReadOnly);
}

QString refusedLock(const QString &path)
{
    const QFileInfo info(path);
    return info.isSymLink() || info.isJunction() || (info.exists() && !info.isFile()) ? refusal(path, Purpose::Lock)
                                                                                      : QString();
}

void failWritesPastSizeLimit()
{
    // No file size limit here ends a program.
}

} // namespace bookmarkfile::safefile
