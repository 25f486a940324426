// kq517 show and kq517 export, run as the user runs them: the built program
// in the program directory, its output, its exit status and its errors.

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "codeplug/ChannelTable.h"
#include "tests/support/TestSupport.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "settings/IniFile.h"
#include "settings/ModelBandSettings.h"
#include "tests/support/ChildRun.h"

namespace {

QString fixture(const QString& name)
{
    return QStringLiteral(KQ517_TEST_DATA "/") + name;
}

// One error line on stderr, in the program's own form.
void verifyOneErrorLine(const Run& run)
{
    QVERIFY2(run.err.startsWith("kq517: "), run.err.constData());
    QVERIFY2(run.err.endsWith('\n') && run.err.count('\n') == 1, run.err.constData());
}

}  // namespace

class ShowExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void exportFixture();
    void exportToFile();
    void exportRandomImages();
    void errors_data();
    void errors();
    void showFixture();
    void showNamesAsTheyStand();

private:
    QTemporaryDir m_dir;
};

void ShowExportTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QFileInfo::exists(QStringLiteral(KQ517_PROGRAM_DIR "/kq517")));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("short.dat")), QByteArray(1023, '\x14')));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("blocker")), QByteArray("a file, not a folder")));
}

void ShowExportTest::exportFixture()
{
    const Run run = runKq517({QStringLiteral("export"), fixture(QStringLiteral("channels.dat"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.out, readFile(fixture(QStringLiteral("channels.csv"))));
}

void ShowExportTest::exportToFile()
{
    const QString out = m_dir.filePath(QStringLiteral("out.csv"));
    QVERIFY(writeFile(out, QByteArray(5000, 'x')));  // replaced, not overwritten in part
    const Run run =
        runKq517({QStringLiteral("export"), fixture(QStringLiteral("channels.dat")), QStringLiteral("-o"), out});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(readFile(out), readFile(fixture(QStringLiteral("channels.csv"))));
    // -o may also come before the file.
    const QString out2 = m_dir.filePath(QStringLiteral("out2.csv"));
    QCOMPARE(runKq517({QStringLiteral("export"), QStringLiteral("-o"), out2,
                       fixture(QStringLiteral("channels.dat"))})
                 .exitCode,
             0);
    QCOMPARE(readFile(out2), readFile(out));
}

// Random 1024-byte files: every exported cell is the English text the
// channel table decoder shows.
void ShowExportTest::exportRandomImages()
{
    QRandomGenerator random(1024);
    for (int round = 0; round < 12; ++round) {
        QByteArray bytes(1024, '\0');
        for (char& c : bytes) {
            // Bias towards the bytes with meaning (0x00, 0xFF) now and then.
            const int pick = random.bounded(8);
            c = char(pick == 0 ? 0x00 : pick == 1 ? 0xFF : random.bounded(256));
        }
        const QString path = m_dir.filePath(QStringLiteral("random%1.dat").arg(round));
        QVERIFY(writeFile(path, bytes));
        MemoryImage image;
        QVERIFY(image.fromByteArray(bytes));
        ChannelTable table;
        table.decode(image);

        const Run run = runKq517({QStringLiteral("export"), path});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = QString::fromUtf8(run.out).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 18);  // header, 16 channels, empty after the last newline
        QCOMPARE(lines.at(0), QStringLiteral("CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock"));
        QCOMPARE(lines.at(17), QString());
        for (int row = 1; row <= 16; ++row) {
            const QStringList cells = lines.at(row).split(QLatin1Char(','));
            QCOMPARE(cells.size(), 6);
            QCOMPARE(cells.at(0), QString::number(row));
            for (int col = 1; col < 6; ++col)
                QCOMPARE(cells.at(col), table.cell(row, col));
        }
    }
}

void ShowExportTest::errors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("mentions");

    const QString dat = fixture(QStringLiteral("channels.dat"));
    const QString shortDat = m_dir.filePath(QStringLiteral("short.dat"));
    const QString missing = m_dir.filePath(QStringLiteral("missing.dat"));
    const QString blocked = m_dir.filePath(QStringLiteral("blocker/out.csv"));
    QTest::newRow("export without file") << QStringList{"export"} << 2 << "";
    QTest::newRow("export, two files") << QStringList{"export", dat, dat} << 2 << "";
    QTest::newRow("export, unknown option") << QStringList{"export", dat, "--bogus"} << 2 << "--bogus";
    QTest::newRow("export, -o without name") << QStringList{"export", dat, "-o"} << 2 << "-o";
    QTest::newRow("export, -o twice") << QStringList{"export", dat, "-o", "a", "-o", "b"} << 2 << "-o";
    QTest::newRow("export, missing file") << QStringList{"export", missing} << 1 << "missing.dat";
    QTest::newRow("export, 1023 bytes") << QStringList{"export", shortDat} << 1 << "1023";
    QTest::newRow("export, unwritable output") << QStringList{"export", dat, "-o", blocked} << 1 << "out.csv";
    QTest::newRow("show without file") << QStringList{"show"} << 2 << "needs FILE.dat";
    QTest::newRow("export, unknown format") << QStringList{"export", dat, "--format", "xml"} << 2 << "xml";
    QTest::newRow("show, two files") << QStringList{"show", dat, dat} << 2 << "";
    QTest::newRow("show, unknown option") << QStringList{"show", "-x"} << 2 << "-x";
    QTest::newRow("show, missing file") << QStringList{"show", missing} << 1 << "missing.dat";
    QTest::newRow("show, 1023 bytes") << QStringList{"show", shortDat} << 1 << "1023";
}

void ShowExportTest::errors()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, mentions);
    const Run run = runKq517(args);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, QByteArray());
    verifyOneErrorLine(run);
    QVERIFY2(QString::fromUtf8(run.err).contains(mentions), run.err.constData());
    QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("blocker/out.csv"))));
}

