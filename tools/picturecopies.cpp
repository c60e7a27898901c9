// Makes the copies of the program's pictures that the build needs from the
// PNGs they are drawn in:
//   picturecopies pam PICTURE.png COPY.pam     the undecoded copy start-up reads
//   picturecopies ico ICON.ico SIZE.png...     the Windows program icon
// Runs on the build machine only; the program never carries this code.
#include <QBuffer>
#include <QImage>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QtEndian>

#include <cstdio>

namespace {

void put16(QByteArray &out, quint16 value)
{
    value = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

void put32(QByteArray &out, quint32 value)
{
    value = qToLittleEndian(value);
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

// A short text header, then the straight (not premultiplied) RGBA bytes row
// by row: what pictures::fromPam reads.
QByteArray pam(const QImage &picture)
{
    const QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
    QByteArray out = QStringLiteral("P7\nWIDTH %1\nHEIGHT %2\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n")
                         .arg(rgba.width())
                         .arg(rgba.height())
                         .toLatin1();
    for (int y = 0; y < rgba.height(); ++y)
        out.append(reinterpret_cast<const char *>(rgba.constScanLine(y)), rgba.width() * 4);
    return out;
}

// One icon image: 256 pixels and up as PNG, smaller ones as a 32-bit bitmap
// with its transparency mask, which every part of Windows draws.
QByteArray iconImage(const QImage &picture)
{
    QByteArray out;
    if (picture.width() >= 256) {
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        return out;
    }
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width(), height = argb.height();
    const int maskStride = (width + 31) / 32 * 4;
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, quint32(width));
    put32(out, quint32(height * 2)); // colour rows, then mask rows
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // BI_RGB
    put32(out, quint32((width * 4 + maskStride) * height));
    for (int i = 0; i < 4; ++i)
        put32(out, 0);
    for (int y = height - 1; y >= 0; --y) { // bottom row first
        const QRgb *row = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < width; ++x)
            put32(out, row[x]); // B, G, R, A in memory
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        for (int x = 0; x < width; ++x)
            if (qAlpha(argb.pixel(x, y)) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        out.append(mask);
    }
    return out;
}

QByteArray ico(const QList<QImage> &pictures)
{
    QByteArray out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, quint16(pictures.size()));
    QList<QByteArray> images;
    quint32 offset = quint32(6 + 16 * pictures.size());
    for (const QImage &picture : pictures) {
        images.append(iconImage(picture));
        out.append(char(picture.width() >= 256 ? 0 : picture.width()));
        out.append(char(picture.height() >= 256 ? 0 : picture.height()));
        out.append(2, '\0'); // no palette, reserved
        put16(out, 1);
        put16(out, 32);
        put32(out, quint32(images.last().size()));
        put32(out, offset);
        offset += quint32(images.last().size());
    }
    for (const QByteArray &image : images)
        out.append(image);
    return out;
}

bool fail(const QString &message)
{
    std::fprintf(stderr, "picturecopies: %s\n", qPrintable(message));
    return false;
}

bool write(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return true;
}

bool read(const QString &path, QImage &picture)
{
    picture = QImage(path);
    return !picture.isNull() || fail(QStringLiteral("cannot read the picture %1").arg(path));
}

bool run(const QStringList &args)
{
    if (args.size() == 3 && args[0] == QLatin1String("pam")) {
        QImage picture;
        return read(args[1], picture) && write(args[2], pam(picture));
    }
    if (args.size() >= 3 && args[0] == QLatin1String("ico")) {
        QList<QImage> pictures;
        for (const QString &path : args.mid(2)) {
            if (!read(path, pictures.emplace_back()))
                return false;
            if (pictures.last().width() > 256 || pictures.last().width() != pictures.last().height())
                return fail(QStringLiteral("%1: an icon is square and at most 256 pixels wide").arg(path));
        }
        return write(args[1], ico(pictures));
    }
    return fail(QStringLiteral("usage: picturecopies pam PICTURE.png COPY.pam | ico ICON.ico SIZE.png..."));
}

} // namespace

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return run(args) ? 0 : 1;
}
