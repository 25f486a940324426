#include "link/PtyRadio.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX)

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include "link/SimulatedRadio.h"

namespace {

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Sleeps until the monotonic deadline; gives up early when stop turns true.
void sleepUntil(long long deadlineNs, const std::atomic<bool>& stop)
{
    timespec ts{};
    ts.tv_sec = time_t(deadlineNs / 1000000000LL);
    ts.tv_nsec = long(deadlineNs % 1000000000LL);
    while (!stop && clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

PtyRadio::PtyRadio(SimulatedRadio& radio, const Options& options) : m_radio(radio), m_options(options)
{
    // 10 bits per byte: start bit, 8 data bits, stop bit.
    m_byteNs = options.baud > 0 ? 10LL * 1000000000LL / options.baud : 0;
}

PtyRadio::~PtyRadio()
{
    closeTerminal();
    if (m_linkMade)
        QFile::remove(m_options.linkPath);
}

void PtyRadio::closeTerminal()
{
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

bool PtyRadio::start(QString* error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = systemError("cannot create a pseudo-terminal");
        return false;
    }
    const char* name = ptsname(m_master);
    if (!name) {
        *error = systemError("cannot name the pseudo-terminal");
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error = systemError("cannot open the pseudo-terminal");
        return false;
    }
    // Raw: no echo, no line editing, no translation of any byte.
    termios tio{};
    tcgetattr(m_slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(m_slave, TCSANOW, &tio);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);

    if (!m_options.linkPath.isEmpty()) {
        const QFileInfo link(m_options.linkPath);
        if (link.isSymLink())
            QFile::remove(m_options.linkPath);
        if (::symlink(name, QFile::encodeName(m_options.linkPath).constData()) != 0) {
            *error = systemError("cannot make the link");
            return false;
        }
        m_linkMade = true;
    }
    return true;
}

bool PtyRadio::answer(const QByteArray& bytes, int turnaroundMs, const std::atomic<bool>& stop)
{
    // The answer starts when the request has arrived on the modelled line
    // (m_rxFree), not when this process got round to it: a late wake-up of
    // the simulator is caught up instead of adding up.
    const long long start = std::max(m_rxFree, m_txFree) + turnaroundMs * 1000000LL;
    // The whole answer goes to the host at once, when its last byte would
    // have arrived over a cable. A host reading the answer sees it complete at
    // the same moment as over the line, and the simulator sleeps once per
    // answer: a sleep per byte would let a busy machine wake it late in the
    // middle of an answer, a gap between two bytes longer than the host's
    // interval time-out that no radio ever leaves.
    const long long done = start + m_byteNs * bytes.size();
    if (m_byteNs > 0 || turnaroundMs > 0)
        sleepUntil(done, stop);
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (stop)
            return true;
        usleep(1000);
    }
    m_txFree = done;
    return true;
}

bool PtyRadio::run(const std::atomic<bool>& stop, QString* error)
{
    while (!stop) {
        pollfd pfd{m_master, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, 200);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            *error = systemError("poll");
            return false;
        }
        if (ready == 0 || !(pfd.revents & POLLIN))
            continue;
        char buffer[256];
        const ssize_t got = ::read(m_master, buffer, sizeof buffer);
        if (got <= 0)
            continue;
        const long long receipt = nowNs();
        for (ssize_t i = 0; i < got && !stop; ++i) {
            // The byte has arrived once its time on the line is over; an
            // answer waits for that (answer()), a byte without one need not.
            m_rxFree = std::max(receipt, m_rxFree) + m_byteNs;
            int turnaroundMs = 0;
            const QByteArray reply = m_radio.receive(std::uint8_t(buffer[i]), &turnaroundMs);
            if (m_radio.vanished()) {
                closeTerminal();  // the host's next read fails
                return true;
            }
            if (!reply.isEmpty() && !answer(reply, turnaroundMs, stop)) {
                *error = systemError("write to the pseudo-terminal");
                return false;
            }
            if (m_radio.takeCompletedWrite() && !m_options.savePath.isEmpty()) {
                if (!m_radio.image().saveFile(m_options.savePath, &m_saveProblem)) {
                    error->clear();
                    return false;
                }
            }
        }
    }
    return true;
}

#else  // no pseudo-terminals: the simulator is not available here

#include "link/SimulatedRadio.h"

PtyRadio::PtyRadio(SimulatedRadio& radio, const Options& options)
    : m_radio(radio), m_options(options)
{
}

PtyRadio::~PtyRadio() = default;

void PtyRadio::closeTerminal() {}

bool PtyRadio::start(QString* error)
{
    if (error)
        *error = QStringLiteral("the simulated radio needs a pseudo-terminal, which this system lacks");
    return false;
}

bool PtyRadio::answer(const QByteArray&, int, const std::atomic<bool>&) { return false; }

bool PtyRadio::run(const std::atomic<bool>&, QString* error)
{
    return start(error);
}

#endif