void ShowExportTest::showFixture()
{
    const Run run = runKq517({QStringLiteral("show"), fixture(QStringLiteral("channels.dat"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QByteArray());
    const QString text = QString::fromUtf8(run.out);

    // Each channel row holds its label and cells, in order, on one line.
    const QStringList csv = QString::fromUtf8(readFile(fixture(QStringLiteral("channels.csv"))))
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(csv.size(), 17);
    for (int row = 0; row <= 16; ++row) {
        QStringList cells = csv.at(row).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (row > 0)
            cells[0] = ChannelTable::rowLabel(row);
        QStringList escaped;
        for (const QString& cell : cells)
            escaped << QRegularExpression::escape(cell);
        const QRegularExpression line(QStringLiteral("^") + escaped.join(QStringLiteral(" +")) +
                                      QStringLiteral("$"),
                                      QRegularExpression::MultilineOption);
        QVERIFY2(line.match(text).hasMatch(), qPrintable(csv.at(row)));
    }

    const auto option = [&text](const QString& label, const QString& value) {
        const QRegularExpression re(QStringLiteral("^ *") + QRegularExpression::escape(label) +
                                        QStringLiteral(" +") + QRegularExpression::escape(value) +
                                        QStringLiteral("$"),
                                    QRegularExpression::MultilineOption);
        return re.match(text).hasMatch();
    };
    QVERIFY(option(QStringLiteral("Squelch Level:"), QStringLiteral("7")));
    QVERIFY(option(QStringLiteral("Time Out Time:"), QStringLiteral("90s")));
    QVERIFY(option(QStringLiteral("Beep:"), QStringLiteral("Off")));
    QVERIFY(option(QStringLiteral("Tx Power:"), QStringLiteral("5")));

    // Model and band come from the settings file next to the program.
    CIniFile ini;
    if (ini.Open(QStringLiteral(KQ517_PROGRAM_DIR "/KQ-517.ini"), false, true, true, false)) {
        const QString model = modelband::modelName(ini, 0);
        const QString band = modelband::bandText(modelband::bandList(ini, 0), 0);
        if (!model.isEmpty())
            QVERIFY2(option(QStringLiteral("Model:"), model + QStringLiteral(" (model 0)")), qPrintable(text));
        if (!band.isEmpty())
            QVERIFY2(option(QStringLiteral("Band:"), band + QStringLiteral(" (band 0)")), qPrintable(text));
    }
}

// Model and band names from the settings file are printed as they stand, even
// when they hold "%1" or "%2".
void ShowExportTest::showNamesAsTheyStand()
{
    QTemporaryDir programDir;
    QVERIFY(programDir.isValid());
    const QString program = programDir.filePath(QStringLiteral("kq517"));
    QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/kq517"), program));
    QVERIFY(writeFile(programDir.filePath(QStringLiteral("KQ-517.ini")),
                      "[Setup]\r\nType1=Model %2 %1\r\nField1=Band %2|Other\r\n"));

    const Run run = runProgram(program, {QStringLiteral("show"), fixture(QStringLiteral("channels.dat"))});
    QCOMPARE(run.exitCode, 0);
    const QString text = QString::fromUtf8(run.out);
    QVERIFY2(text.contains(QStringLiteral("Model %2 %1 (model 0)\n")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Band %2 (band 0)\n")), qPrintable(text));
}

QTEST_GUILESS_MAIN(ShowExportTest)

#include "tst_ShowExport.moc"
