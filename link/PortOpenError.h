#pragma once
// Why a serial port could not be opened, as a value: what kind of refusal and
// the facts that go with it (the port, its device, the group to join, who
// holds it). The text layer says it in the user's language.

#include <QList>
#include <QString>

#include "link/PortHolders.h"

struct PortOpenError {
    enum class Kind {
        None,          // opened
        UnknownName,   // neither COM1 to COM4 nor a device path
        NoDevice,      // the device does not exist
        NoPermission,  // the user may not use the device; group names who may
        Busy,          // another program holds it (holders, lockFilePid, lockHeld say who)
        System,        // anything else: systemText is the system's own message
    };
    Kind kind = Kind::None;
    QString name;    // the port name asked for ("COM1", "/dev/ttyUSB0")
    QString device;  // the device it maps to; empty for UnknownName
    QString group;   // NoPermission: the group owning the device
    QList<PortHolder> holders;  // Busy: the programs known to hold the device
    long long lockFilePid = 0;  // Busy: a lock file names this running process
    bool lockHeld = false;      // Busy: another program holds an advisory lock on it
    QString systemText;         // System: the system's message as given

    bool isError() const { return kind != Kind::None; }
    // "COM1 (/dev/ttyUSB0)", or the device alone when the name is the device.
    QString shownPort() const
    {
        if (device.isEmpty() || device == name)
            return name;
        return name + QStringLiteral(" (") + device + QLatin1Char(')');
    }
    bool operator==(const PortOpenError&) const = default;
};
