// CHIRP CSV as CHIRP writes it: every tone mode and cross mode with its
// polarity, every duplex, and the mode our export picks for each pair of tones.

#include <QtTest>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "texts/PlanReasons.h"
#include "PlanTestImages.h"
#include "codeplug/ChannelPlan.h"

using namespace channelplan;

namespace {

const QByteArray kChirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
    "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

// One row in CHIRP's own form: CRLF, a name, power and step filled in.
QByteArray chirpRow(const QStringList& cells)
{
    return "7,Repeater,146.520000," + cells.join(QLatin1Char(',')).toUtf8() + ",NFM,5.00,,5.0W,a comment,,,,\r\n";
}

}  // namespace

class ChirpModesTest : public QObject {
    Q_OBJECT

private slots:
    void toneModes_data();
    void toneModes();
    void duplex_data();
    void duplex();
    void exportPicksMode_data();
    void exportPicksMode();
    void columnsInAnotherOrder();
};

void ChirpModesTest::toneModes_data()
{
    QTest::addColumn<QString>("tone");
    QTest::addColumn<QString>("rTone");
    QTest::addColumn<QString>("cTone");
    QTest::addColumn<QString>("dtcs");
    QTest::addColumn<QString>("polarity");
    QTest::addColumn<QString>("rxDtcs");
    QTest::addColumn<QString>("cross");
    QTest::addColumn<QString>("encode");  // transmit
    QTest::addColumn<QString>("decode");  // receive

    // Unused columns hold values that would show if they were read wrongly.
    QTest::newRow("none") << "" << "100.0" << "123.0" << "025" << "RR" << "754" << "Tone->Tone"
                          << "None" << "None";
    QTest::newRow("Tone") << "Tone" << "100.0" << "123.0" << "025" << "RR" << "754" << "Tone->Tone"
                          << "100.0" << "None";
    QTest::newRow("TSQL reads cToneFreq") << "TSQL" << "100.0" << "123.0" << "025" << "RR" << "754"
                                          << "Tone->Tone" << "123.0" << "123.0";
    QTest::newRow("DTCS NN") << "DTCS" << "100.0" << "123.0" << "025" << "NN" << "754" << "Tone->Tone"
                             << "D025N" << "D025N";
    QTest::newRow("DTCS NR") << "DTCS" << "100.0" << "123.0" << "025" << "NR" << "754" << "Tone->Tone"
                             << "D025N" << "D025I";
    QTest::newRow("DTCS RN") << "DTCS" << "100.0" << "123.0" << "025" << "RN" << "754" << "Tone->Tone"
                             << "D025I" << "D025N";
    QTest::newRow("DTCS RR") << "DTCS" << "100.0" << "123.0" << "025" << "RR" << "754" << "Tone->Tone"
                             << "D025I" << "D025I";
    QTest::newRow("Cross Tone->Tone") << "Cross" << "100.0" << "123.0" << "025" << "RR" << "754"
                                      << "Tone->Tone" << "100.0" << "123.0";
    QTest::newRow("Cross Tone->DTCS") << "Cross" << "100.0" << "123.0" << "025" << "NR" << "754"
                                      << "Tone->DTCS" << "100.0" << "D754I";
    QTest::newRow("Cross DTCS->Tone") << "Cross" << "100.0" << "123.0" << "025" << "RN" << "754"
                                      << "DTCS->Tone" << "D025I" << "123.0";
    QTest::newRow("Cross DTCS->DTCS") << "Cross" << "100.0" << "123.0" << "025" << "NR" << "754"
                                      << "DTCS->DTCS" << "D025N" << "D754I";
    QTest::newRow("Cross ->Tone") << "Cross" << "100.0" << "123.0" << "025" << "RR" << "754"
                                  << "->Tone" << "None" << "123.0";
    QTest::newRow("Cross ->DTCS") << "Cross" << "100.0" << "123.0" << "025" << "RN" << "754"
                                  << "->DTCS" << "None" << "D754N";
    QTest::newRow("Cross DTCS->") << "Cross" << "100.0" << "123.0" << "025" << "RN" << "754"
                                  << "DTCS->" << "D025I" << "None";
    QTest::newRow("Cross Tone->") << "Cross" << "100.0" << "123.0" << "025" << "RR" << "754"
                                  << "Tone->" << "100.0" << "None";
}

void ChirpModesTest::toneModes()
{
    QFETCH(QString, tone);
    QFETCH(QString, rTone);
    QFETCH(QString, cTone);
    QFETCH(QString, dtcs);
    QFETCH(QString, polarity);
    QFETCH(QString, rxDtcs);
    QFETCH(QString, cross);
    QFETCH(QString, encode);
    QFETCH(QString, decode);

    const QByteArray file =
        kChirpHeader + chirpRow({"", "0.000000", tone, rTone, cTone, dtcs, polarity, rxDtcs, cross});
    const ParseResult plan = parseFile(file, plantest::band());
    QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
    QCOMPARE(plan.format, Format::Chirp);

    // Through the image, as an import stores it.
    MemoryImage image = MemoryImage::newImage();
    applyToImage(plan.rows, image, plantest::band());
    const ChannelTable table = plantest::decoded(image);
    QCOMPARE(table.cell(7, ChannelTable::ColRx), QStringLiteral("146.52000"));
    QCOMPARE(table.cell(7, ChannelTable::ColTx), QStringLiteral("146.52000"));
    QCOMPARE(table.cell(7, ChannelTable::ColEncode), encode);
    QCOMPARE(table.cell(7, ChannelTable::ColDecode), decode);
    QCOMPARE(table.cell(7, ChannelTable::ColBusy), QStringLiteral("Yes"));
}

