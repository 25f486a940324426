// End to end through a pseudo-terminal: `kq517 read` and `kq517 write` with
// --trace, --backup, --verify, --repeat and --force against `kq517 sim`, as a
// technician would use them.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "texts/FieldReasons.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/ProtocolConstants.h"
#include "link/SerialBytePort.h"
#include "tests/support/ChildRun.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestSupport.h"

namespace {

// A file a radio accepts as it is: the sample channels without channel 4,
// whose digits and tones no radio takes.
MemoryImage fieldImage()
{
    MemoryImage image;
    const bool loaded = image.loadFile(QStringLiteral(KQ517_TEST_DATA "/channels.dat"));
    Q_ASSERT(loaded);
    Q_UNUSED(loaded);
    for (int i = 0; i < layout::kRowSize; ++i)
        image.set(layout::channelOffset(4) + i, 0xFF);
    return image;
}

QByteArray radioRows(const QByteArray& bytes)
{
    return bytes.left(layout::kRadioByteCount);
}

struct CliResult {
    int exitCode = -1;
    QString output;
    QString errorOutput;
};

CliResult cliResult(const Run& run)
{
    return CliResult{run.exitCode, QString::fromLocal8Bit(run.out),
                     run.exitCode == -1 ? QStringLiteral("(hung)") : QString::fromLocal8Bit(run.err)};
}

// Runs kq517 with input on its stdin.
CliResult runCli(const QStringList& args, const QByteArray& input = QByteArray())
{
    return cliResult(runProgram(SimProcess::programPath(), args, input));
}

// The lines `kq517 ports` prints for device: its own line and the indented
// ones under it.
QString portBlock(const QString& output, const QString& device)
{
    QStringList block;
    bool inside = false;
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1Char(' ')))
            inside = line == device || line.startsWith(device + QLatin1Char(' '));
        if (inside)
            block.append(line.simplified());
    }
    return block.join(QLatin1Char('\n'));
}

QString describe(const CliResult& r)
{
    return QStringLiteral("exit %1\nstdout: %2\nstderr: %3").arg(r.exitCode).arg(r.output, r.errorOutput);
}

}  // namespace

