// kq517 import, export --format chirp and diff, run as the user runs them,
// from a program directory whose settings file names a 130-160 MHz band.

#include <QtTest>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "codeplug/ChannelTable.h"
#include "tests/support/TestSupport.h"
#include "codeplug/MemoryImage.h"
#include "tests/support/ChildRun.h"

namespace {

// An image with channels 1 and 3 typed in, beside the new image's defaults.
MemoryImage planImage()
{
    MemoryImage image = MemoryImage::newImage();
    ChannelTable table;
    const QStringList one = {"145.00000", "145.60000", "67.0", "D023N", "No"};
    const QStringList three = {"150.00625", "150.00625", "None", "D754I", "Yes"};
    for (int col = 1; col <= 5; ++col) {
        table.setCell(1, col, one.at(col - 1));
        table.setCell(3, col, three.at(col - 1));
    }
    table.encode(image);
    image.set(layout::channelOffset(3) + 14, 0x5A);  // a reserved byte an import must keep
    return image;
}

const QByteArray kCsvHeader = "CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n";

}  // namespace

class ImportDiffTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void importIntoBase();
    void importIntoNewImage();
    void refusedWhole();
    void chirpThroughTheCommandLine();
    void diffAgreeAndDiffer();
    void errors_data();
    void errors();
    void refusalsWordedAsBefore_data();
    void refusalsWordedAsBefore();
    void cellsInAModulesWords();

private:
    Run kq517(const QStringList& args) { return runProgram(m_program, args); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QString m_program;
};

void ImportDiffTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_program = path(QStringLiteral("kq517"));
    QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/kq517"), m_program));
    QVERIFY(writeFile(path(QStringLiteral("KQ-517.ini")), "[Setup]\r\nType1=KQ-517\r\nField1=130 - 160MHz\r\n"));
    QVERIFY(planImage().saveFile(path(QStringLiteral("base.dat"))));
    QVERIFY(writeFile(path(QStringLiteral("binary.csv")), QByteArray("\x00\x01\x02\x03", 4)));
    MemoryImage unnamed = planImage();
    unnamed.set(layout::kModelIndex, 5);  // the settings file names one model only
    QVERIFY(unnamed.saveFile(path(QStringLiteral("unnamed-model.dat"))));
}

// Channel 3 replaced, channel 2 created; every other byte is the base's.
void ImportDiffTest::importIntoBase()
{
    QVERIFY(writeFile(path(QStringLiteral("in.csv")),
                      kCsvHeader + "3,146.00000,146.60000,None,None,\n2,155.00000,,D023I,,\n"));
    const QString out = path(QStringLiteral("into-base.dat"));
    const Run run = kq517({"import", path("in.csv"), "--base", path("base.dat"), "-o", out});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);

    const MemoryImage base = planImage();
    MemoryImage result;
    QVERIFY(result.loadFile(out));
    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        const int ch = offset / layout::kRowSize;
        if ((ch == 2 || ch == 3) && offset % layout::kRowSize <= layout::channel::kFlags)
            continue;
        QCOMPARE(result.at(offset), base.at(offset));
    }
    ChannelTable table;
    table.decode(result);
    const QStringList three = {table.cell(3, 1), table.cell(3, 2), table.cell(3, 3), table.cell(3, 4), table.cell(3, 5)};
    QCOMPARE(three, (QStringList{"146.00000", "146.60000", "None", "None", "Yes"}));
    const QStringList two = {table.cell(2, 1), table.cell(2, 2), table.cell(2, 3), table.cell(2, 4), table.cell(2, 5)};
    QCOMPARE(two, (QStringList{"155.00000", "155.00000", "D023I", "None", "Yes"}));
}

void ImportDiffTest::importIntoNewImage()
{
    QVERIFY(writeFile(path(QStringLiteral("one.csv")), kCsvHeader + "16,130.00000,160.00000,254.1,67.0,No\n"));
    const QString out = path(QStringLiteral("new.dat"));
    const Run run = kq517({"import", path("one.csv"), "-o", out});
    QCOMPARE(run.exitCode, 0);
    MemoryImage result;
    QVERIFY(result.loadFile(out));
    const MemoryImage fresh = MemoryImage::newImage();
    for (int offset = 0; offset < layout::channelOffset(16); ++offset)
        QCOMPARE(result.at(offset), fresh.at(offset));
    ChannelTable table;
    table.decode(result);
    QCOMPARE(table.cell(16, ChannelTable::ColTx), QStringLiteral("160.00000"));
    QCOMPARE(table.cell(16, ChannelTable::ColBusy), QStringLiteral("No"));
}

