#pragma once
// How a port name becomes a serial device. "COM1" to "COM4" (any case) map
// through the environment variables KQ517_COM1 to KQ517_COM4 (for one run
// only: never saved), then the [Ports] section of the settings file
// (COM1=/dev/ttyUSB0); without either Windows opens the name itself and Linux
// uses /dev/ttyUSB0 to /dev/ttyUSB3. A device path is used as it is. Any other
// name has no device.

#include <QString>

class CIniFile;

class PortNames {
public:
    // The device a transfer opens for name, looked up in g_settings; empty when
    // the name cannot be opened ("com0", "com5", "").
    static QString device(const QString& name);
    // The same, looked up in the given settings file.
    static QString device(const QString& name, const CIniFile& settings);

    // The environment variable that maps COM<number> for this run.
    static QByteArray environmentName(int number);
    // True when name is a COM name whose device the environment decides for
    // this run (ahead of the settings file).
    static bool environmentDecides(const QString& name);
    // The user chose a device for name in the settings file: from now on that
    // mapping decides, for this run and a restarted one (the environment
    // variable is dropped from this process).
    static void settingsDecide(const QString& name);

    // 1 to 4 for "COM1" to "COM4" in any case, else 0.
    static int comNumber(const QString& name);
    // True for a path to a device ("/dev/ttyS0", "\\.\COM7").
    static bool isDevicePath(const QString& name);
};
