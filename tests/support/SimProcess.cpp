#include "tests/support/SimProcess.h"

#include <QDeadlineTimer>

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::programPath()
{
    return QStringLiteral(KQ517_PROGRAM_DIR "/kq517");
}

bool SimProcess::start(const QStringList& options, int timeoutMs)
{
    stop();
    m_devicePath.clear();
    m_error.clear();
    m_stderr.clear();
    m_process.start(programPath(), QStringList{QStringLiteral("sim")} + options);
    if (!m_process.waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("cannot start %1: %2").arg(programPath(), m_process.errorString());
        return false;
    }
    QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired() ||
            !m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            if (m_process.canReadLine())
                break;
            m_error = QStringLiteral("the simulator printed no device path: %1").arg(errorOutput());
            stop();
            return false;
        }
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_devicePath.isEmpty();
}

int SimProcess::stop(int timeoutMs)
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(timeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(timeoutMs);
        return -1;
    }
    m_stderr += m_process.readAllStandardError();
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString SimProcess::errorOutput()
{
    m_stderr += m_process.readAllStandardError();
    return QString::fromLocal8Bit(m_stderr);
}
