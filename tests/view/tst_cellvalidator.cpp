// The editing rules of one channel: what a text typed or chosen for a cell
// does to the channel, and that a refused text does nothing.

#include <QtTest>

#include "codeplug/CellValidator.h"
#include "tests/support/TestSupport.h"
#include "codeplug/Channel.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/Codecs.h"
#include "codeplug/MemoryImage.h"

using Check = CellValidator::FrequencyCheck;

Q_DECLARE_METATYPE(CellValidator::FrequencyCheck)

namespace {

constexpr std::int32_t kLow = 13000000;   // "130 - 160MHz"
constexpr std::int32_t kHigh = 16000000;

// Cells 1 to 5 as the grid shows the channel, separated by "|".
QString shown(const Channel& channel, bool chinese = false)
{
    QStringList cells;
    for (int c = 1; c <= 5; ++c)
        cells << channel.cellText(c, moduleCellWords(chinese).shown());
    return cells.join(QLatin1Char('|'));
}

// The channel whose cells read as joined (encoded into a blank record).
Channel channelFrom(const QString& joined)
{
    const QStringList cells = joined.split(QLatin1Char('|'));
    ChannelTable table;
    for (int c = 1; c <= 5; ++c)
        table.setCell(1, c, cells.at(c - 1));
    MemoryImage image;
    table.encodeChannel(image, 1);
    return Channel::fromRecord(image.channel(1));
}

const char* const kEmpty = "||||";
const char* const kInUse = "145.00000|146.00000|67.0|D023N|No";

}  // namespace

class TestCellValidator : public QObject {
    Q_OBJECT
private slots:
    void checkFrequency_data();
    void checkFrequency();
    void store_data();
    void store();
    void emptyingRxKeepsBusyLock();
    void chineseTexts();
    void zeroBandRefusesEverything();
    void nineDigitsRefused();
    void belowTenMegahertzRefused_data();
    void belowTenMegahertzRefused();
    void columnsOutsideTheChannelAreIgnored();
};

void TestCellValidator::checkFrequency_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Check>("expected");
    QTest::addColumn<qint64>("units");

    QTest::newRow("empty") << "" << Check::Empty << qint64(0);
    QTest::newRow("whole MHz") << "145" << Check::Valid << qint64(14500000);
    QTest::newRow("6.25 kHz multiple") << "145.00625" << Check::Valid << qint64(14500625);
    QTest::newRow("decimal exact, not double") << "145.0125" << Check::Valid << qint64(14501250);
    QTest::newRow("off both steps") << "145.003" << Check::OffStep << qint64(14500300);
    // Step edges: a multiple of 500 units only (625 only is 145.00625 above), and
    // one unit either side of each step.
    QTest::newRow("5 kHz multiple only") << "145.005" << Check::Valid << qint64(14500500);
    QTest::newRow("one unit above a 5 kHz step") << "145.00501" << Check::OffStep << qint64(14500501);
    QTest::newRow("one unit below a 5 kHz step") << "145.00499" << Check::OffStep << qint64(14500499);
    QTest::newRow("one unit above a 6.25 kHz step") << "145.00626" << Check::OffStep << qint64(14500626);
    QTest::newRow("one unit below a 6.25 kHz step") << "145.00624" << Check::OffStep << qint64(14500624);
    QTest::newRow("half a 5 kHz step") << "145.0025" << Check::OffStep << qint64(14500250);
    QTest::newRow("100 Hz") << "145.0001" << Check::OffStep << qint64(14500010);
    QTest::newRow("lower limit allowed") << "130" << Check::Valid << qint64(13000000);
    QTest::newRow("upper limit allowed") << "160" << Check::Valid << qint64(16000000);
    QTest::newRow("just above") << "160.005" << Check::OutOfRange << qint64(16000500);
    QTest::newRow("just below") << "129.995" << Check::OutOfRange << qint64(12999500);
    // Band edges to the unit: out of range comes before the step.
    QTest::newRow("one unit above the band") << "160.00001" << Check::OutOfRange << qint64(16000001);
    QTest::newRow("one unit below the band") << "129.99999" << Check::OutOfRange << qint64(12999999);
    QTest::newRow("last step inside the band") << "159.99375" << Check::Valid << qint64(15999375);
    QTest::newRow("first step inside the band") << "130.005" << Check::Valid << qint64(13000500);
    QTest::newRow("surrounding blanks") << "  150.5 " << Check::Valid << qint64(15050000);
    QTest::newRow("point last") << "150." << Check::Valid << qint64(15000000);
    // Only plain decimal numbers are read: no atof-style prefixes.
    QTest::newRow("not a number") << "abc" << Check::NotANumber << qint64(0);
    QTest::newRow("blank only") << " " << Check::NotANumber << qint64(0);
    QTest::newRow("comma") << "145,5" << Check::NotANumber << qint64(0);
    QTest::newRow("trailing letters") << "146.52abc" << Check::NotANumber << qint64(0);
    QTest::newRow("unit") << "150.5MHz" << Check::NotANumber << qint64(0);
    QTest::newRow("two points") << "145.5.5" << Check::NotANumber << qint64(0);
    QTest::newRow("inner blank") << "145 .5" << Check::NotANumber << qint64(0);
    QTest::newRow("exponent") << "1.45e2" << Check::NotANumber << qint64(0);
    QTest::newRow("minus sign") << "-145" << Check::NotANumber << qint64(0);
    QTest::newRow("plus sign") << "+145" << Check::NotANumber << qint64(0);
    QTest::newRow("point only") << "." << Check::NotANumber << qint64(0);
    QTest::newRow("full-width digits") << QStringLiteral("１４５") << Check::NotANumber << qint64(0);
    // Out of range is checked before the step.
    QTest::newRow("out of range and off step") << "170.003" << Check::OutOfRange << qint64(17000300);
}

