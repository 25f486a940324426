// Channel plans read by CHIRP's own reading rules (one tone column for both,
// comment lines, rows without a frequency, the modes the radio works in),
// the forms old files and editors give (CR line ends, a DOS end-of-file
// mark, DCS codes without leading zeros, short rows, incomplete headers),
// messages that name the cells the user wrote, the CHIRP export's channels
// it cannot express, and the cell splitter on its worst case.

#include <QtTest>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "texts/PlanReasons.h"
#include "PlanTestImages.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/CsvText.h"
#include "codeplug/ImageLayout.h"

using namespace channelplan;

Q_DECLARE_METATYPE(channelplan::Reason)

namespace {

const QByteArray kCsv = "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n";
const QByteArray kChirp = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                          "DtcsPolarity,RxDtcsCode,CrossMode,Mode\n";

// "channel: rx tx decode encode" of every plan row, for comparing whole plans.
QStringList summary(const ParseResult& plan)
{
    QStringList rows;
    for (const PlanRow& row : plan.rows)
        rows << QStringLiteral("%1: %2 %3 %4 %5").arg(row.channel).arg(row.rx, row.tx, row.decode, row.encode);
    return rows;
}

QString firstError(const ParseResult& plan)
{
    return plan.errors.isEmpty() ? QString() : texts::planErrorText(plan.errors.first(), plantest::band());
}

}  // namespace

class ChirpReadingTest : public QObject {
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void rowWithoutFrequencySkipped();
    void messagesNameTheCells_data();
    void messagesNameTheCells();
    void exportLeavesOutWhatCannotBeRead();
    void exportHasNoEmptyRequiredCell();
    void splitterWorstCase();
};

void ChirpReadingTest::accepted_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("rows");

    // As CHIRP reads it: a lone rToneFreq or cToneFreq column stands for both.
    QTest::newRow("TSQL with only rToneFreq") << QByteArray("Location,Frequency,Tone,rToneFreq\n1,146.52,TSQL,100.0\n")
                                              << QStringList{"1: 146.52000 146.52000 100.0 100.0"};
    QTest::newRow("Tone with only cToneFreq") << QByteArray("Location,Frequency,Tone,cToneFreq\n1,146.52,Tone,100.0\n")
                                              << QStringList{"1: 146.52000 146.52000 None 100.0"};
    QTest::newRow("Cross Tone->Tone with only cToneFreq")
        << QByteArray("Location,Frequency,Tone,cToneFreq,CrossMode\n2,146.52,Cross,123.0,Tone->Tone\n")
        << QStringList{"2: 146.52000 146.52000 123.0 123.0"};
    QTest::newRow("comment lines before the header and between rows")
        << QByteArray("# written by hand\n#,more\n") + kChirp + "# repeaters\n3,,146.52,,,,,,,,,,FM\n#4,,147.0\n"
        << QStringList{"3: 146.52000 146.52000 None None"};
    QTest::newRow("comment lines in our CSV") << QByteArray("# channels\n") + kCsv + "# one\n1,145.0,,,,\n"
                                              << QStringList{"1: 145.00000 145.00000 None None"};
    QTest::newRow("NFM and FM") << kChirp + "1,,146.52,,,,,,,,,,NFM\n2,,146.52,,,,,,,,,,fm\n3,,146.52,,,,,,,,,,\n"
                                << QStringList{"1: 146.52000 146.52000 None None", "2: 146.52000 146.52000 None None",
                                               "3: 146.52000 146.52000 None None"};
    QTest::newRow("CR line ends (old Mac)") << QByteArray(kCsv).replace('\n', '\r') + "1,145.0,,,,\r2,146.0,,,,\r"
                                            << QStringList{"1: 145.00000 145.00000 None None",
                                                           "2: 146.00000 146.00000 None None"};
    QTest::newRow("CR line ends, CHIRP") << QByteArray(kChirp).replace('\n', '\r') + "1,,146.52,,,,,,,,,,FM\r"
                                         << QStringList{"1: 146.52000 146.52000 None None"};
    QTest::newRow("DOS end-of-file mark") << kCsv + "1,145.0,,,,\r\n\x1A"
                                          << QStringList{"1: 145.00000 145.00000 None None"};
    QTest::newRow("UTF-8 byte-order mark") << QByteArray("\xEF\xBB\xBF") + kChirp + "1,,146.52,,,,,,,,,,FM\n"
                                           << QStringList{"1: 146.52000 146.52000 None None"};
    QTest::newRow("DCS codes without leading zeros") << kCsv + "1,145.0,,D23N,d23i,\n2,145.0,,D754I,D65n,\n"
                                                     << QStringList{"1: 145.00000 145.00000 D023N D023I",
                                                                    "2: 145.00000 145.00000 D754I D065N"};
}

