#include "bookmarklocation.h"
#include "layout.h"
#include "testmain.h"

#include <QDir>

// The layout rule and the bookmark path: plain functions, no windows.
class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void mainLayout_data()
    {
        QTest::addColumn<double>("outerWidth");
        QTest::addColumn<double>("outerHeight");
        QTest::addColumn<double>("clientWidth");
        QTest::addColumn<bool>("moves");
        QTest::addColumn<double>("image1Left");
        QTest::addColumn<double>("webWidth");
        QTest::addColumn<double>("webHeight");
        QTest::addColumn<double>("zoomLeft");
        QTest::newRow("1024x768 screen") << 15360.0 << 11070.0 << 15360.0 << true << 11560.0 << 15160.0 << 9570.0 << 8835.0;
        // 800 pixels: the zoom goes left of the logo, which would cover it.
        QTest::newRow("design size") << 12000.0 << 7500.0 << 11985.0 << true << 8200.0 << 11800.0 << 6000.0 << 7240.0;
        QTest::newRow("logo just clear of the zoom") << 13595.0 << 7500.0 << 13580.0 << true << 9795.0 << 13395.0
                                                     << 6000.0 << 8835.0;
        QTest::newRow("minimized") << 2400.0 << 450.0 << 0.0 << false << 0.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("narrow: logo left negative") << 3000.0 << 5000.0 << 2900.0 << true << -800.0 << 2800.0 << 3500.0
                                                    << 4440.0;
        QTest::newRow("outer width 3800: logo at 0") << 3800.0 << 5000.0 << 3700.0 << true << 0.0 << 3600.0 << 3500.0
                                                     << 4440.0;
        QTest::newRow("too low: height clamped") << 6000.0 << 1200.0 << 5900.0 << true << 2200.0 << 5800.0 << 0.0
                                                 << 4440.0;
        QTest::newRow("too narrow: width clamped") << 150.0 << 3000.0 << 100.0 << true << -3650.0 << 0.0 << 1500.0
                                                   << 4440.0;
    }
    void mainLayout()
    {
        QFETCH(double, outerWidth);
        QFETCH(double, outerHeight);
        QFETCH(double, clientWidth);
        QFETCH(bool, moves);
        const auto fitted = layout::mainLayout(outerWidth, outerHeight, clientWidth);
        QCOMPARE(fitted.has_value(), moves);
        if (!moves)
            return;
        QTEST(fitted->image1Left, "image1Left");
        QTEST(fitted->webWidth, "webWidth");
        QTEST(fitted->webHeight, "webHeight");
        QTEST(fitted->zoomLeft, "zoomLeft");
    }

    void bookmarkFilePath_data()
    {
        const QString sep = QDir::separator();
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("ordinary folder") << QStringLiteral("/opt/velmora") << QDir::toNativeSeparators("/opt/velmora") + sep + "bookmark.dat";
        QTest::newRow("root folder: two separators") << QStringLiteral("/") << QDir::toNativeSeparators("/") + sep + "bookmark.dat";
        QTest::newRow("folder with spaces") << QStringLiteral("/home/a b/Velmora") << QDir::toNativeSeparators("/home/a b/Velmora") + sep + "bookmark.dat";
    }
    void bookmarkFilePath()
    {
        QFETCH(QString, folder);
        QTEST(bookmarklocation::bookmarkPathIn(folder), "expected");
    }
};

VELMORA_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
