// Channel plans written and read back: our CSV, CHIRP CSV and clipboard rows
// carry any valid plan exactly, an import touches only the channels it lists,
// and the forms spreadsheets give the cells are read as the grid would.

#include <QtTest>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "texts/PlanReasons.h"
#include "PlanTestImages.h"
#include "codeplug/ChannelPlan.h"

using namespace channelplan;

namespace {

constexpr int kRounds = 40;

QString tableDump(const ChannelTable& table)
{
    QString text;
    for (int row = 1; row < ChannelTable::kRows; ++row) {
        for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col)
            text += table.cell(row, col) + QLatin1Char('|');
        text += QLatin1Char('\n');
    }
    return text;
}

}  // namespace

class PlanRoundTripTest : public QObject {
    Q_OBJECT

private slots:
    void csvRoundTrip();
    void chirpRoundTrip();
    void importLeavesOtherBytes();
    void tabSeparatedRoundTrip_data();
    void tabSeparatedRoundTrip();
    void pasteAtAnotherRow();
    void spreadsheetForms_data();
    void spreadsheetForms();
    void newAndExistingBusyLock();
};

// Into a new image the plan arrives cell for cell; into the image it came
// from, not one byte changes.
void PlanRoundTripTest::csvRoundTrip()
{
    QRandomGenerator random(517);
    for (int round = 0; round < kRounds; ++round) {
        const MemoryImage original = plantest::randomPlanImage(random, plantest::band());
        const ParseResult plan = parseFile(writeCsv(original), plantest::band());
        QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
        QCOMPARE(plan.format, Format::Csv);
        QCOMPARE(plan.rows.size(), 16);

        MemoryImage same = original;
        applyToImage(plan.rows, same, plantest::band());
        QCOMPARE(same.toByteArray().toHex(), original.toByteArray().toHex());

        MemoryImage fresh = MemoryImage::newImage();
        applyToImage(plan.rows, fresh, plantest::band());
        QCOMPARE(tableDump(plantest::decoded(fresh)), tableDump(plantest::decoded(original)));
    }
}

// CHIRP has no busy-lock column: into a new image every channel gets busy
// lock as a newly typed one does; frequencies and tones are exact, and into
// the image it came from nothing changes.
void PlanRoundTripTest::chirpRoundTrip()
{
    QRandomGenerator random(1517);
    for (int round = 0; round < kRounds; ++round) {
        const MemoryImage original = plantest::randomPlanImage(random, plantest::band());
        const ParseResult plan = parseFile(writeChirpCsv(original), plantest::band());
        QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
        QCOMPARE(plan.format, Format::Chirp);
        int inUse = 0;
        for (int ch = 1; ch <= 16; ++ch)
            inUse += codec::channelInUse(original.channel(ch)) ? 1 : 0;
        QCOMPARE(plan.rows.size(), inUse);

        MemoryImage same = original;
        applyToImage(plan.rows, same, plantest::band());
        QCOMPARE(same.toByteArray().toHex(), original.toByteArray().toHex());

        ChannelTable expected = plantest::decoded(original);
        for (int row = 1; row <= 16; ++row) {
            if (!expected.cell(row, ChannelTable::ColRx).isEmpty())
                expected.setCell(row, ChannelTable::ColBusy, QStringLiteral("Yes"));
        }
        MemoryImage fresh = MemoryImage::newImage();
        applyToImage(plan.rows, fresh, plantest::band());
        QCOMPARE(tableDump(plantest::decoded(fresh)), tableDump(expected));
    }
}

// Some channels of one plan onto a random base: the listed channels' cells
// are the plan's, and every byte outside their cells is the base's.
void PlanRoundTripTest::importLeavesOtherBytes()
{
    QRandomGenerator random(2517);
    for (int round = 0; round < kRounds; ++round) {
        const MemoryImage plan = plantest::randomPlanImage(random, plantest::band());
        const MemoryImage base = plantest::randomPlanImage(random, plantest::band());
        const QList<QByteArray> lines = writeCsv(plan).split('\n');
        QByteArray subset = lines.at(0) + '\n';
        QList<int> listed;
        for (int ch = 1; ch <= 16; ++ch) {
            if (random.bounded(2)) {
                subset += lines.at(ch) + '\n';
                listed << ch;
            }
        }
        const ParseResult parsed = parseFile(subset, plantest::band());
        if (listed.isEmpty()) {
            QVERIFY(!parsed.ok());
            continue;
        }
        QVERIFY(parsed.ok());
        MemoryImage result = base;
        applyToImage(parsed.rows, result, plantest::band());

        const ChannelTable planTable = plantest::decoded(plan);
        const ChannelTable resultTable = plantest::decoded(result);
        for (int offset = 0; offset < layout::kImageSize; ++offset) {
            const int ch = offset / layout::kRowSize;
            const int inRecord = offset % layout::kRowSize;
            const bool replaced = listed.contains(ch) && ch >= 1 && ch <= 16 && inRecord <= layout::channel::kFlags;
            if (!replaced) {
                QCOMPARE(result.at(offset), base.at(offset));
            } else if (inRecord == layout::channel::kFlags) {
                QCOMPARE(result.at(offset) & 0xFE, base.at(offset) & 0xFE);
            }
        }
        for (const int ch : listed) {
            for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col)
                QCOMPARE(resultTable.cell(ch, col), planTable.cell(ch, col));
        }
    }
}

void PlanRoundTripTest::tabSeparatedRoundTrip_data() { addBoolRows("chinese", "English grid", "Chinese grid"); }

