// The protocol engine byte for byte against an in-memory port, the simulated
// radio's answers, and the port names.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <iterator>
#include <QtTest>

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/PortNames.h"
#include "link/ProtocolConstants.h"
#include "link/ProtocolEngine.h"
#include "link/SimulatedRadio.h"
#include "settings/IniFile.h"
#include "texts/FieldReasons.h"
#include "tests/support/InMemoryPort.h"
#include "tests/support/TestSupport.h"

using Kind = InMemoryPort::Kind;
using Event = InMemoryPort::Event;

Q_DECLARE_METATYPE(TransferResult)

namespace {

Event write(const QByteArray& bytes) { return {Kind::Write, bytes, 0}; }
Event read(int count, const QByteArray& got) { return {Kind::Read, got, count}; }
Event pause(int ms) { return {Kind::Pause, {}, ms}; }
Event purgeQueues() { return {Kind::PurgeQueues, {}, 0}; }
Event pump() { return {Kind::Pump, {}, 0}; }

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray imageBytes(const MemoryImage& image, int offset, int count)
{
    return QByteArray(reinterpret_cast<const char*>(image.data() + offset), count);
}

// Renders events for a readable failure message.
QString describe(const QList<Event>& events)
{
    QStringList lines;
    for (const Event& e : events)
        lines << QStringLiteral("%1 %2 %3").arg(QLatin1String(toString(e.kind)), QString::fromLatin1(e.bytes.toHex(' '))).arg(e.value);
    return lines.join(QLatin1Char('\n'));
}

void compareEvents(const QList<Event>& actual, const QList<Event>& expected)
{
    const int n = int(qMin(actual.size(), expected.size()));
    for (int i = 0; i < n; ++i) {
        if (!(actual.at(i) == expected.at(i)))
            QFAIL(qPrintable(QStringLiteral("event %1 differs.\nactual:\n%2\nexpected:\n%3")
                                 .arg(i)
                                 .arg(describe(actual.mid(i, 6)), describe(expected.mid(i, 6)))));
    }
    QCOMPARE(actual.size(), expected.size());
}

// The event sequence of one good handshake against a radio identifying as ident.
QList<Event> handshakeEvents(const QByteArray& ident)
{
    QList<Event> e;
    for (int i = 0; i < 6; ++i)
        e << pump() << pause(1);
    e << Event{Kind::PurgeAll, {}, 0};
    // 0x02, then "PROGRA", one byte per write.
    for (int b : {0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41})
        e << pause(2) << purgeQueues() << write(QByteArray(1, char(b)));
    e << read(1, bytes({SimulatedRadio::kWakeUpAnswer}));
    e << pause(1) << purgeQueues() << write("M") << pause(1) << write(bytes({0x02}));
    e << read(8, ident);
    e << purgeQueues() << write(bytes({0x06})) << purgeQueues() << pause(1) << read(1, bytes({0x06}));
    return e;
}

}  // namespace

// A simulated radio on an in-memory port, with an engine that has opened it.
struct RadioOnPort {
    SimulatedRadio radio;
    InMemoryPort port;
    ProtocolEngine engine;
    explicit RadioOnPort(const MemoryImage& image, const SimFaults& faults = SimFaults())
        : radio(image, faults), engine(port)
    {
        port.attachRadio(&radio);
        engine.open(QStringLiteral("COM1"));
    }
};

class TestProtocol : public QObject {
    Q_OBJECT

private:
    ProtocolEngine::Pump pumpFor(InMemoryPort& port, int cancelAtPass = -1)
    {
        auto passes = std::make_shared<int>(0);
        return [&port, passes, cancelAtPass] {
            port.notePump();
            return (*passes)++ == cancelAtPass;
        };
    }

private:
    // The device a settings file with [Ports] COM1=/dev/ttyACM7 and an empty
    // COM2= gives name.
    static QString portsDevice(const QString& name)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("ports.ini"));
        CIniFile settings;
        if (!writeFile(path, "[Ports]\nCOM1=/dev/ttyACM7\nCOM2=\n") || !settings.Open(path, false, true, true, false))
            return QStringLiteral("(settings not written)");
        return PortNames::device(name, settings);
    }

