#include "pictures.h"

#include <QPixmap>
#include <QResource>

#include <cstring>

namespace {
// The largest side a picture of ours may have: anything bigger is corruption.
constexpr qint64 MaxSide = 4096;
}

QImage pictures::load(const char *name)
{
    const QResource resource(QStringLiteral(":/pictures/%1.pam").arg(QLatin1String(name)));
    return resource.isValid() ? fromPam(resource.uncompressedData()) : QImage();
}

QIcon pictures::icon(const char *name)
{
    QIcon icon;
    for (const QString &copy : {QString::fromLatin1(name), QString::fromLatin1(name) + QStringLiteral("@2x")}) {
        const QImage picture = load(qPrintable(copy));
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

QIcon pictures::windowIcon()
{
    QIcon icon;
    for (const char *size : {"icon16", "icon32", "icon48", "icon256"})
        icon.addPixmap(QPixmap::fromImage(load(size)));
    return icon;
}

QImage pictures::fromPam(const QByteArray &data)
{
    if (!data.startsWith("P7\n"))
        return {};
    const qsizetype end = data.indexOf("\nENDHDR\n");
    if (end < 0)
        return {};
    qint64 width = 0, height = 0, depth = 0, maxval = 0;
    QByteArray tupleType;
    for (const QByteArray &line : data.mid(3, qMax<qsizetype>(0, end - 3)).split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() != 2)
            continue; // blank and comment lines
        bool ok = true;
        const QByteArray &key = fields[0];
        if (key == "WIDTH")
            width = fields[1].toLongLong(&ok);
        else if (key == "HEIGHT")
            height = fields[1].toLongLong(&ok);
        else if (key == "DEPTH")
            depth = fields[1].toLongLong(&ok);
        else if (key == "MAXVAL")
            maxval = fields[1].toLongLong(&ok);
        else if (key == "TUPLTYPE")
            tupleType = fields[1];
        if (!ok)
            return {};
    }
    if (tupleType != "RGB_ALPHA" || depth != 4 || maxval != 255 || width < 1 || height < 1 || width > MaxSide
        || height > MaxSide)
        return {};
    const qsizetype rasterStart = end + qsizetype(std::strlen("\nENDHDR\n"));
    const qint64 rowBytes = width * 4;
    if (data.size() - rasterStart < rowBytes * height)
        return {};

    QImage image(int(width), int(height), QImage::Format_RGBA8888);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), data.constData() + rasterStart + y * rowBytes, size_t(rowBytes));
    return image;
}