// Copy every row of a grid, paste into an empty grid of the same language.
void PlanRoundTripTest::tabSeparatedRoundTrip()
{
    QFETCH(bool, chinese);
    QRandomGenerator random(chinese ? 3517 : 4517);
    for (int round = 0; round < kRounds; ++round) {
        const ChannelTable source = plantest::decoded(plantest::randomPlanImage(random, plantest::band()), chinese);
        const QString text = writeTabSeparated(source, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
        QCOMPARE(text.count(QLatin1Char('\n')), 16);
        const ParseResult plan = parseTabSeparated(text, plantest::band(), moduleCellWords(chinese));
        QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
        MemoryImage pasted = MemoryImage::newImage();
        applyToImage(plan.rows, pasted, plantest::band(), moduleCellWords(chinese));
        QCOMPARE(tableDump(plantest::decoded(pasted, chinese)), tableDump(source));
    }
}

void PlanRoundTripTest::pasteAtAnotherRow()
{
    ChannelTable source;
    setCells(source, 3, {"145.00000", "145.60000", "D023N", "67.0", "No"});
    ParseResult plan = parseTabSeparated(writeTabSeparated(source, {3, 4}), plantest::band());
    QVERIFY(plan.ok());

    QList<PlanRow> rows = plan.rows;
    QVERIFY(!placeFrom(rows, 16));  // two rows from 16 would run past the last channel
    QCOMPARE(rows, plan.rows);
    QVERIFY(placeFrom(rows, 15));
    MemoryImage image = MemoryImage::newImage();
    applyToImage(rows, image, plantest::band());
    const ChannelTable target = plantest::decoded(image, false);
    for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col) {
        QCOMPARE(target.cell(15, col), source.cell(3, col));
        QCOMPARE(target.cell(16, col), QString());
        QCOMPARE(target.cell(3, col), QString());
    }
}

void PlanRoundTripTest::spreadsheetForms_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray header = "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock";
    const QByteArray plain = header + "\n2,145.01250,145.61250,67.0,D023N,No\n";
    QTest::newRow("as exported") << plain;
    QTest::newRow("CRLF and a byte-order mark") << "\xEF\xBB\xBF" + header + "\r\n2,145.01250,145.61250,67.0,D023N,No\r\n";
    QTest::newRow("quoted cells") << header + "\n\"2\",\"145.01250\",\"145.61250\",\"67.0\",\"D023N\",\"No\"\n";
    QTest::newRow("short numbers") << header + "\n2,145.0125,145.6125,67,D023N,No\n";
    QTest::newRow("six decimals") << header + "\n2,145.012500,145.612500,67.00,D023N,No\n";
    QTest::newRow("other case and spaces") << header + "\n 2 , 145.0125 ,145.6125, 67.0 ,d023n,no\n";
    QTest::newRow("blank lines and empty extra cells")
        << header + ",,\n\n2,145.0125,145.6125,67.0,D023N,No,,\n\n";
    QTest::newRow("Chinese header and texts")
        << QStringLiteral("信道,接收频率,发射频率,QT/DQT解码,QT/DQT编码,繁忙锁定\n2,145.0125,145.6125,67.0,D023N,关\n").toUtf8();
}

void PlanRoundTripTest::spreadsheetForms()
{
    QFETCH(QByteArray, file);
    const ParseResult plan = parseFile(file, plantest::band(), moduleCellWords(false));
    QVERIFY2(plan.ok(), qPrintable(texts::planErrorText(plan.errors.value(0), plantest::band())));
    QCOMPARE(plan.rows.size(), 1);
    const PlanRow& row = plan.rows.first();
    QCOMPARE(row.channel, 2);
    QCOMPARE(row.rx, QStringLiteral("145.01250"));
    QCOMPARE(row.tx, QStringLiteral("145.61250"));
    QCOMPARE(row.decode, QStringLiteral("67.0"));
    QCOMPARE(row.encode, QStringLiteral("D023N"));
    QCOMPARE(row.busy, QStringLiteral("No"));
}

// A channel the plan creates gets busy lock on unless the plan says
// otherwise; an existing channel keeps its own; an empty transmit frequency
// is the receive frequency, as in the grid.
void PlanRoundTripTest::newAndExistingBusyLock()
{
    MemoryImage image = MemoryImage::newImage();
    ChannelTable typed;
    typed.setCell(4, ChannelTable::ColRx, QStringLiteral("150.00000"));
    typed.setCell(4, ChannelTable::ColTx, QStringLiteral("150.00000"));
    typed.setCell(4, ChannelTable::ColBusy, QStringLiteral("No"));
    typed.encode(image);

    const ParseResult plan = parseFile(
        "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n1,145.0,,,,\n4,146.0,,,,\n", plantest::band());
    QVERIFY(plan.ok());
    applyToImage(plan.rows, image, plantest::band());
    const ChannelTable table = plantest::decoded(image);
    const QStringList one = {table.cell(1, 1), table.cell(1, 2), table.cell(1, 3), table.cell(1, 4), table.cell(1, 5)};
    QCOMPARE(one, (QStringList{"145.00000", "145.00000", "None", "None", "Yes"}));
    const QStringList four = {table.cell(4, 1), table.cell(4, 2), table.cell(4, 3), table.cell(4, 4), table.cell(4, 5)};
    QCOMPARE(four, (QStringList{"146.00000", "146.00000", "None", "None", "No"}));
}

int runPlanRoundTripTests(int argc, char** argv)
{
    PlanRoundTripTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PlanRoundTrip.moc"
