#pragma once
// Who else holds a serial device on Linux: the advisory lock other serial
// programs take on the open device (flock), the exclusive mode of the
// terminal (TIOCEXCL), and the lock files ("LCK..ttyUSB0", holding the
// holder's process id) that terminal programs leave in /var/lock and
// /run/lock. SerialBytePort uses it so that a port in use by another program
// is refused as busy instead of being shared byte by byte. Elsewhere every
// function does nothing and finds nothing held.

#include <QString>
#include <QStringList>

namespace portlock {

// Takes the advisory lock on the open device fd and makes the terminal
// exclusive. False when another program holds the lock.
bool lockOpenDevice(int fd);

// The process id of a running program (not this one) that holds a lock file
// for device in one of the lock directories; 0 when none does. Lock files of
// processes that are gone are stale and ignored (left where they are).
long long lockFileHolder(const QString& device);

// The lock file names that stand for device: "LCK.." + the path below /dev
// with "/" as "_" (also for the device a symbolic link points at), and
// "LCK.." + the file name.
QStringList lockFileNames(const QString& device);

// The directories searched for lock files; tests point them elsewhere.
QStringList lockDirectories();
void setLockDirectories(const QStringList& directories);  // empty: the default list

}  // namespace portlock
