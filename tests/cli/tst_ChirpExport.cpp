// kq517 export --format chirp read the way CHIRP's own reader reads a file
// (chirp_csv_rules.py, written from CHIRP's published format and reader
// rules): every row accepted, every channel meaning what `kq517 show` shows;
// channels the format cannot hold named, with exit status 3; and rows
// CHIRP skips skipped on import with a warning.

#include <QtTest>

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "codeplug/ChannelTable.h"
#include "tests/support/TestSupport.h"
#include "codeplug/Codecs.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "tests/codeplug/PlanTestImages.h"
#include "tests/support/ChildRun.h"

namespace {

// The channels in use of image as the checker prints them: "LOCATION RX_HZ
// TX_HZ TX_TONE RX_TONE", frequencies in hertz.
QStringList shownChannels(const MemoryImage& image)
{
    const ChannelTable table = plantest::decoded(image);
    QStringList lines;
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        if (!codec::channelInUse(image.channel(row)))
            continue;
        const auto hertz = [&](int col) {
            return QString::number(codec::decimalProduct(table.cell(row, col), codec::kFrequencyFactor) * 10);
        };
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(QString::number(row), hertz(ChannelTable::ColRx), hertz(ChannelTable::ColTx),
                          table.cell(row, ChannelTable::ColEncode), table.cell(row, ChannelTable::ColDecode));
    }
    return lines;
}

}  // namespace

class ChirpExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomImagesReadByChirpRules();
    void demoFileReadByChirpRules();
    void incompleteExport_data();
    void incompleteExport();
    void importSkipsRowsWithoutFrequency();

private:
    // The checker's verdict on a file: its channel lines, or a failure.
    QStringList chirpReads(const QString& csvPath);

    QString m_python;
    QTemporaryDir m_dir;
};

void ChirpExportTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_python = QStandardPaths::findExecutable(QStringLiteral("python3"));
}

