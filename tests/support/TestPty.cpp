#include "tests/support/TestPty.h"

#include <QtGlobal>

#include <QFile>

#if defined(Q_OS_UNIX)
#  include <fcntl.h>
#  include <poll.h>
#  include <pty.h>
#  include <stdlib.h>
#  include <unistd.h>
#endif

TestPty::TestPty()
{
#if defined(Q_OS_UNIX)
    char name[128] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0)
        m_path = QString::fromLocal8Bit(name);
#endif
}

TestPty::~TestPty()
{
#if defined(Q_OS_UNIX)
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
#endif
}

PtyLine::PtyLine()
{
#if defined(Q_OS_UNIX)
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
        m_device = QString::fromLocal8Bit(::ptsname(m_master));
#endif
}

PtyLine::~PtyLine()
{
#if defined(Q_OS_UNIX)
    if (m_master >= 0)
        ::close(m_master);
#endif
}

bool PtyLine::send(const QByteArray& bytes) const
{
#if defined(Q_OS_UNIX)
    return ::write(m_master, bytes.constData(), size_t(bytes.size())) == bytes.size();
#else
    Q_UNUSED(bytes);
    return false;
#endif
}

int PtyLine::openDevice() const
{
#if defined(Q_OS_UNIX)
    return ::open(QFile::encodeName(m_device).constData(), O_RDWR | O_NOCTTY);
#else
    return -1;
#endif
}

QByteArray PtyLine::readAvailable(int fd, int timeoutMs)
{
#if defined(Q_OS_UNIX)
    pollfd pfd{fd, POLLIN, 0};
    if (::poll(&pfd, 1, timeoutMs) <= 0)
        return QByteArray();
    char buffer[64];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    return n > 0 ? QByteArray(buffer, int(n)) : QByteArray();
#else
    Q_UNUSED(fd);
    Q_UNUSED(timeoutMs);
    return QByteArray();
#endif
}