void TestCellValidator::checkFrequency()
{
    QFETCH(QString, text);
    QFETCH(Check, expected);
    QFETCH(qint64, units);
    const CellValidator validator(kLow, kHigh);
    std::int64_t v = -1;
    QCOMPARE(validator.checkFrequency(text, &v), expected);
    QCOMPARE(qint64(v), units);
}

void TestCellValidator::store_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("message");

    const int none = 0;
    const int range = 61448;  // "Out of range,please input again."
    const int step = 61456;   // "Error data Value, please input according the step value(6.25K/5k)."
    const int nan = 61457;    // "Please enter the frequency as a number in MHz, ..."

    QTest::newRow("rx new channel") << kEmpty << 1 << "145" << "145.00000|145.00000|None|None|Yes" << none;
    QTest::newRow("rx new channel sets busy Yes") << "||||No" << 1 << "150.00625"
                                                  << "150.00625|150.00625|None|None|Yes" << none;
    QTest::newRow("rx into a channel without tx is a new channel")
        << "146.50000||||" << 1 << "147" << "147.00000|147.00000|None|None|Yes" << none;
    QTest::newRow("rx changed keeps the rest") << kInUse << 1 << "150" << "150.00000|146.00000|67.0|D023N|No"
                                               << none;
    QTest::newRow("rx sixth decimal cut as checked") << kEmpty << 1 << "145.000009"
                                                     << "145.00000|145.00000|None|None|Yes" << none;
    QTest::newRow("rx upper limit") << kEmpty << 1 << "160" << "160.00000|160.00000|None|None|Yes" << none;
    QTest::newRow("rx emptied empties the channel") << kInUse << 1 << "" << kEmpty << none;
    // A refused value changes nothing, in either column.
    QTest::newRow("rx out of range") << kInUse << 1 << "160.005" << kInUse << range;
    QTest::newRow("rx off step") << kInUse << 1 << "145.003" << kInUse << step;
    QTest::newRow("rx off step on empty row") << kEmpty << 1 << "145.003" << kEmpty << step;
    QTest::newRow("rx not a number") << kInUse << 1 << "abc" << kInUse << nan;
    QTest::newRow("rx comma") << kInUse << 1 << "145,5" << kInUse << nan;
    QTest::newRow("rx not a number on empty row") << kEmpty << 1 << "146.52abc" << kEmpty << nan;
    QTest::newRow("tx not a number") << kInUse << 2 << "146,5" << kInUse << nan;
    QTest::newRow("tx blank") << kInUse << 2 << "  " << kInUse << nan;
    QTest::newRow("tx out of range keeps the old tx") << kInUse << 2 << "100" << kInUse << range;
    QTest::newRow("tx off step keeps the old tx") << kInUse << 2 << "145.001" << kInUse << step;

    QTest::newRow("tx emptied follows rx") << kInUse << 2 << "" << "145.00000|145.00000|67.0|D023N|No" << none;
    QTest::newRow("tx emptied on empty row") << kEmpty << 2 << "" << kEmpty << none;
    QTest::newRow("tx valid") << kInUse << 2 << "155.5" << "145.00000|155.50000|67.0|D023N|No" << none;
    QTest::newRow("tx valid without rx") << kEmpty << 2 << "155" << kEmpty << none;

    QTest::newRow("tone on a channel") << kInUse << 3 << "D754I" << "145.00000|146.00000|D754I|D023N|No" << none;
    QTest::newRow("tone with tx only") << "|146.00000|||" << 4 << "67.0" << "|146.00000||67.0|" << none;
    QTest::newRow("tone on empty row discarded") << kEmpty << 3 << "67.0" << kEmpty << none;
    QTest::newRow("busy on empty row discarded") << kEmpty << 5 << "Yes" << kEmpty << none;
    QTest::newRow("busy on a channel") << kInUse << 5 << "Yes" << "145.00000|146.00000|67.0|D023N|Yes" << none;
}

