#include "link/SerialBytePort.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

#include "link/PortHolders.h"
#include "link/PortLock.h"
#include "link/PortNames.h"
#include "link/ProtocolConstants.h"

#ifndef Q_OS_WIN
#include <termios.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace {

// USB serial adapters hold back a short reply for up to 16 ms unless the
// driver is in low-latency mode; at two small replies a block that adds
// seconds to a transfer. Drivers without the setting (and pseudo-terminals)
// refuse: the port works all the same.
bool askLowLatency(int handle)
{
#ifdef Q_OS_LINUX
    serial_struct info{};
    if (handle < 0 || ::ioctl(handle, TIOCGSERIAL, &info) != 0)
        return false;
    if (info.flags & ASYNC_LOW_LATENCY)
        return true;
    info.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(handle, TIOCSSERIAL, &info) == 0;
#else
    Q_UNUSED(handle);
    return false;
#endif
}

}  // namespace

SerialBytePort::SerialBytePort() = default;

SerialBytePort::~SerialBytePort()
{
    close();
}

bool SerialBytePort::open(const QString& name, PortOpenError* error)
{
    close();
    if (error)
        *error = PortOpenError{};
    const QString device = PortNames::device(name);
    if (device.isEmpty()) {
        if (error) {
            error->kind = PortOpenError::Kind::UnknownName;
            error->name = name;
        }
        return false;
    }
    m_serial.setPortName(device);
    // QSerialPort opens exclusively: its own lock file plus TIOCEXCL on Unix,
    // no sharing on Windows. On Linux the locks other serial programs take are
    // honoured as well (root ignores TIOCEXCL, and not every program makes a
    // lock file where Qt looks), and taken in turn.
    if (!m_serial.open(QIODevice::ReadWrite)) {
        if (error)
            *error = openFailure(name, device);
        return false;
    }
    const long long lockFilePid = portlock::lockFileHolder(device);
    const bool locked = lockFilePid == 0 && portlock::lockOpenDevice(int(m_serial.handle()));
    if (!locked) {
        m_serial.close();
        if (error) {
            *error = busy(name, device);
            error->lockFilePid = lockFilePid;
            error->lockHeld = lockFilePid == 0;
        }
        return false;
    }
    m_serial.setBaudRate(protocol::kBaudRate);
    m_serial.setDataBits(QSerialPort::Data8);
    m_serial.setParity(QSerialPort::NoParity);
    m_serial.setStopBits(QSerialPort::OneStop);
    // Qt has no transmit-queue setting; the receive buffer is bounded as the
    // driver queue was.
    m_serial.setReadBufferSize(protocol::kReceiveQueueSize);
    m_lowLatency = askLowLatency(int(m_serial.handle()));
    m_serial.clear();
    m_serial.clearError();
    return true;
}

PortOpenError SerialBytePort::busy(const QString& name, const QString& device)
{
    PortOpenError error;
    error.kind = PortOpenError::Kind::Busy;
    error.name = name;
    error.device = device;
    // The programs holding the port, where the system tells.
    error.holders = PortHolders::find(device);
    return error;
}

PortOpenError SerialBytePort::openFailure(const QString& name, const QString& device) const
{
    PortOpenError error;
    error.name = name;
    error.device = device;
    error.kind = PortOpenError::Kind::NoDevice;
    switch (m_serial.error()) {
    case QSerialPort::DeviceNotFoundError:
        return error;
    case QSerialPort::PermissionError: {
#ifndef Q_OS_WIN
        // Qt reports both "busy" and "not allowed" as a permission error.
        const QFileInfo info(device);
        const QByteArray path = info.absoluteFilePath().toLocal8Bit();
        if (::access(path.constData(), R_OK | W_OK) != 0) {
            // The group that owns the device is the one to join (dialout on most systems).
            error.group = info.group();
            if (error.group.isEmpty() || error.group == QLatin1String("root"))
                error.group = QStringLiteral("dialout");
            error.kind = PortOpenError::Kind::NoPermission;
            return error;
        }
#endif
        return busy(name, device);
    }
    default:
        break;
    }
    if (!QFileInfo::exists(device))
        return error;
    error.kind = PortOpenError::Kind::System;
    error.systemText = m_serial.errorString();
    return error;
}

void SerialBytePort::close()
{
    if (m_serial.isOpen())
        m_serial.close();
}

bool SerialBytePort::isOpen() const
{
    return m_serial.isOpen();
}

