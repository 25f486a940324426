#include "link/PortSurvey.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include "link/PortNames.h"
#include "link/SerialBytePort.h"

namespace {

constexpr int kComCount = 4;

// Paths compared after following links (/dev/serial/by-id/... to /dev/ttyUSB0).
QString sameFile(const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

void probe(SurveyedPort& port)
{
    port.openable = SerialBytePort::canOpen(port.device, &port.openError);
}

}  // namespace

QStringList PortSurvey::comNamesFor(const QString& device, const CIniFile& settings)
{
    QStringList names;
    const QString target = sameFile(device);
    for (int n = 1; n <= kComCount; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        const QString mapped = PortNames::device(name, settings);
        if (!mapped.isEmpty() && sameFile(mapped) == target)
            names.append(name);
    }
    return names;
}

QList<SurveyedPort> PortSurvey::survey(const CIniFile& settings)
{
    QList<SurveyedPort> ports;
    QStringList seen;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SurveyedPort port;
        port.device = info.systemLocation();
        port.description = info.description();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            port.vendorProduct = QStringLiteral("%1:%2")
                                     .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                                     .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        port.serialNumber = info.serialNumber();
        port.comNames = comNamesFor(port.device, settings);
        probe(port);
        seen.append(sameFile(port.device));
        ports.append(port);
    }
    for (int n = 1; n <= kComCount; ++n) {
        const QString device = PortNames::device(QStringLiteral("COM%1").arg(n), settings);
        if (device.isEmpty() || seen.contains(sameFile(device)))
            continue;
        SurveyedPort port;
        port.device = device;
        port.detected = false;
        port.comNames = comNamesFor(device, settings);
        probe(port);
        seen.append(sameFile(device));
        ports.append(port);
    }
    return ports;
}