void ChirpReadingTest::accepted()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, rows);
    const ParseResult plan = parseFile(file, plantest::band());
    QVERIFY2(plan.ok(), qPrintable(firstError(plan)));
    QCOMPARE(summary(plan), rows);
    QVERIFY(plan.warnings.isEmpty());
}

void ChirpReadingTest::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("column");
    QTest::addColumn<Reason>("reason");
    QTest::addColumn<QString>("value");

    for (const char* mode : {"AM", "WFM", "DV", "USB", "DMR"})
        QTest::addRow("mode %s", mode) << kChirp + "1,,146.52,,,,,,,,,," + mode + "\n" << 2 << "Mode"
                                       << Reason::BadMode << QString::fromLatin1(mode);
    QTest::newRow("Ctrl-Z inside the text") << kCsv + "1,145.0,,,,\n\x1A\n2,146.0,,,,\n" << 0 << "" << Reason::NotText
                                            << "";
    QTest::newRow("short row keeps nothing") << kCsv + "4,150.0125\n" << 2 << "" << Reason::ShortRow
                                             << "Tx Frequency, QT/DQT Dec, QT/DQT Enc, Busy Lock";
    QTest::newRow("short row without busy lock") << kCsv + "4,150.0125,150.0125,None,None\n" << 2 << ""
                                                 << Reason::ShortRow << "Busy Lock";
    QTest::newRow("short CHIRP row") << kChirp + "1,,146.52,,0,TSQL,88.5,88.5\n" << 2 << "" << Reason::ShortRow
                                     << "DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode, Mode";
    QTest::newRow("our header without busy lock")
        << QByteArray("CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc\n1,145.0,,,\n") << 1 << ""
        << Reason::MissingColumns << "Busy Lock";
    QTest::newRow("our header without two columns") << QByteArray("CH,Rx Frequency,Tx Frequency,Busy Lock\n") << 1
                                                    << "" << Reason::MissingColumns << "QT/DQT Dec, QT/DQT Enc";
    QTest::newRow("CHIRP header without Frequency") << QByteArray("Location,Name,Freq\n1,x,146.52\n") << 1 << ""
                                                    << Reason::MissingColumns << "Frequency";
    QTest::newRow("CHIRP header without Location") << QByteArray("# x\nName,Frequency\nx,146.52\n") << 2 << ""
                                                   << Reason::MissingColumns << "Location";
    QTest::newRow("DTCS without a DtcsCode column") << QByteArray("Location,Frequency,Tone\n1,146.52,DTCS\n") << 2
                                                    << "Tone" << Reason::MissingColumns << "DtcsCode";
    QTest::newRow("Cross without a RxDtcsCode column")
        << QByteArray("Location,Frequency,Tone,CrossMode,DtcsCode\n1,146.52,Cross,DTCS->DTCS,023\n") << 2
        << "CrossMode" << Reason::MissingColumns << "RxDtcsCode";
    QTest::newRow("duplex without an Offset column") << QByteArray("Location,Frequency,Duplex\n1,146.52,+\n") << 2
                                                     << "Duplex" << Reason::MissingColumns << "Offset";
    QTest::newRow("bad tone in the one tone column, named as written")
        << QByteArray("Location,Frequency,Tone,cToneFreq,CrossMode\n1,146.52,Cross,88.6,Tone->Tone\n") << 2
        << "cToneFreq" << Reason::BadTone << "88.6";
    QTest::newRow("D1023N") << kCsv + "1,145.0,,D1023N,,\n" << 2 << "QT/DQT Dec" << Reason::BadTone << "D1023N";
    QTest::newRow("D24N is not listed") << kCsv + "1,145.0,,,D24N,\n" << 2 << "QT/DQT Enc" << Reason::BadTone
                                        << "D24N";
}

void ChirpReadingTest::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, column);
    QFETCH(Reason, reason);
    QFETCH(QString, value);
    const ParseResult plan = parseFile(file, plantest::band());
    QVERIFY(!plan.ok());
    QVERIFY(plan.rows.isEmpty());
    QCOMPARE(plan.errors.size(), 1);
    QCOMPARE(plan.errors.first().reason, reason);
    QCOMPARE(plan.errors.first().line, line);
    QCOMPARE(plan.errors.first().column, column);
    QCOMPARE(plan.errors.first().value, value);
}

