// The in-place editor's storing rules on one row of the channel table.

#include <QtTest>

#include "codeplug/CellValidator.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/MemoryImage.h"

using Trigger = CellValidator::Trigger;
using Check = CellValidator::FrequencyCheck;

Q_DECLARE_METATYPE(CellValidator::Trigger)
Q_DECLARE_METATYPE(CellValidator::FrequencyCheck)

namespace {

constexpr std::int32_t kLow = 13000000;   // "130 - 160MHz"
constexpr std::int32_t kHigh = 16000000;
constexpr int kRow = 7;

// Cells 1 to 5 of a row, separated by "|".
QStringList rowCells(const ChannelTable& table, int row)
{
    QStringList cells;
    for (int c = 1; c <= 5; ++c)
        cells << table.cell(row, c);
    return cells;
}

void setRow(ChannelTable& table, int row, const QStringList& cells)
{
    for (int c = 1; c <= 5; ++c)
        table.setCell(row, c, cells.at(c - 1));
}

QStringList cells(const char* joined) { return QString::fromUtf8(joined).split(QLatin1Char('|')); }

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
    void storeTouchesOnlyItsRow();
    void chineseNewChannel();
    void zeroBandRefusesEverything();
    void nineDigitsRefused();
    void belowTenMegahertzRefused_data();
    void belowTenMegahertzRefused();
    void cellsOutsideTheChannelsAreIgnored();
    void edgeCellsOfTheChannels_data();
    void edgeCellsOfTheChannels();
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
    const CellValidator validator(kLow, kHigh, false);
    std::int64_t v = -1;
    QCOMPARE(validator.checkFrequency(text, &v), expected);
    QCOMPARE(qint64(v), units);
}

void TestCellValidator::store_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("afterLeave");
    QTest::addColumn<QString>("afterEnter");
    QTest::addColumn<int>("message");

    const int none = 0;
    const int range = 61448;  // "Out of range,please input again."
    const int step = 61456;   // "Error data Value, please input according the step value(6.25K/5k)."
    const int nan = 61457;    // "Please enter the frequency as a number in MHz, ..."

    QTest::newRow("rx new channel") << kEmpty << 1 << "145"
                                    << "145.00000|145.00000|None|None|Yes"
                                    << "145.00000|145.00000|None|None|Yes" << none;
    QTest::newRow("rx new channel sets busy Yes") << "||||No" << 1 << "150.00625"
                                    << "150.00625|150.00625|None|None|Yes"
                                    << "150.00625|150.00625|None|None|Yes" << none;
    QTest::newRow("rx changed keeps the rest") << kInUse << 1 << "150"
                                    << "150.00000|146.00000|67.0|D023N|No"
                                    << "150.00000|146.00000|67.0|D023N|No" << none;
    QTest::newRow("rx sixth decimal cut as checked") << kEmpty << 1 << "145.000009"
                                    << "145.00000|145.00000|None|None|Yes"
                                    << "145.00000|145.00000|None|None|Yes" << none;
    QTest::newRow("rx upper limit") << kEmpty << 1 << "160"
                                    << "160.00000|160.00000|None|None|Yes"
                                    << "160.00000|160.00000|None|None|Yes" << none;
    QTest::newRow("rx emptied clears 1-4, keeps busy") << kInUse << 1 << ""
                                    << "||||No" << "||||No" << none;
    QTest::newRow("rx out of range") << kInUse << 1 << "160.005"
                                    << "||||No" << "||||No" << range;
    QTest::newRow("rx not a number keeps the row") << kInUse << 1 << "abc"
                                    << kInUse << kInUse << nan;
    QTest::newRow("rx comma keeps the row") << kInUse << 1 << "145,5"
                                    << kInUse << kInUse << nan;
    QTest::newRow("rx not a number on empty row") << kEmpty << 1 << "146.52abc"
                                    << kEmpty << kEmpty << nan;
    QTest::newRow("tx not a number keeps the row") << kInUse << 2 << "146,5"
                                    << kInUse << kInUse << nan;
    QTest::newRow("tx blank keeps the row") << kInUse << 2 << "  "
                                    << kInUse << kInUse << nan;
    QTest::newRow("rx off step") << kInUse << 1 << "145.003"
                                    << "||||No" << "||||No" << step;
    QTest::newRow("rx off step on empty row") << kEmpty << 1 << "145.003"
                                    << kEmpty << kEmpty << step;

    QTest::newRow("tx emptied follows rx") << kInUse << 2 << ""
                                    << "145.00000|145.00000|67.0|D023N|No"
                                    << "145.00000|145.00000|67.0|D023N|No" << none;
    QTest::newRow("tx emptied on empty row") << kEmpty << 2 << "" << kEmpty << kEmpty << none;
    QTest::newRow("tx valid") << kInUse << 2 << "155.5"
                                    << "145.00000|155.50000|67.0|D023N|No"
                                    << "145.00000|155.50000|67.0|D023N|No" << none;
    QTest::newRow("tx valid without rx") << kEmpty << 2 << "155" << kEmpty << kEmpty << none;
    QTest::newRow("tx out of range") << kInUse << 2 << "100"
                                    << "145.00000||67.0|D023N|No"
                                    << "145.00000||67.0|D023N|No" << range;
    QTest::newRow("tx off step: leave clears the row, Enter only tx") << kInUse << 2 << "145.001"
                                    << "||||No"
                                    << "145.00000||67.0|D023N|No" << step;

    QTest::newRow("tone on a channel") << kInUse << 3 << "D754I"
                                    << "145.00000|146.00000|D754I|D023N|No"
                                    << "145.00000|146.00000|D754I|D023N|No" << none;
    QTest::newRow("tone with tx only") << "|146.00000|||" << 4 << "67.0"
                                    << "|146.00000||67.0|" << "|146.00000||67.0|" << none;
    QTest::newRow("tone on empty row discarded") << kEmpty << 3 << "67.0" << kEmpty << kEmpty << none;
    QTest::newRow("busy on empty row discarded") << "||None|None|Yes" << 5 << "No"
                                    << "||None|None|" << "||None|None|" << none;
    QTest::newRow("busy on a channel") << kInUse << 5 << "Yes"
                                    << "145.00000|146.00000|67.0|D023N|Yes"
                                    << "145.00000|146.00000|67.0|D023N|Yes" << none;
}