void SerialBytePort::setTimeouts(const PortTimeouts& timeouts)
{
    m_timeouts = timeouts;
}

int SerialBytePort::read(std::uint8_t* buffer, int count, bool* ok)
{
    if (ok)
        *ok = true;
    if (!m_serial.isOpen()) {
        if (ok)
            *ok = false;
        return 0;
    }
    QDeadlineTimer total(qint64(m_timeouts.readTotalMultiplierMs) * count + m_timeouts.readTotalConstantMs);
    int received = 0;
    while (received < count) {
        const qint64 got = m_serial.read(reinterpret_cast<char*>(buffer) + received, count - received);
        if (got < 0) {
            if (ok)
                *ok = false;
            break;
        }
        received += int(got);
        if (received == count)
            break;
        // The interval time-out runs only once a byte has arrived.
        qint64 wait = total.remainingTime();
        if (received > 0)
            wait = qMin<qint64>(wait, m_timeouts.readIntervalMs);
        if (wait > 0 && m_serial.waitForReadyRead(int(wait)))
            continue;
        if (!lineStillThere()) {
            if (ok)
                *ok = false;
            break;
        }
        // A time-out by this program's clock, which also runs while a busy
        // machine does not schedule the program. What reached the driver in
        // the meantime arrived in time: a serial driver that keeps the
        // time-outs itself would have counted it, so it counts here too.
        if (takeArrived())
            continue;
        // The interval or the total expired (or a spurious wake-up before the
        // total did; then wait again).
        if (received > 0 || total.hasExpired())
            break;
    }
    return received;
}

bool SerialBytePort::lineStillThere()
{
    const QSerialPort::SerialPortError error = m_serial.error();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError)
        return false;
    m_serial.clearError();
    return true;
}

bool SerialBytePort::takeArrived()
{
    // A zero wait takes what the driver holds into the port's buffer, without
    // waiting for more.
    const bool arrived = m_serial.waitForReadyRead(0) && m_serial.bytesAvailable() > 0;
    if (!arrived && m_serial.error() == QSerialPort::TimeoutError)
        m_serial.clearError();
    return arrived;
}

int SerialBytePort::write(const std::uint8_t* buffer, int count)
{
    if (!m_serial.isOpen() || count <= 0)
        return 0;
    const qint64 queued = m_serial.write(reinterpret_cast<const char*>(buffer), count);
    if (queued < 0)
        return 0;
    QDeadlineTimer total(qint64(m_timeouts.writeTotalMultiplierMs) * count + m_timeouts.writeTotalConstantMs);
    // The first pass hands the bytes to the driver whatever the clock says: a
    // program that was not scheduled until after the time-out has still not
    // been kept from writing by the line.
    bool firstPass = true;
    while (m_serial.bytesToWrite() > 0) {
        const qint64 wait = std::max<qint64>(total.remainingTime(), 0);
        if ((wait <= 0 && !firstPass) || !m_serial.waitForBytesWritten(int(wait)))
            break;
        firstPass = false;
    }
    const int written = int(queued - m_serial.bytesToWrite());
    if (written < queued) {
        // The write time-out expired: the write failed, and its unsent rest is
        // dropped so that it cannot go out later ahead of the next frame.
        m_serial.clear(QSerialPort::Output);
        return written;
    }
#ifndef Q_OS_WIN
    // Wait until the driver has sent them: the protocol purges both queues
    // right after a write (the handshake's ACK, the wake-up bytes), and a
    // purge would otherwise discard bytes still waiting in the driver.
    if (written > 0 && m_serial.handle() >= 0)
        ::tcdrain(m_serial.handle());
#endif
    return written;
}

void SerialBytePort::purgeAll()
{
    // Blocking use leaves no pending operation to abort: the queues it is.
    purgeQueues();
}

void SerialBytePort::purgeQueues()
{
    // write() returns only once its bytes have been sent, so the transmit
    // queue is always empty here and only the receive side is discarded.
    // Flushing the output as well would be a no-op on a real line, but on a
    // pseudo-terminal it also throws away what the other end has not read yet.
    if (m_serial.isOpen())
        m_serial.clear(QSerialPort::Input);
}

void SerialBytePort::pause(int ms)
{
    QThread::msleep(ulong(ms));
}

bool SerialBytePort::canOpen(const QString& name, PortOpenError* error)
{
    SerialBytePort port;
    const bool opened = port.open(name, error);
    port.close();
    return opened;
}