// One row outside the band: nothing written, an existing OUT kept whole, and
// every bad row named.
void ImportDiffTest::refusedWhole()
{
    QVERIFY(writeFile(path(QStringLiteral("bad.csv")), kCsvHeader + "1,145.00000,,,,\n"
                                                                    "2,146.00000,,,,\n"
                                                                    "3,175.00000,,,,\n"
                                                                    "4,147.00000,,67.3,,\n"));
    const QString out = path(QStringLiteral("kept.dat"));
    QVERIFY(writeFile(out, "an older file"));
    const Run run = kq517({"import", path("bad.csv"), "--base", path("base.dat"), "-o", out});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(readFile(out), QByteArray("an older file"));
    const QList<QByteArray> lines = run.err.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).startsWith("kq517: ") && lines.at(0).contains("line 4, Rx Frequency") &&
                 lines.at(0).contains("175.00000") && lines.at(0).contains("130.00000 to 160.00000"),
             lines.at(0).constData());
    QVERIFY2(lines.at(1).contains("line 5, QT/DQT Dec") && lines.at(1).contains("67.3"), lines.at(1).constData());

    const QString fresh = path(QStringLiteral("never.dat"));
    QCOMPARE(kq517({"import", path("bad.csv"), "-o", fresh}).exitCode, 1);
    QVERIFY(!QFileInfo::exists(fresh));
}

// Export as CHIRP CSV, import onto the same base: the same file again.
void ImportDiffTest::chirpThroughTheCommandLine()
{
    const QString chirp = path(QStringLiteral("plan.chirp.csv"));
    const Run exported = kq517({"export", path("base.dat"), "--format", "chirp", "-o", chirp});
    QCOMPARE(exported.exitCode, 0);
    const QList<QByteArray> lines = readFile(chirp).split('\n');
    QVERIFY(lines.at(0).startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
    QVERIFY2(lines.at(1).startsWith("1,,145.000000,+,0.600000,Cross,"), lines.at(1).constData());
    QVERIFY2(lines.at(2).startsWith("3,,150.006250,,0.000000,Cross,"), lines.at(2).constData());
    QCOMPARE(lines.size(), 4);  // header, two channels, nothing after the last newline

    const QString out = path(QStringLiteral("from-chirp.dat"));
    QCOMPARE(kq517({"import", chirp, "--base", path("base.dat"), "-o", out}).exitCode, 0);
    QCOMPARE(readFile(out), readFile(path("base.dat")));
    const Run same = kq517({"diff", path("base.dat"), out});
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.out, QByteArray());
}

void ImportDiffTest::diffAgreeAndDiffer()
{
    MemoryImage changed = planImage();
    changed.set(layout::kSquelchLevel, 7);
    changed.set(layout::channelOffset(1) + layout::channel::kFlags, 0xFA);  // busy lock on
    QVERIFY(changed.saveFile(path(QStringLiteral("changed.dat"))));
    const Run run = kq517({"diff", path("base.dat"), path("changed.dat")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.out, QByteArray("Channel 1, Busy Lock: No | Yes\nSquelch Level: 4 | 7\n"));
}

void ImportDiffTest::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("mentions");
    const QString csv = path(QStringLiteral("in.csv"));
    const QString out = path(QStringLiteral("error-out.dat"));
    const QString missing = path(QStringLiteral("missing.dat"));
    QTest::newRow("import without -o") << QStringList{"import", csv} << 2 << "option -o is required";
    QTest::newRow("import without a plan") << QStringList{"import", "-o", out} << 2 << "needs IN.csv";
    QTest::newRow("import, two plans") << QStringList{"import", csv, csv, "-o", out} << 2 << "only IN.csv";
    QTest::newRow("import, unknown option") << QStringList{"import", csv, "-o", out, "--force"} << 2 << "--force";
    QTest::newRow("import, --base twice") << QStringList{"import", csv, "--base", csv, "--base", csv, "-o", out} << 2
                                          << "--base";
    QTest::newRow("import, missing plan") << QStringList{"import", path("missing.csv"), "-o", out} << 1
                                          << "missing.csv";
    QTest::newRow("import, missing base") << QStringList{"import", csv, "--base", missing, "-o", out} << 1
                                          << "missing.dat";
    QTest::newRow("import, binary plan") << QStringList{"import", path("binary.csv"), "-o", out} << 1
                                         << "not a text file";
    QTest::newRow("import, base of a model without a band")
        << QStringList{"import", csv, "--base", path("unnamed-model.dat"), "-o", out} << 1 << "no band for model 5";
    QTest::newRow("diff, one file") << QStringList{"diff", path("base.dat")} << 2 << "needs A.dat B.dat";
    QTest::newRow("diff, missing file") << QStringList{"diff", path("base.dat"), missing} << 2 << "missing.dat";
    QTest::newRow("diff, unknown option") << QStringList{"diff", "-q", path("base.dat"), path("base.dat")} << 2
                                          << "-q";
}

