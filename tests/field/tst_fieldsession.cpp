// Field sessions against the simulated radio behind in-memory ports: backup
// before a write, read-back verify, the trace, backup names, and the check of
// an image before it is written.

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "codeplug/ImageCheck.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/FieldSession.h"
#include "link/PortHolders.h"
#include "link/SerialBytePort.h"
#include "link/SeriesTally.h"
#include "link/SimulatedRadio.h"
#include "link/TraceBytePort.h"
#include "tests/support/InMemoryPort.h"
#include "tests/support/TestSupport.h"
#include "texts/FieldReasons.h"

Q_DECLARE_METATYPE(QList<BlockDifference>)

namespace {

QByteArray radioRows(const MemoryImage& image)
{
    return image.toByteArray().left(layout::kRadioByteCount);
}

// One simulated radio; every port the factory makes is a new in-memory line to it.
struct RadioOnLine {
    explicit RadioOnLine(const MemoryImage& image, const SimFaults& faults = SimFaults()) : radio(image, faults) {}

    BytePortFactory factory()
    {
        return [this]() -> std::unique_ptr<BytePort> {
            auto port = std::make_unique<InMemoryPort>();
            port->attachRadio(&radio);
            ++portsMade;
            return port;
        };
    }

    SimulatedRadio radio;
    int portsMade = 0;
};

// What an in-memory port reports when another program holds it.
PortOpenError busyPort()
{
    PortOpenError error;
    error.kind = PortOpenError::Kind::Busy;
    error.name = error.device = QStringLiteral("COM1");
    return error;
}

// A port the test keeps: the session's port forwards every call to it, so its
// record outlives the session's transfer.
class LentPort : public BytePort {
public:
    explicit LentPort(BytePort& port) : m_port(port) {}
    bool open(const QString& name, PortOpenError* error) override { return m_port.open(name, error); }
    void close() override { m_port.close(); }
    bool isOpen() const override { return m_port.isOpen(); }
    void setTimeouts(const PortTimeouts& timeouts) override { m_port.setTimeouts(timeouts); }
    int read(std::uint8_t* buffer, int count, bool* ok) override { return m_port.read(buffer, count, ok); }
    int write(const std::uint8_t* buffer, int count) override { return m_port.write(buffer, count); }
    void purgeAll() override { m_port.purgeAll(); }
    void purgeQueues() override { m_port.purgeQueues(); }
    void pause(int ms) override { m_port.pause(ms); }

private:
    BytePort& m_port;
};

FieldOptions fixedBackupOptions(const QString& dir)
{
    FieldOptions options;
    options.backupDir = dir;
    options.modelName = [](const MemoryImage&) { return QStringLiteral("KQ-517"); };
    options.clock = [] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); };
    return options;
}

}  // namespace

class TestFieldSession : public QObject {
    Q_OBJECT

private slots:
    // --- backup, write, verify -------------------------------------------

    void writeWithBackupAndVerify()
    {
        QTemporaryDir dir;
        const MemoryImage earlier = patternImage(1);
        const MemoryImage sent = patternImage(2);
        RadioOnLine line(earlier);
        FieldSession session(line.factory(), QStringLiteral("COM1"));
        FieldOptions options = fixedBackupOptions(dir.filePath(QStringLiteral("backups")));
        options.verify = true;
        QList<FieldStep> steps;
        FieldCallbacks callbacks;
        callbacks.progress = [&steps](FieldStep step, int row) {
            if (row == 0)
                steps.append(step);
        };

        const FieldResult result = session.write(sent, options, callbacks);
        QVERIFY2(result.succeeded(), qPrintable(texts::fieldResult(result)));
        QCOMPARE(steps, (QList<FieldStep>{FieldStep::Backup, FieldStep::Write, FieldStep::Verify}));
        QCOMPARE(line.portsMade, 3);
        QCOMPARE(result.backupPath, dir.filePath(QStringLiteral("backups/KQ-517-20260304-050607.dat")));
        MemoryImage backup;
        QVERIFY(backup.loadFile(result.backupPath));
        QCOMPARE(radioRows(backup), radioRows(earlier));
        QCOMPARE(radioRows(line.radio.image()), radioRows(sent));
        QVERIFY(result.differences.isEmpty());
    }

