// End to end through a real pseudo-terminal: `kq517 read` and `kq517 write`
// against `kq517 sim`, with every fault the simulator can inject.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "texts/FieldReasons.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/SerialBytePort.h"
#include "tests/support/ChildRun.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestSupport.h"

namespace {

const QString kOpenFailed = QStringLiteral("Could not Open the Port,Please check whether the Port are occupied or the device are ok");
const QString kCommError = QStringLiteral("Communication Error,Please check all the connections and the radio power");
const QString kInterrupt = QStringLiteral("Program Interrupt, Please reset the radio and try again");
const QString kMismatch = QStringLiteral("Becuase the type of radio does not match, communications is interrupt.");

QByteArray region(const QByteArray& bytes, int from, int to)
{
    return bytes.mid(from, to - from);
}

struct CliResult {
    int exitCode = -1;
    QString errorOutput;
};

}  // namespace

class TestLinkCli : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString saveImage(const MemoryImage& image, const QString& name)
    {
        ImageFileProblem error;
        const QString file = path(name);
        if (!image.saveFile(file, &error))
            qWarning("cannot save %s: %s", qPrintable(file), qPrintable(error.reason));
        return file;
    }

    static CliResult runCli(const QStringList& args)
    {
        const Run run = runProgram(SimProcess::programPath(), args);
        return CliResult{run.exitCode, run.exitCode == -1 ? QStringLiteral("(hung)") : QString::fromLocal8Bit(run.err)};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QFile::exists(SimProcess::programPath()), "kq517 is not built");
    }

    void fullRead_data()
    {
        QTest::addColumn<QString>("baud");
        QTest::newRow("unpaced") << QStringLiteral("0");
        QTest::newRow("paced at 115200") << QStringLiteral("115200");
    }

    void fullRead()
    {
        QFETCH(QString, baud);
        const MemoryImage radioImage = patternImage(1);
        MemoryImage base = MemoryImage::newImage();
        for (int i = 0x3D0; i < 0x400; ++i)
            base.set(i, std::uint8_t(i & 0x7F));
        SimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--baud"), baud, QStringLiteral("--image"), saveImage(radioImage, QStringLiteral("radio.dat"))}),
                 qPrintable(sim.error()));
        const QString out = path(QStringLiteral("out-%1.dat").arg(baud));
        const CliResult r = runCli({QStringLiteral("read"), QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), out,
                                    QStringLiteral("--base"), saveImage(base, QStringLiteral("base.dat"))});
        QVERIFY2(r.exitCode == 0, qPrintable(r.errorOutput));
        QVERIFY2(r.errorOutput.contains(QStringLiteral("Reading done: 61 rows")), qPrintable(r.errorOutput));
        const QByteArray got = readFile(out);
        QCOMPARE(got.size(), 1024);
        QCOMPARE(region(got, 0, 0x3D0), region(radioImage.toByteArray(), 0, 0x3D0));
        QCOMPARE(region(got, 0x3D0, 0x400), region(base.toByteArray(), 0x3D0, 0x400));
    }

    void fullWriteThenReadBack()
    {
        const MemoryImage radioImage = MemoryImage::newImage();
        const MemoryImage file = patternImage(7);
        const QString saved = path(QStringLiteral("saved.dat"));
        const QString link = path(QStringLiteral("radio-link"));
        SimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--image"),
                            saveImage(radioImage, QStringLiteral("radio-new.dat")), QStringLiteral("--save"), saved,
                            QStringLiteral("--link"), link}),
                 qPrintable(sim.error()));
        QVERIFY(QFileInfo(link).isSymLink());

        // A pattern is no image a radio would accept: --force sends it all the same.
        CliResult r = runCli({QStringLiteral("write"), QStringLiteral("--port"), link, saveImage(file, QStringLiteral("file.dat")),
                              QStringLiteral("--force")});
        QVERIFY2(r.exitCode == 0, qPrintable(r.errorOutput));

        // The simulator serves the next transfer on the same line.
        const QString back = path(QStringLiteral("back.dat"));
        r = runCli({QStringLiteral("read"), QStringLiteral("--port"), link, QStringLiteral("-o"), back});
        QVERIFY2(r.exitCode == 0, qPrintable(r.errorOutput));
        QCOMPARE(region(readFile(back), 0, 0x3D0), region(file.toByteArray(), 0, 0x3D0));

        QCOMPARE(sim.stop(), 0);
        QVERIFY(!QFileInfo::exists(link));
        const QByteArray memory = readFile(saved);
        QCOMPARE(memory.size(), 1024);
        QCOMPARE(region(memory, 0, 0x3D0), region(file.toByteArray(), 0, 0x3D0));
        // Rows 61 to 63 are never sent.
        QCOMPARE(region(memory, 0x3D0, 0x400), region(radioImage.toByteArray(), 0x3D0, 0x400));
    }

    void faults_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<QStringList>("simOptions");
        QTest::addColumn<QStringList>("cliOptions");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");

        const QStringList none;
        for (bool write : {false, true}) {
            const char* d = write ? "write" : "read";
            auto row = [&](const char* name) { return &QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(d), QLatin1String(name)))); };
            *row("wrong identification") << write << QStringList{QStringLiteral("--wrong-ident")} << none << 1 << kMismatch;
            *row("wrong identification, retry not used") << write << QStringList{QStringLiteral("--ident"), QStringLiteral("P3207")}
                                                   << QStringList{QStringLiteral("--retry"), QStringLiteral("3")} << 1 << kMismatch;
            *row("P2107 accepted") << write << QStringList{QStringLiteral("--ident"), QStringLiteral("P2107")} << none << 0 << QString();
            *row("short identification") << write << QStringList{QStringLiteral("--ident"), QStringLiteral("P31")} << none << 1 << kCommError;
            *row("silence") << write << QStringList{QStringLiteral("--silent")} << none << 1 << kCommError;
            *row("silence, two retries") << write << QStringList{QStringLiteral("--silent")}
                                         << QStringList{QStringLiteral("--retry"), QStringLiteral("2")} << 1 << QStringLiteral("trying again, 2 of 2");
            *row("no handshake ACK") << write << QStringList{QStringLiteral("--no-handshake-ack")} << none << 1 << kCommError;
            // The wake-up answer's count is not examined.
            *row("no wake-up answer") << write << QStringList{QStringLiteral("--no-wakeup-answer")} << none << 0 << QString();
            *row("no ACK at block 0") << write << QStringList{QStringLiteral("--no-ack-at"), QStringLiteral("0")} << none << 1 << kInterrupt;
            *row("wrong ACK at block 61") << write << QStringList{QStringLiteral("--wrong-ack-at"), QStringLiteral("61")} << none << 1 << kInterrupt;
            *row("wrong ACK at block 121") << write << QStringList{QStringLiteral("--wrong-ack-at"), QStringLiteral("121")} << none << 1 << kInterrupt;
            *row("line vanishes at block 50") << write << QStringList{QStringLiteral("--vanish-at"), QStringLiteral("50")} << none << 1 << kInterrupt;
        }
        QTest::newRow("read, short reply at block 30") << false << QStringList{QStringLiteral("--short-reply-at"), QStringLiteral("30")} << none << 1 << kInterrupt;
        // A read never asks for block 122 or beyond: the option is refused.
    }

    void faults()
    {
        QFETCH(bool, write);
        QFETCH(QStringList, simOptions);
        QFETCH(QStringList, cliOptions);
        QFETCH(int, exitCode);
        QFETCH(QString, message);

        SimProcess sim;
        QVERIFY2(sim.start(QStringList{QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--save"), path(QStringLiteral("fault-saved.dat"))} + simOptions),
                 qPrintable(sim.error()));
        QFile::remove(path(QStringLiteral("fault-saved.dat")));
        const QString out = path(QStringLiteral("fault-out.dat"));
        // A failed read leaves an existing OUT as it was.
        QFile::remove(out);
        {
            QFile f(out);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("previous contents");
        }
        const QStringList args = write ? QStringList{QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                                                     saveImage(patternImage(3), QStringLiteral("fault-file.dat")), QStringLiteral("--force")}
                                       : QStringList{QStringLiteral("read"), QStringLiteral("--port"), sim.devicePath(), QStringLiteral("-o"), out};
        const CliResult r = runCli(args + cliOptions);
        QVERIFY2(r.exitCode == exitCode, qPrintable(QStringLiteral("exit %1: %2").arg(r.exitCode).arg(r.errorOutput)));
        if (!message.isEmpty())
            QVERIFY2(r.errorOutput.contains(message), qPrintable(r.errorOutput));
        if (exitCode != 0) {
            QCOMPARE(readFile(out), QByteArray("previous contents"));
            sim.stop();
            QVERIFY(!QFileInfo::exists(path(QStringLiteral("fault-saved.dat"))));
        } else if (!write) {
            QCOMPARE(readFile(out).size(), 1024);
        }
    }

    void portCannotBeOpened_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing device") << QStringLiteral("/dev/kq517-no-such-tty") << QStringLiteral("no such device");
        QTest::newRow("com5") << QStringLiteral("com5") << QStringLiteral("no port named 'com5'");
        QTest::newRow("com0") << QStringLiteral("com0") << QStringLiteral("no port named 'com0'");
    }

    void portCannotBeOpened()
    {
        QFETCH(QString, port);
        QFETCH(QString, reason);
        const QString out = path(QStringLiteral("never.dat"));
        const CliResult r = runCli({QStringLiteral("read"), QStringLiteral("--port"), port, QStringLiteral("-o"), out});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.errorOutput.contains(kOpenFailed), qPrintable(r.errorOutput));
        QVERIFY2(r.errorOutput.contains(reason), qPrintable(r.errorOutput));
        QVERIFY(!QFileInfo::exists(out));
    }

    void portHeldByAnotherProgram()
    {
        SimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--baud"), QStringLiteral("0")}), qPrintable(sim.error()));
        SerialBytePort holder;
        PortOpenError error;
        QVERIFY2(holder.open(sim.devicePath(), &error), qPrintable(texts::openReason(error)));
        PortOpenError secondError;
        QVERIFY(!SerialBytePort::canOpen(sim.devicePath(), &secondError));
        QVERIFY2(texts::openReason(secondError).contains(QStringLiteral("busy")), qPrintable(texts::openReason(secondError)));
        const CliResult r = runCli({QStringLiteral("write"), QStringLiteral("--port"), sim.devicePath(),
                                    saveImage(MemoryImage::newImage(), QStringLiteral("busy.dat"))});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.errorOutput.contains(kOpenFailed), qPrintable(r.errorOutput));
        holder.close();
        QVERIFY2(SerialBytePort::canOpen(sim.devicePath(), &error), qPrintable(texts::openReason(error)));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("read without -o") << QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("COM1")};
        QTest::newRow("read without --port") << QStringList{QStringLiteral("read"), QStringLiteral("-o"), QStringLiteral("x.dat")};
        QTest::newRow("read, --retry not a number") << QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("COM1"), QStringLiteral("-o"), QStringLiteral("x.dat"), QStringLiteral("--retry"), QStringLiteral("x")};
        QTest::newRow("write, two files") << QStringList{QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("COM1"), QStringLiteral("a.dat"), QStringLiteral("b.dat")};
        QTest::newRow("write, unknown option") << QStringList{QStringLiteral("write"), QStringLiteral("--fast"), QStringLiteral("--port"), QStringLiteral("COM1"), QStringLiteral("a.dat")};
        QTest::newRow("sim, block out of range") << QStringList{QStringLiteral("sim"), QStringLiteral("--no-ack-at"), QStringLiteral("122")};
        QTest::newRow("sim, negative baud") << QStringList{QStringLiteral("sim"), QStringLiteral("--baud"), QStringLiteral("-1")};
    }

    void usageErrors()
    {
        QFETCH(QStringList, args);
        const CliResult r = runCli(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(!r.errorOutput.isEmpty());
    }

    void missingFiles()
    {
        const CliResult w = runCli({QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("COM1"), path(QStringLiteral("absent.dat"))});
        QCOMPARE(w.exitCode, 1);
        const CliResult r = runCli({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("COM1"), QStringLiteral("-o"),
                                    path(QStringLiteral("o.dat")), QStringLiteral("--base"), path(QStringLiteral("absent.dat"))});
        QCOMPARE(r.exitCode, 1);
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("o.dat"))));
    }

    void simHelpNamesEveryFault()
    {
        QProcess process;
        process.start(SimProcess::programPath(), {QStringLiteral("sim"), QStringLiteral("--help")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QString help = QString::fromLocal8Bit(process.readAllStandardOutput());
        for (const char* option : {"--wrong-ident", "--ident", "--silent", "--no-wakeup-answer", "--no-handshake-ack",
                                   "--no-ack-at", "--wrong-ack-at", "--short-reply-at", "--vanish-at", "--baud", "--save",
                                   "--link", "--image"})
            QVERIFY2(help.contains(QLatin1String(option)), option);
    }
};

QTEST_GUILESS_MAIN(TestLinkCli)
#include "tst_linkcli.moc"