void TestCellValidator::store()
{
    QFETCH(QString, before);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(QString, afterLeave);
    QFETCH(QString, afterEnter);
    QFETCH(int, message);

    const CellValidator validator(kLow, kHigh, false);
    const std::pair<Trigger, QString> cases[] = {{Trigger::CellLeave, afterLeave},
                                                 {Trigger::Enter, afterEnter}};
    for (const auto& [trigger, expected] : cases) {
        ChannelTable table;
        setRow(table, kRow, before.split(QLatin1Char('|')));
        QCOMPARE(validator.store(table, kRow, col, text, trigger), message);
        QCOMPARE(rowCells(table, kRow).join(QLatin1Char('|')), expected);
    }
}

void TestCellValidator::storeTouchesOnlyItsRow()
{
    ChannelTable table;
    setRow(table, kRow - 1, cells(kInUse));
    setRow(table, kRow + 1, cells(kInUse));
    setRow(table, kRow, cells(kInUse));
    const CellValidator validator(kLow, kHigh, false);
    QCOMPARE(validator.store(table, kRow, 1, QStringLiteral("145.003"), Trigger::CellLeave),
             61456);
    QCOMPARE(rowCells(table, kRow - 1), cells(kInUse));
    QCOMPARE(rowCells(table, kRow + 1), cells(kInUse));
    QCOMPARE(table.cell(0, 1), ChannelTable::header(1, false));
    QCOMPARE(table.cell(kRow, 0), ChannelTable::rowLabel(kRow));
}

void TestCellValidator::chineseNewChannel()
{
    ChannelTable table(true);
    const CellValidator validator(kLow, kHigh, true);
    QCOMPARE(validator.store(table, 16, 1, QStringLiteral("145.0125"), Trigger::Enter),
             0);
    QCOMPARE(rowCells(table, 16), cells("145.01250|145.01250|无|无|开"));
}