void ChirpModesTest::duplex_data()
{
    QTest::addColumn<QString>("duplex");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("tx");
    QTest::newRow("simplex ignores the offset") << "" << "0.600000" << "146.52000";
    QTest::newRow("plus") << "+" << "0.600000" << "147.12000";
    QTest::newRow("minus") << "-" << "0.600000" << "145.92000";
    QTest::newRow("minus, onto a 6.25 kHz step") << "-" << "0.013750" << "146.50625";
    QTest::newRow("split") << "split" << "155.500000" << "155.50000";
}

void ChirpModesTest::duplex()
{
    QFETCH(QString, duplex);
    QFETCH(QString, offset);
    QFETCH(QString, tx);
    const ParseResult plan = parseFile(
        kChirpHeader + chirpRow({duplex, offset, "", "88.5", "88.5", "023", "NN", "023", "Tone->Tone"}), plantest::band());
    QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
    QCOMPARE(plan.rows.first().rx, QStringLiteral("146.52000"));
    QCOMPARE(plan.rows.first().tx, tx);
}

void ChirpModesTest::exportPicksMode_data()
{
    QTest::addColumn<QString>("decode");
    QTest::addColumn<QString>("encode");
    QTest::addColumn<QString>("tone");
    QTest::addColumn<QString>("cross");  // only looked at for "Cross"
    QTest::addColumn<QString>("polarity");
    QTest::newRow("no tones") << "None" << "None" << "" << "" << "NN";
    QTest::newRow("transmit CTCSS") << "None" << "100.0" << "Tone" << "" << "NN";
    QTest::newRow("same CTCSS") << "100.0" << "100.0" << "TSQL" << "" << "NN";
    QTest::newRow("other CTCSS") << "123.0" << "100.0" << "Cross" << "Tone->Tone" << "NN";
    QTest::newRow("same DCS, both polarities") << "D023I" << "D023N" << "DTCS" << "" << "NR";
    QTest::newRow("other DCS") << "D754N" << "D023I" << "Cross" << "DTCS->DTCS" << "RN";
    QTest::newRow("receive DCS only") << "D754I" << "None" << "Cross" << "->DTCS" << "NR";
    QTest::newRow("receive CTCSS only") << "67.0" << "None" << "Cross" << "->Tone" << "NN";
    QTest::newRow("transmit DCS only") << "None" << "D023I" << "Cross" << "DTCS->" << "RN";
    QTest::newRow("CTCSS out, DCS in") << "D023N" << "67.0" << "Cross" << "Tone->DTCS" << "NN";
    QTest::newRow("DCS out, CTCSS in") << "67.0" << "D023N" << "Cross" << "DTCS->Tone" << "NN";
}

void ChirpModesTest::exportPicksMode()
{
    QFETCH(QString, decode);
    QFETCH(QString, encode);
    QFETCH(QString, tone);
    QFETCH(QString, cross);
    QFETCH(QString, polarity);
    ChannelTable table;
    setCells(table, 9, {"150.00000", "150.00000", decode, encode, "Yes"});
    MemoryImage image = MemoryImage::newImage();
    table.encode(image);

    const QStringList lines = QString::fromUtf8(writeChirpCsv(image)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    // CHIRP's columns but Power (the radio has no power of a channel).
    QCOMPARE(lines.at(0) + QStringLiteral("\r\n"), QString::fromLatin1(kChirpHeader).remove(QStringLiteral("Power,")));
    const QStringList cells = lines.at(1).split(QLatin1Char(','));
    QCOMPARE(cells.size(), 20);
    QCOMPARE(cells.at(0), QStringLiteral("9"));
    QCOMPARE(cells.at(2), QStringLiteral("150.000000"));
    QCOMPARE(cells.at(5), tone);
    QCOMPARE(cells.at(9), polarity);
    if (tone == QLatin1String("Cross"))
        QCOMPARE(cells.at(11), cross);
}

// Older files lack some columns and order them otherwise: columns are found by name.
void ChirpModesTest::columnsInAnotherOrder()
{
    const ParseResult plan = parseFile("Frequency,Location,Tone,rToneFreq\n150.0,3,Tone,67.0\n", plantest::band());
    QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
    QCOMPARE(plan.rows.size(), 1);
    QCOMPARE(plan.rows.first().channel, 3);
    QCOMPARE(plan.rows.first().tx, QStringLiteral("150.00000"));
    QCOMPARE(plan.rows.first().encode, QStringLiteral("67.0"));
    QCOMPARE(plan.rows.first().decode, QStringLiteral("None"));
}

int runChirpModesTests(int argc, char** argv)
{
    ChirpModesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ChirpModes.moc"
