#include "link/PortLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <limits>

#if defined(Q_OS_LINUX)
#include <cerrno>
#include <csignal>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace portlock {

namespace {

QStringList& overriddenDirectories()
{
    static QStringList directories;
    return directories;
}

// The places Linux serial programs (and Qt's own serial port) put their lock
// files, in the order they look.
const QStringList& defaultDirectories()
{
    static const QStringList directories = {
        QStringLiteral("/var/lock"),        QStringLiteral("/run/lock"),
        QStringLiteral("/var/lock/lockdev"), QStringLiteral("/var/spool/locks"),
        QStringLiteral("/var/spool/uucp"),  QStringLiteral("/etc/locks"),
        QStringLiteral("/tmp"),             QStringLiteral("/var/tmp"),
    };
    return directories;
}

#if defined(Q_OS_LINUX)
// A lock file holds the process id as text ("      1234\n", or "1234\n" and
// more lines) or, in the oldest form, as a 4-byte binary number.
long long pidInLockFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray head = file.read(128);
    const qsizetype newline = head.indexOf('\n');
    bool ok = false;
    const long long pid = head.left(newline < 0 ? head.size() : newline).trimmed().toLongLong(&ok);
    if (ok)
        return pid;
    if (head.size() == 4) {
        qint32 binary = 0;
        std::memcpy(&binary, head.constData(), sizeof binary);
        return binary;
    }
    return 0;
}
#endif

void appendName(QStringList& names, const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString underDev = absolute.startsWith(QStringLiteral("/dev/")) ? absolute.mid(5) : QString();
    for (QString base : {underDev, QFileInfo(absolute).fileName()}) {
        if (base.isEmpty())
            continue;
        base.replace(QLatin1Char('/'), QLatin1Char('_'));
        const QString name = QStringLiteral("LCK..") + base;
        if (!names.contains(name))
            names.append(name);
    }
}

}  // namespace

QStringList lockDirectories()
{
    return overriddenDirectories().isEmpty() ? defaultDirectories() : overriddenDirectories();
}

void setLockDirectories(const QStringList& directories)
{
    overriddenDirectories() = directories;
}

QStringList lockFileNames(const QString& device)
{
    QStringList names;
    appendName(names, device);
    const QString target = QFileInfo(device).canonicalFilePath();
    if (!target.isEmpty())
        appendName(names, target);
    return names;
}

#if defined(Q_OS_LINUX)

bool lockOpenDevice(int fd)
{
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return false;
    // Later opens by other programs fail with "device busy" (root excepted).
    ::ioctl(fd, TIOCEXCL);
    return true;
}

long long lockFileHolder(const QString& device)
{
    const QStringList names = lockFileNames(device);
    for (const QString& directory : lockDirectories()) {
        for (const QString& name : names) {
            const QString path = QDir(directory).filePath(name);
            if (!QFileInfo::exists(path))
                continue;
            const long long pid = pidInLockFile(path);
            if (pid <= 0 || pid == ::getpid() || pid > std::numeric_limits<pid_t>::max())
                continue;
            if (::kill(pid_t(pid), 0) == 0 || errno == EPERM)
                return pid;
        }
    }
    return 0;
}

#else

bool lockOpenDevice(int)
{
    return true;
}

long long lockFileHolder(const QString&)
{
    return 0;
}

#endif

}  // namespace portlock
