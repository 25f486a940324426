#pragma once
// Runs `kq517 sim` (from KQ517_PROGRAM_DIR) as a child process for a test:
// start() waits for the device path it prints first; the destructor stops it.
//
//   SimProcess sim;
//   QVERIFY2(sim.start({"--baud", "0", "--image", path}), qPrintable(sim.error()));
//   ... open sim.devicePath() like a serial port (or map COM1 to it) ...
//
// Options are those of `kq517 sim --help` (--image, --save, --link, --baud and
// the fault options).

#include <QProcess>
#include <QString>
#include <QStringList>

class SimProcess {
public:
    SimProcess() = default;
    ~SimProcess();  // stop()

    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // Starts the simulator and waits (up to timeoutMs) for its device path.
    // False with error() when it did not start or printed no path.
    bool start(const QStringList& options = {}, int timeoutMs = 10000);
    // The pseudo-terminal's device path ("/dev/pts/3"); empty before start().
    QString devicePath() const { return m_devicePath; }
    // Sends SIGTERM and waits for the end (killed after timeoutMs). Returns
    // the exit code, or -1 when it was not running normally.
    int stop(int timeoutMs = 5000);
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // What the simulator wrote to stderr so far.
    QString errorOutput();
    QString error() const { return m_error; }

    static QString programPath();  // KQ517_PROGRAM_DIR "/kq517"

private:
    QProcess m_process;
    QString m_devicePath;
    QString m_error;
    QByteArray m_stderr;
};
