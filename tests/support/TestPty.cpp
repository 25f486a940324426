#include "tests/support/TestPty.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)
#  include <pty.h>
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