class TestFieldCli : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString saveImage(const MemoryImage& image, const QString& name)
    {
        const QString file = path(name);
        ImageFileProblem error;
        if (!image.saveFile(file, &error))
            qWarning("cannot save %s: %s", qPrintable(file), qPrintable(error.reason));
        return file;
    }

    // A simulated radio holding radio, saving its memory to saved after each write.
    bool startSim(SimProcess& sim, const MemoryImage& radio, const QString& saved, const QStringList& faults = {})
    {
        QFile::remove(saved);
        const bool started = sim.start(QStringList{QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--image"),
                                                   saveImage(radio, QStringLiteral("radio-before.dat")),
                                                   QStringLiteral("--save"), saved} + faults);
        if (!started)
            qWarning("%s", qPrintable(sim.error()));
        return started;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFile::exists(SimProcess::programPath()), "kq517 is not built");
    }

    // --- trace -------------------------------------------------------------

    void traceHoldsEveryByteOfARead()
    {
        const MemoryImage radio = patternImage(5);
        SimProcess sim;
        QVERIFY(startSim(sim, radio, path(QStringLiteral("trace-saved.dat"))));
        const QString trace = path(QStringLiteral("read.trace"));
        const QString out = path(QStringLiteral("trace-out.dat"));
        const CliResult r = runCli({QStringLiteral("read"), QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"),
                                    out, QStringLiteral("--trace"), trace});
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));

        static const QRegularExpression lineFormat(QStringLiteral("^(\\d+\\.\\d{6}) ([<>])((?: [0-9a-f]{2})+)$"));
        const QStringList lines = QString::fromLatin1(readFile(trace)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QByteArray toRadio;
        QByteArray fromRadio;
        double last = 0;
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^# "))).size(), 1);  // one transfer, one header
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1String("# ")))
                continue;
            const QRegularExpressionMatch m = lineFormat.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            QVERIFY2(m.captured(1).toDouble() >= last, qPrintable(line));
            last = m.captured(1).toDouble();
            QString hex = m.captured(3);
            (m.captured(2) == QLatin1String(">") ? toRadio : fromRadio) += QByteArray::fromHex(hex.remove(QLatin1Char(' ')).toLatin1());
        }

        // What came from the radio, in order: the wake-up answer, the
        // identification, the handshake ACK, then per block a 12-byte reply and
        // an ACK. Rebuilding the memory from it gives what the read saved.
        const int handshake = 1 + protocol::kIdentReplyMaxSize + 1;
        const int perBlock = protocol::kReadReplySize + 1;
        QCOMPARE(fromRadio.size(), handshake + layout::kRadioBlockCount * perBlock);
        QVERIFY(fromRadio.mid(1).startsWith("P3107"));
        QByteArray rebuilt;
        for (int block = 0; block < layout::kRadioBlockCount; ++block)
            rebuilt += fromRadio.mid(handshake + block * perBlock + protocol::kReadReplyHeaderSize, layout::kBlockSize);
        QCOMPARE(rebuilt, radioRows(radio.toByteArray()));
        QCOMPARE(rebuilt, radioRows(readFile(out)));

        // What went to the radio: the wake-up, the identification request and
        // the ACK, then per block a read request (addresses in order) and an ACK.
        const QByteArray hostHandshake = QByteArray("\x02PROGRAM\x02\x06", 10);
        QVERIFY(toRadio.startsWith(hostHandshake));
        const int hostPerBlock = protocol::kRequestSize + 1;
        QCOMPARE(toRadio.size(), hostHandshake.size() + layout::kRadioBlockCount * hostPerBlock);
        for (int block = 0; block < layout::kRadioBlockCount; ++block) {
            const QByteArray frame = toRadio.mid(hostHandshake.size() + block * hostPerBlock, hostPerBlock);
            const int address = block * layout::kBlockSize;
            const char expected[] = {char(protocol::kReadCommand), char(address >> 8), char(address & 0xFF),
                                     char(layout::kBlockSize), char(protocol::kAck)};
            QCOMPARE(frame, QByteArray(expected, hostPerBlock));
        }
    }

    void traceKeepsEverySession()
    {
        SimProcess sim;
        QVERIFY(startSim(sim, patternImage(7), path(QStringLiteral("sessions-saved.dat"))));
        const QString trace = path(QStringLiteral("sessions.trace"));
        QVERIFY(QFile::exists(trace) == false);
        const QStringList readArgs = {QStringLiteral("read"), QStringLiteral("--port"), sim.devicePath(),
                                      QStringLiteral("-o"), path(QStringLiteral("sessions-out.dat")),
                                      QStringLiteral("--trace"), trace};
        CliResult r = runCli(readArgs);
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        r = runCli({QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                    saveImage(fieldImage(), QStringLiteral("sessions-file.dat")), QStringLiteral("--trace"), trace});
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        const QByteArray two = readFile(trace);
        // A third transfer on a port that does not exist fails, and appends.
        r = runCli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("/dev/kq517-none"),
                    QStringLiteral("-o"), path(QStringLiteral("never.dat")), QStringLiteral("--trace"), trace});
        QCOMPARE(r.exitCode, 1);
        const QByteArray three = readFile(trace);
        QVERIFY2(three.startsWith(two), three.left(200).constData());

        static const QRegularExpression header(
            QStringLiteral("^# \\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2} (\\S+) (\\S+) (\\S+)$"));
        QStringList verbs;
        QStringList ports;
        for (const QString& line : QString::fromUtf8(three).split(QLatin1Char('\n'))) {
            const QRegularExpressionMatch m = header.match(line);
            if (m.hasMatch()) {
                verbs << m.captured(1);
                ports << m.captured(2);
            }
        }
        QCOMPARE(verbs, (QStringList{QStringLiteral("read"), QStringLiteral("write"), QStringLiteral("read")}));
        QCOMPARE(ports, (QStringList{sim.devicePath(), sim.devicePath(), QStringLiteral("/dev/kq517-none")}));
        // Each successful session holds its bytes: a request for every block.
        const QByteArray firstSession = two.left(two.indexOf("\n# "));
        QVERIFY(firstSession.count(" > ") >= layout::kRadioBlockCount);
        QVERIFY(two.mid(two.indexOf("\n# ")).count(" > ") >= layout::kRadioBlockCount);
    }

    // --- progress ----------------------------------------------------------

    void progressToAPipeHasNoFrames_data() { addBoolRows("quiet", "lines", "--quiet"); }

    void progressToAPipeHasNoFrames()
    {
        QFETCH(bool, quiet);
        SimProcess sim;
        QVERIFY(startSim(sim, patternImage(8), path(QStringLiteral("progress-saved.dat"))));
        QStringList args = {QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                            saveImage(fieldImage(), QStringLiteral("progress-file.dat")), QStringLiteral("--verify")};
        if (quiet)
            args << QStringLiteral("--quiet");
        const CliResult r = runCli(args);  // stderr is a pipe here
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QVERIFY2(!r.errorOutput.contains(QLatin1Char('\r')), qPrintable(describe(r)));
        if (quiet) {
            QCOMPARE(r.errorOutput, QString());
            return;
        }
        // One line as each step starts, one as it ends.
        QCOMPARE(r.errorOutput, QStringLiteral("Writing rows 0 to 60\nWriting done: 61 rows\n"
                                               "Verifying rows 0 to 60\nVerifying done: 61 rows\n"));
    }

    void traceThatCannotBeWrittenStopsBeforeTheRadio()
    {
        const CliResult r = runCli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("/dev/kq517-none"),
                                    QStringLiteral("-o"), path(QStringLiteral("never.dat")), QStringLiteral("--trace"),
                                    path(QStringLiteral("no-such-folder/t.trace"))});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.errorOutput.contains(QStringLiteral("cannot write the trace")), qPrintable(describe(r)));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("never.dat"))));
    }

    // --- backup and verify -------------------------------------------------

    void writeWithBackupAndVerify()
    {
        const MemoryImage earlier = patternImage(9);
        const MemoryImage file = fieldImage();
        const QString saved = path(QStringLiteral("bv-saved.dat"));
        const QString backups = path(QStringLiteral("backups"));
        SimProcess sim;
        QVERIFY(startSim(sim, earlier, saved));
        const CliResult r = runCli({QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                                    saveImage(file, QStringLiteral("bv-file.dat")), QStringLiteral("--backup"), backups,
                                    QStringLiteral("--verify")});
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QVERIFY2(r.output.contains(QStringLiteral("verified")), qPrintable(describe(r)));

        const QStringList made = QDir(backups).entryList(QDir::Files);
        QCOMPARE(made.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^.+-\\d{8}-\\d{6}\\.dat$")).match(made.first()).hasMatch(),
                 qPrintable(made.first()));
        QVERIFY2(r.output.contains(made.first()), qPrintable(describe(r)));
        QCOMPARE(radioRows(readFile(QDir(backups).filePath(made.first()))), radioRows(earlier.toByteArray()));
        QCOMPARE(radioRows(readFile(saved)), radioRows(file.toByteArray()));
    }

    void backupFailureWritesNothing()
    {
        const QString saved = path(QStringLiteral("bf-saved.dat"));
        const QString backups = path(QStringLiteral("bf-backups"));
        SimProcess sim;
        QVERIFY(startSim(sim, patternImage(2), saved, {QStringLiteral("--short-reply-at"), QStringLiteral("40")}));
        const CliResult r = runCli({QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                                    saveImage(fieldImage(), QStringLiteral("bf-file.dat")), QStringLiteral("--backup"), backups});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.errorOutput.contains(QStringLiteral("backup: Program Interrupt")), qPrintable(describe(r)));
        QVERIFY(QDir(backups).entryList(QDir::Files).isEmpty());
        sim.stop();
        QVERIFY(!QFileInfo::exists(saved));
    }

    void droppedBlockFailsVerifyByName_data()
    {
        QTest::addColumn<QString>("block");
        QTest::addColumn<QString>("named");
        QTest::newRow("channel 1") << QStringLiteral("2") << QStringLiteral("1 block read back differs from what was written: 0x010 (channel 1)");
        QTest::newRow("settings row") << QStringLiteral("120") << QStringLiteral("1 block read back differs from what was written: 0x3c0 (settings row)");
    }

    void droppedBlockFailsVerifyByName()
    {
        QFETCH(QString, block);
        QFETCH(QString, named);
        SimProcess sim;
        QVERIFY(startSim(sim, patternImage(4), path(QStringLiteral("drop-saved.dat")), {QStringLiteral("--drop-write-at"), block}));
        const QStringList write = {QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                                   saveImage(fieldImage(), QStringLiteral("drop-file.dat"))};
        // Every block was acknowledged: without a verify the write looks good.
        CliResult r = runCli(write);
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        r = runCli(write + QStringList{QStringLiteral("--verify")});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.errorOutput.contains(named), qPrintable(describe(r)));
    }

    // --- several radios ----------------------------------------------------

    void repeatWritesOneRadioAfterAnother_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("summary");
        QTest::newRow("two Enters, three radios") << QByteArray("\n\n") << QStringList{} << 0
                                                  << QStringLiteral("3 radios: 3 written, 0 failed verify, 0 not written");
        QTest::newRow("q stops after the first") << QByteArray("q\n\n") << QStringList{} << 0
                                                 << QStringLiteral("1 radio: 1 written, 0 failed verify, 0 not written");
        QTest::newRow("no input, one radio") << QByteArray() << QStringList{} << 0 << QStringLiteral("1 radio: 1 written, 0 failed verify, 0 not written");
        QTest::newRow("every verify fails")
            << QByteArray("\n\n") << QStringList{QStringLiteral("--drop-write-at"), QStringLiteral("3")} << 1
            << QStringLiteral("3 radios: 0 written, 3 failed verify, 0 not written: radio 1: verify: ");
    }

    void repeatWritesOneRadioAfterAnother()
    {
        QFETCH(QByteArray, input);
        QFETCH(QStringList, faults);
        QFETCH(int, exitCode);
        QFETCH(QString, summary);
        const QString backups = path(QStringLiteral("repeat-backups-%1").arg(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-')));
        SimProcess sim;
        QVERIFY(startSim(sim, patternImage(6), path(QStringLiteral("repeat-saved.dat")), faults));
        const CliResult r = runCli({QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                                    saveImage(fieldImage(), QStringLiteral("repeat-file.dat")), QStringLiteral("--repeat"),
                                    QStringLiteral("--verify"), QStringLiteral("--backup"), backups},
                                   input);
        QVERIFY2(r.exitCode == exitCode, qPrintable(describe(r)));
        const QStringList lines = r.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(!lines.isEmpty() && lines.last().startsWith(summary), qPrintable(describe(r)));
        const int radios = int(r.output.count(QStringLiteral("Connect the next radio")));
        const int expectedRadios = input.count('\n') + 1 - (input.startsWith("q") ? 2 : 0);
        QCOMPARE(radios, expectedRadios);
        // A backup for every radio, none overwriting another.
        QCOMPARE(int(QDir(backups).entryList(QDir::Files).size()), expectedRadios);
    }

    // --- the image check ---------------------------------------------------

    void writeRefusesAnImageTheRadioWouldNotTake_data() { addBoolRows("force", "refused", "--force"); }

    void writeRefusesAnImageTheRadioWouldNotTake()
    {
        QFETCH(bool, force);
        MemoryImage file = fieldImage();
        file.set(layout::kSquelchLevel, 12);
        const QString saved = path(QStringLiteral("force-saved.dat"));
        SimProcess sim;
        QVERIFY(startSim(sim, MemoryImage::newImage(), saved));
        QStringList args = {QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                            saveImage(file, QStringLiteral("force-file.dat"))};
        if (force)
            args.append(QStringLiteral("--force"));
        const CliResult r = runCli(args);
        QVERIFY2(r.errorOutput.contains(QStringLiteral("squelch level (byte 0x3c1) is 12")), qPrintable(describe(r)));
        QCOMPARE(r.exitCode, force ? 0 : 1);
        QCOMPARE(r.errorOutput.contains(QStringLiteral("--force")), !force);
        sim.stop();
        QCOMPARE(radioRows(readFile(saved)), force ? radioRows(file.toByteArray()) : QByteArray());
    }

    // --- port assistant ----------------------------------------------------

    void portsShowsMappingsAndWhyAPortCannotBeOpened()
    {
        SimProcess sim;
        QVERIFY(startSim(sim, MemoryImage::newImage(), path(QStringLiteral("ports-saved.dat"))));
        // A program directory of its own, so that its settings file maps COM2
        // and COM3 without touching the build's.
        QTemporaryDir programDir;
        const QString program = programDir.filePath(QStringLiteral("kq517"));
        QVERIFY(QFile::copy(SimProcess::programPath(), program));
        QFile ini(programDir.filePath(QStringLiteral("KQ-517.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Ports]\nCOM2=" + sim.devicePath().toLocal8Bit() + "\nCOM3=/dev/kq517-missing\n");
        ini.close();
        auto runPorts = [&program] { return cliResult(runProgram(program, {QStringLiteral("ports")})); };

        CliResult r = runPorts();
        QVERIFY2(r.exitCode == 0, qPrintable(describe(r)));
        QString block = portBlock(r.output, sim.devicePath());
        QVERIFY2(block.contains(QStringLiteral("COM name COM2")), qPrintable(r.output));
        QVERIFY2(block.contains(QStringLiteral("can be opened yes")), qPrintable(r.output));
        block = portBlock(r.output, QStringLiteral("/dev/kq517-missing"));
        QVERIFY2(block.contains(QStringLiteral("COM name COM3")), qPrintable(r.output));
        QVERIFY2(block.contains(QStringLiteral("can be opened no: no such device")), qPrintable(r.output));

        // Held by this test: busy, and the system tells by whom.
        SerialBytePort holder;
        PortOpenError error;
        QVERIFY2(holder.open(sim.devicePath(), &error), qPrintable(texts::openReason(error)));
        r = runPorts();
        block = portBlock(r.output, sim.devicePath());
        const QString heldBy = QStringLiteral("busy, held by %1 (pid %2)")
                                   .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName().left(15))
                                   .arg(QCoreApplication::applicationPid());
        QVERIFY2(block.contains(heldBy), qPrintable(r.output));
    }

    void portsTakesNoArguments()
    {
        const CliResult r = runCli({QStringLiteral("ports"), QStringLiteral("COM1")});
        QCOMPARE(r.exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestFieldCli)
#include "tst_fieldcli.moc"
