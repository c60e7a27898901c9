#include "fakewebview.h"
#include "frmmain.h"
#include "pictureimage.h"
#include "pictures.h"
#include "testmain.h"

#include <QColorSpace>
#include <QImageReader>
#include <QPushButton>
#include <QtEndian>

#include <iterator>

// The picture copies the build makes from the PNGs (the undecoded copies
// start-up reads, the Windows icon), and the reader of the undecoded ones.
class TestPictures : public QObject
{
    Q_OBJECT

    // A picture as the screen shows it, whatever density it was made for.
    static QImage asShown(QImage picture)
    {
        picture.setDevicePixelRatio(1);
        return picture.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    }

    static QByteArray pam(const QByteArray &header, const QByteArray &raster)
    {
        return "P7\n" + header + "ENDHDR\n" + raster;
    }

private slots:
    void copiesMatchTheirPngs_data()
    {
        QTest::addColumn<QString>("png");
        QTest::addColumn<QImage>("copy");
        for (const char *name : {"back", "forward", "stop", "refresh", "home", "bookmark", "preview", "logo",
                                 "back@2x", "forward@2x", "stop@2x", "refresh@2x", "home@2x", "bookmark@2x",
                                 "preview@2x", "logo@2x", "icon16", "icon32", "icon48", "icon256"})
            QTest::newRow(name) << QString::fromLatin1(name) << pictures::load(name);
        // Every drawn size, smallest first, and nothing else in the one icon file.
        QImageReader icon(QStringLiteral(VELMORA_ICON_FILE));
        const int sizes[] = {16, 32, 48, 256};
        QCOMPARE(icon.imageCount(), int(std::size(sizes)));
        for (int i = 0; i < int(std::size(sizes)); ++i) {
            const QString png = QStringLiteral("icon%1").arg(sizes[i]);
            icon.jumpToImage(i);
            QTest::newRow(qPrintable(png + QStringLiteral(" in velmora.ico"))) << png << icon.read();
        }
    }
    void copiesMatchTheirPngs()
    {
        QFETCH(QString, png);
        QFETCH(QImage, copy);
        // The copies hold 8-bit samples, as the screen shows them, and no
        // colour space: the samples are what counts.
        QImage picture = QImage(QStringLiteral(VELMORA_PICTURES_DIR "/%1.png").arg(png))
                             .convertToFormat(QImage::Format_RGBA8888);
        picture.setColorSpace(QColorSpace());
        QVERIFY(!picture.isNull());
        QVERIFY2(!copy.isNull(), "the build did not make this copy");
        QCOMPARE(copy.size(), picture.size());
        // Compared as drawn on screen: a transparent pixel's colour does not count.
        QCOMPARE(asShown(copy), asShown(picture));
    }

