#pragma once
// A pseudo-terminal pair kept open by a test: a serial device nobody else
// uses, for ports that must exist (and can be held busy) without a radio.
// path() is empty where the system has none.

#include <QByteArray>
#include <QString>

class TestPty {
public:
    TestPty();
    ~TestPty();

    TestPty(const TestPty&) = delete;
    TestPty& operator=(const TestPty&) = delete;

    QString path() const { return m_path; }  // the device, e.g. "/dev/pts/4"

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_path;
};

// A pseudo-terminal standing for a serial line whose far end the test plays:
// the port under test opens device(); only the master side is held open.
class PtyLine {
public:
    PtyLine();
    ~PtyLine();

    PtyLine(const PtyLine&) = delete;
    PtyLine& operator=(const PtyLine&) = delete;

    QString device() const { return m_device; }  // empty where the system has none
    // Bytes from the far end, at once.
    bool send(const QByteArray& bytes) const;
    // What the host sent, waiting up to timeoutMs for the first byte.
    QByteArray received(int timeoutMs) const { return readAvailable(m_master, timeoutMs); }
    // Another program's file descriptor on the device.
    int openDevice() const;

    // All that is waiting on fd once it is readable (after at most timeoutMs).
    static QByteArray readAvailable(int fd, int timeoutMs);

private:
    int m_master = -1;
    QString m_device;
};
