// Channel plans that are refused whole: one row per reason, every bad row
// named with its line and column.

#include <QtTest>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "texts/PlanReasons.h"
#include "PlanTestImages.h"
#include "codeplug/ChannelPlan.h"

using namespace channelplan;

Q_DECLARE_METATYPE(channelplan::Reason)

namespace {

const QByteArray kCsv = "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n";
const QByteArray kChirp = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                          "DtcsPolarity,RxDtcsCode,CrossMode\n";

}  // namespace

class PlanRefusalsTest : public QObject {
    Q_OBJECT

private slots:
    void refused_data();
    void refused();
    void everyBadRowNamed();
    void clipboardRefusals_data();
    void clipboardRefusals();
};

void PlanRefusalsTest::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("column");
    QTest::addColumn<Reason>("reason");

    QTest::newRow("NUL bytes") << kCsv + QByteArray("1,145.0,\0,,,", 12) << 0 << "" << Reason::NotText;
    QTest::newRow("not UTF-8") << QByteArray("\xFF\xFE\x43\x00\x48\x00") << 0 << "" << Reason::NotText;
    QTest::newRow("control bytes") << kCsv + "1,145.0\x01,,,," << 0 << "" << Reason::NotText;
    QTest::newRow("empty") << QByteArray() << 0 << "" << Reason::Empty;
    QTest::newRow("blank lines") << QByteArray("\n \r\n,,\n") << 0 << "" << Reason::Empty;
    QTest::newRow("unknown header") << QByteArray("\nChannel,Freq\n1,145.0\n") << 2 << "" << Reason::UnknownHeader;
    QTest::newRow("header only") << kCsv << 0 << "" << Reason::NoRows;
    QTest::newRow("unclosed quote") << kCsv + "1,145.0,,,,\n2,\"150.0,,,,\n3,,,,,\n" << 3 << "" << Reason::Unparsable;
    QTest::newRow("seven cells") << kCsv + "1,145.0,145.0,None,None,Yes,extra\n" << 2 << "" << Reason::WrongCellCount;
    QTest::newRow("channel 0") << kCsv + "0,145.0,,,,\n" << 2 << "CH" << Reason::BadChannel;
    QTest::newRow("channel 17") << kCsv + "17,145.0,,,,\n" << 2 << "CH" << Reason::BadChannel;
    QTest::newRow("channel 1.5") << kCsv + "1.5,145.0,,,,\n" << 2 << "CH" << Reason::BadChannel;
    QTest::newRow("CHIRP location 0") << kChirp + "0,,145.0,,0,,88.5,88.5,023,NN,023,\n" << 2 << "Location"
                                      << Reason::BadChannel;
    QTest::newRow("duplicate channel") << kCsv + "3,145.0,,,,\n4,146.0,,,,\n3,147.0,,,,\n" << 4 << "CH"
                                       << Reason::DuplicateChannel;
    QTest::newRow("unit in the frequency") << kCsv + "1,145.0MHz,,,,\n" << 2 << "Rx Frequency" << Reason::NotANumber;
    QTest::newRow("exponent") << kCsv + "1,1.45e2,,,,\n" << 2 << "Rx Frequency" << Reason::NotANumber;
    QTest::newRow("negative") << kCsv + "1,145.0,-145.0,,,\n" << 2 << "Tx Frequency" << Reason::NotANumber;
    QTest::newRow("above the band") << kCsv + "1,160.00500,,,,\n" << 2 << "Rx Frequency" << Reason::OutOfBand;
    QTest::newRow("below the band") << kCsv + "1,145.0,129.99500,,,\n" << 2 << "Tx Frequency" << Reason::OutOfBand;
    QTest::newRow("far too large") << kCsv + "1,99999.0,,,,\n" << 2 << "Rx Frequency" << Reason::OutOfBand;
    QTest::newRow("CHIRP offset below the band") << kChirp + "1,,130.5,-,1.0,,88.5,88.5,023,NN,023,\n" << 2
                                                 << "Offset" << Reason::OffsetOutOfBand;
    QTest::newRow("off step") << kCsv + "1,145.003,,,,\n" << 2 << "Rx Frequency" << Reason::OffStep;
    QTest::newRow("below 10 Hz") << kCsv + "1,145.000001,,,,\n" << 2 << "Rx Frequency" << Reason::OffStep;
    QTest::newRow("tone on an empty channel") << kCsv + "5,,,67.0,,\n" << 2 << "QT/DQT Dec" << Reason::TxWithoutRx;
    QTest::newRow("tx on an empty channel") << kCsv + "5,,145.0,,,\n" << 2 << "Tx Frequency" << Reason::TxWithoutRx;
    QTest::newRow("CTCSS not in the list") << kCsv + "1,145.0,,67.1,,\n" << 2 << "QT/DQT Dec" << Reason::BadTone;
    QTest::newRow("DCS not in the list") << kCsv + "1,145.0,,,D024N,\n" << 2 << "QT/DQT Enc" << Reason::BadTone;
    QTest::newRow("CHIRP DCS not in the list") << kChirp + "1,,145.0,,0,DTCS,88.5,88.5,024,NN,023,\n" << 2
                                               << "DtcsCode" << Reason::BadTone;
    QTest::newRow("CHIRP CTCSS not in the list") << kChirp + "1,,145.0,,0,TSQL,88.5,88.6,023,NN,023,\n" << 2
                                                 << "cToneFreq" << Reason::BadTone;
    QTest::newRow("busy lock maybe") << kCsv + "1,145.0,,,,Maybe\n" << 2 << "Busy Lock" << Reason::BadBusyLock;
    QTest::newRow("CHIRP duplex") << kChirp + "1,,145.0,x,0,,88.5,88.5,023,NN,023,\n" << 2 << "Duplex"
                                  << Reason::BadDuplex;
    QTest::newRow("CHIRP transmit off") << kChirp + "1,,145.0,off,0,,88.5,88.5,023,NN,023,\n" << 2 << "Duplex"
                                        << Reason::TransmitOff;
    QTest::newRow("CHIRP tone mode") << kChirp + "1,,145.0,,0,Tone2,88.5,88.5,023,NN,023,\n" << 2 << "Tone"
                                     << Reason::BadToneMode;
    QTest::newRow("CHIRP cross mode") << kChirp + "1,,145.0,,0,Cross,88.5,88.5,023,NN,023,Tone=>DTCS\n" << 2
                                      << "CrossMode" << Reason::BadCrossMode;
    QTest::newRow("CHIRP empty cross mode") << kChirp + "1,,145.0,,0,Cross,88.5,88.5,023,NN,023,->\n" << 2
                                            << "CrossMode" << Reason::BadCrossMode;
    QTest::newRow("CHIRP polarity") << kChirp + "1,,145.0,,0,DTCS,88.5,88.5,023,NX,023,\n" << 2 << "DtcsPolarity"
                                    << Reason::BadPolarity;
}