    // What Windows reads of the icon beyond the pictures: each entry's size
    // and depth, and beside a bitmap's colours its mask, set exactly where a
    // pixel is transparent.
    void iconEntries_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {16, 32, 48, 256})
            QTest::addRow("%d", size) << size;
    }
    void iconEntries()
    {
        QFETCH(int, size);
        QFile file(QStringLiteral(VELMORA_ICON_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ico = file.readAll();
        const auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(ico.constData() + at); };
        const auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(ico.constData() + at); };
        QCOMPARE(u16(2), quint16(1)); // an icon, not a cursor
        qsizetype entry = 6;
        while (entry < 6 + 16 * u16(4) && uchar(ico[entry]) != size % 256) // 256 is written as 0
            entry += 16;
        QVERIFY(entry < 6 + 16 * u16(4));
        QCOMPARE(u16(entry + 6), quint16(32));
        const qsizetype bytes = u32(entry + 8), offset = u32(entry + 12);
        QVERIFY(offset + bytes <= ico.size());
        if (size == 256) {
            QVERIFY(ico.mid(offset).startsWith("\x89PNG"));
            return;
        }
        const int maskStride = (size + 31) / 32 * 4;
        QCOMPARE(bytes, 40 + qsizetype(size) * size * 4 + maskStride * size);
        QCOMPARE(u32(offset + 8), quint32(2 * size)); // colour rows, then mask rows
        const char *colours = ico.constData() + offset + 40, *mask = colours + size * size * 4;
        int wrong = 0;
        for (int row = 0; row < size; ++row)
            for (int x = 0; x < size; ++x)
                wrong += bool(mask[row * maskStride + x / 8] & (0x80 >> (x % 8))) != (colours[(row * size + x) * 4 + 3] == 0);
        QCOMPARE(wrong, 0);
    }

    // Each picture has a copy drawn for screens at twice the density, of
    // exactly twice its size, and the main window's buttons and logo show it
    // there: not the ordinary picture blown up.
    void twiceTheDensity_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QSize>("size");
        const QSize button(24, 24);
        QTest::newRow("back") << "back" << "cmdBack" << button;
        QTest::newRow("forward") << "forward" << "cmdForward" << button;
        QTest::newRow("stop") << "stop" << "cmdStop" << button;
        QTest::newRow("refresh") << "refresh" << "cmdRefresh" << button;
        QTest::newRow("home") << "home" << "cmdHome" << button;
        QTest::newRow("bookmark") << "bookmark" << "cmdAddBookmark" << button;
        QTest::newRow("preview") << "preview" << "cmdPrint" << button;
        QTest::newRow("logo") << "logo" << "Image1" << QSize(240, 45);
    }
    void twiceTheDensity()
    {
        QFETCH(QString, name);
        QFETCH(QString, control);
        QFETCH(QSize, size);
        const QImage one = pictures::load(qPrintable(name));
        const QImage two = pictures::load(qPrintable(name + QStringLiteral("@2x")));
        QCOMPARE(one.size(), size);
        QCOMPARE(two.size(), size * 2);
        // Drawn anew: far from the ordinary picture scaled up.
        const QImage scaled = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(two.format());
        int differ = 0;
        for (int y = 0; y < two.height(); ++y)
            for (int x = 0; x < two.width(); ++x)
                differ += qAbs(qAlpha(two.pixel(x, y)) - qAlpha(scaled.pixel(x, y))) > 64;
        QVERIFY2(differ > 0, "the copy for twice the density is the ordinary picture scaled up");

        frmMain window([](QWidget *parent) { return new FakeWebView(parent); }, QStringLiteral("http://127.0.0.1:9/"));
        QWidget *widget = window.findChild<QWidget *>(control);
        QVERIFY(widget);
        for (const qreal ratio : {1.0, 2.0}) {
            QImage shown;
            if (auto *button = qobject_cast<QPushButton *>(widget)) {
                QCOMPARE(button->iconSize(), size);
                shown = button->icon().pixmap(size, ratio).toImage();
            } else {
                // The logo picks its copy by the density of its own screen.
                auto *logo = qobject_cast<PictureImage *>(widget);
                QVERIFY(logo);
                if (ratio != logo->devicePixelRatioF())
                    continue;
                shown = logo->pixmap().toImage();
            }
            QCOMPARE(shown.size(), size * ratio);
            QCOMPARE(shown.devicePixelRatio(), ratio);
            QCOMPARE(asShown(shown), asShown(ratio == 1 ? one : two));
        }
    }

    // The window icon offers every size it is drawn in, each as drawn.
    void windowIconSizes()
    {
        frmMain window([](QWidget *parent) { return new FakeWebView(parent); }, QStringLiteral("http://127.0.0.1:9/"));
        const QIcon icon = window.windowIcon();
        QCOMPARE(icon.availableSizes(), QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
        for (const int size : {16, 32, 48, 256})
            QCOMPARE(asShown(icon.pixmap(QSize(size, size), 1.0).toImage()),
                     asShown(pictures::load(qPrintable(QStringLiteral("icon%1").arg(size)))));
    }

    void readsOnlyWellFormedPam_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QSize>("size");
        const QByteArray header = "WIDTH 2\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n";
        const QByteArray raster("\x10\x20\x30\x40\xff\x00\x80\xff", 8);
        QTest::newRow("well formed") << pam(header, raster) << QSize(2, 1);
        QTest::newRow("comment and extra bytes") << pam("# made by hand\n" + header, raster + "xx") << QSize(2, 1);
        QTest::newRow("short raster") << pam(header, raster.left(7)) << QSize();
        QTest::newRow("no raster") << pam(header, {}) << QSize();
        QTest::newRow("no end of header") << QByteArray("P7\n" + header + raster) << QSize();
        QTest::newRow("header ends at once") << QByteArray("P7\nENDHDR\n") << QSize();
        QTest::newRow("other format") << QByteArray("P6\n2 1\n255\n" + raster) << QSize();
        QTest::newRow("empty") << QByteArray() << QSize();
        QTest::newRow("RGB") << pam("WIDTH 2\nHEIGHT 1\nDEPTH 3\nMAXVAL 255\nTUPLTYPE RGB\n", raster) << QSize();
        QTest::newRow("16-bit samples")
            << pam("WIDTH 1\nHEIGHT 1\nDEPTH 4\nMAXVAL 65535\nTUPLTYPE RGB_ALPHA\n", raster) << QSize();
        QTest::newRow("no width") << pam("HEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n", raster) << QSize();
        QTest::newRow("width not a number")
            << pam("WIDTH two\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n", raster) << QSize();
        QTest::newRow("negative height")
            << pam("WIDTH 2\nHEIGHT -1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n", raster) << QSize();
        // A size beyond any picture of ours is refused before anything is copied.
        QTest::newRow("huge")
            << pam("WIDTH 4294967297\nHEIGHT 4294967297\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\n", raster) << QSize();
    }
    void readsOnlyWellFormedPam()
    {
        QFETCH(QByteArray, data);
        QFETCH(QSize, size);
        const QImage image = pictures::fromPam(data);
        QCOMPARE(image.isNull(), size.isEmpty());
        if (image.isNull())
            return;
        QCOMPARE(image.size(), size);
        QCOMPARE(image.pixelColor(0, 0), QColor(0x10, 0x20, 0x30, 0x40));
        QCOMPARE(image.pixelColor(1, 0), QColor(0xff, 0x00, 0x80, 0xff));
    }

    void missingPictureIsNull()
    {
        QVERIFY(pictures::load("no such picture").isNull());
    }
};

VELMORA_TEST_MAIN(TestPictures)
#include "tst_pictures.moc"