QStringList ChirpExportTest::chirpReads(const QString& csvPath)
{
    const Run check = runProgram(m_python, {QStringLiteral(KQ517_SOURCE_DIR "/tests/cli/chirp_csv_rules.py"), csvPath});
    if (check.exitCode != 0) {
        QTest::qFail(("CHIRP's rules refuse the file: " + check.err).constData(), __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(check.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void ChirpExportTest::randomImagesReadByChirpRules()
{
    if (m_python.isEmpty())
        QSKIP("python3 is not installed: CHIRP's reading rules cannot be checked");
    QRandomGenerator random(2517);
    const QString dat = m_dir.filePath(QStringLiteral("random.dat"));
    const QString csv = m_dir.filePath(QStringLiteral("random.csv"));
    for (int i = 0; i < 12; ++i) {
        const MemoryImage image = plantest::randomPlanImage(random, plantest::band());
        ImageFileProblem error;
        QVERIFY2(image.saveFile(dat, &error), qPrintable(error.reason));
        const Run exported = runKq517({QStringLiteral("export"), dat, QStringLiteral("--format"), QStringLiteral("chirp"),
                                    QStringLiteral("-o"), csv});
        QVERIFY2(exported.exitCode == 0, exported.err.constData());
        const QStringList expected = shownChannels(image);
        if (expected.isEmpty())
            continue;  // CHIRP finds no channel in a file without one
        const QStringList read = chirpReads(csv);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(read, expected);
    }
}

// The demo radio's file, as ./run shows it: every channel in CHIRP.
void ChirpExportTest::demoFileReadByChirpRules()
{
    if (m_python.isEmpty())
        QSKIP("python3 is not installed: CHIRP's reading rules cannot be checked");
    const QString demo = QStringLiteral(KQ517_SOURCE_DIR "/resources/demo-radio.dat");
    MemoryImage image;
    ImageFileProblem error;
    QVERIFY2(image.loadFile(demo, &error), qPrintable(error.reason));
    const QString csv = m_dir.filePath(QStringLiteral("demo.csv"));
    const Run exported = runKq517({QStringLiteral("export"), demo, QStringLiteral("--format"), QStringLiteral("chirp"),
                                QStringLiteral("-o"), csv});
    QVERIFY2(exported.exitCode == 0, exported.err.constData());
    const QStringList expected = shownChannels(image);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(chirpReads(csv), expected);
}

void ChirpExportTest::incompleteExport_data() { addBoolRows("toFile", "to standard output", "to a file"); }

// Channels CHIRP cannot hold are named on stderr and the status says so; the
// file holds the others, and CHIRP reads it.
void ChirpExportTest::incompleteExport()
{
    QFETCH(bool, toFile);
    ChannelTable table;
    for (const int row : {3, 4, 9})
        setCells(table, row, {"150.00000", "155.00000", "D023I", "88.5", "No"});
    MemoryImage image = MemoryImage::newImage();
    table.encode(image);
    namespace ch = layout::channel;
    image.channel(4)[ch::kEncodeToneHigh] = 0x8A;  // D1023N
    image.channel(4)[ch::kEncodeToneLow] = 0x23;
    std::fill_n(image.channel(9) + ch::kTxFrequency, 4, std::uint8_t(0xFF));
    const QString dat = m_dir.filePath(QStringLiteral("odd.dat"));
    const QString csv = m_dir.filePath(QStringLiteral("odd.csv"));
    QFile::remove(csv);
    ImageFileProblem error;
    QVERIFY2(image.saveFile(dat, &error), qPrintable(error.reason));

    QStringList args{QStringLiteral("export"), dat, QStringLiteral("--format"), QStringLiteral("chirp")};
    if (toFile)
        args << QStringLiteral("-o") << csv;
    const Run exported = runKq517(args);
    QCOMPARE(exported.exitCode, 3);
    QCOMPARE(QString::fromUtf8(exported.err),
             QStringLiteral("kq517: export: channel 4, QT/DQT Enc: \"D1023N\" is not a tone of the tone list; left out "
                            "of the CHIRP file\n"
                            "kq517: export: channel 9, Tx Frequency: the channel has no transmit frequency; left out "
                            "of the CHIRP file\n"));
    QByteArray written = exported.out;
    if (toFile) {
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        written = file.readAll();
        QVERIFY(exported.out.isEmpty());
    }
    QCOMPARE(written.count('\n'), 2);  // the header and channel 3
    if (toFile && !m_python.isEmpty())
        QCOMPARE(chirpReads(csv), QStringList{"3 150000000 155000000 88.5 D023I"});

    // The status is documented where the command's help is.
    const Run help = runKq517({QStringLiteral("export"), QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains(" 3 "), help.out.constData());
}

// CHIRP skips a row with an empty Frequency: so does import, naming it, and
// the file's other channels are imported.
void ChirpExportTest::importSkipsRowsWithoutFrequency()
{
    const QString csv = m_dir.filePath(QStringLiteral("skips.csv"));
    const QString dat = m_dir.filePath(QStringLiteral("skips.dat"));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("# exported by hand\nLocation,Frequency,Tone,rToneFreq\n2,,,\n5,146.52,TSQL,100.0\n");
    file.close();
    const Run imported = runKq517({QStringLiteral("import"), csv, QStringLiteral("-o"), dat});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(QString::fromUtf8(imported.err),
             QStringLiteral("kq517: import: %1: line 3, Frequency: no frequency: the row is skipped\n").arg(csv));
    MemoryImage image;
    ImageFileProblem error;
    QVERIFY2(image.loadFile(dat, &error), qPrintable(error.reason));
    const ChannelTable table = plantest::decoded(image);
    QCOMPARE(table.cell(5, ChannelTable::ColRx), QStringLiteral("146.52000"));
    QCOMPARE(table.cell(5, ChannelTable::ColDecode), QStringLiteral("100.0"));
    QCOMPARE(table.cell(5, ChannelTable::ColEncode), QStringLiteral("100.0"));
    QCOMPARE(table.cell(2, ChannelTable::ColRx), QString());
}

QTEST_GUILESS_MAIN(ChirpExportTest)

#include "tst_ChirpExport.moc"