void PlanRefusalsTest::refused()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(QString, column);
    QFETCH(Reason, reason);
    const ParseResult plan = parseFile(file, plantest::band());
    QVERIFY(!plan.ok());
    QVERIFY(plan.rows.isEmpty());
    QCOMPARE(plan.errors.size(), 1);
    QCOMPARE(plan.errors.first().reason, reason);
    QCOMPARE(plan.errors.first().line, line);
    QCOMPARE(plan.errors.first().column, column);
}

// Good rows do not hide bad ones: each bad row is named, in line order.
void PlanRefusalsTest::everyBadRowNamed()
{
    const QByteArray file = kCsv + "1,145.0,,,,\n"
                                   "2,520.0,,,,\n"
                                   "3,146.0,,,,\n"
                                   "\n"
                                   "4,146.0,,77.7,,\n"
                                   "5,147.0,,,,Yes\n"
                                   "6,147.0,147.001,,,Nope\n";
    const ParseResult plan = parseFile(file, plantest::band());
    QVERIFY(plan.rows.isEmpty());
    QList<int> lines;
    QStringList columns;
    for (const PlanError& error : plan.errors) {
        lines << error.line;
        columns << error.column;
    }
    QCOMPARE(lines, (QList<int>{3, 6, 8, 8}));
    QCOMPARE(columns, (QStringList{"Rx Frequency", "QT/DQT Dec", "Tx Frequency", "Busy Lock"}));
}

void PlanRefusalsTest::clipboardRefusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<Reason>("reason");
    QTest::newRow("nothing") << QString() << 0 << Reason::Empty;
    QTest::newRow("header only") << "CH\tRx Frequency\tTx Frequency\tQT/DQT Dec\tQT/DQT Enc\tBusy Lock\n" << 0
                                 << Reason::NoRows;
    QTest::newRow("words from elsewhere") << "hello world\n" << 1 << Reason::BadChannel;
    QTest::newRow("comma separated") << "1,145.0,145.0,None,None,Yes\n" << 1 << Reason::BadChannel;
    QTest::newRow("second row out of band") << "1\t145.0\t\t\t\t\n2\t175.0\t\t\t\t\n" << 2 << Reason::OutOfBand;
}

void PlanRefusalsTest::clipboardRefusals()
{
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(Reason, reason);
    const ParseResult plan = parseTabSeparated(text, plantest::band());
    QVERIFY(plan.rows.isEmpty());
    QVERIFY(!plan.errors.isEmpty());
    QCOMPARE(plan.errors.first().reason, reason);
    QCOMPARE(plan.errors.first().line, line);
}

int runPlanRefusalsTests(int argc, char** argv)
{
    PlanRefusalsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PlanRefusals.moc"
