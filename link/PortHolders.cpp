#include "link/PortHolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QList<PortHolder> PortHolders::find(const QString& devicePath)
{
    QList<PortHolder> holders;
#ifdef Q_OS_LINUX
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty())
        return holders;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (!isPid)
            continue;
        // Other users' processes are not readable: they are skipped quietly.
        const QDir fds(proc.filePath(entry + QStringLiteral("/fd")));
        for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (QFile::symLinkTarget(fds.filePath(fd)) != device)
                continue;
            QFile comm(proc.filePath(entry + QStringLiteral("/comm")));
            QString program = comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed() : QString();
            holders.append({pid, program});
            break;
        }
    }
#else
    Q_UNUSED(devicePath);
#endif
    return holders;
}
