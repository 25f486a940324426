#pragma once
// Which programs hold a device open, as far as the system tells: on Linux the
// /proc/<pid>/fd links that are readable to this user; elsewhere nothing. Used
// to say who keeps a serial port busy.

#include <QList>
#include <QString>

struct PortHolder {
    qint64 pid = 0;
    QString program;  // the process's command name, e.g. "minicom"; empty when unknown
    bool operator==(const PortHolder&) const = default;
};

class PortHolders {
public:
    // Every readable process with a file descriptor on devicePath (links resolved).
    static QList<PortHolder> find(const QString& devicePath);
};
