// The decimal product: typed text rounded to 15 significant digits, scaled by
// a power of ten and truncated, with no binary-fraction surprises and no
// undefined behaviour for any input.

#include <QtTest>

#include <limits>

#include "CodeplugTests.h"
#include "codeplug/Codecs.h"

namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

}  // namespace

class DecimalProductTest : public QObject {
    Q_OBJECT

private slots:
    void product_data();
    void product();
    void everyFrequencyStepIsExact();
    void everyTenthIsExact();
    void doubleProductWouldTruncateWrongly_data();
    void doubleProductWouldTruncateWrongly();
};

void DecimalProductTest::product_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("factor");
    QTest::addColumn<qint64>("expected");

    const qint64 f = codec::kFrequencyFactor;
    const qint64 t = codec::kToneFactor;
    QTest::newRow("145.0125") << "145.0125" << f << qint64(14501250);
    QTest::newRow("145.125") << "145.125" << f << qint64(14512500);
    QTest::newRow("130.01125") << "130.01125" << f << qint64(13001125);
    QTest::newRow("integer") << "146" << f << qint64(14600000);
    QTest::newRow("tone 254.1") << "254.1" << t << qint64(2541);
    QTest::newRow("tone 67.0") << "67.0" << t << qint64(670);
    QTest::newRow("truncates extra digits") << "145.012559" << f << qint64(14501255);
    QTest::newRow("negative truncates toward zero") << "-145.012559" << f << qint64(-14501255);
    QTest::newRow("negative below one unit") << "-0.000001" << f << qint64(0);
    QTest::newRow("-5") << "-5" << f << qint64(-500000);

    // The numeric prefix, read the way atof reads it.
    QTest::newRow("leading white space") << " \t\n\v\f\r12" << t << qint64(120);
    QTest::newRow("trailing junk") << "145.0125MHz" << f << qint64(14501250);
    QTest::newRow("plus sign") << "+1.5" << t << qint64(15);
    QTest::newRow("exponent") << "1.5E1" << t << qint64(150);
    QTest::newRow("signed exponent") << "+1.5e+2" << t << qint64(1500);
    QTest::newRow("negative exponent") << "14501250e-5" << f << qint64(14501250);
    QTest::newRow("exponent without digits") << "1e" << t << qint64(10);
    QTest::newRow("exponent sign without digits") << "1e+x" << t << qint64(10);
    QTest::newRow("point first") << ".5" << t << qint64(5);
    QTest::newRow("point last") << "7." << t << qint64(70);
    QTest::newRow("second point ends the number") << "1.2.3" << t << qint64(12);
    QTest::newRow("leading zeros") << "000145.0125" << f << qint64(14501250);
    QTest::newRow("small fraction") << "0.00005" << f << qint64(5);

    // No number at all.
    QTest::newRow("empty") << "" << f << qint64(0);
    QTest::newRow("None") << "None" << f << qint64(0);
    QTest::newRow("Chinese no tone") << QStringLiteral("无") << t << qint64(0);
    QTest::newRow("point alone") << "." << f << qint64(0);
    QTest::newRow("sign alone") << "-" << f << qint64(0);
    QTest::newRow("space inside sign") << "- 5" << f << qint64(0);
    QTest::newRow("nan") << "nan" << f << qint64(0);
    QTest::newRow("inf") << "inf" << f << qint64(0);
    QTest::newRow("hexadecimal reads the 0") << "0x10" << t << qint64(0);
    QTest::newRow("full-width digits") << QStringLiteral("１２") << t << qint64(0);
    QTest::newRow("zero factor") << "145" << qint64(0) << qint64(0);

    // Rounding to 15 significant digits happens before the scaling.
    QTest::newRow("17 digits round up") << "145.01249999999999" << f << qint64(14501250);
    QTest::newRow("16 digits round up") << "145.0124999999999" << f << qint64(14501250);
    QTest::newRow("15 digits stay") << "145.012499999999" << f << qint64(14501249);
    QTest::newRow("16th digit 4 rounds down") << "145.0125999999994" << f << qint64(14501259);
    QTest::newRow("tie rounds away from zero") << "0.1000000000000005" << qint64(1000000000000000)
                                               << qint64(100000000000001);
    QTest::newRow("negative tie") << "-0.1000000000000005" << qint64(1000000000000000)
                                  << qint64(-100000000000001);
    QTest::newRow("carry into a new digit") << "999999999999999.5" << qint64(1) << qint64(1000000000000000);
    QTest::newRow("400 nines after the point") << "0." + QString(400, QLatin1Char('9')) << f
                                               << qint64(100000);

    // Out of range: saturated, never undefined.
    QTest::newRow("1e300") << "1e300" << f << kMax;
    QTest::newRow("-1e300") << "-1e300" << f << kMin;
    QTest::newRow("huge exponent") << "1e999999999999999999999" << f << kMax;
    QTest::newRow("400 digits") << QString(400, QLatin1Char('1')) << f << kMax;
    QTest::newRow("just above int64") << "9.2233720368547758e18" << qint64(1) << kMax;
    QTest::newRow("largest 15 digits fit") << "922337203685477" << qint64(10000) << qint64(9223372036854770000);
    QTest::newRow("1e-400") << "1e-400" << f << qint64(0);
    QTest::newRow("tiny with long zeros") << "0." + QString(400, QLatin1Char('0')) + "1" << f << qint64(0);
    QTest::newRow("huge negative exponent") << "5e-999999999999999999999" << f << qint64(0);
    QTest::newRow("negative factor") << "1.5" << qint64(-10) << qint64(-15);
}

