#include "progress.h"
#include "testmain.h"

#include <limits>

// The progress display's arithmetic and text, without widgets.
class TestProgress : public QObject
{
    Q_OBJECT

    static constexpr int IntMax = std::numeric_limits<int>::max();
    static constexpr int IntMin = std::numeric_limits<int>::min();

private slots:
    void rangeMaximum_data()
    {
        QTest::addColumn<int>("progressMax");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("maximum");
        QTest::newRow("200") << 200 << true << 201;
        QTest::newRow("0") << 0 << true << 1;
        QTest::newRow("-1") << -1 << true << 0;
        QTest::newRow("smallest") << IntMin << true << IntMin + 1;
        QTest::newRow("one below the largest") << IntMax - 1 << true << IntMax;
        QTest::newRow("largest overflows") << IntMax << false << 0;
    }
    void rangeMaximum()
    {
        QFETCH(int, progressMax);
        QFETCH(bool, fits);
        const std::optional<int> maximum = progress::rangeMaximum(progressMax);
        QCOMPARE(maximum.has_value(), fits);
        if (fits)
            QTEST(*maximum, "maximum");
    }

    void caption_data()
    {
        QTest::addColumn<int>("progress");
        QTest::addColumn<int>("progressMax");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("percent"); // null: no caption
        QTest::newRow("3 of 8") << 3 << 8 << "en_US" << "37.5";
        QTest::newRow("1 of 3") << 1 << 3 << "en_US" << "33.3333333333333";
        QTest::newRow("2 of 3 rounds up") << 2 << 3 << "en_US" << "66.6666666666667";
        QTest::newRow("1 of the largest") << 1 << IntMax << "en_US" << "4.6566128752458E-08";
        QTest::newRow("largest of 1") << IntMax << 1 << "en_US" << "214748364700";
        QTest::newRow("smallest maximum") << 1 << IntMin << "en_US" << "-4.65661287307739E-08";
        QTest::newRow("7 of a million") << 7 << 1000000 << "en_US" << "0.0007";
        // 9.999999999999999E-05 before rounding: the rounded value decides the form.
        QTest::newRow("1 of a million") << 1 << 1000000 << "en_US" << "0.0001";
        QTest::newRow("1 of ten million") << 1 << 10000000 << "en_US" << "1E-05";
        QTest::newRow("decimal comma, exponent") << 1 << IntMax << "de_DE" << "4,6566128752458E-08";
        QTest::newRow("no thousands separator") << 2000 << 1 << "de_DE" << "200000";
        QTest::newRow("maximum 0") << 10 << 0 << "en_US" << QString();
    }
    void caption()
    {
        QFETCH(int, progress);
        QFETCH(int, progressMax);
        QFETCH(QString, locale);
        QFETCH(QString, percent);
        const std::optional<QString> text = progress::caption(progress, progressMax, QLocale(locale));
        QCOMPARE(text.has_value(), !percent.isNull());
        if (text)
            QCOMPARE(*text, "Please wait, connecting to server [" + percent + " %]");
    }

    // Values the captions above do not reach.
    void generalFormat_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0";
        QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
        QTest::newRow("15 digits") << 123456789012345.6 << "123456789012346";
        QTest::newRow("rounds to 1E+15") << 999999999999999.5 << "1E+15";
        QTest::newRow("large") << 1.5e20 << "1.5E+20";
        QTest::newRow("three exponent digits") << 2.5e-300 << "2.5E-300";
        QTest::newRow("negative small") << -0.00001 << "-1E-05";
        QTest::newRow("carry to the next digit") << 99.99999999999999 << "100";
    }
    void generalFormat()
    {
        QFETCH(double, value);
        QTEST(progress::generalFormat(value, QLocale(QLocale::English)), "text");
    }
};

VELMORA_TEST_MAIN(TestProgress)
#include "tst_progress.moc"
