#pragma once
// The serial devices of this machine as a port assistant shows them: each
// detected device with its USB description, vendor:product and serial
// number, the COM names that map to it, and whether it can be opened (with
// the reason when not). COM names that map to a device the system did not
// list (a missing adapter, a pseudo-terminal) are reported too.

#include <QList>
#include <QString>
#include <QStringList>

#include "link/PortOpenError.h"

class CIniFile;

struct SurveyedPort {
    QString device;         // "/dev/ttyUSB0", "COM3"
    QString description;    // USB description; may be empty
    QString vendorProduct;  // "10c4:ea60"; empty when the system does not say
    QString serialNumber;   // may be empty
    QStringList comNames;   // "COM1" ... mapped to this device
    bool detected = true;   // false: only a COM name points here
    bool openable = false;
    PortOpenError openError;  // why it cannot be opened (busy: by whom; permission: the group)
};

class PortSurvey {
public:
    // Detected devices in the system's order, then the devices only a COM
    // name of settings maps to. Each device is opened and closed once.
    static QList<SurveyedPort> survey(const CIniFile& settings);
    // The COM names (COM1 to COM4) whose device is device.
    static QStringList comNamesFor(const QString& device, const CIniFile& settings);
};