void TestCellValidator::store()
{
    QFETCH(QString, before);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(int, message);

    const CellValidator validator(kLow, kHigh);
    const Channel original = channelFrom(before);
    Channel channel = original;
    QCOMPARE(validator.store(channel, col, text), message);
    QCOMPARE(shown(channel), after);
    if (message != CellValidator::NoMessage)
        QVERIFY(channel.bytes() == original.bytes());  // not one byte changed
}

void TestCellValidator::emptyingRxKeepsBusyLock()
{
    const CellValidator validator(kLow, kHigh);
    Channel channel = channelFrom(QString::fromLatin1(kInUse));
    QCOMPARE(validator.store(channel, 1, QString()), 0);
    QVERIFY(!channel.hasRx() && !channel.hasTx());
    QVERIFY(!channel.busyLock());  // "No" is kept for the day the channel is filled again
    QCOMPARE(int(channel.bytes()[12]), 0xFF);
}

void TestCellValidator::chineseTexts()
{
    const CellValidator validator(kLow, kHigh, moduleCellWords(true));
    Channel channel;
    QCOMPARE(validator.store(channel, 1, QStringLiteral("145.0125")), 0);
    QCOMPARE(shown(channel, true), QStringLiteral("145.01250|145.01250|无|无|开"));
    QCOMPARE(validator.store(channel, 5, QStringLiteral("关")), 0);
    QCOMPARE(validator.store(channel, 3, QStringLiteral("无")), 0);
    QCOMPARE(shown(channel, true), QStringLiteral("145.01250|145.01250|无|无|关"));
    // Either module's words turn the lock on again.
    QCOMPARE(validator.store(channel, 5, QStringLiteral("开")), 0);
    QCOMPARE(shown(channel, true), QStringLiteral("145.01250|145.01250|无|无|开"));
    QCOMPARE(validator.store(channel, 5, QStringLiteral("No")), 0);
    QCOMPARE(validator.store(channel, 5, QStringLiteral("Yes")), 0);
    QCOMPARE(shown(channel), QStringLiteral("145.01250|145.01250|None|None|Yes"));
}

