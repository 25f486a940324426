// A serial port held by another program is refused as busy, whatever way the
// other program holds it (another port object, an advisory lock on the
// device, a lock file with a running process), and a port this program opened
// is held the same ways against others. On a pseudo-terminal made here.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "link/PortLock.h"
#include "link/SerialBytePort.h"
#include "tests/support/TestPty.h"
#include "texts/FieldReasons.h"

#if defined(Q_OS_LINUX)
#  include <cerrno>
#  include <fcntl.h>
#  include <sys/file.h>
#  include <sys/ioctl.h>
#  include <sys/wait.h>
#  include <termios.h>
#  include <unistd.h>
#endif

class TestSerialPort : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    // Held elsewhere: refused as busy, and free again afterwards.
    void secondPortObjectRefused();
    void advisoryLockRefused();
    void lockFileOfRunningProgramRefused();
    void staleLockFileIgnored();
    // Held here: other programs see the port taken.
    void openPortIsLockedAndExclusive();

    void lockFileNames();

private:
    QTemporaryDir* m_lockDir = nullptr;
};

void TestSerialPort::init()
{
    // Lock files go to a folder of the test's own, never the system's.
    m_lockDir = new QTemporaryDir;
    QVERIFY(m_lockDir->isValid());
    portlock::setLockDirectories({m_lockDir->path()});
}

void TestSerialPort::cleanup()
{
    portlock::setLockDirectories({});
    delete m_lockDir;
    m_lockDir = nullptr;
}

#if defined(Q_OS_LINUX)

void TestSerialPort::secondPortObjectRefused()
{
    PtyLine pty;
    QVERIFY(!pty.device().isEmpty());
    SerialBytePort first;
    PortOpenError error;
    QVERIFY2(first.open(pty.device(), &error), qPrintable(texts::openReason(error)));
    SerialBytePort second;
    QVERIFY(!second.open(pty.device(), &error));
    QVERIFY2(texts::openReason(error).contains(QStringLiteral("busy")), qPrintable(texts::openReason(error)));
    QVERIFY(!second.isOpen());
    QVERIFY(!SerialBytePort::canOpen(pty.device()));
    first.close();
    QVERIFY2(second.open(pty.device(), &error), qPrintable(texts::openReason(error)));
}

void TestSerialPort::advisoryLockRefused()
{
    PtyLine pty;
    QVERIFY(!pty.device().isEmpty());
    const int fd = pty.openDevice();
    QVERIFY(fd >= 0);
    QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
    SerialBytePort port;
    PortOpenError error;
    QVERIFY(!port.open(pty.device(), &error));
    QVERIFY2(texts::openReason(error).contains(QStringLiteral("busy")), qPrintable(texts::openReason(error)));
    QVERIFY2(texts::openReason(error).contains(pty.device()), qPrintable(texts::openReason(error)));
    QVERIFY(!port.isOpen());
    QVERIFY(!SerialBytePort::canOpen(pty.device()));
    ::flock(fd, LOCK_UN);
    QVERIFY2(port.open(pty.device(), &error), qPrintable(texts::openReason(error)));
    ::close(fd);
}

void TestSerialPort::lockFileOfRunningProgramRefused()
{
    PtyLine pty;
    QVERIFY(!pty.device().isEmpty());
    // A child that sleeps stands for the terminal program holding the port.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::pause();
        _exit(0);
    }
    const QString lockFile = QDir(m_lockDir->path()).filePath(portlock::lockFileNames(pty.device()).first());
    QFile file(lockFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::number(qlonglong(child)).rightJustified(10, ' ') + '\n');
    file.close();

    SerialBytePort port;
    PortOpenError error;
    const bool opened = port.open(pty.device(), &error);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    QVERIFY(!opened);
    QVERIFY2(texts::openReason(error).contains(QStringLiteral("busy")), qPrintable(texts::openReason(error)));
    QVERIFY2(texts::openReason(error).contains(QString::number(child)), qPrintable(texts::openReason(error)));
    // The program has ended: its lock file is stale now and left alone.
    QVERIFY2(port.open(pty.device(), &error), qPrintable(texts::openReason(error)));
    QVERIFY(QFileInfo::exists(lockFile));
}

void TestSerialPort::staleLockFileIgnored()
{
    PtyLine pty;
    QVERIFY(!pty.device().isEmpty());
    const QString dir = m_lockDir->path();
    const QStringList names = portlock::lockFileNames(pty.device());
    // A process id no process has, this program's own, unreadable text.
    const QByteArray contents[] = {"2147483000\n", QByteArray::number(qlonglong(::getpid())) + "\nkq517\n",
                                   "not a pid\n"};
    for (const QByteArray& text : contents) {
        QFile file(QDir(dir).filePath(names.first()));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        SerialBytePort port;
        PortOpenError error;
        QVERIFY2(port.open(pty.device(), &error), qPrintable(text + ": " + texts::openReason(error)));
    }
}

void TestSerialPort::openPortIsLockedAndExclusive()
{
    PtyLine pty;
    QVERIFY(!pty.device().isEmpty());
    SerialBytePort port;
    PortOpenError error;
    QVERIFY2(port.open(pty.device(), &error), qPrintable(texts::openReason(error)));
    const int other = pty.openDevice();  // root may open it despite exclusive mode
    if (other < 0) {
        QCOMPARE(errno, EBUSY);
        return;
    }
    errno = 0;
    QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), -1);
    QCOMPARE(errno, EWOULDBLOCK);
    int exclusive = 0;
    QCOMPARE(::ioctl(other, TIOCGEXCL, &exclusive), 0);
    QCOMPARE(exclusive, 1);
    port.close();
    QCOMPARE(::flock(other, LOCK_EX | LOCK_NB), 0);
    ::close(other);
}

#else

void TestSerialPort::secondPortObjectRefused() { QSKIP("Linux only"); }
void TestSerialPort::advisoryLockRefused() { QSKIP("Linux only"); }
void TestSerialPort::lockFileOfRunningProgramRefused() { QSKIP("Linux only"); }
void TestSerialPort::staleLockFileIgnored() { QSKIP("Linux only"); }
void TestSerialPort::openPortIsLockedAndExclusive() { QSKIP("Linux only"); }

#endif

void TestSerialPort::lockFileNames()
{
    QCOMPARE(portlock::lockFileNames(QStringLiteral("/dev/ttyUSB0")), QStringList{"LCK..ttyUSB0"});
    QCOMPARE(portlock::lockFileNames(QStringLiteral("/dev/pts/5")),
             (QStringList{"LCK..pts_5", "LCK..5"}));
}

QTEST_GUILESS_MAIN(TestSerialPort)
#include "tst_serialport.moc"