private slots:
    void readIsExactByteSequence()
    {
        const MemoryImage radioImage = patternImage(3, 7);
        SimulatedRadio radio(radioImage);
        InMemoryPort port;
        port.attachRadio(&radio);
        ProtocolEngine engine(port);
        QCOMPARE(engine.open(QStringLiteral("COM1")), TransferResult::Done);
        QCOMPARE(port.timeouts().readTotalConstantMs, 90);
        port.clearEvents();

        QCOMPARE(engine.handshake(pumpFor(port)), TransferResult::Done);
        compareEvents(port.events(), handshakeEvents(QByteArrayLiteral("P3107\0\0\0")));
        port.clearEvents();

        MemoryImage image = MemoryImage::newImage();
        QList<int> rows;
        QCOMPARE(engine.readImage(image, pumpFor(port), [&rows](int row) { rows << row; }),
                 TransferResult::Done);

        QList<Event> expected;
        for (int row = 0; row <= 60; ++row) {
            for (int block = 0; block < 2; ++block) {
                const int address = row * 16 + block * 8;
                if (block == 1)
                    expected << pause(1);
                expected << purgeQueues() << write(bytes({0x52, address >> 8, address & 0xFF, 0x08}));
                expected << read(12, bytes({0x57, address >> 8, address & 0xFF, 0x08}) + imageBytes(radioImage, address, 8));
                expected << pause(1) << purgeQueues() << write(bytes({0x06})) << read(1, bytes({0x06}));
            }
            for (int i = 0; i < 5; ++i)
                expected << pump();
        }
        expected << Event{Kind::Close, {}, 0};
        compareEvents(port.events(), expected);

        QCOMPARE(rows.size(), 61);
        QCOMPARE(rows.first(), 0);
        QCOMPARE(rows.last(), 60);
        // Rows 0 to 60 come from the radio, rows 61 to 63 stay as they were.
        QCOMPARE(imageBytes(image, 0, 0x3D0), imageBytes(radioImage, 0, 0x3D0));
        QCOMPARE(imageBytes(image, 0x3D0, 48), imageBytes(MemoryImage::newImage(), 0x3D0, 48));
        QVERIFY(!port.isOpen());
    }

    void writeIsExactByteSequence()
    {
        SimulatedRadio radio(MemoryImage::newImage());
        InMemoryPort port;
        port.attachRadio(&radio);
        ProtocolEngine engine(port);
        QCOMPARE(engine.open(QStringLiteral("COM2")), TransferResult::Done);
        QCOMPARE(engine.handshake(pumpFor(port)), TransferResult::Done);
        port.clearEvents();

        const MemoryImage image = patternImage(11, 7);
        QCOMPARE(engine.writeImage(image, pumpFor(port), {}), TransferResult::Done);

        QList<Event> expected;
        for (int row = 0; row <= 60; ++row) {
            for (int block = 0; block < 2; ++block) {
                const int address = row * 16 + block * 8;
                expected << purgeQueues() << write(bytes({0x57, address >> 8, address & 0xFF, 0x08}))
                         << pause(1) << write(imageBytes(image, address, 8)) << read(1, bytes({0x06}));
            }
            for (int i = 0; i < 5; ++i)
                expected << pump();
        }
        expected << Event{Kind::Close, {}, 0};
        compareEvents(port.events(), expected);

        // The radio got rows 0 to 60; rows 61 to 63 were never sent.
        QCOMPARE(imageBytes(radio.image(), 0, 0x3D0), imageBytes(image, 0, 0x3D0));
        QCOMPARE(imageBytes(radio.image(), 0x3D0, 48), imageBytes(MemoryImage::newImage(), 0x3D0, 48));
        QCOMPARE(radio.completedWrites(), 1);
    }

    void identification_data()
    {
        QTest::addColumn<QByteArray>("ident");
        QTest::addColumn<TransferResult>("expected");
        QTest::addColumn<bool>("portOpenAfter");
        QTest::newRow("P3107") << QByteArrayLiteral("P3107abc") << TransferResult::Done << true;
        QTest::newRow("P2107, any tail") << QByteArrayLiteral("P2107\xff\x01\x80") << TransferResult::Done << true;
        QTest::newRow("exactly five bytes") << QByteArrayLiteral("P3107") << TransferResult::Done << true;
        QTest::newRow("byte 0 wrong") << QByteArrayLiteral("Q3107\0\0\0") << TransferResult::ModelMismatch << false;
        QTest::newRow("byte 1 wrong") << QByteArrayLiteral("P4107\0\0\0") << TransferResult::ModelMismatch << false;
        QTest::newRow("byte 4 wrong") << QByteArrayLiteral("P3108\0\0\0") << TransferResult::ModelMismatch << false;
        // Too short to check: a fault of the line, worth a Retry.
        QTest::newRow("four bytes") << QByteArrayLiteral("P310") << TransferResult::CommunicationError << true;
        QTest::newRow("one byte") << QByteArrayLiteral("P") << TransferResult::CommunicationError << true;
        QTest::newRow("nothing") << QByteArray() << TransferResult::CommunicationError << true;
    }

    void identification()
    {
        QFETCH(QByteArray, ident);
        QFETCH(TransferResult, expected);
        QFETCH(bool, portOpenAfter);
        SimFaults faults;
        faults.identification = ident;
        RadioOnPort line(MemoryImage::newImage(), faults);
        [[maybe_unused]] auto& [radio, port, engine] = line;
        QCOMPARE(engine.handshake({}), expected);
        QCOMPARE(port.isOpen(), portOpenAfter);
        // A mismatch stops before the ACK; a short reply is never acknowledged.
        if (expected != TransferResult::Done)
            QVERIFY(!port.written().endsWith(char(0x06)));
    }

    // Bytes of an earlier attempt's identification must not complete a short
    // one: were they compared, this second attempt would succeed.
    void shortIdentificationAfterGoodOneIsStillAnError()
    {
        InMemoryPort port;
        int attempt = 0;
        auto previous = std::make_shared<QByteArray>();
        port.setResponder([&attempt, previous](const QByteArray& w) {
            QByteArray answer;
            if (w == "A")
                answer = bytes({0x06});  // wake-up answer
            else if (w == bytes({0x02}) && *previous == "M")
                answer = ++attempt == 1 ? QByteArrayLiteral("P3107xyz") : QByteArrayLiteral("P");
            else if (w == bytes({0x06}) && attempt == 2)
                answer = bytes({0x06});
            *previous = w;
            return answer;
        });
        ProtocolEngine engine(port);
        engine.open(QStringLiteral("COM1"));
        QCOMPARE(engine.handshake({}), TransferResult::CommunicationError);  // no ACK
        QCOMPARE(engine.handshake({}), TransferResult::CommunicationError);  // short reply
        QCOMPARE(attempt, 2);
    }

    void handshakeFaults_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<TransferResult>("expected");
        QTest::newRow("silent") << 0 << TransferResult::CommunicationError;
        QTest::newRow("no handshake ACK") << 1 << TransferResult::CommunicationError;
        // The wake-up answer's count is not examined: only a failed read is an error.
        QTest::newRow("no wake-up answer") << 2 << TransferResult::Done;
    }

    void handshakeFaults()
    {
        QFETCH(int, fault);
        QFETCH(TransferResult, expected);
        SimFaults faults;
        faults.silent = fault == 0;
        faults.noHandshakeAck = fault == 1;
        faults.noWakeUpAnswer = fault == 2;
        RadioOnPort line(MemoryImage::newImage(), faults);
        [[maybe_unused]] auto& [radio, port, engine] = line;
        QCOMPARE(engine.handshake({}), expected);
        QVERIFY(port.isOpen());  // open for a Retry, or for the transfer
    }

    void retryRepeatsWholeHandshakeOnSamePort()
    {
        SimFaults faults;
        faults.noHandshakeAck = true;
        RadioOnPort line(MemoryImage::newImage(), faults);
        [[maybe_unused]] auto& [radio, port, engine] = line;
        QCOMPARE(engine.handshake(pumpFor(port)), TransferResult::CommunicationError);
        port.clearEvents();
        QCOMPARE(engine.handshake(pumpFor(port)), TransferResult::CommunicationError);
        QCOMPARE(port.openCount(), 1);
        QList<Event> expected = handshakeEvents(QByteArrayLiteral("P3107\0\0\0"));
        expected.last() = read(1, QByteArray());
        compareEvents(port.events(), expected);
    }

    void failedWakeUpReadIsCommunicationError()
    {
        // The wake-up read fails as an operation, the identification then
        // arrives: the model check passes and the attempt still fails.
        SimulatedRadio radio(MemoryImage::newImage());
        InMemoryPort port;
        port.attachRadio(&radio);
        port.failRead(0);
        ProtocolEngine engine(port);
        engine.open(QStringLiteral("COM1"));
        QCOMPARE(engine.handshake({}), TransferResult::CommunicationError);
        QVERIFY(!port.written().endsWith(char(0x06)));
        QVERIFY(port.isOpen());
    }

    void cancel_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("cancelAtPass");
        QTest::addColumn<int>("rowsDone");
        // Passes 0-5 are the handshake's; row r's passes follow.
        QTest::newRow("read, first pass of row 0") << false << 6 << 1;
        QTest::newRow("read, last pass of row 29") << false << 6 + 29 * 5 + 4 << 30;
        QTest::newRow("write, third pass of row 10") << true << 6 + 10 * 5 + 2 << 11;
    }

    void cancel()
    {
        QFETCH(bool, write);
        QFETCH(int, cancelAtPass);
        QFETCH(int, rowsDone);
        const MemoryImage radioImage = patternImage(5, 7);
        RadioOnPort line(radioImage);
        [[maybe_unused]] auto& [radio, port, engine] = line;
        const ProtocolEngine::Pump pump = pumpFor(port, cancelAtPass);
        QCOMPARE(engine.handshake(pump), TransferResult::Done);
        MemoryImage image = MemoryImage::newImage();
        int progressCalls = 0;
        const auto progress = [&progressCalls](int) { ++progressCalls; };
        const TransferResult result =
            write ? engine.writeImage(image, pump, progress) : engine.readImage(image, pump, progress);
        QCOMPARE(result, TransferResult::Cancelled);
        QCOMPARE(progressCalls, rowsDone);
        QVERIFY(!port.isOpen());
        // Nothing after the cancelling pass but the close.
        QCOMPARE(port.events().last().kind, Kind::Close);
        QCOMPARE(port.events().at(port.events().size() - 2).kind, Kind::Pump);
        if (!write) {
            QCOMPARE(imageBytes(image, 0, rowsDone * 16), imageBytes(radioImage, 0, rowsDone * 16));
            QCOMPARE(imageBytes(image, rowsDone * 16, 16), imageBytes(MemoryImage::newImage(), rowsDone * 16, 16));
        }
    }

    void cancelBeforeHandshakeSendsNothing()
    {
        InMemoryPort port;
        ProtocolEngine engine(port);
        engine.open(QStringLiteral("COM1"));
        QCOMPARE(engine.handshake(pumpFor(port, 2)), TransferResult::Cancelled);
        QVERIFY(port.written().isEmpty());
        QVERIFY(!port.isOpen());
    }

    void blockFaults_data()
    {
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("kind");  // 0 no ACK, 1 wrong ACK, 2 short reply, 3 line vanishes
        QTest::addColumn<int>("block");
        QTest::newRow("read, no ACK, block 0") << false << 0 << 0;
        QTest::newRow("read, NAK, block 61 (row 30, second)") << false << 1 << 61;
        QTest::newRow("read, short reply, block 60 (row 30, first)") << false << 2 << 60;
        QTest::newRow("read, line vanishes, block 121") << false << 3 << 121;
        QTest::newRow("write, no ACK, block 7") << true << 0 << 7;
        QTest::newRow("write, NAK, block 121") << true << 1 << 121;
        QTest::newRow("write, line vanishes, block 40") << true << 3 << 40;
    }

    void blockFaults()
    {
        QFETCH(bool, write);
        QFETCH(int, kind);
        QFETCH(int, block);
        SimFaults faults;
        (kind == 0 ? faults.noAckAt : kind == 1 ? faults.wrongAckAt : kind == 2 ? faults.shortReplyAt : faults.vanishAt) = block;
        const MemoryImage radioImage = patternImage(9, 7);
        RadioOnPort line(radioImage, faults);
        [[maybe_unused]] auto& [radio, port, engine] = line;
        QCOMPARE(engine.handshake({}), TransferResult::Done);
        const MemoryImage before = MemoryImage::newImage();
        MemoryImage image = before;
        int rows = 0;
        const auto progress = [&rows](int) { ++rows; };
        const TransferResult result = write ? engine.writeImage(patternImage(1, 7), {}, progress)
                                            : engine.readImage(image, {}, progress);
        QCOMPARE(result, TransferResult::BlockFailure);
        QCOMPARE(rows, block / 2);
        QVERIFY(!port.isOpen());
        if (write) {
            QCOMPARE(radio.completedWrites(), 0);
            return;
        }
        // The blocks received so far stay: a block whose full reply arrived is
        // stored even when its ACK fails.
        const int kept = (kind <= 1 ? block + 1 : block) * 8;
        QCOMPARE(imageBytes(image, 0, kept), imageBytes(radioImage, 0, kept));
        QCOMPARE(imageBytes(image, kept, 1024 - kept), imageBytes(before, kept, 1024 - kept));
    }

    void openFailure()
    {
        InMemoryPort port;
        PortOpenError missing;
        missing.kind = PortOpenError::Kind::NoDevice;
        missing.name = missing.device = QStringLiteral("COM3");
        port.failOpen(missing);
        ProtocolEngine engine(port);
        QCOMPARE(engine.open(QStringLiteral("COM3")), TransferResult::PortOpenFailed);
        QCOMPARE(texts::openReason(engine.openError()), QStringLiteral("COM3: no such device"));
        QCOMPARE(engine.handshake({}), TransferResult::PortOpenFailed);
        QVERIFY(port.written().isEmpty());
    }

    void destructorClosesPort()
    {
        SimFaults faults;
        faults.silent = true;
        SimulatedRadio radio(MemoryImage::newImage(), faults);
        InMemoryPort port;
        port.attachRadio(&radio);
        {
            ProtocolEngine engine(port);
            engine.open(QStringLiteral("COM1"));
            QCOMPARE(engine.handshake({}), TransferResult::CommunicationError);
            QVERIFY(port.isOpen());
        }
        QVERIFY(!port.isOpen());
        QCOMPARE(port.closeCount(), 1);
    }

    // A purge drops what had arrived before it: line noise before the
    // handshake does not reach the identification.
    void noiseBeforeHandshakeIsPurged()
    {
        RadioOnPort line(MemoryImage::newImage());
        [[maybe_unused]] auto& [radio, port, engine] = line;
        port.queueIncoming(QByteArrayLiteral("garbage!"));
        QCOMPARE(engine.handshake({}), TransferResult::Done);
    }

    void twoTransfersInARow()
    {
        const MemoryImage radioImage = patternImage(2, 7);
        SimulatedRadio radio(radioImage);
        InMemoryPort port;
        port.attachRadio(&radio);
        for (int i = 0; i < 2; ++i) {
            ProtocolEngine engine(port);
            QCOMPARE(engine.open(QStringLiteral("COM1")), TransferResult::Done);
            QCOMPARE(engine.handshake({}), TransferResult::Done);
            MemoryImage image;
            QCOMPARE(engine.readImage(image, {}, {}), TransferResult::Done);
            QCOMPARE(imageBytes(image, 0, 0x3D0), imageBytes(radioImage, 0, 0x3D0));
        }
        QCOMPARE(radio.completedReads(), 2);
    }

    // The three messages of a failed transfer: their string-table ids and the
    // English texts the command line prints.
    void transferMessages_data()
    {
        QTest::addColumn<TransferResult>("result");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("port open failed") << TransferResult::PortOpenFailed << 61453
            << "Could not Open the Port,Please check whether the Port are occupied or the device are ok";
        QTest::newRow("communication error") << TransferResult::CommunicationError << 61451
            << "Communication Error,Please check all the connections and the radio power";
        QTest::newRow("block failure") << TransferResult::BlockFailure << 61454
            << "Program Interrupt, Please reset the radio and try again";
        QTest::newRow("cancelled, no message") << TransferResult::Cancelled << 0 << QString();
    }

    void transferMessages()
    {
        QFETCH(TransferResult, result);
        QFETCH(int, id);
        QFETCH(QString, text);
        QCOMPARE(ProtocolEngine::messageId(result), id);
        if (id == 0)
            return;
        QCOMPARE(texts::transferMessage(result, texts::TextTable::english()), text);
        QFile file(QStringLiteral(KQ517_SOURCE_DIR "/resources/English/strings.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject table = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(table.value(QString::number(id)).toString(), text);
    }

    // The protocol's numbers against the radio's, written out here.
    void protocolConstants_data()
    {
        QTest::addColumn<int>("actual");
        QTest::addColumn<int>("expected");
        const auto row = [](const char* name, int actual, int expected) {
            QTest::newRow(name) << actual << expected;
        };
        row("baud rate", protocol::kBaudRate, 9600);
        row("receive queue", protocol::kReceiveQueueSize, 1024);
        row("transmit queue", protocol::kTransmitQueueSize, 512);
        row("read interval", protocol::kReadIntervalMs, 30);
        row("read total per byte", protocol::kReadTotalMultiplierMs, 100);
        row("read total constant", protocol::kReadTotalConstantMs, 90);
        row("write total per byte", protocol::kWriteTotalMultiplierMs, 50);
        row("write total constant", protocol::kWriteTotalConstantMs, 50);
        row("handshake pump passes", protocol::kHandshakePumpPasses, 6);
        row("handshake pump pause", protocol::kHandshakePumpPauseMs, 1);
        row("wake-up byte pause", protocol::kWakeUpBytePauseMs, 2);
        row("short pause", protocol::kShortPauseMs, 1);
        row("row pump passes", protocol::kRowPumpPasses, 5);
        row("STX", protocol::kStx, 0x02);
        row("wake-up length", int(protocol::kWakeUp.size()), 7);
        const int wakeUp[] = {0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41};  // 0x02 "PROGRA"
        for (std::size_t i = 0; i < std::size(wakeUp) && i < protocol::kWakeUp.size(); ++i)
            QTest::addRow("wake-up byte %d", int(i)) << int(protocol::kWakeUp[i]) << wakeUp[i];
        row("wake-up answer size", protocol::kWakeUpAnswerSize, 1);
        row("identification request 'M'", protocol::kIdentRequest, 0x4D);
        row("identification request end", protocol::kIdentRequestEnd, 0x02);
        row("identification reply size", protocol::kIdentReplyMaxSize, 8);
        row("identification checked bytes", protocol::kIdentCheckedSize, 5);
        row("identification 'P'", protocol::kIdentByte0, 0x50);
        row("identification '3'", protocol::kIdentByte1a, 0x33);
        row("identification '2'", protocol::kIdentByte1b, 0x32);
        row("identification '1'", protocol::kIdentByte2, 0x31);
        row("identification '0'", protocol::kIdentByte3, 0x30);
        row("identification '7'", protocol::kIdentByte4, 0x37);
        row("ACK", protocol::kAck, 0x06);
        row("read 'R'", protocol::kReadCommand, 0x52);
        row("write 'W'", protocol::kWriteCommand, 0x57);
        row("request size", protocol::kRequestSize, 4);
        row("block length", protocol::kBlockLength, 8);
        row("read reply header", protocol::kReadReplyHeaderSize, 4);
        row("read reply size", protocol::kReadReplySize, 12);
    }

    void protocolConstants()
    {
        QFETCH(int, actual);
        QFETCH(int, expected);
        QCOMPARE(actual, expected);
    }

    // The engine hands the port the five serial time-outs when it opens it.
    void openSetsTimeouts()
    {
        InMemoryPort port;
        ProtocolEngine engine(port);
        QCOMPARE(engine.open(QStringLiteral("COM1")), TransferResult::Done);
        QVERIFY(port.events().contains(Event{Kind::SetTimeouts, {}, 0}));
        const PortTimeouts t = port.timeouts();
        QCOMPARE(t.readIntervalMs, 30);
        QCOMPARE(t.readTotalMultiplierMs, 100);
        QCOMPARE(t.readTotalConstantMs, 90);
        QCOMPARE(t.writeTotalMultiplierMs, 50);
        QCOMPARE(t.writeTotalConstantMs, 50);
    }

    void portNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("device");
        QTest::newRow("mapped") << QStringLiteral("COM1") << QStringLiteral("/dev/ttyACM7");
        QTest::newRow("mapped, lower case") << QStringLiteral("com1") << QStringLiteral("/dev/ttyACM7");
#ifdef Q_OS_WIN
        QTest::newRow("unmapped") << QStringLiteral("com3") << QStringLiteral("COM3");
#else
        QTest::newRow("unmapped") << QStringLiteral("com3") << QStringLiteral("/dev/ttyUSB2");
        QTest::newRow("unmapped COM4") << QStringLiteral("COM4") << QStringLiteral("/dev/ttyUSB3");
        QTest::newRow("device path") << QStringLiteral("/dev/pts/9") << QStringLiteral("/dev/pts/9");
#endif
        QTest::newRow("com0") << QStringLiteral("com0") << QStringLiteral("");
        QTest::newRow("com5") << QStringLiteral("com5") << QStringLiteral("");
        QTest::newRow("COM10") << QStringLiteral("COM10") << QStringLiteral("");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("");
        QTest::newRow("other") << QStringLiteral("ttyUSB0") << QStringLiteral("");
    }

    void portNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, device);
        QCOMPARE(portsDevice(name), device);
    }

    // KQ517_COMn points a name at a device for one run, ahead of [Ports].
    void portNamesFromEnvironment_data()
    {
        QTest::addColumn<QByteArray>("variable");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("device");
        QTest::newRow("wins over the file") << QByteArray("KQ517_COM1") << QByteArray("/dev/pts/4")
                                            << QStringLiteral("com1") << QStringLiteral("/dev/pts/4");
        QTest::newRow("blanks trimmed") << QByteArray("KQ517_COM1") << QByteArray(" /dev/pts/4 ")
                                        << QStringLiteral("COM1") << QStringLiteral("/dev/pts/4");
        QTest::newRow("blank: the file") << QByteArray("KQ517_COM1") << QByteArray("  ")
                                         << QStringLiteral("COM1") << QStringLiteral("/dev/ttyACM7");
        QTest::newRow("other name untouched") << QByteArray("KQ517_COM2") << QByteArray("/dev/pts/4")
                                              << QStringLiteral("COM1") << QStringLiteral("/dev/ttyACM7");
        QTest::newRow("empty mapping in the file") << QByteArray("KQ517_COM2") << QByteArray("/dev/pts/6")
                                                   << QStringLiteral("COM2") << QStringLiteral("/dev/pts/6");
        QTest::newRow("device path as it is") << QByteArray("KQ517_COM1") << QByteArray("/dev/pts/4")
                                              << QStringLiteral("/dev/ttyS1") << QStringLiteral("/dev/ttyS1");
        QTest::newRow("COM5 has none") << QByteArray("KQ517_COM5") << QByteArray("/dev/pts/4")
                                       << QStringLiteral("COM5") << QStringLiteral("");
    }

    void portNamesFromEnvironment()
    {
        QFETCH(QByteArray, variable);
        QFETCH(QByteArray, value);
        QFETCH(QString, name);
        QFETCH(QString, device);
        qputenv(variable.constData(), value);
        const QString found = portsDevice(name);
        qunsetenv(variable.constData());
        QCOMPARE(found, device);
    }
};

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