// CHIRP skips a row with an empty Frequency; the import does too and names it.
void ChirpReadingTest::rowWithoutFrequencySkipped()
{
    const ParseResult plan = parseFile(kChirp + "3,,,,,,,,,,,,\n4,,146.0,,,,,,,,,,FM\n5,,  ,+,0.6,Tone,1,,,,,,AM\n",
                                       plantest::band());
    QVERIFY2(plan.ok(), qPrintable(firstError(plan)));
    QCOMPARE(summary(plan), QStringList{"4: 146.00000 146.00000 None None"});
    QCOMPARE(plan.warnings.size(), 2);
    QCOMPARE(plan.warnings.at(0).line, 2);
    QCOMPARE(plan.warnings.at(1).line, 4);
    QCOMPARE(texts::planErrorText(plan.warnings.at(0), plantest::band()), QStringLiteral("line 2, Frequency: no frequency: the row is skipped"));

    // Nothing but such rows: no channel, and the skipped rows still named.
    const ParseResult none = parseFile(kChirp + "3,,,,,,,,,,,,\n", plantest::band());
    QCOMPARE(none.errors.size(), 1);
    QCOMPARE(none.errors.first().reason, Reason::NoRows);
    QCOMPARE(none.warnings.size(), 1);
}

void ChirpReadingTest::messagesNameTheCells_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::newRow("offset above the band")
        << kChirp + "1,,145.0,+,20.000000,,,,,,,,FM\n"
        << "line 2: Offset 20.000000 with Duplex + gives a transmit frequency of 165.00000 MHz, outside the band "
           "130.00000 to 160.00000 MHz";
    QTest::newRow("offset below the band")
        << kChirp + "1,,130.5,-,1.0,,,,,,,,FM\n"
        << "line 2: Offset 1.0 with Duplex - gives a transmit frequency of 129.50000 MHz, outside the band "
           "130.00000 to 160.00000 MHz";
    QTest::newRow("offset below zero")
        << kChirp + "1,,130.5,-,200,,,,,,,,FM\n"
        << "line 2: Offset 200 with Duplex - gives a transmit frequency of -69.50000 MHz, outside the band "
           "130.00000 to 160.00000 MHz";
    QTest::newRow("offset off the steps")
        << kChirp + "1,,146.52,+,0.00625,,,,,,,,FM\n"
        << "line 2: Offset 0.00625 with Duplex + gives a transmit frequency of 146.52625 MHz, not on a 5 kHz or "
           "6.25 kHz step";
    QTest::newRow("split names its Offset as the frequency")
        << kChirp + "1,,146.52,split,170,,,,,,,,FM\n"
        << "line 2, Offset: 170.00000 MHz is outside the band 130.00000 to 160.00000 MHz";
    QTest::newRow("mode") << kChirp + "1,,146.52,,,,,,,,,,AM\n"
                          << "line 2, Mode: \"AM\" is not a mode the radio works in (FM or NFM)";
    QTest::newRow("short row") << kCsv + "4,150.0125\n"
                               << "line 2: missing from the row: Tx Frequency, QT/DQT Dec, QT/DQT Enc, Busy Lock";
    QTest::newRow("incomplete header") << QByteArray("CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc\n")
                                       << "line 1: missing from the header: Busy Lock";
    QTest::newRow("a megabyte cell is quoted short")
        << kCsv + "1," + QByteArray(100000, '7') + ",,,,\n"
        << "line 2, Rx Frequency: " + QString(40, QLatin1Char('7')) + "... MHz is outside the band 130.00000 to "
           "160.00000 MHz";
    // Refusals of the channel-table format read the same way.
    QTest::newRow("out of band") << kCsv + "1,145.0,,,,\n2,520.0,,,,\n"
                                 << "line 3, Rx Frequency: 520.00000 MHz is outside the band 130.00000 to 160.00000 MHz";
    QTest::newRow("duplicate") << kCsv + "9,145.0,,,,\n9,146.0,,,,\n"
                               << "line 3, CH: channel 9 is already listed on line 2";
    QTest::newRow("tone") << kCsv + "1,145.0,,D024N,,\n" << "line 2, QT/DQT Dec: \"D024N\" is not a tone of the tone list";
    QTest::newRow("binary") << QByteArray("\x00\x01", 2) << "not a text file";
    QTest::newRow("transmit off") << QByteArray(kChirp).replace(",Mode", "") + "1,,145.0,off,0,,88.5,88.5,023,NN,023,\n"
                                  << "line 2, Duplex: transmit off cannot be stored: every channel has a transmit frequency";
}

void ChirpReadingTest::messagesNameTheCells()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    const ParseResult plan = parseFile(file, plantest::band());
    QCOMPARE(plan.errors.size(), 1);
    QCOMPARE(texts::planErrorText(plan.errors.first(), plantest::band()), message);
}