    void verifyNamesEveryDroppedBlock_data()
    {
        QTest::addColumn<int>("droppedBlock");
        QTest::addColumn<QList<BlockDifference>>("expected");
        QTest::addColumn<QString>("place");
        QTest::newRow("row 0") << 0 << QList<BlockDifference>{BlockDifference{0x000}} << QStringLiteral("row 0");
        QTest::newRow("channel 1, first half") << 2 << QList<BlockDifference>{BlockDifference{0x010}} << QStringLiteral("channel 1");
        QTest::newRow("channel 16, second half") << 33 << QList<BlockDifference>{BlockDifference{0x108}} << QStringLiteral("channel 16");
        QTest::newRow("row 20") << 40 << QList<BlockDifference>{BlockDifference{0x140}} << QStringLiteral("row 20");
        QTest::newRow("settings row") << 121 << QList<BlockDifference>{BlockDifference{0x3C8}} << QStringLiteral("settings row");
    }

    void verifyNamesEveryDroppedBlock()
    {
        QFETCH(int, droppedBlock);
        QFETCH(QList<BlockDifference>, expected);
        QFETCH(QString, place);
        SimFaults faults;
        faults.dropWriteAt = droppedBlock;
        RadioOnLine line(patternImage(1), faults);
        FieldSession session(line.factory(), QStringLiteral("COM1"));
        FieldOptions options;
        options.verify = true;
        const FieldResult result = session.write(patternImage(2), options, FieldCallbacks());
        QCOMPARE(result.outcome, FieldResult::Outcome::Failed);
        QCOMPARE(result.step, FieldStep::Verify);
        QCOMPARE(result.differences, expected);
        const QString named = QStringLiteral("0x%1 (%2)").arg(expected.first().address, 3, 16, QLatin1Char('0')).arg(place);
        QCOMPARE(texts::blockPlace(expected.first().address), place);
        QVERIFY2(texts::fieldResult(result).contains(named), qPrintable(texts::fieldResult(result)));
    }

    void compareNamesEveryDifferingBlockOfTheRadioRows()
    {
        const MemoryImage sent = patternImage(3);
        MemoryImage back = sent;
        back.set(0x015, std::uint8_t(~back.at(0x015)));  // channel 1, first block
        back.set(0x016, std::uint8_t(~back.at(0x016)));  // the same block again
        back.set(0x3CF, std::uint8_t(~back.at(0x3CF)));  // settings row, second block
        back.set(0x3D5, std::uint8_t(~back.at(0x3D5)));  // row 61: never on the radio
        const QList<BlockDifference> differences = FieldSession::compare(sent, back);
        QCOMPARE(differences, (QList<BlockDifference>{BlockDifference{0x010}, BlockDifference{0x3C8}}));
        QCOMPARE(QStringList({texts::blockPlace(0x010), texts::blockPlace(0x3C8)}), QStringList({QStringLiteral("channel 1"), QStringLiteral("settings row")}));
        FieldResult failed;
        failed.step = FieldStep::Verify;
        failed.failure = FieldResult::Failure::VerifyDiffers;
        failed.differences = differences;
        QCOMPARE(texts::fieldResult(failed),
                 QStringLiteral("verify: 2 blocks read back differ from what was written: 0x010 (channel 1), 0x3c8 (settings row)"));
    }

    void withoutVerifyADroppedBlockGoesUnnoticed()
    {
        SimFaults faults;
        faults.dropWriteAt = 5;
        RadioOnLine line(patternImage(1), faults);
        FieldSession session(line.factory(), QStringLiteral("COM1"));
        const FieldResult result = session.write(patternImage(2), FieldOptions(), FieldCallbacks());
        QVERIFY(result.succeeded());
        QCOMPARE(line.portsMade, 1);
        QVERIFY(radioRows(line.radio.image()) != radioRows(patternImage(2)));
    }

    void failedBackupStopsBeforeTheWrite_data()
    {
        QTest::addColumn<int>("shortReplyAt");
        QTest::addColumn<bool>("openFails");
        QTest::newRow("short reply in the backup") << 30 << false;
        QTest::newRow("port cannot be opened") << -1 << true;
    }

