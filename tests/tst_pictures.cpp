#include "pictures.h"
#include "testmain.h"

// The undecoded picture copies that start-up reads, and the reader of them.
class TestPictures : public QObject
{
    Q_OBJECT

    static QByteArray pam(const QByteArray &header, const QByteArray &raster)
    {
        return "P7\n" + header + "ENDHDR\n" + raster;
    }

private slots:
    void copiesMatchTheirPngs_data()
    {
        QTest::addColumn<QByteArray>("name");
        for (const char *name : {"back", "forward", "stop", "refresh", "home", "bookmark", "preview", "logo",
                                 "icon16", "icon32"})
            QTest::newRow(name) << QByteArray(name);
    }
    void copiesMatchTheirPngs()
    {
        QFETCH(QByteArray, name);
        const QImage png = QImage(QStringLiteral(VELMORA_PICTURES_DIR "/%1.png").arg(QString::fromLatin1(name)))
                               .convertToFormat(QImage::Format_RGBA8888);
        const QImage copy = pictures::load(name.constData());
        QVERIFY(!png.isNull());
        QVERIFY2(!copy.isNull(), "renew the copy: convert NAME.png -alpha on -depth 8 NAME.pam");
        QCOMPARE(copy.size(), png.size());
        // 16-bit PNGs come down to 8 bits: rounding may differ by one.
        int worst = 0;
        for (int y = 0; y < png.height(); ++y) {
            const uchar *a = png.constScanLine(y), *b = copy.constScanLine(y);
            for (int i = 0; i < png.width() * 4; ++i)
                worst = std::max(worst, std::abs(a[i] - b[i]));
        }
        QVERIFY2(worst <= 1, qPrintable(QStringLiteral("a sample differs by %1").arg(worst)));
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