// Tone bytes off the tone list and half-empty channels are named and left
// out; every other channel is written as before.
void ChirpReadingTest::exportLeavesOutWhatCannotBeRead()
{
    ChannelTable table;
    for (const int row : {2, 5, 6, 7})
        setCells(table, row, {"146.52000", "146.52000", "None", "67.0", "Yes"});
    MemoryImage image = MemoryImage::newImage();
    table.encode(image);
    namespace ch = layout::channel;
    image.channel(5)[ch::kDecodeToneHigh] = 0x8A;  // D1023N
    image.channel(5)[ch::kDecodeToneLow] = 0x23;
    image.channel(5)[ch::kEncodeToneHigh] = 0x80;  // D05N
    image.channel(5)[ch::kEncodeToneLow] = 0x05;
    std::fill_n(image.channel(6) + ch::kTxFrequency, 4, std::uint8_t(0xFF));  // no transmit frequency
    image.channel(7)[ch::kEncodeToneHigh] = 0x7F;  // 860.0 Hz
    image.channel(7)[ch::kEncodeToneLow] = 0xA0;
    QCOMPARE(plantest::decoded(image).cell(7, ChannelTable::ColEncode), QStringLiteral("860.0"));

    QList<LeftOut> leftOut;
    const QString csv = QString::fromUtf8(writeChirpCsv(image, &leftOut));
    QStringList named;
    for (const LeftOut& channel : leftOut)
        named << texts::leftOutText(channel);
    QCOMPARE(named, (QStringList{
                        "channel 5, QT/DQT Dec: \"D1023N\" is not a tone of the tone list; left out of the CHIRP file",
                        "channel 5, QT/DQT Enc: \"D05N\" is not a tone of the tone list; left out of the CHIRP file",
                        "channel 6, Tx Frequency: the channel has no transmit frequency; left out of the CHIRP file",
                        "channel 7, QT/DQT Enc: \"860.0\" is not a tone of the tone list; left out of the CHIRP file",
                    }));
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(1).startsWith(QLatin1String("2,")));
    QVERIFY(!csv.contains(QLatin1String("1023")));

    // Nothing to leave out: a complete file, the list emptied.
    QVERIFY(!writeChirpCsv(MemoryImage::newImage(), &leftOut).isEmpty());
    QVERIFY(leftOut.isEmpty());
}

// CHIRP's reader refuses a row with an empty Power, tone, code, polarity,
// cross mode, mode or step: none may be empty, and Power is not written.
void ChirpReadingTest::exportHasNoEmptyRequiredCell()
{
    const QStringList required{"Location", "Frequency", "rToneFreq", "cToneFreq", "DtcsCode",
                               "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep"};
    QRandomGenerator random(517);
    for (int i = 0; i < 30; ++i) {
        const MemoryImage image = plantest::randomPlanImage(random, plantest::band());
        QList<LeftOut> leftOut;
        QList<csvtext::Record> records;
        QVERIFY(csvtext::split(QString::fromUtf8(writeChirpCsv(image, &leftOut)), QLatin1Char(','), &records, nullptr));
        QVERIFY(leftOut.isEmpty());
        const QStringList header = records.takeFirst().cells;
        QVERIFY(!header.contains(QLatin1String("Power")));
        for (const csvtext::Record& record : records) {
            QCOMPARE(record.cells.size(), header.size());
            for (const QString& name : required)
                QVERIFY2(!record.cells.at(header.indexOf(name)).isEmpty(), qPrintable(name));
        }
    }
}

// A long cell of blanks, a letter, then quotes that open nothing: the cell
// comes back whole (the splitter once rescanned the cell at every quote).
void ChirpReadingTest::splitterWorstCase()
{
    const QString cell = QString(100000, QLatin1Char(' ')) + QLatin1Char('x') + QString(100000, QLatin1Char('"'));
    QList<csvtext::Record> records;
    int badLine = 0;
    QVERIFY(csvtext::split(QStringLiteral("a,b\n1,") + cell + QStringLiteral("\n2,\"q\"\"\"\r3"),
                           QLatin1Char(','), &records, &badLine));
    QCOMPARE(records.size(), 4);
    QCOMPARE(records.at(1).cells, (QStringList{"1", cell}));
    QCOMPARE(records.at(2).cells, (QStringList{"2", "q\""}));
    QCOMPARE(records.at(3).line, 4);

    // The same cell in a plan: refused as not a frequency, the message short.
    const ParseResult plan = parseFile(kCsv + "1," + cell.toLatin1() + ",,,,\n", plantest::band());
    QCOMPARE(plan.errors.size(), 1);
    QCOMPARE(plan.errors.first().reason, Reason::NotANumber);
    QVERIFY(plan.errors.first().value.size() < 50);
}

int runChirpReadingTests(int argc, char** argv)
{
    ChirpReadingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ChirpReading.moc"
