#include "bookmarkfile.h"

namespace bookmarkfile {

using safefile::Purpose;

std::vector<Bookmark> read(const QString &path, Result *result)
{
    Result local;
    const QByteArray bytes = safefile::read(path, Purpose::Read, local);
    if (result)
        *result = local;
    return local.ok() ? parse(bytes) : std::vector<Bookmark>{};
}

Result append(const QString &path, const QString &name, const QString &address)
{
    const QByteArray record = encodeRecord(name, address);
    return safefile::underLock(path, [&] { return safefile::append(path, record); });
}

Result remove(const QString &path, const std::vector<Bookmark> &records)
{
    // Held from the read to the rename: a record appended in between would
    // be missing from the rewritten file.
    return safefile::underLock(path, [&] {
        Result result;
        safefile::Standing old;
        const QByteArray bytes = safefile::read(path, Purpose::Change, result, &old);
        const std::optional<QByteArray> kept = result.ok() ? without(bytes, records) : std::nullopt;
        return kept ? safefile::replace(path, *kept, old) : result;
    });
}

Result rewrite(const QString &path, const QByteArray &bytes)
{
    return safefile::underLock(path, [&] {
        // Asked as a delete's read would ask it; the new file keeps its owner and mode.
        Result result;
        const safefile::Standing old = safefile::look(path, result);
        return result.ok() ? safefile::replace(path, bytes, old) : result;
    });
}

Result seed(const QString &path, const QString &source)
{
    Result result;
    if (safefile::look(path, result).exists || !result.ok())
        return result;
    // Asked again under the lock: another process may have made the file.
    return safefile::underLock(path, [&] {
        if (safefile::look(path, result).exists || !result.ok())
            return result;
        const QByteArray bytes = safefile::readInstalled(source, result);
        return result.ok() ? safefile::replace(path, bytes, {}, safefile::NewFile::Private) : result;
    });
}

} // namespace bookmarkfile