void DecimalProductTest::product()
{
    QFETCH(QString, text);
    QFETCH(qint64, factor);
    QFETCH(qint64, expected);
    QCOMPARE(codec::decimalProduct(text, factor), expected);
}

// Every 1.25 kHz point from 100 to 200 MHz, written with five decimals, lands
// on its exact unit.
void DecimalProductTest::everyFrequencyStepIsExact()
{
    for (int mhz = 100; mhz < 200; ++mhz) {
        for (int fraction = 0; fraction < 100000; fraction += 125) {
            const QString text = QStringLiteral("%1.%2").arg(mhz).arg(fraction, 5, 10, QLatin1Char('0'));
            const std::int64_t expected = std::int64_t(mhz) * 100000 + fraction;
            if (codec::decimalProduct(text, codec::kFrequencyFactor) != expected)
                QFAIL(qPrintable(QStringLiteral("%1 gave %2")
                                     .arg(text)
                                     .arg(codec::decimalProduct(text, codec::kFrequencyFactor))));
        }
    }
}

void DecimalProductTest::everyTenthIsExact()
{
    for (int tenths = 0; tenths < 100000; ++tenths) {
        const QString text = QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
        QCOMPARE(codec::decimalProduct(text, codec::kToneFactor), std::int64_t(tenths));
    }
}

// Texts whose plain double product falls just below the unit: the decimal
// product must still give the unit.
void DecimalProductTest::doubleProductWouldTruncateWrongly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("145.0125") << "145.0125" << qint64(14501250);
    QTest::newRow("130.01125") << "130.01125" << qint64(13001125);
    QTest::newRow("130.0125") << "130.0125" << qint64(13001250);
    QTest::newRow("130.04375") << "130.04375" << qint64(13004375);
    QTest::newRow("167.76375") << "167.76375" << qint64(16776375);
}

void DecimalProductTest::doubleProductWouldTruncateWrongly()
{
    QFETCH(QString, text);
    QFETCH(qint64, expected);
    // The row is only meaningful when the double product really misses.
    const double product = text.toDouble() * 100000.0;
    QVERIFY(static_cast<qint64>(product) != expected);
    QCOMPARE(codec::decimalProduct(text, codec::kFrequencyFactor), expected);
}

int runDecimalProductTests(int argc, char** argv)
{
    DecimalProductTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_DecimalProduct.moc"
