// A computer too busy to run the program or the simulator on time must not
// fail a transfer: bytes that reached the serial driver before the program
// looked count as arrived in time, a write goes out even when the program
// first runs again after its time-out, and the simulated radio hands each
// answer over whole, so that no late wake-up of it opens a gap inside one.
// On pseudo-terminals made here.

#include <QtTest>

#include <atomic>
#include <thread>

#include "link/PtyRadio.h"
#include "link/SerialBytePort.h"
#include "link/SimulatedRadio.h"
#include "tests/support/TestPty.h"
#include "texts/FieldReasons.h"

#if defined(Q_OS_LINUX)
#  include <fcntl.h>
#  include <poll.h>
#  include <termios.h>
#  include <unistd.h>
#endif

namespace {

#if defined(Q_OS_LINUX)
// Time-outs that have all run out by the time the program looks: what a
// program sees that the machine did not schedule until after its time-outs.
PortTimeouts expiredTimeouts()
{
    PortTimeouts t;
    t.readIntervalMs = 0;
    t.readTotalMultiplierMs = 0;
    t.readTotalConstantMs = 0;
    t.writeTotalMultiplierMs = 0;
    t.writeTotalConstantMs = 0;
    return t;
}
#endif

}  // namespace

class TestBusyMachine : public QObject {
    Q_OBJECT
private slots:
    void arrivedBytesCountAfterTimeout_data();
    void arrivedBytesCountAfterTimeout();
    void writeGoesOutAfterTimeout();
    void simulatorAnswersWhole_data();
    void simulatorAnswersWhole();
};

#if defined(Q_OS_LINUX)

void TestBusyMachine::arrivedBytesCountAfterTimeout_data()
{
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("waiting");
    QTest::newRow("whole 12-byte read reply") << 12 << 12;
    QTest::newRow("one ACK byte") << 1 << 1;
    QTest::newRow("identification, 8 bytes") << 8 << 8;
    QTest::newRow("part of a reply: the part, no more") << 12 << 5;
    QTest::newRow("nothing arrived: nothing, no failure") << 12 << 0;
}

void TestBusyMachine::arrivedBytesCountAfterTimeout()
{
    QFETCH(int, requested);
    QFETCH(int, waiting);
    PtyLine line;
    QVERIFY(!line.device().isEmpty());
    SerialBytePort port;
    PortOpenError error;
    QVERIFY2(port.open(line.device(), &error), qPrintable(texts::openReason(error)));
    port.setTimeouts(expiredTimeouts());

    QByteArray reply;
    for (int i = 0; i < waiting; ++i)
        reply.append(char(0x40 + i));
    QVERIFY(line.send(reply));
    // The bytes are with the driver before the program reads (a pseudo-
    // terminal hands them over through a queue of its own).
    QTest::qWait(50);

    std::uint8_t buffer[16] = {};
    bool ok = false;
    const int got = port.read(buffer, requested, &ok);
    QVERIFY(ok);
    QCOMPARE(got, waiting);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(buffer), got), reply);
}

void TestBusyMachine::writeGoesOutAfterTimeout()
{
    PtyLine line;
    QVERIFY(!line.device().isEmpty());
    SerialBytePort port;
    PortOpenError error;
    QVERIFY2(port.open(line.device(), &error), qPrintable(texts::openReason(error)));
    port.setTimeouts(expiredTimeouts());

    const QByteArray request("R\x00\x10\x08", 4);
    QCOMPARE(port.write(reinterpret_cast<const std::uint8_t*>(request.constData()), 4), 4);
    QCOMPARE(line.received(2000), request);
}

void TestBusyMachine::simulatorAnswersWhole_data()
{
    QTest::addColumn<int>("baud");
    QTest::newRow("paced at 9600 baud") << 9600;
    QTest::newRow("paced at 1200 baud") << 1200;
}

void TestBusyMachine::simulatorAnswersWhole()
{
    QFETCH(int, baud);
    SimulatedRadio radio;
    PtyRadio::Options options;
    options.baud = baud;
    PtyRadio pty(radio, options);
    QString error;
    QVERIFY2(pty.start(&error), qPrintable(error));
    std::atomic<bool> stop{false};
    std::thread server([&] {
        QString runError;
        pty.run(stop, &runError);
    });
    auto finish = qScopeGuard([&] {
        stop = true;
        server.join();
    });

    const int host = ::open(QFile::encodeName(pty.devicePath()).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(host >= 0);
    auto closeHost = qScopeGuard([host] { ::close(host); });
    termios tio{};
    tcgetattr(host, &tio);
    cfmakeraw(&tio);
    tcsetattr(host, TCSANOW, &tio);

    // Wake-up: its one-byte answer.
    QVERIFY(::write(host, "\x02PROGRA", 7) == 7);
    QCOMPARE(PtyLine::readAvailable(host, 2000).size(), 1);
    // Identification request: the 8-byte reply is there whole as soon as any
    // of it is. At these rates a reply sent byte by byte would still lack
    // most of its bytes a few milliseconds after the first.
    QVERIFY(::write(host, "M\x02", 2) == 2);
    pollfd pfd{host, POLLIN, 0};
    QVERIFY(::poll(&pfd, 1, 2000) == 1);
    QTest::qSleep(3);
    QCOMPARE(PtyLine::readAvailable(host, 0), QByteArray("P3107\x00\x00\x00", 8));
}

#else

void TestBusyMachine::arrivedBytesCountAfterTimeout_data() {}
void TestBusyMachine::arrivedBytesCountAfterTimeout() { QSKIP("Linux only"); }
void TestBusyMachine::writeGoesOutAfterTimeout() { QSKIP("Linux only"); }
void TestBusyMachine::simulatorAnswersWhole_data() {}
void TestBusyMachine::simulatorAnswersWhole() { QSKIP("Linux only"); }

#endif

QTEST_GUILESS_MAIN(TestBusyMachine)
#include "tst_busymachine.moc"