void ImportDiffTest::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, mentions);
    const Run run = kq517(args);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(run.err.startsWith("kq517: ") && run.err.count('\n') == 1, run.err.constData());
    QVERIFY2(QString::fromUtf8(run.err).contains(mentions), run.err.constData());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("error-out.dat"))));
}

// The reasons a plan is refused, word for word as the command line has
// always printed them; only a cell holding "%1" is now quoted as written.
void ImportDiffTest::refusalsWordedAsBefore_data()
{
    QTest::addColumn<QByteArray>("plan");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("channel CSV")
        << kCsvHeader + "1,145.00000,,,,\n3,175.00000,,,,\n4,147.00000,,67.3,,\n\"%1\",146.5,,,,\n5,146.5,,,,maybe\n"
                        "5,146.5,,,,\n6,146.5,146.5,None,None,No,x\n7,146.50001,,,,\n8,,146.5,,,\n9,146.5,,D999N,,\n"
        << QStringList{
               "line 3, Rx Frequency: 175.00000 MHz is outside the band 130.00000 to 160.00000 MHz",
               "line 4, QT/DQT Dec: \"67.3\" is not a tone of the tone list",
               "line 5, CH: \"%1\" is not a channel from 1 to 16",
               "line 6, Busy Lock: \"maybe\" is neither Yes nor No",
               "line 7, CH: channel 5 is already listed on line 6",
               "line 8: 7 cells, at most 6 expected",
               "line 9, Rx Frequency: 146.50001 MHz is not on a 5 kHz or 6.25 kHz step",
               "line 10, Tx Frequency: \"146.5\" given for a channel without a receive frequency",
               "line 11, QT/DQT Dec: \"D999N\" is not a tone of the tone list"};
    QTest::newRow("CHIRP CSV")
        << QByteArray("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode\n"
                      "1,,145.0,+,20.0,,88.5,88.5,023,NN,FM\n2,,145.0,x,0,,88.5,88.5,023,NN,AM\n"
                      "3,,145.0,,0,Bogus,88.5,88.5,023,NN,FM\n4,,,,0,,88.5,88.5,023,NN,FM\n"
                      "5,,145.0,+,0.0033,,88.5,88.5,023,QQ,FM\n")
        << QStringList{"line 2: Offset 20.0 with Duplex + gives a transmit frequency of 165.00000 MHz, outside the band "
                       "130.00000 to 160.00000 MHz",
                       "line 3, Duplex: \"x\" is not a duplex (blank, +, - or split)",
                       "line 3, Mode: \"AM\" is not a mode the radio works in (FM or NFM)",
                       "line 4, Tone: \"Bogus\" is not a tone mode (blank, Tone, TSQL, DTCS or Cross)",
                       "line 6: Offset 0.0033 with Duplex + gives a transmit frequency of 145.00330 MHz, not on a 5 kHz "
                       "or 6.25 kHz step"};
    QTest::newRow("unknown header")
        << QByteArray("Foo,Bar\n1,2\n")
        << QStringList{"line 1: the first line is neither a channel CSV header (CH,Rx Frequency,...) nor a CHIRP CSV "
                       "header (Location,Name,...)"};
    QTest::newRow("incomplete header") << QByteArray("CH,Rx Frequency\n1,145\n")
                                       << QStringList{"line 1: missing from the header: Tx Frequency, QT/DQT Dec, "
                                                      "QT/DQT Enc, Busy Lock"};
    QTest::newRow("open quote") << kCsvHeader + "1,\"145\n"
                                << QStringList{"line 2: a quoted cell is never closed"};
}