    void failedBackupStopsBeforeTheWrite()
    {
        QFETCH(int, shortReplyAt);
        QFETCH(bool, openFails);
        QTemporaryDir dir;
        SimFaults faults;
        faults.shortReplyAt = shortReplyAt;
        const MemoryImage earlier = patternImage(1);
        SimulatedRadio radio(earlier, faults);
        BytePortFactory factory = [&]() -> std::unique_ptr<BytePort> {
            auto port = std::make_unique<InMemoryPort>();
            port->attachRadio(&radio);
            if (openFails)
                port->failOpen(busyPort());
            return port;
        };
        FieldSession session(factory, QStringLiteral("COM1"));
        const FieldResult result = session.write(patternImage(2), fixedBackupOptions(dir.path()), FieldCallbacks());
        QCOMPARE(result.outcome, FieldResult::Outcome::Failed);
        QCOMPARE(result.step, FieldStep::Backup);
        QVERIFY2(texts::fieldResult(result).startsWith(QStringLiteral("backup: ")), qPrintable(texts::fieldResult(result)));
        QCOMPARE(result.openError, openFails ? busyPort() : PortOpenError());
        QVERIFY(result.backupPath.isEmpty());
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
        QCOMPARE(radio.image(), earlier);
    }

    void retryIsAskedAfterEachCommunicationError()
    {
        SimFaults faults;
        faults.noHandshakeAck = true;
        RadioOnLine line(patternImage(1), faults);
        FieldSession session(line.factory(), QStringLiteral("COM1"));
        QList<int> asked;
        FieldCallbacks callbacks;
        callbacks.retry = [&asked](FieldStep step, int failures) {
            if (step == FieldStep::Read)
                asked.append(failures);
            return failures < 3;
        };
        MemoryImage image;
        const FieldResult result = session.read(image, callbacks);
        QCOMPARE(asked, (QList<int>{1, 2, 3}));
        QCOMPARE(result.transfer, TransferResult::CommunicationError);
        QCOMPARE(line.portsMade, 1);
    }

    void cancelIsNotAFailure()
    {
        RadioOnLine line(patternImage(1));
        FieldSession session(line.factory(), QStringLiteral("COM1"));
        FieldCallbacks callbacks;
        callbacks.pump = [] { return true; };
        FieldOptions options;
        options.verify = true;
        const FieldResult result = session.write(patternImage(2), options, callbacks);
        QCOMPARE(result.outcome, FieldResult::Outcome::Cancelled);
        QCOMPARE(result.step, FieldStep::Write);
        QCOMPARE(line.radio.image(), patternImage(1));
    }

    // --- backup file names -------------------------------------------------