void TestCellValidator::zeroBandRefusesEverything()
{
    // An empty band text gives limits 0 and 0: every typed frequency, 0 included,
    // is refused (0 could not be stored: the image reads it back as no channel).
    const CellValidator validator(0, 0);
    for (const char* text : {"0", "0.000", "10", "145"}) {
        Channel channel;
        QCOMPARE(validator.store(channel, 1, QString::fromLatin1(text)), 61448);
        QCOMPARE(shown(channel), QString::fromLatin1(kEmpty));
    }
}

void TestCellValidator::nineDigitsRefused()
{
    // A band wider than the image can hold: nine digits are refused anyway.
    const CellValidator wide(100000000, 200000000);
    QCOMPARE(wide.checkFrequency(QStringLiteral("1500")), Check::OutOfRange);
    QCOMPARE(wide.checkFrequency(QStringLiteral("999.99")), Check::OutOfRange);
    const CellValidator top(0, 99999999);
    QCOMPARE(top.checkFrequency(QStringLiteral("999.995")), Check::Valid);
    // The eight-digit bound, inclusive at 99999999, whatever the band allows.
    const CellValidator beyond(0, 200000000);
    QCOMPARE(beyond.checkFrequency(QStringLiteral("999.995")), Check::Valid);          // 99999500
    QCOMPARE(beyond.checkFrequency(QStringLiteral("999.99375")), Check::Valid);        // 99999375
    QCOMPARE(beyond.checkFrequency(QStringLiteral("999.99999")), Check::OffStep);      // 99999999: in range
    QCOMPARE(beyond.checkFrequency(QStringLiteral("1000")), Check::OutOfRange);        // 100000000
    QCOMPARE(beyond.checkFrequency(QStringLiteral("1000.005")), Check::OutOfRange);    // on a step, nine digits
    // The smallest storable frequency: 10 MHz, the first with a non-zero top digit pair.
    QCOMPARE(beyond.checkFrequency(QStringLiteral("10")), Check::Valid);               // 1000000
    QCOMPARE(beyond.checkFrequency(QStringLiteral("9.99375")), Check::OutOfRange);     // 999375
    QCOMPARE(beyond.checkFrequency(QStringLiteral("0.005")), Check::OutOfRange);       // 500
}

// Below 10 MHz the top digit pair is 0x00, which reads back as "no
// frequency": refused even when the band allows it.
void TestCellValidator::belowTenMegahertzRefused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Check>("expected");
    QTest::newRow("7 MHz") << "7" << Check::OutOfRange;
    QTest::newRow("just below 10 MHz") << "9.995" << Check::OutOfRange;
    QTest::newRow("1 MHz, the band's floor") << "1" << Check::OutOfRange;
    QTest::newRow("10 MHz") << "10" << Check::Valid;
    QTest::newRow("29.995 MHz") << "29.995" << Check::Valid;
}

void TestCellValidator::belowTenMegahertzRefused()
{
    QFETCH(QString, text);
    QFETCH(Check, expected);
    const CellValidator validator(100000, 3000000);  // "1 - 30MHz"
    QCOMPARE(validator.checkFrequency(text), expected);

    // Stored, the value either reads back from the record as typed or is refused.
    Channel channel;
    const int message = validator.store(channel, 1, text);
    if (expected == Check::Valid) {
        QCOMPARE(message, int(CellValidator::NoMessage));
        QVERIFY(channel.inUse());
        QCOMPARE(channel.rx(), codec::decimalProduct(text, codec::kFrequencyFactor));
    } else {
        QCOMPARE(message, int(CellValidator::MsgOutOfRange));
        QCOMPARE(shown(channel), QString::fromLatin1(kEmpty));
    }
}

void TestCellValidator::columnsOutsideTheChannelAreIgnored()
{
    const CellValidator validator(kLow, kHigh);
    const Channel untouched = channelFrom(QString::fromLatin1(kInUse));
    for (const int col : {0, 6, -1}) {
        Channel channel = untouched;
        QCOMPARE(validator.store(channel, col, QStringLiteral("150")), 0);
        QVERIFY(channel == untouched);
    }
}

QTEST_GUILESS_MAIN(TestCellValidator)
#include "tst_cellvalidator.moc"