void ImportDiffTest::refusalsWordedAsBefore()
{
    QFETCH(QByteArray, plan);
    QFETCH(QStringList, expected);
    const QString in = path(QStringLiteral("refused.csv"));
    QVERIFY(writeFile(in, plan));
    const Run run = kq517({"import", in, "-o", path(QStringLiteral("refused.dat"))});
    QCOMPARE(run.exitCode, 1);
    QStringList lines;
    for (const QString& reason : expected)
        lines << QStringLiteral("kq517: import: %1: %2").arg(in, reason);
    QCOMPARE(QString::fromUtf8(run.err), lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

// A plan written in the Chinese module's words imports as the English one
// does when that module is beside the program, and is refused without it.
void ImportDiffTest::cellsInAModulesWords()
{
    const QByteArray english = kCsvHeader + "1,145.00000,145.60000,67.0,D023N,No\n"
                                            "3,150.00625,150.00625,None,D754I,Yes\n";
    const QByteArray chinese = QStringLiteral("信道,接收频率,发射频率,QT/DQT解码,QT/DQT编码,繁忙锁定\n"
                                              "1,145.00000,145.60000,67.0,D023N,关\n"
                                              "3,150.00625,150.00625,无,D754I,开\n")
                                   .toUtf8();
    QVERIFY(writeFile(path(QStringLiteral("english.csv")), english));
    QVERIFY(writeFile(path(QStringLiteral("chinese.csv")), chinese));
    const QString fromEnglish = path(QStringLiteral("from-english.dat"));
    QCOMPARE(kq517({"import", path("english.csv"), "-o", fromEnglish}).exitCode, 0);

    const Run without = kq517({"import", path("chinese.csv"), "-o", path(QStringLiteral("from-chinese.dat"))});
    QCOMPARE(without.exitCode, 1);
    QVERIFY2(without.err.contains("neither a channel CSV header"), without.err.constData());

    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("modules")));
    const QString dir = path(QStringLiteral("modules"));
    QVERIFY(QFile::copy(m_program, dir + QStringLiteral("/kq517")));
    QVERIFY(QFile::copy(path(QStringLiteral("KQ-517.ini")), dir + QStringLiteral("/KQ-517.ini")));
    QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/Chinese517.rcc"), dir + QStringLiteral("/Chinese517.rcc")));
    const QString fromChinese = dir + QStringLiteral("/from-chinese.dat");
    const Run with = runProgram(dir + QStringLiteral("/kq517"), {"import", path("chinese.csv"), "-o", fromChinese});
    QCOMPARE(with.err, QByteArray());
    QCOMPARE(with.exitCode, 0);
    QCOMPARE(readFile(fromChinese), readFile(fromEnglish));

    // A third language's module brings its own words.
    const QByteArray third = "Canal,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n"
                             "1,145.00000,145.60000,67.0,D023N,Non\n"
                             "3,150.00625,150.00625,Nada,D754I,Si\n";
    QVERIFY(writeFile(path(QStringLiteral("third.csv")), third));
    const QString fromThird = dir + QStringLiteral("/from-third.dat");
    QCOMPARE(runProgram(dir + QStringLiteral("/kq517"), {"import", path("third.csv"), "-o", fromThird}).exitCode, 1);
    QVERIFY(QFile::copy(QStringLiteral(KQ517_THIRD_MODULE), dir + QStringLiteral("/Third517.rcc")));
    const Run withThird = runProgram(dir + QStringLiteral("/kq517"), {"import", path("third.csv"), "-o", fromThird});
    QCOMPARE(withThird.err, QByteArray());
    QCOMPARE(readFile(fromThird), readFile(fromEnglish));
}

QTEST_GUILESS_MAIN(ImportDiffTest)

#include "tst_ImportDiff.moc"