    void safeFileText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain") << QStringLiteral("KQ-517") << QStringLiteral("KQ-517");
        QTest::newRow("separators") << QStringLiteral("A/B\\C:D") << QStringLiteral("A%2FB%5CC%3AD");
        QTest::newRow("wildcards and quotes") << QStringLiteral("x*?\"<>|") << QStringLiteral("x%2A%3F%22%3C%3E%7C");
        QTest::newRow("the escape character") << QStringLiteral("50%") << QStringLiteral("50%25");
        QTest::newRow("leading and trailing dot") << QStringLiteral(".hid.") << QStringLiteral("%2Ehid%2E");
        QTest::newRow("control character") << QStringLiteral("a\tb") << QStringLiteral("a%09b");
        QTest::newRow("Chinese kept") << QStringLiteral("对讲机") << QStringLiteral("对讲机");
        QTest::newRow("empty") << QString() << QStringLiteral("radio");
        QTest::newRow("blank") << QStringLiteral("  ") << QStringLiteral("radio");
    }

    void safeFileText()
    {
        QFETCH(QString, text);
        QFETCH(QString, safe);
        QCOMPARE(FieldSession::safeFileText(text), safe);
    }

    void backupNeverOverwritesAnEarlierOne()
    {
        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 12, 7), QTime(13, 5, 9));
        QStringList taken;
        for (int i = 0; i < 3; ++i) {
            const QString path = FieldSession::backupPath(dir.path(), QStringLiteral("KQ/517"), when);
            QVERIFY(!QFileInfo::exists(path));
            taken.append(QFileInfo(path).fileName());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(taken, (QStringList{QStringLiteral("KQ%2F517-20261207-130509.dat"),
                                     QStringLiteral("KQ%2F517-20261207-130509-2.dat"),
                                     QStringLiteral("KQ%2F517-20261207-130509-3.dat")}));
    }

    void backupNameFitsTheFileSystem_data()
    {
        QTest::addColumn<QString>("model");
        QTest::newRow("236 letters") << QString(236, QLatin1Char('K'));
        QTest::newRow("79 percent signs") << QString(79, QLatin1Char('%'));
        QTest::newRow("wide characters") << QStringLiteral("对讲机").repeated(30);
        QTest::newRow("characters outside the BMP") << QStringLiteral("\U0001F4FB").repeated(70);
    }

    // Every name fits 255 bytes with room for a save's temporary name, the model part is cut only between
    // characters, and a later backup of the same second gets a name of its own.
    void backupNameFitsTheFileSystem()
    {
        QFETCH(QString, model);
        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 12, 7), QTime(13, 5, 9));
        const QString safe = FieldSession::safeFileText(model);
        QSet<QString> taken;
        for (const QString& tail : {QStringLiteral("-20261207-130509.dat"), QStringLiteral("-20261207-130509-2.dat")}) {
            const QString path = FieldSession::backupPath(dir.path(), model, when);
            const QString name = QFileInfo(path).fileName();
            QVERIFY2(name.toUtf8().size() <= 248, qPrintable(name));
            QVERIFY2(name.endsWith(tail), qPrintable(name));
            const QString modelPart = name.chopped(tail.size());
            QVERIFY(modelPart.size() > 40);
            QVERIFY(safe.startsWith(modelPart));
            QVERIFY(!modelPart.right(2).contains(QLatin1Char('%')));
            QVERIFY(!modelPart.back().isHighSurrogate());
            QVERIFY(!taken.contains(name));
            taken.insert(name);
            // Saved twice: a save over an existing file needs room for its
            // temporary name too.
            ImageFileProblem error;
            QVERIFY2(MemoryImage::newImage().saveFile(path, &error), qPrintable(error.reason));
            QVERIFY2(MemoryImage::newImage().saveFile(path, &error), qPrintable(error.reason));
        }
    }

    // --- trace -------------------------------------------------------------

    void traceRecordsEveryByteInOrder()
    {
        QTemporaryDir dir;
        const QString tracePath = dir.filePath(QStringLiteral("trace.txt"));
        TraceLog log;
        TraceError error;
        QVERIFY2(log.open(tracePath, &error), qPrintable(texts::traceError(error)));
        SimulatedRadio radio(patternImage(4));
        InMemoryPort inner;
        inner.attachRadio(&radio);
        BytePortFactory toInner = [&inner]() -> std::unique_ptr<BytePort> { return std::make_unique<LentPort>(inner); };
        FieldSession session(TraceBytePort::wrap(toInner, log), QStringLiteral("COM1"));
        MemoryImage image;
        QVERIFY(session.read(image, FieldCallbacks()).succeeded());
        QCOMPARE(radioRows(image), radioRows(patternImage(4)));
        const QByteArray sent = inner.written();
        QByteArray received;
        for (const InMemoryPort::Event& e : inner.events())
            if (e.kind == InMemoryPort::Kind::Read)
                received += e.bytes;
        QVERIFY(log.close(&error));

        QFile file(tracePath);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        static const QRegularExpression lineFormat(QStringLiteral("^(\\d+\\.\\d{6}) ([<>])((?: [0-9a-f]{2})+)$"));
        QByteArray traceSent;
        QByteArray traceReceived;
        double last = 0;
        while (!file.atEnd()) {
            const QString text = QString::fromLatin1(file.readLine()).chopped(1);
            if (text.startsWith(QLatin1String("# ")))
                continue;
            const QRegularExpressionMatch m = lineFormat.match(text);
            QVERIFY2(m.hasMatch(), qPrintable(text));
            const double seconds = m.captured(1).toDouble();
            QVERIFY2(seconds >= last, qPrintable(text));
            last = seconds;
            const QByteArray bytes = QByteArray::fromHex(m.captured(3).remove(QLatin1Char(' ')).toLatin1());
            (m.captured(2) == QLatin1String(">") ? traceSent : traceReceived) += bytes;
        }
        QCOMPARE(traceSent, sent);
        QCOMPARE(traceReceived, received);
        QVERIFY(received.size() > layout::kRadioByteCount);
    }

    // Each radio of a series counted once: written, failed verify, not written.
    void seriesTallyCountsEachRadioOnce_data()
    {
        QTest::addColumn<QStringList>("radios");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("failedVerify");
        QTest::addColumn<int>("notWritten");
        QTest::newRow("one of each") << QStringList{"ok", "verify", "no port"} << 1 << 1 << 1;
        QTest::newRow("all written") << QStringList{"ok", "ok"} << 2 << 0 << 0;
        QTest::newRow("no port twice, then ok") << QStringList{"no port", "no port", "ok"} << 1 << 0 << 2;
    }

    void seriesTallyCountsEachRadioOnce()
    {
        QFETCH(QStringList, radios);
        QFETCH(int, written);
        QFETCH(int, failedVerify);
        QFETCH(int, notWritten);
        SeriesTally tally;
        FieldOptions options;
        options.verify = true;
        for (const QString& kind : radios) {
            SimFaults faults;
            if (kind == QLatin1String("verify"))
                faults.dropWriteAt = 5;
            RadioOnLine line(patternImage(2), faults);
            BytePortFactory factory = line.factory();
            if (kind == QLatin1String("no port"))
                factory = [] {
                    auto port = std::make_unique<InMemoryPort>();
                    port->failOpen(busyPort());
                    return std::unique_ptr<BytePort>(std::move(port));
                };
            FieldSession session(factory, QStringLiteral("COM1"));
            tally.add(session.write(patternImage(3), options, FieldCallbacks()));
        }
        QCOMPARE(tally.written(), written);
        QCOMPARE(tally.failedVerify(), failedVerify);
        QCOMPARE(tally.notWritten(), notWritten);
        QCOMPARE(tally.radios(), int(radios.size()));
        QCOMPARE(tally.allWritten(), written == radios.size());
    }

    void traceLineFormat()
    {
        const std::uint8_t bytes[] = {0x02, 0x4D, 0xFF};
        QCOMPARE(TraceLog::line(1.5, '>', bytes, 3), QByteArray("1.500000 > 02 4d ff"));
        QCOMPARE(TraceLog::line(0.0000004, '<', bytes + 2, 1), QByteArray("0.000000 < ff"));
    }

    // --- the image check ---------------------------------------------------

    void imageCheck_data()
    {
        QTest::addColumn<QList<int>>("offsets");   // offset, value pairs to set
        QTest::addColumn<QList<int>>("problemAt");  // offsets of the problems found
        QTest::addColumn<QString>("mentions");

        const int ch2 = layout::channelOffset(2);
        const QList<int> goodChannel2 = {ch2 + 0, 0x50, ch2 + 1, 0x12, ch2 + 2, 0x50, ch2 + 3, 0x14,
                                         ch2 + 4, 0x00, ch2 + 5, 0x00, ch2 + 6, 0x50, ch2 + 7, 0x14};
        QTest::newRow("new image") << QList<int>{} << QList<int>{} << QString();
        QTest::newRow("channel in the band") << goodChannel2 << QList<int>{} << QString();
        QTest::newRow("squelch level 10") << QList<int>{layout::kSquelchLevel, 10} << QList<int>{layout::kSquelchLevel}
                                          << QStringLiteral("squelch level");
        QTest::newRow("squelch level 9 is fine") << QList<int>{layout::kSquelchLevel, 9} << QList<int>{} << QString();
        QTest::newRow("time-out 11") << QList<int>{layout::kTimeOutTimer, 11} << QList<int>{layout::kTimeOutTimer}
                                     << QStringLiteral("time-out timer");
        QTest::newRow("time-out blank") << QList<int>{layout::kTimeOutTimer, 0xFF} << QList<int>{layout::kTimeOutTimer}
                                        << QStringLiteral("255");
        QTest::newRow("model beyond the list") << QList<int>{layout::kModelIndex, 1} << QList<int>{layout::kModelIndex}
                                               << QStringLiteral("model index");
        QTest::newRow("band beyond the list") << QList<int>{layout::kBandIndex, 2} << QList<int>{layout::kBandIndex}
                                              << QStringLiteral("band index");
        QTest::newRow("receive frequency below the band")
            << goodChannel2 + QList<int>{ch2 + 3, 0x12} << QList<int>{ch2} << QStringLiteral("125.01250 MHz is outside the band 130 - 160MHz");
        QTest::newRow("transmit frequency above the band")
            << goodChannel2 + QList<int>{ch2 + 7, 0x16, ch2 + 6, 0x01} << QList<int>{ch2 + 4} << QStringLiteral("transmit frequency 160.10000");
        QTest::newRow("frequency digit not decimal")
            << goodChannel2 + QList<int>{ch2 + 1, 0x1A} << QList<int>{ch2} << QStringLiteral("not a decimal number");
        QTest::newRow("CTCSS tone not listed")
            << goodChannel2 + QList<int>{ch2 + 8, 0x00, ch2 + 9, 0x07} << QList<int>{ch2 + 8} << QStringLiteral("channel 2: decode tone");
        QTest::newRow("CTCSS tone listed")
            << goodChannel2 + QList<int>{ch2 + 10, 0x70, ch2 + 11, 0x06} << QList<int>{} << QString();
        QTest::newRow("DCS code listed, inverted")
            << goodChannel2 + QList<int>{ch2 + 10, 0x23, ch2 + 11, 0xC0} << QList<int>{} << QString();
        QTest::newRow("DCS code not listed")
            << goodChannel2 + QList<int>{ch2 + 10, 0x24, ch2 + 11, 0x80} << QList<int>{ch2 + 10} << QStringLiteral("encode tone");
        QTest::newRow("tone digits not decimal")
            << goodChannel2 + QList<int>{ch2 + 8, 0x0A, ch2 + 9, 0x07} << QList<int>{ch2 + 8} << QStringLiteral("not a listed tone");
        QTest::newRow("no tone, whatever the low byte") << goodChannel2 + QList<int>{ch2 + 8, 0x5A, ch2 + 9, 0x00}
                                                        << QList<int>{} << QString();
        QTest::newRow("unused channel is not examined")
            << QList<int>{ch2 + 0, 0xAA, ch2 + 3, 0xFF, ch2 + 7, 0x99, ch2 + 8, 0x01, ch2 + 9, 0x01} << QList<int>{} << QString();
        QTest::newRow("two problems in image order")
            << goodChannel2 + QList<int>{ch2 + 3, 0x12, layout::kSquelchLevel, 0xFF} << QList<int>{ch2, layout::kSquelchLevel}
            << QStringLiteral("channel 2: receive frequency");
    }

    void imageCheck()
    {
        QFETCH(QList<int>, offsets);
        QFETCH(QList<int>, problemAt);
        QFETCH(QString, mentions);
        MemoryImage image = MemoryImage::newImage();
        for (int i = 0; i + 1 < offsets.size(); i += 2)
            image.set(offsets.at(i), std::uint8_t(offsets.at(i + 1)));
        ImageCheckLimits limits;
        limits.modelCount = 1;
        limits.bandCount = 2;
        limits.bandText = QStringLiteral("130 - 160MHz");
        limits.bandLow = 13000000;
        limits.bandHigh = 16000000;
        const QList<ImageProblem> problems = checkImage(image, limits);
        QList<int> at;
        QStringList lines;
        for (const ImageProblem& p : problems) {
            at.append(p.offset);
            lines.append(texts::imageProblem(p));
        }
        QCOMPARE(at, problemAt);
        if (!mentions.isEmpty())
            QVERIFY2(lines.first().contains(mentions), qPrintable(lines.join(QLatin1Char('\n'))));
    }

    // --- ports -------------------------------------------------------------

    void holdersOfADeviceIncludeThisProgram()
    {
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("device"));
        const QString link = dir.filePath(QStringLiteral("by-id"));
        QFile held(device);
        QVERIFY(held.open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(device, link));
        auto pids = [](const QList<PortHolder>& holders) {
            QList<qint64> list;
            for (const PortHolder& h : holders)
                list.append(h.pid);
            return list;
        };
        QVERIFY(pids(PortHolders::find(device)).contains(QCoreApplication::applicationPid()));
        // A link to the device names the same holders.
        QVERIFY(pids(PortHolders::find(link)).contains(QCoreApplication::applicationPid()));
        held.close();
        QVERIFY(!pids(PortHolders::find(device)).contains(QCoreApplication::applicationPid()));
    }

    void portOpensWhenLowLatencyIsRefused()
    {
        // A pseudo-terminal has no low-latency setting: the open still works.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString device = QString::fromLocal8Bit(::ptsname(master));
        SerialBytePort port;
        PortOpenError error;
        QVERIFY2(port.open(device, &error), qPrintable(texts::openReason(error)));
        QVERIFY(!port.lowLatency());
        const std::uint8_t byte = 0x06;
        QCOMPARE(port.write(&byte, 1), 1);
        port.close();
        ::close(master);
    }
};

QTEST_GUILESS_MAIN(TestFieldSession)
#include "tst_fieldsession.moc"