void TestCellValidator::zeroBandRefusesEverything()
{
    // An empty band text gives limits 0 and 0: every typed frequency, 0 included,
    // is refused (0 could not be stored: the image reads it back as no channel).
    const CellValidator validator(0, 0, false);
    for (const char* text : {"0", "0.000", "10", "145"}) {
        ChannelTable table;
        QCOMPARE(validator.store(table, 1, 1, QString::fromLatin1(text), Trigger::CellLeave),
                 61448);
        QCOMPARE(rowCells(table, 1), cells(kEmpty));
    }
}

void TestCellValidator::nineDigitsRefused()
{
    // A band wider than the image can hold: nine digits are refused anyway.
    const CellValidator wide(100000000, 200000000, false);
    QCOMPARE(wide.checkFrequency(QStringLiteral("1500")), Check::OutOfRange);
    QCOMPARE(wide.checkFrequency(QStringLiteral("999.99")), Check::OutOfRange);
    const CellValidator top(0, 99999999, false);
    QCOMPARE(top.checkFrequency(QStringLiteral("999.995")), Check::Valid);
    // The eight-digit bound, inclusive at 99999999, whatever the band allows.
    const CellValidator beyond(0, 200000000, false);
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
    const CellValidator validator(100000, 3000000, false);  // "1 - 30MHz"
    QCOMPARE(validator.checkFrequency(text), expected);

    // Stored, the value either reads back from the image as typed or is refused.
    ChannelTable table;
    const int message = validator.store(table, 2, 1, text, Trigger::Enter);
    MemoryImage image = MemoryImage::newImage();
    table.encode(image);
    ChannelTable back;
    back.decode(image, false);
    if (expected == Check::Valid) {
        QCOMPARE(message, int(CellValidator::NoMessage));
        QCOMPARE(back.cell(2, 1), table.cell(2, 1));
        QVERIFY(!back.cell(2, 1).isEmpty());
    } else {
        QCOMPARE(message, int(CellValidator::MsgOutOfRange));
        QCOMPARE(rowCells(table, 2), cells(kEmpty));
    }
}

void TestCellValidator::cellsOutsideTheChannelsAreIgnored()
{

    ChannelTable table;
    const ChannelTable untouched;
    const CellValidator validator(kLow, kHigh, false);
    QCOMPARE(validator.store(table, 0, 1, QStringLiteral("145"), Trigger::Enter), 0);
    QCOMPARE(validator.store(table, 3, 0, QStringLiteral("145"), Trigger::Enter), 0);
    QCOMPARE(validator.store(table, 17, 1, QStringLiteral("145"), Trigger::Enter), 0);
    QCOMPARE(validator.store(table, 3, 6, QStringLiteral("145"), Trigger::Enter), 0);
    for (int r = 0; r < ChannelTable::kRows; ++r)
        for (int c = 0; c < ChannelTable::kCols; ++c)
            QCOMPARE(table.cell(r, c), untouched.cell(r, c));
}

// The first and last channel rows and the first and last channel columns take
// what is typed like any other cell.
void TestCellValidator::edgeCellsOfTheChannels_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("after");
    QTest::newRow("row 1, Rx") << 1 << 1 << "150" << "150.00000|146.00000|67.0|D023N|No";
    QTest::newRow("row 16, Rx") << 16 << 1 << "150" << "150.00000|146.00000|67.0|D023N|No";
    QTest::newRow("row 1, Busy Lock") << 1 << 5 << "Yes" << "145.00000|146.00000|67.0|D023N|Yes";
    QTest::newRow("row 16, Busy Lock") << 16 << 5 << "Yes" << "145.00000|146.00000|67.0|D023N|Yes";
    QTest::newRow("row 16, Tx") << 16 << 2 << "155" << "145.00000|155.00000|67.0|D023N|No";
}

void TestCellValidator::edgeCellsOfTheChannels()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(QString, after);
    ChannelTable table;
    setRow(table, row, cells(kInUse));
    const CellValidator validator(kLow, kHigh, false);
    QCOMPARE(validator.store(table, row, col, text, Trigger::Enter), 0);
    QCOMPARE(rowCells(table, row).join(QLatin1Char('|')), after);
}

QTEST_GUILESS_MAIN(TestCellValidator)
#include "tst_cellvalidator.moc"
